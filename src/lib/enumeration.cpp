#include "lib/enumeration.hpp"

#include <map>
#include <string>

#include "lib/py/convert.hpp"

namespace vn::bind {

namespace {

// Member texts by type and value, filled when each enumeration class is created.
std::map<std::pair<PyTypeObject*, int64_t>, const char*>& member_texts() {
  static auto* texts = new std::map<std::pair<PyTypeObject*, int64_t>, const char*>;
  return *texts;
}

py::Ref text_of(const EnumValue& member) { return py::check(PyUnicode_FromString(member.text)); }

PyObject* int_of(PyObject* self) {
  return PyLong_FromLongLong(py::value_of<EnumValue>(self).value);
}

// The hash of the equal integer, so that a member and its value are one dict key.
Py_hash_t hash_of(PyObject* self) {
  return py::guard_status([&] { return PyObject_Hash(py::check(int_of(self)).get()); });
}

PyObject* compare(PyObject* self, PyObject* other, int op) {
  if (op != Py_EQ && op != Py_NE) Py_RETURN_NOTIMPLEMENTED;
  const int64_t value = py::value_of<EnumValue>(self).value;
  int64_t other_value;
  if (PyObject* index = PyNumber_Index(other)) {
    int overflow = 0;
    other_value = PyLong_AsLongLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (overflow) Py_RETURN_NOTIMPLEMENTED;
    if (other_value == -1 && PyErr_Occurred()) return nullptr;
  } else {
    PyErr_Clear();
    if (Py_TYPE(other) != Py_TYPE(self)) Py_RETURN_NOTIMPLEMENTED;
    other_value = py::value_of<EnumValue>(other).value;
  }
  return PyBool_FromLong((value == other_value) == (op == Py_EQ));
}

}  // namespace

py::Ref enum_member(PyTypeObject* type, int64_t value) {
  return py::new_object(type, EnumValue{value, member_texts().at({type, value})});
}

namespace enumeration_detail {

py::ClassDef base(const char* name) {
  py::ClassDef def = py::class_of<EnumValue>(name);
  def.slots = {
      py::unary_slot<EnumValue, &text_of>(Py_tp_repr),
      py::unary_slot<EnumValue, &text_of>(Py_tp_str),
      {Py_nb_int, reinterpret_cast<void*>(&int_of)},
      {Py_tp_hash, reinterpret_cast<void*>(&hash_of)},
      {Py_tp_richcompare, reinterpret_cast<void*>(&compare)},
  };
  return def;
}

void add_members(PyTypeObject* type, const EnumMember* members, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    member_texts()[{type, members[i].value}] =
        py::keep(std::string(type->tp_name) + "." + members[i].name);
  }
  for (size_t i = 0; i < n; ++i) {
    py::set_class_attribute(type, members[i].name, enum_member(type, members[i].value));
  }
}

}  // namespace enumeration_detail

}  // namespace vn::bind
