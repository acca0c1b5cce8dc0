#include "lib/expression_class.hpp"

#include "lib/conversion.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"
#include "model/expression/arithmetic.hpp"
#include "print/renderer.hpp"

namespace vn::bind {

namespace {

using Operation = Expression (*)(const Expression&, const Expression&);
using NumberSlot = binaryfunc PyNumberMethods::*;

// Whether the operator's method runs on this object's class (decision variables lack / and %).
bool implements(PyObject* object, NumberSlot slot, binaryfunc function) {
  PyNumberMethods* methods = Py_TYPE(object)->tp_as_number;
  return methods && methods->*slot == function;
}

// One function serves the forward and the reflected call: the operand whose class implements
// the operator gets the scalar check, the other the value conversion, and the operands keep
// the order written in Python.
template <Operation Op, NumberSlot Slot>
PyObject* binary_operator(PyObject* a, PyObject* b) {
  return py::guard([&]() -> py::Ref {
    constexpr binaryfunc self = &binary_operator<Op, Slot>;
    if (implements(a, Slot, self)) {
      Expression lhs = receiver_expression(a);
      return wrap(Op(lhs, to_expression(b)));
    }
    if (implements(b, Slot, self)) {
      Expression rhs = receiver_expression(b);
      return wrap(Op(to_expression(a), rhs));
    }
    return py::Ref::borrow(Py_NotImplemented);
  });
}

// a ** b, and pow(a, b, m) as (a ** b) % m with m converted before the power is built.
PyObject* power_operator(PyObject* a, PyObject* b, PyObject* m) {
  return py::guard([&]() -> py::Ref {
    Expression base, exponent;
    if (is_expression_object(a)) {
      base = receiver_expression(a);
      exponent = to_expression(b);
    } else if (is_expression_object(b)) {
      exponent = receiver_expression(b);
      base = to_expression(a);
    } else {
      return py::Ref::borrow(Py_NotImplemented);
    }
    if (m == Py_None) return wrap(power(base, exponent));
    Expression divisor = to_expression(m);
    return wrap(modulo(power(base, exponent), divisor));
  });
}

PyObject* negative_operator(PyObject* a) {
  return py::guard([&] { return wrap(negation(receiver_expression(a))); });
}

// Comparisons build conditions; the interpreter's mirroring decides which side is which.
PyObject* compare(PyObject* self, PyObject* other, int op) {
  static constexpr ComparisonKind kKinds[] = {
      ComparisonKind::LessThan, ComparisonKind::LessThanEqual, ComparisonKind::Equal,
      ComparisonKind::NotEqual, ComparisonKind::GreaterThan,   ComparisonKind::GreaterThanEqual};
  return py::guard([&] {
    Expression left = receiver_expression(self);
    Expression right = to_expression(other);
    return wrap(
        make_condition<ComparisonOp>(std::move(left), std::move(right), OptText{}, kKinds[op]));
  });
}

py::Ref text(const Expression& e) { return py::from_text(render_root(e, RenderMode::Str)); }
py::Ref representation(const Expression& e) {
  return py::from_text(render_root(e, RenderMode::Repr));
}

template <Operation Op, NumberSlot Slot>
PyType_Slot number_slot(int id) {
  return {id, reinterpret_cast<void*>(&binary_operator<Op, Slot>)};
}

// The operator methods themselves, named as users read them in help(): `__add__(other)`,
// `__pow__(exponent, modulo=None)`. The slots above serve the operators; these serve explicit
// calls and signatures, with the same conversions.
template <Operation Op, bool Reflected>
py::Ref operator_method(PyObject* self, const py::Args& args) {
  Expression receiver = receiver_expression(self);
  Expression other = to_expression(args[0]);
  return wrap(Reflected ? Op(other, receiver) : Op(receiver, other));
}

template <bool Reflected>
py::Ref power_method(PyObject* self, const py::Args& args) {
  Expression receiver = receiver_expression(self);
  Expression other = to_expression(args[0]);
  const bool with_modulo = args[1] && args[1] != Py_None;
  Expression divisor = with_modulo ? to_expression(args[1]) : Expression();
  Expression raised = Reflected ? power(other, receiver) : power(receiver, other);
  return wrap(with_modulo ? modulo(raised, divisor) : raised);
}

py::Ref negative_method(PyObject* self, const py::Args&) {
  return wrap(negation(receiver_expression(self)));
}

const py::Signature kAdd("__add__", {{"other"}}), kRadd("__radd__", {{"other"}}),
    kSub("__sub__", {{"other"}}), kRsub("__rsub__", {{"other"}}), kMul("__mul__", {{"other"}}),
    kRmul("__rmul__", {{"other"}}), kTrueDiv("__truediv__", {{"other"}}),
    kRtrueDiv("__rtruediv__", {{"other"}}), kMod("__mod__", {{"other"}}),
    kRmod("__rmod__", {{"other"}}), kPow("__pow__", {{"exponent"}, py::optional("modulo", "None")}),
    kRpow("__rpow__", {{"base"}, py::optional("modulo", "None")}), kNeg("__neg__", {});

const py::Signature kSetLatex("set_latex", {py::optional("latex", "None")});

// Replaces the object's own node by a relabelled copy: every other holder keeps the old one.
template <class T>
py::Ref set_latex(PyObject* self, const py::Args& args) {
  OptText latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[0]); });
  T& value = py::value_of<T>(self);
  value = with_latex(value, std::move(latex));
  return py::Ref::borrow(Py_None);
}

}  // namespace

