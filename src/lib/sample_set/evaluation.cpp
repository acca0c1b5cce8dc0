#include "lib/definitions.hpp"
#include "lib/py/convert.hpp"
#include "lib/sample_set/forms.hpp"
#include "lib/sample_set/members.hpp"

namespace vn::bind {

namespace {

const py::Signature kConstructor("Evaluation",
                                 {py::optional("energy", "None"), py::optional("objective", "None"),
                                  py::optional("constraint_violations", "None"),
                                  py::optional("constraint_forall", "None"),
                                  py::optional("constraint_values", "None"),
                                  py::optional("penalty", "None")});
const py::Signature kToPandas("to_pandas", {});

py::Ref wrap(Evaluation evaluation) {
  return wrap_value(ClassId::Evaluation, std::move(evaluation));
}
const Evaluation& self_evaluation(PyObject* self) { return py::value_of<Evaluation>(self); }

py::Ref construct(PyTypeObject*, const py::Args& args) {
  Evaluation evaluation;
  for (size_t field = 0; field < 6; ++field) {
    if (!args[field] || args[field] == Py_None) continue;
    py::convert_argument(kEvaluationFields[field], [&] {
      read_evaluation_field(evaluation, field, args[field]);
      return 0;
    });
  }
  return wrap(std::move(evaluation));
}

// The getters return the Python form of to_dict() and the setters read it as the constructor
// does, so one table of field numbers serves all six.
template <size_t Field>
py::Ref get_field(const Evaluation& evaluation) {
  return evaluation_field_to_python(evaluation, Field);
}

template <size_t Field>
void set_field(Evaluation& evaluation, PyObject* value) {
  read_evaluation_field(evaluation, Field, value);
}

template <size_t Field>
PyGetSetDef field_property(const char* doc) {
  return py::property<Evaluation, &get_field<Field>, &set_field<Field>>(kEvaluationFields[Field],
                                                                        doc);
}

// For each sample, constraint name -> {forall index tuple: value}.
py::Ref expr_values(const Evaluation& e) {
  py::Ref samples = py::check(PyList_New(0));
  for (size_t i = 0; i < e.constraint_values.size(); ++i) {
    py::Ref by_name = py::check(PyDict_New());
    for (const auto& [name, values] : e.constraint_values[i]) {
      auto table = e.constraint_forall.find(name);
      const uint64_t rows = table == e.constraint_forall.end() ? 0 : table->second.rows;
      if (rows != values.size()) {
        py::raise(PyExc_ValueError, "the constraint " + name + " has " + std::to_string(rows) +
                                        " forall index tuples but " +
                                        std::to_string(values.size()) + " values in sample " +
                                        std::to_string(i));
      }
      py::Ref by_index = py::check(PyDict_New());
      const IndexTable& forall = table->second;
      for (uint64_t r = 0; r < rows; ++r) {
        py::Ref key = py::tuple_of(forall.columns, [&](size_t c) {
          return py::from_int64(forall.data[r * forall.columns + c]);
        });
        py::check_status(
            PyDict_SetItem(by_index.get(), key.get(), py::from_float(values[r]).get()));
      }
      set_item(by_name.get(), name, std::move(by_index));
    }
    py::check_status(PyList_Append(samples.get(), by_name.get()));
  }
  return samples;
}

using EvaluationConversions = Conversions<Evaluation, ClassId::Evaluation, &evaluation_to_dict,
                                          &evaluation_from_dict, &to_json, &evaluation_from_json>;

py::Ref pandas(PyObject* self, const py::Args&) { return evaluation_table(self_evaluation(self)); }

}  // namespace

py::ClassDef define_evaluation() {
  py::ClassDef def = py::class_of<Evaluation>("Evaluation");
  def.doc =
      "A model evaluated on every sample of a SampleSet: energy and objective per sample, the "
      "violation of every constraint and the value of every penalty term per sample, and per "
      "constraint its forall index tuples and its value at each of them in each sample. "
      "Arrays are float64 numpy.ndarray (forall index tuples int64, one row per tuple); a "
      "field not given is empty.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      field_property<0>("Energy per sample."),
      field_property<1>("Objective value per sample."),
      field_property<2>("Constraint name to its violation per sample."),
      field_property<3>("Constraint name to its forall index tuples, one row each."),
      field_property<4>("Per sample, constraint name to its value at each forall index tuple."),
      field_property<5>("Penalty term name to its value per sample."),
      py::getter<Evaluation, &expr_values>(
          "constraint_expr_values",
          "Per sample, constraint name to a dict of forall index tuple to value."),
  };
  def.methods = EvaluationConversions::methods({
      "A dict of the six fields, in field order.",
      "An Evaluation from a dict: each field present is read as the constructor reads it.",
      "Compact JSON text of the six fields.",
      "Reads JSON text as to_json writes it; all six keys are required.",
  });
  def.methods.push_back(py::method<&pandas, kToPandas>(
      "A pandas.DataFrame with one row per sample: energy, objective, constraint_forall, "
      "constraint_values, then \"constraint_violation[name]\" and \"penalty[name]\" per "
      "constraint and penalty term."));
  def.slots = value_slots<Evaluation, &to_text>();
  return def;
}

}  // namespace vn::bind
