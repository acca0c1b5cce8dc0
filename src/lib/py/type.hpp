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
  if (PyType_IS_GC(type)) PyObject_GC_UnTrack(self);
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
  std::vector<PyMethodDef> family_methods = {};  // shared by a family of classes (operators)
  std::vector<PyType_Slot> slots = {};      // representation, comparison, number and mapping slots
  void (*finish)(PyTypeObject*) = nullptr;  // adds class attributes once the type exists
  // For classes whose value holds Python objects: visiting and dropping them lets the
  // collector break cycles through those objects.
  traverseproc traverse = nullptr;
  inquiry clear = nullptr;
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

// An attribute with a setter. Set replaces the value from a Python object; deleting the
// attribute raises AttributeError.
template <class T, Ref (*Get)(const T&), void (*Set)(T&, PyObject* value)>
PyGetSetDef property(const char* name, const char* doc = nullptr) {
  PyGetSetDef def = getter<T, Get>(name, doc);
  def.set = [](PyObject* self, PyObject* value, void* closure) -> int {
    return guard_status([&] {
      if (!value) {
        PyErr_Format(PyExc_AttributeError, "can't delete attribute '%s'",
                     static_cast<const char*>(closure));
        throw ErrorAlreadySet{};
      }
      Set(value_of<T>(self), value);
      return 0;
    });
  };
  def.closure = const_cast<char*>(name);
  return def;
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

// A method that takes the place of the slot wrapper of the same name (`__add__`), so that its
// text signature can name its parameters.
template <Ref (*F)(PyObject* self, const Args&), const Signature& S>
PyMethodDef slot_method(const char* doc) {
  PyMethodDef def = method<F, S>(doc);
  def.ml_flags |= METH_COEXIST;
  return def;
}

// A static method: called on the class or an instance, without either.
template <Ref (*F)(const Args&), const Signature& S>
PyMethodDef static_method(const char* doc = "") {
  auto thunk = [](PyObject*, PyObject* const* args, Py_ssize_t nargs,
                  PyObject* kwnames) -> PyObject* {
    return guard([&] { return F(parse(S, args, static_cast<size_t>(nargs), kwnames)); });
  };
  return PyMethodDef{S.name(), reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(+thunk)),
                     METH_FASTCALL | METH_KEYWORDS | METH_STATIC, keep(docstring(S, false, doc))};
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

// The comparison of a value class: == and != compare the values of two objects of the same
// class (NotImplemented for any other operand); ordering raises TypeError
// "Comparison '<' not supported for Record".
[[noreturn]] void ordering_not_supported(PyObject* self, int op);

template <class T>
PyType_Slot value_comparison() {
  auto thunk = [](PyObject* self, PyObject* other, int op) -> PyObject* {
    return guard([&] {
      if (op != Py_EQ && op != Py_NE) ordering_not_supported(self, op);
      if (Py_TYPE(other) != Py_TYPE(self)) return Ref::borrow(Py_NotImplemented);
      const bool equal = value_of<T>(self) == value_of<T>(other);
      return Ref::borrow(equal == (op == Py_EQ) ? Py_True : Py_False);
    });
  };
  return PyType_Slot{Py_tp_richcompare, reinterpret_cast<void*>(+thunk)};
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
  Ref module_name = check(PyModule_GetNameObject(module));
  return check(PyCFunction_NewEx(def, module, module_name.get()));
}

// Appends `name` to the module's __all__, then sets the attribute.
void add_to_module(PyObject* module, const char* name, Ref value);

}  // namespace vn::py
