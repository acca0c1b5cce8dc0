#include "model/expression/operator/unary_op/unary_op.hpp"

#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"

namespace vn::bind {

namespace {

template <UnaryKind Kind>
py::Ref unary(const py::Args& args) {
  Expression operand = py::convert_argument("operand", [&] { return to_expression(args[0]); });
  return wrap(make_unary(Kind, std::move(operand)));
}

template <CommutativeKind Kind>
py::Ref extremum(const py::Args& args) {
  std::vector<Expression> operands;
  for (Py_ssize_t i = 0; i < args.varargs_count(); ++i) {
    operands.push_back(
        py::convert_argument("operands", [&] { return to_expression(args.varargs()[i]); }));
  }
  return wrap(make_extremum(Kind, std::move(operands)));
}

const py::Signature kAbs("abs", {{"operand"}});
const py::Signature kCeil("ceil", {{"operand"}});
const py::Signature kFloor("floor", {{"operand"}});
const py::Signature kLog2("log2", {{"operand"}});
const py::Signature kLog10("log10", {{"operand"}});
const py::Signature kLn("ln", {{"operand"}});
const py::Signature kMin("min", {py::var_positional("operands")});
const py::Signature kMax("max", {py::var_positional("operands")});

py::Ref operand(const Expression& e) { return wrap(e.as<UnaryOp>().operand); }

py::ClassDef unary_class(const char* name, const char* doc) {
  py::ClassDef def = expression_class(name);
  def.doc = doc;
  def.getters = {py::getter<Expression, &operand>("operand")};
  def.methods = {set_latex_method()};
  return def;
}

py::ClassDef extremum_class(const char* name, const char* doc) {
  py::ClassDef def = expression_class(name);
  def.doc = doc;
  def.getters = {terms_getter()};
  def.methods = {set_latex_method()};
  return def;
}

}  // namespace

py::Ref make_abs(PyObject* m) {
  return py::function<&unary<UnaryKind::Abs>, kAbs>(m, "The absolute value of the operand.");
}
py::Ref make_ceil(PyObject* m) {
  return py::function<&unary<UnaryKind::Ceil>, kCeil>(m, "The operand rounded up.");
}
py::Ref make_floor(PyObject* m) {
  return py::function<&unary<UnaryKind::Floor>, kFloor>(m, "The operand rounded down.");
}
py::Ref make_log2(PyObject* m) {
  return py::function<&unary<UnaryKind::Log2>, kLog2>(m, "The base-2 logarithm of the operand.");
}
py::Ref make_log10(PyObject* m) {
  return py::function<&unary<UnaryKind::Log10>, kLog10>(m, "The base-10 logarithm of the operand.");
}
py::Ref make_ln(PyObject* m) {
  return py::function<&unary<UnaryKind::Ln>, kLn>(m, "The natural logarithm of the operand.");
}
py::Ref make_min(PyObject* m) {
  return py::function<&extremum<CommutativeKind::Min>, kMin>(m, "The least of the operands.");
}
py::Ref make_max(PyObject* m) {
  return py::function<&extremum<CommutativeKind::Max>, kMax>(m, "The greatest of the operands.");
}

py::ClassDef define_abs_op() { return unary_class("AbsOp", "|operand|; built by abs()."); }
py::ClassDef define_ceil_op() { return unary_class("CeilOp", "The ceiling; built by ceil()."); }
py::ClassDef define_floor_op() { return unary_class("FloorOp", "The floor; built by floor()."); }
py::ClassDef define_log2_op() { return unary_class("Log2Op", "Built by log2()."); }
py::ClassDef define_log10_op() { return unary_class("Log10Op", "Built by log10()."); }
py::ClassDef define_ln_op() { return unary_class("LnOp", "Built by ln()."); }
py::ClassDef define_min_op() { return extremum_class("MinOp", "The least term; built by min()."); }
py::ClassDef define_max_op() {
  return extremum_class("MaxOp", "The greatest term; built by max().");
}

}  // namespace vn::bind
