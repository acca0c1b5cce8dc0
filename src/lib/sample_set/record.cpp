#include "lib/definitions.hpp"
#include "lib/py/convert.hpp"
#include "lib/sample_set/forms.hpp"
#include "lib/sample_set/members.hpp"

namespace vn::bind {

namespace {

const py::Signature kConstructor("Record", {{"solution"}, {"num_occurrences"}});
const py::Signature kToDense("to_dense", {});
const py::Signature kToSparse("to_sparse", {});
const py::Signature kToPandas("to_pandas", {});
const py::Signature kIsDense("is_dense", {});
const py::Signature kIsSparse("is_sparse", {});

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

py::Ref dict_of(const Record& record) { return record_to_dict(record); }
using RecordConversions =
    Conversions<Record, ClassId::Record, &dict_of, &record_from_dict, &to_json, &record_from_json>;

py::Ref is_dense(PyObject* self, const py::Args&) {
  return py::from_bool(self_record(self).is_dense());
}
py::Ref is_sparse(PyObject* self, const py::Args&) {
  return py::from_bool(!self_record(self).is_dense());
}
py::Ref dense(PyObject* self, const py::Args&) { return wrap(to_dense(self_record(self))); }
py::Ref sparse(PyObject* self, const py::Args&) { return wrap(to_sparse(self_record(self))); }
py::Ref pandas(PyObject* self, const py::Args&) { return record_table(self_record(self)); }

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
  def.methods = RecordConversions::methods({
      "{\"solution\": ..., \"num_occurrences\": [...]}.",
      "A Record from a dict as to_dict writes it; a missing \"solution\" gives an empty sparse "
      "solution, a missing \"num_occurrences\" an empty list.",
      "Compact JSON text.",
      "Reads JSON text as to_json writes it. Raises ValueError, with the line and column, for "
      "text that is malformed or does not hold a record.",
  });
  def.methods.insert(
      def.methods.end(),
      {
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
      });
  def.slots = value_slots<Record, &to_text>();
  return def;
}

}  // namespace vn::bind
