#pragma once

#include <string>

#include "lib/py/ref.hpp"

namespace vn::py {

// Sets a Python exception and throws.
[[noreturn]] void raise(PyObject* type, const std::string& message);

// Turns the C++ exception being handled into the matching pending Python exception.
void set_error_from_current_exception();

// When the pending exception is exactly TypeError, replaces it by a TypeError
// "argument '<name>': <message>" whose cause is the original.
void prefix_type_error(const char* name);

// The module's own exception types, created at import.
PyObject* modeling_error();
PyObject* protobuf_serialization_error();
PyObject* protobuf_deserialization_error();

// Runs the body of a C entry point that returns a new reference, turning every C++ exception
// into a Python one.
template <class F>
PyObject* guard(F&& body) noexcept {
  try {
    return Ref(body()).release();
  } catch (...) {
    set_error_from_current_exception();
    return nullptr;
  }
}

// The same for entry points that return a status (0 or -1) or a C value with -1 for errors.
template <class F>
auto guard_status(F&& body) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (...) {
    set_error_from_current_exception();
    return -1;
  }
}

// Runs the conversion of one named argument; a TypeError it raises gains the argument prefix.
template <class F>
auto convert_argument(const char* name, F&& convert) -> decltype(convert()) {
  try {
    return convert();
  } catch (...) {
    set_error_from_current_exception();
    prefix_type_error(name);
    throw ErrorAlreadySet{};
  }
}

}  // namespace vn::py
