// The floor of the benchmarks: a type whose `+` allocates one new object holding one pointer,
// so no C-API operator can cost less, and the plain std::to_chars loop that the text writers
// are held against.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <charconv>
#include <string>

namespace {

struct FloorObject {
  PyObject_HEAD const void* pointer;
};

PyTypeObject* floor_type = nullptr;

PyObject* floor_add(PyObject* a, PyObject* b) {
  if (Py_TYPE(a) != floor_type || Py_TYPE(b) != floor_type) Py_RETURN_NOTIMPLEMENTED;
  FloorObject* result = PyObject_New(FloorObject, floor_type);
  if (!result) return nullptr;
  result->pointer = a;  // not owned: the floor holds an address, nothing more
  return reinterpret_cast<PyObject*>(result);
}

void floor_dealloc(PyObject* self) {
  PyTypeObject* type = Py_TYPE(self);
  PyObject_Free(self);
  Py_DECREF(type);
}

PyObject* floor_new(PyTypeObject* type, PyObject*, PyObject*) {
  FloorObject* self = PyObject_New(FloorObject, type);
  if (self) self->pointer = nullptr;
  return reinterpret_cast<PyObject*>(self);
}

PyType_Slot floor_slots[] = {
    {Py_tp_new, reinterpret_cast<void*>(&floor_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(&floor_dealloc)},
    {Py_nb_add, reinterpret_cast<void*>(&floor_add)},
    {Py_tp_doc, const_cast<char*>("An object whose + allocates one object holding one pointer.")},
    {0, nullptr},
};

PyType_Spec floor_spec = {"bench_floor.Floor", sizeof(FloorObject), 0,
                          Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE, floor_slots};

// to_chars(doubles) -> int: writes every double of a float64 buffer with the shortest
// round-trip digits in fixed notation (the form the renderer writes) into one growing string;
// returns the number of characters written.
PyObject* to_chars(PyObject*, PyObject* argument) {
  Py_buffer view;
  if (PyObject_GetBuffer(argument, &view, PyBUF_SIMPLE) < 0) return nullptr;
  const double* values = static_cast<const double*>(view.buf);
  const Py_ssize_t count = view.len / static_cast<Py_ssize_t>(sizeof(double));
  std::string out;
  for (Py_ssize_t i = 0; i < count; ++i) {
    char buffer[400];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::fixed);
    out.append(buffer, result.ptr);
  }
  PyBuffer_Release(&view);
  return PyLong_FromSize_t(out.size());
}

PyMethodDef functions[] = {
    {"to_chars", &to_chars, METH_O,
     "to_chars(doubles)\n--\n\nWrites every double; returns the length."},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_def = {PyModuleDef_HEAD_INIT,
                          "bench_floor",
                          nullptr,
                          -1,
                          functions,
                          nullptr,
                          nullptr,
                          nullptr,
                          nullptr};

}  // namespace

PyMODINIT_FUNC PyInit_bench_floor() {
  PyObject* module = PyModule_Create(&module_def);
  if (!module) return nullptr;
  floor_type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&floor_spec));
  if (!floor_type ||
      PyModule_AddObjectRef(module, "Floor", reinterpret_cast<PyObject*>(floor_type)) < 0) {
    Py_DECREF(module);
    return nullptr;
  }
  return module;
}
