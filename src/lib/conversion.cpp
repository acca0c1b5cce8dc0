#include "lib/conversion.hpp"

namespace vn::bind {

std::optional<Number> number_from(PyObject* object) {
  if (PyLong_CheckExact(object)) {  // the common case, without the index call
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(object, &overflow);
    if (!overflow) return Number(static_cast<int64_t>(value));
  } else if (PyObject* index = PyNumber_Index(object)) {
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (!overflow && !(value == -1 && PyErr_Occurred())) return Number(static_cast<int64_t>(value));
  }
  PyErr_Clear();
  double real = PyFloat_AsDouble(object);
  if (real == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return std::nullopt;
  }
  return Number(real);
}

py::Ref number_to_python(Number number) {
  if (number.is_integer()) return py::check(PyLong_FromLongLong(number.integer()));
  return py::check(PyFloat_FromDouble(number.real()));
}

}  // namespace vn::bind
