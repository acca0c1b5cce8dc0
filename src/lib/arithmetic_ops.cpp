#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"

namespace vn::bind {

namespace {

py::Ref terms(const Expression& e) {
  const CommutativeOp& op = e.as<CommutativeOp>();
  return py::list_of(op.term_count(), [&](size_t i) { return wrap(op.term(i)); });
}

py::Ref left(const Expression& e) { return wrap(e.as<BinaryOp>().left); }
py::Ref right(const Expression& e) { return wrap(e.as<BinaryOp>().right); }

py::ClassDef operator_class(const char* name, const char* doc, std::vector<PyGetSetDef> getters) {
  py::ClassDef def = expression_class(name);
  def.doc = doc;
  def.getters = std::move(getters);
  def.methods = {set_latex_method()};
  return def;
}

}  // namespace

PyGetSetDef terms_getter() {
  return py::getter<Expression, &terms>("terms", "The terms, in order.");
}

py::ClassDef define_add_op() {
  return operator_class("AddOp", "A sum; built by +, - and unary -.", {terms_getter()});
}

py::ClassDef define_mul_op() {
  return operator_class("MulOp", "A product; built by *, / and unary -.", {terms_getter()});
}

py::ClassDef define_pow_op() {
  return operator_class(
      "PowOp", "A power; built by ** and /.",
      {py::getter<Expression, &left>("base"), py::getter<Expression, &right>("exponent")});
}

py::ClassDef define_mod_op() {
  return operator_class(
      "ModOp", "A remainder; built by %.",
      {py::getter<Expression, &left>("left"), py::getter<Expression, &right>("right")});
}

}  // namespace vn::bind
