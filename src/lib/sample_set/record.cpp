#include "lib/definitions.hpp"
#include "lib/py/convert.hpp"
#include "lib/sample_set/forms.hpp"

namespace vn::bind {

namespace {

const py::Signature kConstructor("Record", {{"solution"}, {"num_occurrences"}});
const py::Signature kToDict("to_dict", {});
const py::Signature kToJson("to_json", {});
const py::Signature kToDense("to_dense", {});
const py::Signature kToSparse("to_sparse", {});
const py::Signature kToPandas("to_pandas", {});
const py::Signature kIsDense("is_dense", {});
const py::Signature kIsSparse("is_sparse", {});
const py::Signature kFromDict("from_dict", {{"dict"}});
const py::Signature kFromJson("from_json", {{"json"}});

py::Ref wrap(Record record) { return wrap_value(ClassId::Record, std::move(record)); }
const Record& self_record(PyObject* self) { return py::value_of<Record>(self); }

py::Ref construct(PyTypeObject*, const py::Args& args) {
  Solution solution =
      py::convert_argument("solution", [&] { return solution_from_python(args[0]); });
  auto counts =
      py::convert_argument("num_occurrences", [&] { return counts_from_python(args[1]); });
  return wrap(Record{std::move(solution), std::move(counts)});
}

py::Ref get_solution(const Record& record) { return solution_to_python(record.solution); }
void set_solution(Record& record, PyObject* value) {
  record.solution = solution_from_python(value);
}
py::Ref get_counts(const Record& record) { return counts_to_python(record.num_occurrences); }
void set_counts(Record& record, PyObject* value) {
  record.num_occurrences = counts_from_python(value);
}

py::Ref to_dict(PyObject* self, const py::Args&) { return record_to_dict(self_record(self)); }
py::Ref from_dict(const py::Args& args) { return wrap(record_from_dict(dict_argument(args[0]))); }
py::Ref json(PyObject* self, const py::Args&) { return py::from_text(to_json(self_record(self))); }
py::Ref from_json(const py::Args& args) {
  const std::string text = py::convert_argument("json", [&] { return py::to_text(args[0]); });
  return wrap(record_from_json(text));
}
py::Ref is_dense(PyObject* self, const py::Args&) {
  return py::from_bool(self_record(self).is_dense());
}
py::Ref is_sparse(PyObject* self, const py::Args&) {
  return py::from_bool(!self_record(self).is_dense());
}
py::Ref dense(PyObject* self, const py::Args&) { return wrap(to_dense(self_record(self))); }
py::Ref sparse(PyObject* self, const py::Args&) { return wrap(to_sparse(self_record(self))); }
py::Ref pandas(PyObject* self, const py::Args&) { return record_table(self_record(self)); }
py::Ref text(const Record& record) { return py::from_text(to_text(record)); }

}  // namespace

py::ClassDef define_record() {
  py::ClassDef def = py::class_of<Record>("Record");
  def.doc =
      "The solutions a solver returned, one per sample, and how often each was seen.\n\n"
      "A solution is dense, a dict of variable name to a list of float64 numpy.ndarray (one "
      "per sample), or sparse, a dict of variable name to a list of (indices, values, shape) "
      "triples in coordinate form: indices holds one list of indices per axis, each with one "
      "index per value. Nested lists of floats are read as dense arrays.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::property<Record, &get_solution, &set_solution>(
          "solution", "The solution in its format's Python form (a new dict each time)."),
      py::property<Record, &get_counts, &set_counts>("num_occurrences",
                                                     "How often each sample was seen."),
  };
  def.methods = {
      py::method<&to_dict, kToDict>("{\"solution\": ..., \"num_occurrences\": [...]}."),
      py::static_method<&from_dict, kFromDict>(
          "A Record from a dict as to_dict writes it; a missing \"solution\" gives an empty "
          "sparse solution, a missing \"num_occurrences\" an empty list."),
      py::method<&json, kToJson>("Compact JSON text."),
      py::static_method<&from_json, kFromJson>(
          "Reads JSON text as to_json writes it. Raises ValueError, with the line and column, "
          "for text that is malformed or does not hold a record."),
      py::method<&is_dense, kIsDense>("Whether the solution is in dense format."),
      py::method<&is_sparse, kIsSparse>("Whether the solution is in sparse format."),
      py::method<&dense, kToDense>(
          "A new Record in dense format. Raises IndexError for a coordinate outside its shape, "
          "ValueError when the arrays would hold more than 2**28 elements together."),
      py::method<&sparse, kToSparse>(
          "A new Record in sparse format: every element that is not 0.0 (NaN included)."),
      py::method<&pandas, kToPandas>(
          "A pandas.DataFrame with one row per sample: a column \"solution[name]\" per "
          "variable, then \"num_occurrences\"."),
  };
  def.slots = {
      py::unary_slot<Record, &text>(Py_tp_repr),
      py::unary_slot<Record, &text>(Py_tp_str),
      py::value_comparison<Record>(),
  };
  return def;
}

}  // namespace vn::bind
