#pragma once

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "lib/py/args.hpp"
#include "lib/py/error.hpp"
#include "lib/py/ref.hpp"

namespace vn::py {

// The Python object of a class that holds one C++ value.
template <class T>
struct Object {
  PyObject_HEAD T value;
};

template <class T>
T& value_of(PyObject* self) {
  return reinterpret_cast<Object<T>*>(self)->value;
}

template <class T>
Ref new_object(PyTypeObject* type, T value) {
  PyObject* self;
  if (type->tp_alloc == &PyType_GenericAlloc && !PyType_HasFeature(type, Py_TPFLAGS_HAVE_GC)) {
    // What the generic allocator does for such a class, less zero-filling memory that the value
    // is constructed over at once (this is on the path of every operator).
    self = static_cast<PyObject*>(PyObject_Malloc(static_cast<size_t>(type->tp_basicsize)));
    if (!self) {
      PyErr_NoMemory();
      throw ErrorAlreadySet{};
    }
    PyObject_Init(self, type);
  } else {
    self = type->tp_alloc(type, 0);
    if (!self) throw ErrorAlreadySet{};
  }
  new (&reinterpret_cast<Object<T>*>(self)->value) T(std::move(value));
  return Ref::steal(self);
}

template <class T>
void dealloc_object(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  reinterpret_cast<Object<T>*>(self)->value.~T();
  type->tp_free(self);
  Py_DECREF(type);
}

// Everything a class is made of, written as a table by each binding. Classes live until the
// process ends, so create_class keeps what it builds from this.
struct ClassDef {
  const char* name;
  Py_ssize_t basicsize;
  destructor dealloc;
  const char* doc = "";
  const Signature* signature = nullptr;  // the constructor's; shown as the class signature
  vectorcallfunc constructor = nullptr;  // none: calling the class raises "No constructor defined"
  std::vector<PyGetSetDef> getters = {};
  std::vector<PyMethodDef> methods = {};
  std::vector<PyType_Slot> slots = {};      // representation, comparison, number and mapping slots
  void (*finish)(PyTypeObject*) = nullptr;  // adds class attributes once the type exists
};

template <class T>
ClassDef class_of(const char* name) {
  return ClassDef{name, sizeof(Object<T>), &dealloc_object<T>};
}

PyTypeObject* create_class(const ClassDef& def);

// Adds a class attribute after creation (enumeration members).
void set_class_attribute(PyTypeObject* type, const char* name, Ref value);

// Builders for the entries of a ClassDef. F is the plain C++ function that does the work; the
// generated thunk converts exceptions and, for callables, binds the arguments to S first.

template <class T, Ref (*F)(const T&)>
PyGetSetDef getter(const char* name, const char* doc = nullptr) {
  auto thunk = [](PyObject* self, void*) -> PyObject* {
    return guard([&] { return F(value_of<T>(self)); });
  };
  return PyGetSetDef{name, thunk, nullptr, doc, nullptr};
}

std::string docstring(const Signature& signature, bool method, const char* prose);
const char* keep(std::string text);  // a string that lives for the process

template <Ref (*F)(PyObject* self, const Args&), const Signature& S>
PyMethodDef method(const char* doc = "") {
  auto thunk = [](PyObject* self, PyObject* const* args, Py_ssize_t nargs,
                  PyObject* kwnames) -> PyObject* {
    return guard([&] { return F(self, parse(S, args, static_cast<size_t>(nargs), kwnames)); });
  };
  return PyMethodDef{S.name(), reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(+thunk)),
                     METH_FASTCALL | METH_KEYWORDS, keep(docstring(S, true, doc))};
}

template <Ref (*F)(PyTypeObject* type, const Args&), const Signature& S>
vectorcallfunc constructor() {
  return [](PyObject* type, PyObject* const* args, size_t nargsf, PyObject* kwnames) -> PyObject* {
    return guard(
        [&] { return F(reinterpret_cast<PyTypeObject*>(type), parse(S, args, nargsf, kwnames)); });
  };
}

template <class T, Ref (*F)(const T&)>
PyType_Slot unary_slot(int slot) {
  auto thunk = [](PyObject* self) -> PyObject* {
    return guard([&] { return F(value_of<T>(self)); });
  };
  return PyType_Slot{slot, reinterpret_cast<void*>(+thunk)};
}

// A module-level function.
template <Ref (*F)(const Args&), const Signature& S>
Ref function(PyObject* module, const char* doc = "") {
  auto thunk = [](PyObject*, PyObject* const* args, Py_ssize_t nargs,
                  PyObject* kwnames) -> PyObject* {
    return guard([&] { return F(parse(S, args, static_cast<size_t>(nargs), kwnames)); });
  };
  auto* def =
      new PyMethodDef{S.name(), reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(+thunk)),
                      METH_FASTCALL | METH_KEYWORDS, keep(docstring(S, false, doc))};
  return check(PyCFunction_NewEx(def, module, nullptr));
}

// Appends `name` to the module's __all__, then sets the attribute.
void add_to_module(PyObject* module, const char* name, Ref value);

}  // namespace vn::py
