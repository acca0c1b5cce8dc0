#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/enumeration.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"

namespace vn::bind {

namespace {

// Why one attempt at reading a number failed: "TypeError: must be real number, not str".
std::string failure_of(bool (*attempt)(PyObject*), PyObject* object) {
  if (attempt(object)) return "";  // not reached: number_from accepted what these accept
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  py::Ref type_ref = py::Ref::steal(type), value_ref = py::Ref::steal(value),
          traceback_ref = py::Ref::steal(traceback);
  py::Ref text = py::Ref::steal(value ? PyObject_Str(value) : nullptr);
  const char* message = text ? PyUnicode_AsUTF8(text.get()) : nullptr;
  PyErr_Clear();
  std::string name = type ? _PyType_Name(reinterpret_cast<PyTypeObject*>(type)) : "Error";
  return name + ": " + (message ? message : "");
}

bool read_as_integer(PyObject* object) {
  py::Ref index = py::Ref::steal(PyNumber_Index(object));
  return index && !(PyLong_AsLongLong(index.get()) == -1 && PyErr_Occurred());
}
bool read_as_float(PyObject* object) {
  return !(PyFloat_AsDouble(object) == -1.0 && PyErr_Occurred());
}

Number to_numeric_value(PyObject* object) {
  if (std::optional<Number> number = number_from(object)) return *number;
  std::string message = "failed to extract enum NumericValue ('Integer | Float')\n";
  message += "- variant Integer (Integer): " + failure_of(&read_as_integer, object) + "\n";
  message += "- variant Float (Float): " + failure_of(&read_as_float, object);
  py::raise(PyExc_TypeError, message);
}

const py::Signature kConstructor("NumberLit", {{"value"}});

py::Ref construct(PyTypeObject*, const py::Args& args) {
  Number value = py::convert_argument("value", [&] { return to_numeric_value(args[0]); });
  return wrap(number_lit(value));
}

py::Ref value(const Expression& e) { return number_to_python(e.as<NumberLit>().value); }

py::Ref dtype(const Expression& e) {
  return enum_member(class_type(ClassId::DataType), e.as<NumberLit>().value.is_integer() ? 1 : 0);
}

}  // namespace

py::ClassDef define_number_lit() {
  py::ClassDef def = expression_class("NumberLit");
  def.doc = "A number literal, integer or float.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::getter<Expression, &value>("value", "The value, as int or float."),
      py::getter<Expression, &dtype>("dtype", "DataType.INTEGER or DataType.FLOAT."),
  };
  return def;
}

}  // namespace vn::bind