py::ClassDef expression_class(const char* name, Arithmetic arithmetic) {
  py::ClassDef def = py::class_of<Expression>(name);
  def.slots = {
      py::unary_slot<Expression, &text>(Py_tp_str),
      py::unary_slot<Expression, &representation>(Py_tp_repr),
      number_slot<&addition, &PyNumberMethods::nb_add>(Py_nb_add),
      number_slot<&subtraction, &PyNumberMethods::nb_subtract>(Py_nb_subtract),
      number_slot<&multiplication, &PyNumberMethods::nb_multiply>(Py_nb_multiply),
      {Py_nb_power, reinterpret_cast<void*>(&power_operator)},
      {Py_nb_negative, reinterpret_cast<void*>(&negative_operator)},
      {Py_tp_richcompare, reinterpret_cast<void*>(&compare)},
      // == builds a condition, so equal objects need not hash alike: no hash at all.
      {Py_tp_hash, reinterpret_cast<void*>(&PyObject_HashNotImplemented)},
  };
  def.family_methods = {
      py::slot_method<&operator_method<&addition, false>, kAdd>("Return self+other."),
      py::slot_method<&operator_method<&addition, true>, kRadd>("Return other+self."),
      py::slot_method<&operator_method<&subtraction, false>, kSub>("Return self-other."),
      py::slot_method<&operator_method<&subtraction, true>, kRsub>("Return other-self."),
      py::slot_method<&operator_method<&multiplication, false>, kMul>("Return self*other."),
      py::slot_method<&operator_method<&multiplication, true>, kRmul>("Return other*self."),
      py::slot_method<&power_method<false>, kPow>("Return pow(self, exponent, modulo)."),
      py::slot_method<&power_method<true>, kRpow>("Return pow(base, self, modulo)."),
      py::slot_method<&negative_method, kNeg>("Return -self."),
  };
  if (arithmetic == Arithmetic::Full) {
    def.slots.push_back(
        number_slot<&division, &PyNumberMethods::nb_true_divide>(Py_nb_true_divide));
    def.slots.push_back(number_slot<&modulo, &PyNumberMethods::nb_remainder>(Py_nb_remainder));
    def.family_methods.insert(
        def.family_methods.end(),
        {
            py::slot_method<&operator_method<&division, false>, kTrueDiv>("Return self/other."),
            py::slot_method<&operator_method<&division, true>, kRtrueDiv>("Return other/self."),
            py::slot_method<&operator_method<&modulo, false>, kMod>("Return self%other."),
            py::slot_method<&operator_method<&modulo, true>, kRmod>("Return other%self."),
        });
  }
  return def;
}

template <class T>
PyMethodDef set_latex_method() {
  return py::method<&set_latex<T>, kSetLatex>(
      "Set the LaTeX representation of the object.\n"
      "If the LaTeX representation is not set, the default representation is set.");
}

template PyMethodDef set_latex_method<Expression>();
template PyMethodDef set_latex_method<Condition>();

}  // namespace vn::bind
