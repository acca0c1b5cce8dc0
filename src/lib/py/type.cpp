#include "lib/py/type.hpp"

namespace vn::py {

const char* keep(std::string text) { return (new std::string(std::move(text)))->c_str(); }

std::string docstring(const Signature& signature, bool method, const char* prose) {
  return signature.text_signature(method) + "\n--\n\n" + prose;
}

namespace {

PyObject* no_constructor(PyTypeObject*, PyObject*, PyObject*) {
  PyErr_SetString(PyExc_TypeError, "No constructor defined");
  return nullptr;
}

// Reached only through an explicit `Class.__new__(Class, ...)`: every ordinary call goes
// through the class's vectorcall constructor, which this forwards to.
PyObject* forward_to_constructor(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  return PyVectorcall_Call(reinterpret_cast<PyObject*>(type), args, kwargs);
}

template <class T>
T* terminated(const std::vector<T>& entries) {
  auto* kept = new std::vector<T>(entries);
  kept->push_back(T{});
  return kept->data();
}

}  // namespace

PyTypeObject* create_class(const ClassDef& def) {
  const char* doc = def.signature ? keep(docstring(*def.signature, false, def.doc)) : keep(def.doc);
  std::vector<PyMethodDef> methods = def.family_methods;
  methods.insert(methods.end(), def.methods.begin(), def.methods.end());
  std::vector<PyType_Slot> slots = {
      {Py_tp_doc, const_cast<char*>(doc)},
      {Py_tp_dealloc, reinterpret_cast<void*>(def.dealloc)},
      {Py_tp_new,
       reinterpret_cast<void*>(def.constructor ? &forward_to_constructor : &no_constructor)},
      {Py_tp_getset, terminated(def.getters)},
      {Py_tp_methods, terminated(methods)},
  };
  slots.insert(slots.end(), def.slots.begin(), def.slots.end());
  unsigned int flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE;
  if (def.traverse) {
    flags |= Py_TPFLAGS_HAVE_GC;
    slots.push_back({Py_tp_traverse, reinterpret_cast<void*>(def.traverse)});
    slots.push_back({Py_tp_clear, reinterpret_cast<void*>(def.clear)});
  }
  PyType_Slot* kept_slots = terminated(slots);

  // The module prefix gives the class its __module__; the type name itself stays bare, so that
  // the interpreter's own messages say 'Placeholder', not 'varnova.Placeholder'.
  auto* spec = new PyType_Spec{keep(std::string("varnova.") + def.name),
                               static_cast<int>(def.basicsize), 0, flags, kept_slots};
  auto* type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(spec));
  if (!type) throw ErrorAlreadySet{};
  type->tp_name = def.name;
  if (def.constructor) type->tp_vectorcall = def.constructor;
  if (def.finish) def.finish(type);
  return type;
}

void ordering_not_supported(PyObject* self, int op) {
  static constexpr const char* kOperators[] = {"<", "<=", "==", "!=", ">", ">="};
  PyErr_Format(PyExc_TypeError, "Comparison '%s' not supported for %s", kOperators[op],
               Py_TYPE(self)->tp_name);
  throw ErrorAlreadySet{};
}

void set_class_attribute(PyTypeObject* type, const char* name, Ref value) {
  check_status(PyDict_SetItemString(type->tp_dict, name, value.get()));
  PyType_Modified(type);
}

void add_to_module(PyObject* module, const char* name, Ref value) {
  Ref all = Ref::steal(PyObject_GetAttrString(module, "__all__"));
  if (!all) {
    PyErr_Clear();
    all = check(PyList_New(0));
    check_status(PyObject_SetAttrString(module, "__all__", all.get()));
  }
  Ref text = check(PyUnicode_FromString(name));
  check_status(PyList_Append(all.get(), text.get()));
  check_status(PyObject_SetAttrString(module, name, value.get()));
}

}  // namespace vn::py
