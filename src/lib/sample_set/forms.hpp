#pragma once

#include "lib/classes.hpp"
#include "lib/py/convert.hpp"
#include "lib/py/type.hpp"
#include "sample_set/sample_set.hpp"

// The Python forms of the result classes' values, shared by their bindings: arrays as NumPy
// float64 arrays, maps as dicts in name order, records as the dicts of their to_dict().
namespace vn::bind {

// The value of an object of the result class `id`; TypeError for any other object
// ("'int' object cannot be converted to 'Record'").
template <class T>
const T& value_argument(PyObject* object, ClassId id) {
  if (!is_instance(object, id)) {
    py::cannot_convert(object, class_type(id)->tp_name);
  }
  return py::value_of<T>(object);
}

template <class T>
py::Ref wrap_value(ClassId id, T value) {
  return py::new_object(class_type(id), std::move(value));
}

// The text argument of a from_json(json).
std::string json_argument(PyObject* object);
// The argument of a from_dict(dict): a dict ("'list' object cannot be converted to 'PyDict'").
PyObject* dict_argument(PyObject* object);
// The value under `key`, or nullptr when absent (borrowed).
PyObject* dict_item(PyObject* dict, const char* key);
void set_item(PyObject* dict, const std::string& key, py::Ref value);

py::Ref values_to_python(const Values& values);
Values values_from_python(PyObject* object);  // 1-D, from an array or a sequence of numbers
py::Ref value_map_to_python(const ValueMap& map);
ValueMap value_map_from_python(PyObject* object);

// How a record's lists of numbers are written: as Python lists and tuples (to_dict), or as
// NumPy arrays, which JSON writers turn into the same text faster (to_json).
enum class Numbers { Python, Arrays };

py::Ref solution_to_python(const Solution& solution, Numbers numbers = Numbers::Python);
// Dense (float64 arrays), else sparse (index, value and shape triples), else nested lists of
// floats read as dense arrays, the form JSON gives back for dense arrays.
Solution solution_from_python(PyObject* object);
std::vector<int64_t> counts_from_python(PyObject* object);
py::Ref counts_to_python(const std::vector<int64_t>& counts);  // a list of int

py::Ref record_to_dict(const Record& record, Numbers numbers = Numbers::Python);
Record record_from_dict(PyObject* dict);
py::Ref evaluation_to_dict(const Evaluation& evaluation);
// Sets field i (in the order energy, objective, constraint_violations, constraint_forall,
// constraint_values, penalty) from its Python form.
extern const char* const kEvaluationFields[6];
// None leaves the field empty.
void read_evaluation_field(Evaluation& evaluation, size_t field, PyObject* value);
py::Ref evaluation_field_to_python(const Evaluation& evaluation, size_t field);
Evaluation evaluation_from_dict(PyObject* dict);
// SolvingTime and SystemTime: one key per field, None for an absent or None value.
template <class T>
py::Ref timing_to_dict(const T& time);
template <class T>
T timing_from_dict(PyObject* dict);
py::Ref measuring_time_to_dict(const MeasuringTime& time);
MeasuringTime measuring_time_from_dict(PyObject* dict);

// The per-sample columns of the pandas tables.
py::Ref record_table(const Record& record);
py::Ref evaluation_table(const Evaluation& evaluation);

}  // namespace vn::bind
