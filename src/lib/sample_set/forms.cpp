#include "lib/sample_set/forms.hpp"

#include "lib/sample_set/members.hpp"

#include "lib/py/numpy.hpp"
#include "lib/sample_set/runtime.hpp"

namespace vn::bind {

namespace numpy = py::numpy;

const py::Signature kToDictSignature("to_dict", {});
const py::Signature kFromDictSignature("from_dict", {{"dict"}});
const py::Signature kToJsonSignature("to_json", {});
const py::Signature kFromJsonSignature("from_json", {{"json"}});

std::string json_argument(PyObject* object) {
  return py::convert_argument("json", [&] { return py::to_text(object); });
}

PyObject* dict_argument(PyObject* object) {
  return py::convert_argument("dict", [&] {
    if (!PyDict_Check(object)) py::cannot_convert(object, "PyDict");
    return object;
  });
}

PyObject* dict_item(PyObject* dict, const char* key) {
  PyObject* value = PyDict_GetItemString(dict, key);
  return value;
}

void set_item(PyObject* dict, const std::string& key, py::Ref value) {
  py::check_status(PyDict_SetItem(dict, py::from_text(key).get(), value.get()));
}

namespace {

py::Ref new_dict() { return py::check(PyDict_New()); }

// Calls read(name, value) for every entry of a dict whose keys are str.
template <class F>
void for_each_entry(PyObject* object, F read) {
  if (!PyDict_Check(object)) py::cannot_convert(object, "PyDict");
  PyObject *key, *value;
  Py_ssize_t position = 0;
  while (PyDict_Next(object, &position, &key, &value)) read(py::to_text(key), value);
}

template <class Map, class F>
py::Ref map_to_python(const Map& map, F convert) {
  py::Ref dict = new_dict();
  for (const auto& [name, value] : map) {
    py::check_status(PyDict_SetItem(dict.get(), py::from_text(name).get(), convert(value).get()));
  }
  return dict;
}

// A list of item(x) for every x of the span.
template <class T, class F>
py::Ref python_list(std::span<const T> items, F item) {
  return py::list_of(items.size(), [&](size_t i) { return item(items[i]); });
}

}  // namespace

py::Ref values_to_python(const Values& values) { return numpy::float64_vector(values); }

Values values_from_python(PyObject* object) {
  const auto elements = numpy::to_float64(object, 1);
  return Values(elements.data.begin(), elements.data.end());
}

py::Ref value_map_to_python(const ValueMap& map) { return map_to_python(map, values_to_python); }

ValueMap value_map_from_python(PyObject* object) {
  ValueMap map;
  for_each_entry(object, [&](std::string name, PyObject* value) {
    map.insert_or_assign(std::move(name), values_from_python(value));
  });
  return map;
}

// ---- solutions

namespace {

[[noreturn]] void not_a_solution() {
  py::raise(PyExc_TypeError,
            "Failed to extract a solution. The solution must be a dict of str to a list of "
            "numpy.ndarray or Tuple[List[List[int]], List[int|float], Tuple[int,..]].");
}

// A sequence other than str, or nothing.
std::optional<py::Sequence> sequence_from(PyObject* object) {
  if (PyUnicode_Check(object) || !PySequence_Check(object)) return std::nullopt;
  try {
    return py::Sequence(object);
  } catch (const py::ErrorAlreadySet&) {
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw;
    PyErr_Clear();
    return std::nullopt;
  }
}

struct Variable {
  std::string name;
  py::Sequence samples;
};

// The entries of a solution dict, each a sequence of per-sample items.
std::vector<Variable> variables_of(PyObject* object) {
  if (!PyDict_Check(object)) not_a_solution();
  std::vector<Variable> variables;
  PyObject *key, *value;
  Py_ssize_t position = 0;
  while (PyDict_Next(object, &position, &key, &value)) {
    if (!PyUnicode_Check(key)) py::raise(PyExc_TypeError, "Failed to extract a solution.");
    std::optional<py::Sequence> samples = sequence_from(value);
    if (!samples) not_a_solution();
    variables.push_back({py::to_text(key), std::move(*samples)});
  }
  return variables;
}

// Every sample of every variable read by read(variable, sample, series), or nothing once one
// read fails.
template <class Solution, class Read>
std::optional<Solution> read_samples(const std::vector<Variable>& variables, Read read) {
  Solution solution;
  for (const Variable& variable : variables) {
    typename Solution::mapped_type series;
    for (Py_ssize_t i = 0; i < variable.samples.size(); ++i) {
      if (!read(variable, i, series)) return std::nullopt;
    }
    solution.insert_or_assign(variable.name, std::move(series));
  }
  return solution;
}

bool read_array(const Variable& variable, Py_ssize_t sample, DenseSeries& series) {
  std::optional<numpy::Elements<double>> array = numpy::exact_float64(variable.samples[sample]);
  if (array) series.push(array->data, array->shape);
  return array.has_value();
}

// Reading attempts that fail leave no Python error behind: the next form is tried.
std::optional<uint64_t> unsigned_from(PyObject* object) {
  if (PyFloat_Check(object)) return std::nullopt;
  py::Ref index = py::Ref::steal(PyNumber_Index(object));
  if (index) {
    const unsigned long long value = PyLong_AsUnsignedLongLong(index.get());
    if (!(value == static_cast<unsigned long long>(-1) && PyErr_Occurred())) return value;
  }
  PyErr_Clear();
  return std::nullopt;
}

std::optional<double> float_from(PyObject* object) {
  const double value = PyFloat_AsDouble(object);
  if (value == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return std::nullopt;
  }
  return value;
}

template <class T, class Read>
bool read_items(PyObject* object, std::vector<T>& into, Read read) {
  std::optional<py::Sequence> items = sequence_from(object);
  if (!items) return false;
  for (Py_ssize_t i = 0; i < items->size(); ++i) {
    std::optional<T> item = read((*items)[i]);
    if (!item) return false;
    into.push_back(*item);
  }
  return true;
}

// (indices per axis, values, shape). Every axis must hold one index per value: a shorter list
// would leave values without coordinates.
bool read_coo(const Variable& variable, Py_ssize_t sample, CooSeries& series) {
  const std::string& name = variable.name;
  std::optional<py::Sequence> triple = sequence_from(variable.samples[sample]);
  if (!triple || triple->size() != 3) return false;
  std::optional<py::Sequence> axes = sequence_from((*triple)[0]);
  if (!axes) return false;
  std::vector<double> values;
  std::vector<uint64_t> shape;
  if (!read_items((*triple)[1], values, float_from)) return false;
  if (!read_items((*triple)[2], shape, unsigned_from)) return false;
  std::vector<uint64_t> indices;
  indices.reserve(static_cast<size_t>(axes->size()) * values.size());
  for (Py_ssize_t a = 0; a < axes->size(); ++a) {
    const size_t before = indices.size();
    if (!read_items((*axes)[a], indices, unsigned_from)) return false;
    if (indices.size() - before != values.size()) {
      py::raise(PyExc_ValueError, "the sparse solution of " + name + " in sample " +
                                      std::to_string(sample) + " holds " +
                                      std::to_string(values.size()) + " values but " +
                                      std::to_string(indices.size() - before) +
                                      " indices on axis " + std::to_string(a));
    }
  }
  series.push({static_cast<size_t>(axes->size()), indices, values, shape});
  return true;
}

// NumPy's limit on the number of axes, which also bounds the walk through nested lists.
constexpr size_t kMaxAxes = 64;

// Nested lists of floats of a regular shape; None reads as NaN, as JSON writes NaN as null.
class NestedFloats {
 public:
  bool read(PyObject* object) {
    shape_.clear();
    data_.clear();
    for (PyObject* level = object; PyList_Check(level);) {
      if (shape_.size() == kMaxAxes) return false;
      shape_.push_back(static_cast<uint64_t>(PyList_GET_SIZE(level)));
      if (PyList_GET_SIZE(level) == 0) break;
      level = PyList_GET_ITEM(level, 0);
    }
    return walk(object, 0);
  }
  std::span<const double> data() const { return data_; }
  std::span<const uint64_t> shape() const { return shape_; }

