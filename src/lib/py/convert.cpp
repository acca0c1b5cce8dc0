#include "lib/py/convert.hpp"

#include "lib/py/error.hpp"

namespace vn::py {

const char* type_name(PyObject* object) { return _PyType_Name(Py_TYPE(object)); }

std::string to_text(PyObject* object) {
  if (!PyUnicode_Check(object)) {
    PyErr_Format(PyExc_TypeError, "'%s' object cannot be converted to 'str'", type_name(object));
    throw ErrorAlreadySet{};
  }
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
