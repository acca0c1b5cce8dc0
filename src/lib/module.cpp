#include <atomic>
#include <vector>

#include "lib/definitions.hpp"

#include "lib/classes.hpp"
#include "lib/py/error.hpp"
#include "lib/py/type.hpp"
#include "model/expression/node.hpp"

namespace vn::py {

namespace {
PyObject* modeling_error_type = nullptr;
PyObject* serialization_error_type = nullptr;
PyObject* deserialization_error_type = nullptr;
}  // namespace

PyObject* modeling_error() { return modeling_error_type; }
PyObject* protobuf_serialization_error() { return serialization_error_type; }
PyObject* protobuf_deserialization_error() { return deserialization_error_type; }

}  // namespace vn::py

namespace vn::bind {

namespace {

PyModuleDef module_definition = {
    PyModuleDef_HEAD_INIT, "varnova", "", 0, nullptr, nullptr, nullptr, nullptr, nullptr,
};

std::atomic<bool> initialized{false};

PyObject* exception_type(PyObject*& slot, const char* qualified_name) {
  if (!slot) slot = py::check(PyErr_NewException(qualified_name, nullptr, nullptr)).release();
  return slot;
}

// The module-level functions in registration order; each maker builds one function object.
const std::vector<py::Ref (*)(PyObject* module)> kFunctions = {
    &make_abs, &make_ceil, &make_floor, &make_log2, &make_log10,       &make_ln,
    &make_min, &make_max,  &make_sum,   &make_prod, &make_concatenate,
};

void initialize(PyObject* module) {
  py::add_to_module(module, "__version__", py::check(PyUnicode_FromString("1.0.0-rc4")));

  struct {
    const char* name;
    PyObject*& slot;
    const char* qualified_name;
  } exceptions[] = {
      {"ModelingError", py::modeling_error_type, "varnova.ModelingError"},
      {"ProtobufSerializationError", py::serialization_error_type,
       "varnova.ProtobufSerializationError"},
      {"ProtobufDeserializationError", py::deserialization_error_type,
       "varnova.ProtobufDeserializationError"},
  };
  for (auto& exception : exceptions) {
    py::add_to_module(module, exception.name,
                      py::Ref::borrow(exception_type(exception.slot, exception.qualified_name)));
  }

  for (auto make : kFunctions) {
    py::Ref function = make(module);
    py::Ref name = py::check(PyObject_GetAttrString(function.get(), "__name__"));
    py::add_to_module(module, PyUnicode_AsUTF8(name.get()), function);
  }

  for (int id = 0; id < static_cast<int>(ClassId::Count); ++id) {
    if (!class_defined(static_cast<ClassId>(id))) continue;
    PyTypeObject* type = class_type(static_cast<ClassId>(id));
    py::add_to_module(module, _PyType_Name(type),
                      py::Ref::borrow(reinterpret_cast<PyObject*>(type)));
  }
}

}  // namespace

}  // namespace vn::bind

PyMODINIT_FUNC PyInit_varnova() {
  using namespace vn;
  py::Ref module = py::Ref::steal(PyModule_Create(&bind::module_definition));
  if (!module) return nullptr;
  // Type objects and the module's state are process-wide: a second initialization (a
  // sub-interpreter, or an import after the module was dropped) would mix two worlds.
  if (bind::initialized.exchange(true)) {
    PyErr_SetString(PyExc_ImportError,
                    "the varnova module may only be initialized once per interpreter process");
    return nullptr;
  }
  // Before anything builds a node: nodes are small and many, and every one is built and freed
  // under the interpreter lock, which the interpreter's small-object allocator needs.
  set_node_memory({&PyObject_Malloc, &PyObject_Free});
  return py::guard([&] {
    bind::initialize(module.get());
    return module;
  });
}
