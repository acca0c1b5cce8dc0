#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace vn::py {

// Thrown once a Python exception has been set; the entry thunks turn it into a NULL return.
struct ErrorAlreadySet {};

// An owned reference to a Python object (or to nothing).
class Ref {
 public:
  Ref() = default;
  static Ref steal(PyObject* object) { return Ref(object); }
  static Ref borrow(PyObject* object) {
    Py_XINCREF(object);
    return Ref(object);
  }
  Ref(const Ref& other) : object_(other.object_) { Py_XINCREF(object_); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() { Py_XDECREF(object_); }

  PyObject* get() const { return object_; }
  PyObject* release() { return std::exchange(object_, nullptr); }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  explicit Ref(PyObject* object) : object_(object) {}
  PyObject* object_ = nullptr;
};

// Takes the new reference a C-API call returned, throwing when the call failed.
inline Ref check(PyObject* result) {
  if (!result) throw ErrorAlreadySet{};
  return Ref::steal(result);
}

inline void check_status(int status) {
  if (status < 0) throw ErrorAlreadySet{};
}

}  // namespace vn::py
