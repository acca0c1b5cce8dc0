#include "lib/py/convert.hpp"

#include "lib/py/error.hpp"

namespace vn::py {

const char* type_name(PyObject* object) { return _PyType_Name(Py_TYPE(object)); }

std::string to_text(PyObject* object) {
  if (!PyUnicode_Check(object)) cannot_convert(object, "str");
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(object, &size);
  if (!data) throw ErrorAlreadySet{};
  return std::string(data, static_cast<size_t>(size));
}

OptText to_optional_text(PyObject* object) {
  if (!object || object == Py_None) return {};
  return OptText(to_text(object));
}

uint64_t to_count(PyObject* object) {
  Ref index = check(PyNumber_Index(object));
  unsigned long long value = PyLong_AsUnsignedLongLong(index.get());
  if (value == static_cast<unsigned long long>(-1) && PyErr_Occurred()) throw ErrorAlreadySet{};
  return value;
}

Ref from_text(const std::string& text) {
  return check(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size())));
}

Ref from_optional_text(const OptText& text) {
  if (!text) return Ref::borrow(Py_None);
  return from_text(*text);
}

Ref from_count(uint64_t value) { return check(PyLong_FromUnsignedLongLong(value)); }

Ref from_bool(bool value) { return Ref::borrow(value ? Py_True : Py_False); }

}  // namespace vn::py

namespace vn::py {

int64_t to_int64(PyObject* object) {
  Ref index = check(PyNumber_Index(object));
  long long value = PyLong_AsLongLong(index.get());
  if (value == -1 && PyErr_Occurred()) throw ErrorAlreadySet{};
  return value;
}

double to_float(PyObject* object) {
  double value = PyFloat_AsDouble(object);
  if (value == -1.0 && PyErr_Occurred()) throw ErrorAlreadySet{};
  return value;
}

std::optional<double> to_optional_float(PyObject* object) {
  if (!object || object == Py_None) return std::nullopt;
  return to_float(object);
}

Ref from_int64(int64_t value) { return check(PyLong_FromLongLong(value)); }

Ref from_float(double value) { return check(PyFloat_FromDouble(value)); }

Ref from_optional_float(const std::optional<double>& value) {
  return value ? from_float(*value) : Ref::borrow(Py_None);
}

std::string cannot_convert_message(PyObject* object, const char* target) {
  return std::string("'") + type_name(object) + "' object cannot be converted to '" + target + "'";
}

void cannot_convert(PyObject* object, const char* target) {
  raise(PyExc_TypeError, cannot_convert_message(object, target));
}

Sequence::Sequence(PyObject* object) {
  if (PyUnicode_Check(object) || !PySequence_Check(object)) cannot_convert(object, "Sequence");
  items_ = Ref::steal(PySequence_Fast(object, ""));
  // Objects that claim the protocol but cannot be iterated (a 0-d array) are no sequences.
  if (!items_) {
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw ErrorAlreadySet{};
    PyErr_Clear();
    cannot_convert(object, "Sequence");
  }
}

}  // namespace vn::py
