#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lib/py/ref.hpp"
#include "model/expression/text.hpp"

namespace vn::py {

// The simple argument conversions shared by every binding. Each raises a Python exception
// (and throws ErrorAlreadySet) when the object does not convert.
std::string to_text(PyObject* object);
OptText to_optional_text(PyObject* object);  // None or absent (nullptr) gives no text
uint64_t to_count(PyObject* object);         // the index protocol, read as unsigned 64 bits
int64_t to_int64(PyObject* object);          // the index protocol, read as signed 64 bits
double to_float(PyObject* object);           // a real number, through __float__ or __index__
std::optional<double> to_optional_float(PyObject* object);  // None or absent gives nothing

// Python objects from C++ values.
Ref from_text(const std::string& text);
Ref from_optional_text(const OptText& text);
Ref from_count(uint64_t value);
Ref from_bool(bool value);
Ref from_int64(int64_t value);
Ref from_float(double value);
Ref from_optional_float(const std::optional<double>& value);

// The items of a list, tuple or other sequence, held for reading by position; a str is refused
// ("'str' object cannot be converted to 'Sequence'").
class Sequence {
 public:
  explicit Sequence(PyObject* object);
  Py_ssize_t size() const { return PySequence_Fast_GET_SIZE(items_.get()); }
  PyObject* operator[](Py_ssize_t i) const { return PySequence_Fast_GET_ITEM(items_.get(), i); }

 private:
  Ref items_;
};

// Sets a TypeError "'<type>' object cannot be converted to '<target>'" and throws.
[[noreturn]] void cannot_convert(PyObject* object, const char* target);
std::string cannot_convert_message(PyObject* object, const char* target);

const char* type_name(PyObject* object);  // the type's __qualname__, for messages

// A new list or tuple of `count` items, the i-th being `item(i)` (a Ref).
template <class F>
Ref list_of(size_t count, F&& item) {
  Ref list = check(PyList_New(static_cast<Py_ssize_t>(count)));
  for (size_t i = 0; i < count; ++i) PyList_SET_ITEM(list.get(), i, item(i).release());
  return list;
}
template <class F>
Ref tuple_of(size_t count, F&& item) {
  Ref tuple = check(PyTuple_New(static_cast<Py_ssize_t>(count)));
  for (size_t i = 0; i < count; ++i) PyTuple_SET_ITEM(tuple.get(), i, item(i).release());
  return tuple;
}

}  // namespace vn::py
