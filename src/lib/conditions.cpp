#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"
#include "print/renderer.hpp"

namespace vn::bind {

namespace {

// a & b, a | b, a ^ b: both must be conditions, kept as [a, b] and never flattened.
template <LogicalKind Kind>
PyObject* logical_operator(PyObject* a, PyObject* b) {
  return py::guard([&] {
    Condition left = to_condition(a);
    Condition right = to_condition(b);
    return wrap(make_condition<LogicalOp>(std::vector<Condition>{std::move(left), std::move(right)},
                                          OptText{}, Kind));
  });
}

py::Ref text(const Condition& c) { return py::from_text(render_root(c, RenderMode::Str)); }
py::Ref representation(const Condition& c) {
  return py::from_text(render_root(c, RenderMode::Repr));
}

py::Ref left(const Condition& c) { return wrap(c.as<ComparisonOp>().left); }
py::Ref right(const Condition& c) { return wrap(c.as<ComparisonOp>().right); }
py::Ref terms(const Condition& c) {
  const std::vector<Condition>& items = c.as<LogicalOp>().terms;
  return py::list_of(items.size(), [&](size_t i) { return wrap(items[i]); });
}

// Conditions have no truth value of their own and compare by identity.
py::ClassDef condition_class(const char* name, const char* doc, std::vector<PyGetSetDef> getters) {
  py::ClassDef def = py::class_of<Condition>(name);
  def.doc = doc;
  def.getters = std::move(getters);
  def.methods = {set_latex_method<Condition>()};
  def.slots = {
      py::unary_slot<Condition, &text>(Py_tp_str),
      py::unary_slot<Condition, &representation>(Py_tp_repr),
      {Py_nb_and, reinterpret_cast<void*>(&logical_operator<LogicalKind::And>)},
      {Py_nb_or, reinterpret_cast<void*>(&logical_operator<LogicalKind::Or>)},
      {Py_nb_xor, reinterpret_cast<void*>(&logical_operator<LogicalKind::Xor>)},
  };
  return def;
}

py::ClassDef comparison_class(const char* name, const char* doc) {
  return condition_class(
      name, doc, {py::getter<Condition, &left>("left"), py::getter<Condition, &right>("right")});
}

py::ClassDef logical_class(const char* name, const char* doc) {
  return condition_class(name, doc, {py::getter<Condition, &terms>("terms")});
}

}  // namespace

py::ClassDef define_and_op() { return logical_class("AndOp", "Both conditions; built by &."); }
py::ClassDef define_or_op() { return logical_class("OrOp", "Either condition; built by |."); }
py::ClassDef define_xor_op() {
  return logical_class("XorOp", "Exactly one of two conditions; built by ^.");
}
py::ClassDef define_equal_op() { return comparison_class("EqualOp", "left == right"); }
py::ClassDef define_not_equal_op() { return comparison_class("NotEqualOp", "left != right"); }
py::ClassDef define_less_than_op() { return comparison_class("LessThanOp", "left < right"); }
py::ClassDef define_less_than_equal_op() {
  return comparison_class("LessThanEqualOp", "left <= right");
}
py::ClassDef define_greater_than_op() { return comparison_class("GreaterThanOp", "left > right"); }
py::ClassDef define_greater_than_equal_op() {
  return comparison_class("GreaterThanEqualOp", "left >= right");
}

}  // namespace vn::bind
