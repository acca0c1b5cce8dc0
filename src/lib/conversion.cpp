#include "lib/conversion.hpp"

#include "lib/classes.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"
#include "lib/py/error.hpp"
#include "model/error.hpp"
#include "model/expression/operand/dummy_indexed_var.hpp"
#include "model/expression/operand/subscript.hpp"
#include "print/renderer.hpp"

namespace vn::bind {

std::optional<Number> number_from(PyObject* object) {
  if (PyLong_CheckExact(object)) {  // the common case, without the index call
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(object, &overflow);
    if (!overflow) return Number(static_cast<int64_t>(value));
  } else if (PyFloat_CheckExact(object)) {
    return Number(PyFloat_AS_DOUBLE(object));
  } else if (PyObject* index = PyNumber_Index(object)) {
    int overflow = 0;
    long long value = PyLong_AsLongLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (!overflow && !(value == -1 && PyErr_Occurred())) return Number(static_cast<int64_t>(value));
  }
  PyErr_Clear();
  double real = PyFloat_AsDouble(object);
  if (real == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return std::nullopt;
  }
  return Number(real);
}

py::Ref number_to_python(Number number) {
  if (number.is_integer()) return py::check(PyLong_FromLongLong(number.integer()));
  return py::check(PyFloat_FromDouble(number.real()));
}

bool is_expression_object(PyObject* object) {
  // Every expression class, and only those, holds an Expression value.
  return Py_TYPE(object)->tp_dealloc == &py::dealloc_object<Expression>;
}

bool is_module_operand(PyObject* object) {
  return is_expression_object(object) || is_instance(object, ClassId::DummyIndexedVar) ||
         Py_TYPE(object)->tp_dealloc == &py::dealloc_object<Condition>;
}

std::optional<Expression> try_expression(PyObject* object) {
  if (is_expression_object(object)) {
    const Expression& e = py::value_of<Expression>(object);
    if (ndim(e) == 0) return e;
    return std::nullopt;
  }
  if (Py_TYPE(object)->tp_dealloc == py::dealloc_object<Condition>) return std::nullopt;
  if (std::optional<Number> number = number_from(object)) return number_lit(*number);
  return std::nullopt;
}

Expression to_expression(PyObject* object) {
  if (std::optional<Expression> e = try_expression(object)) return *e;
  if (is_instance(object, ClassId::DummyIndexedVar)) {
    const DecisionVar& v = py::value_of<DummyIndexedVar>(object).variable.as<DecisionVar>();
    modeling_error(std::string("dummy indexed ") + kind_text(v.kind) + "Var with name '" + v.name +
                   "' must be called the `sum` or `prod` method to be converted into an "
                   "expression.");
  }
  py::raise(PyExc_TypeError, "failed to convert into expression.");
}

Expression receiver_expression(PyObject* object) {
  const Expression& e = py::value_of<Expression>(object);
  if (ndim(e) == 0) return e;
  raise_not_scalar(e);
}

std::string sequence_problem(PyObject* object, const char* items) {
  if (PyUnicode_Check(object))
    return std::string("a string is not accepted as a sequence of ") + items;
  if (is_module_operand(object) || !PySequence_Check(object)) {
    return py::cannot_convert_message(object, "Sequence");
  }
  return {};
}

py::Sequence sequence_items(PyObject* object, const char* items) {
  if (std::string problem = sequence_problem(object, items); !problem.empty()) {
    py::raise(PyExc_TypeError, problem);
  }
  return py::Sequence(object);
}

Condition to_condition(PyObject* object) {
  if (Py_TYPE(object)->tp_dealloc == &py::dealloc_object<Condition>) {
    return py::value_of<Condition>(object);
  }
  py::raise(PyExc_TypeError, "failed to convert into a conditional expression.");
}

Expression to_decision_var(PyObject* object) {
  if (is_expression_object(object)) {
    const Expression& e = py::value_of<Expression>(object);
    if (e.is<DecisionVar>()) return e;
  }
  py::raise(PyExc_TypeError, "failed to convert into decision var");
}

}  // namespace vn::bind