 private:
  bool walk(PyObject* object, size_t axis) {
    if (axis == shape_.size()) {
      if (object == Py_None) {
        data_.push_back(std::numeric_limits<double>::quiet_NaN());
      } else if (PyFloat_Check(object)) {
        data_.push_back(PyFloat_AS_DOUBLE(object));
      } else {
        return false;
      }
      return true;
    }
    if (!PyList_Check(object) || static_cast<uint64_t>(PyList_GET_SIZE(object)) != shape_[axis]) {
      return false;
    }
    for (Py_ssize_t i = 0; i < PyList_GET_SIZE(object); ++i) {
      if (!walk(PyList_GET_ITEM(object, i), axis + 1)) return false;
    }
    return true;
  }

  std::vector<uint64_t> shape_;
  std::vector<double> data_;
};

}  // namespace

Solution solution_from_python(PyObject* object) {
  const std::vector<Variable> variables = variables_of(object);
  if (auto dense = read_samples<DenseSolution>(variables, read_array)) return std::move(*dense);
  if (auto sparse = read_samples<SparseSolution>(variables, read_coo)) return std::move(*sparse);
  NestedFloats nested;
  auto read_nested = [&](const Variable& variable, Py_ssize_t sample, DenseSeries& series) {
    if (!nested.read(variable.samples[sample])) return false;
    series.push(nested.data(), nested.shape());
    return true;
  };
  if (auto dense = read_samples<DenseSolution>(variables, read_nested)) return std::move(*dense);
  not_a_solution();
}

std::vector<int64_t> counts_from_python(PyObject* object) {
  py::Sequence items(object);
  std::vector<int64_t> counts;
  counts.reserve(static_cast<size_t>(items.size()));
  for (Py_ssize_t i = 0; i < items.size(); ++i) counts.push_back(py::to_int64(items[i]));
  return counts;
}

py::Ref counts_to_python(const std::vector<int64_t>& counts) {
  return python_list(std::span<const int64_t>(counts), py::from_int64);
}

namespace {

py::Ref index_to_python(uint64_t index) { return py::from_count(index); }

py::Ref coo_to_python(const CooEntry& entry, Numbers numbers) {
  py::Ref indices, values, shape;
  if (numbers == Numbers::Arrays) {
    const uint64_t dims[] = {entry.axes, entry.values.size()};
    indices = numpy::uint64_array(entry.indices, dims);
    values = numpy::float64_vector(entry.values);
    const uint64_t length = entry.shape.size();
    shape = numpy::uint64_array(entry.shape, std::span<const uint64_t>(&length, 1));
  } else {
    indices = py::tuple_of(entry.axes,
                           [&](size_t a) { return python_list(entry.axis(a), index_to_python); });
    values = python_list(entry.values, py::from_float);
    shape =
        py::tuple_of(entry.shape.size(), [&](size_t i) { return index_to_python(entry.shape[i]); });
  }
  return py::check(PyTuple_Pack(3, indices.get(), values.get(), shape.get()));
}

}  // namespace

py::Ref solution_to_python(const Solution& solution, Numbers numbers) {
  if (const auto* dense = std::get_if<DenseSolution>(&solution)) {
    return map_to_python(*dense, [](const DenseSeries& series) {
      return py::list_of(series.size(), [&](size_t i) {
        return numpy::float64_array(series.data[i], series.shapes[i]);
      });
    });
  }
  return map_to_python(std::get<SparseSolution>(solution), [&](const CooSeries& series) {
    return py::list_of(series.size(), [&](size_t i) { return coo_to_python(series[i], numbers); });
  });
}

// ---- records, evaluations and timing as dicts

py::Ref record_to_dict(const Record& record, Numbers numbers) {
  py::Ref dict = new_dict();
  set_item(dict.get(), "solution", solution_to_python(record.solution, numbers));
  set_item(dict.get(), "num_occurrences",
           numbers == Numbers::Arrays ? numpy::int64_vector(record.num_occurrences)
                                      : counts_to_python(record.num_occurrences));
  return dict;
}

Record record_from_dict(PyObject* dict) {
  Record record{SparseSolution{}, {}};
  if (PyObject* solution = dict_item(dict, "solution")) {
    record.solution = solution_from_python(solution);
  }
  if (PyObject* counts = dict_item(dict, "num_occurrences")) {
    record.num_occurrences = counts_from_python(counts);
  }
  return record;
}

namespace {

py::Ref table_to_python(const IndexTable& table) {
  const uint64_t dims[] = {table.rows, table.columns};
  return numpy::int64_array(table.data, dims);
}

IndexTable table_from_python(PyObject* object) {
  const auto elements = numpy::to_int64(object, 2);
  return {elements.shape[0], elements.shape[1],
          std::vector<int64_t>(elements.data.begin(), elements.data.end())};
}

py::Ref samples_to_python(const std::vector<ValueMap>& samples) {
  return py::list_of(samples.size(), [&](size_t i) { return value_map_to_python(samples[i]); });
}

}  // namespace

const char* const kEvaluationFields[6] = {
    "energy", "objective", "constraint_violations", "constraint_forall", "constraint_values",
    "penalty"};

void read_evaluation_field(Evaluation& e, size_t field, PyObject* value) {
  const bool none = value == Py_None;  // leaves the field empty, as when not given
  switch (field) {
    case 0:
      e.energy = none ? Values{} : values_from_python(value);
      break;
    case 1:
      e.objective = none ? Values{} : values_from_python(value);
      break;
    case 2:
      e.constraint_violations = none ? ValueMap{} : value_map_from_python(value);
      break;
    case 3: {
      IndexTables tables;
      if (!none) {
        for_each_entry(value, [&](std::string name, PyObject* item) {
          tables.insert_or_assign(std::move(name), table_from_python(item));
        });
      }
      e.constraint_forall = std::move(tables);
      break;
    }
    case 4: {
      std::vector<ValueMap> samples;
      if (!none) {
        py::Sequence items(value);
        for (Py_ssize_t i = 0; i < items.size(); ++i) {
          samples.push_back(value_map_from_python(items[i]));
        }
      }
      e.constraint_values = std::move(samples);
      break;
    }
    default:
      e.penalty = none ? ValueMap{} : value_map_from_python(value);
  }
}

py::Ref evaluation_field_to_python(const Evaluation& e, size_t field) {
  switch (field) {
    case 0:
      return values_to_python(e.energy);
    case 1:
      return values_to_python(e.objective);
    case 2:
      return value_map_to_python(e.constraint_violations);
    case 3:
      return map_to_python(e.constraint_forall, table_to_python);
    case 4:
      return samples_to_python(e.constraint_values);
    default:
      return value_map_to_python(e.penalty);
  }
}

py::Ref evaluation_to_dict(const Evaluation& e) {
  py::Ref dict = new_dict();
  for (size_t field = 0; field < 6; ++field) {
    set_item(dict.get(), kEvaluationFields[field], evaluation_field_to_python(e, field));
  }
  return dict;
}

Evaluation evaluation_from_dict(PyObject* dict) {
  Evaluation e;
  for (size_t field = 0; field < 6; ++field) {
    if (PyObject* value = dict_item(dict, kEvaluationFields[field])) {
      read_evaluation_field(e, field, value);
    }
  }
  return e;
}

template <class T>
py::Ref timing_to_dict(const T& time) {
  py::Ref dict = new_dict();
  for (const auto& field : Timing<T>::fields) {
    set_item(dict.get(), field.name, py::from_optional_float(time.*field.member));
  }
  return dict;
}

template <class T>
T timing_from_dict(PyObject* dict) {
  T time;
  for (const auto& field : Timing<T>::fields) {
    time.*field.member = py::to_optional_float(dict_item(dict, field.name));
  }
  return time;
}

template py::Ref timing_to_dict(const SolvingTime&);
template py::Ref timing_to_dict(const SystemTime&);
template SolvingTime timing_from_dict(PyObject*);
template SystemTime timing_from_dict(PyObject*);

py::Ref measuring_time_to_dict(const MeasuringTime& time) {
  py::Ref dict = new_dict();
  set_item(dict.get(), "solve", timing_to_dict(time.solve));
  set_item(dict.get(), "system", timing_to_dict(time.system));
  set_item(dict.get(), "total", py::from_optional_float(time.total));
  return dict;
}

MeasuringTime measuring_time_from_dict(PyObject* dict) {
  MeasuringTime time;
  auto part = [&](const char* key, auto read) {
    PyObject* value = dict_item(dict, key);
    if (value && !PyDict_Check(value)) {
      py::raise(PyExc_ValueError, std::string("the value of the key '") + key + "' is not dict");
    }
    return value ? read(value) : decltype(read(value)){};
  };
  time.solve = part("solve", timing_from_dict<SolvingTime>);
  time.system = part("system", timing_from_dict<SystemTime>);
  time.total = py::to_optional_float(dict_item(dict, "total"));
  return time;
}

// ---- pandas tables

py::Ref record_table(const Record& record) {
  py::Ref columns = new_dict();
  py::Ref solution = solution_to_python(record.solution);
  PyObject *name, *samples;
  Py_ssize_t position = 0;
  while (PyDict_Next(solution.get(), &position, &name, &samples)) {
    py::Ref key = py::check(PyUnicode_FromFormat("solution[%U]", name));
    py::check_status(PyDict_SetItem(columns.get(), key.get(), samples));
  }
  set_item(columns.get(), "num_occurrences", counts_to_python(record.num_occurrences));
  return data_frame(columns.get());
}

py::Ref evaluation_table(const Evaluation& e) {
  py::Ref columns = new_dict();
  set_item(columns.get(), "energy", evaluation_field_to_python(e, 0));
  set_item(columns.get(), "objective", evaluation_field_to_python(e, 1));
  set_item(columns.get(), "constraint_forall",
           e.constraint_forall.empty() ? py::Ref::borrow(Py_None)
                                       : py::list_of(e.energy.size(), [&](size_t) {
                                           return evaluation_field_to_python(e, 3);
                                         }));
  set_item(
      columns.get(), "constraint_values",
      e.constraint_values.empty() ? py::Ref::borrow(Py_None) : evaluation_field_to_python(e, 4));
  for (const auto& [name, values] : e.constraint_violations) {
    set_item(columns.get(), "constraint_violation[" + name + "]", values_to_python(values));
  }
  for (const auto& [name, values] : e.penalty) {
    set_item(columns.get(), "penalty[" + name + "]", values_to_python(values));
  }
  return data_frame(columns.get());
}

}  // namespace vn::bind
