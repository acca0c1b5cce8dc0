#include "model/expression/operand/decision_var.hpp"

#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/operand_members.hpp"
#include "lib/py/convert.hpp"
#include "model/error.hpp"

namespace vn::bind {

namespace {

// The axis lengths: None for a scalar, else a sequence of scalar expressions.
std::vector<Expression> to_shape(PyObject* object) {
  if (!object || object == Py_None) return {};
  py::Sequence items = sequence_items(object, "axis lengths");
  const Py_ssize_t count = items.size();
  std::vector<Expression> shape;
  shape.reserve(static_cast<size_t>(count));
  for (Py_ssize_t i = 0; i < count; ++i) {
    shape.push_back(to_expression(items[i]));
  }
  return shape;
}

// A bound: a scalar expression, or an array of bounds (a Placeholder, or a Subscript of one).
Expression to_bound(PyObject* object) {
  if (std::optional<Expression> e = try_expression(object)) return *e;
  if (is_instance(object, ClassId::Placeholder)) return py::value_of<Expression>(object);
  if (is_instance(object, ClassId::Subscript)) {
    const Expression& s = py::value_of<Expression>(object);
    if (s.as<Subscript>().variable.is<Placeholder>()) return s;
  }
  vn::modeling_error("the input object is not used as the bound of a decision variable");
}

const py::Signature kBinary("BinaryVar", {{"name"},
                                          py::keyword_only("shape", "None"),
                                          py::keyword_only("latex", "None"),
                                          py::keyword_only("description", "None")});

#define VN_BOUNDED_SIGNATURE(Name)                                       \
  const py::Signature k##Name(#Name, {{"name"},                          \
                                      py::keyword_only("shape", "None"), \
                                      py::keyword_only("lower_bound"),   \
                                      py::keyword_only("upper_bound"),   \
                                      py::keyword_only("latex", "None"), \
                                      py::keyword_only("description", "None")})
VN_BOUNDED_SIGNATURE(IntegerVar);
VN_BOUNDED_SIGNATURE(ContinuousVar);
VN_BOUNDED_SIGNATURE(SemiIntegerVar);
VN_BOUNDED_SIGNATURE(SemiContinuousVar);
#undef VN_BOUNDED_SIGNATURE

template <DecisionVarKind Kind>
py::Ref construct(PyTypeObject*, const py::Args& args) {
  constexpr bool bounded = Kind != DecisionVarKind::Binary;
  size_t next = 0;
  auto name = py::convert_argument("name", [&] { return py::to_text(args[next++]); });
  auto shape = py::convert_argument("shape", [&] { return to_shape(args[next++]); });
  Expression lower, upper;
  if (bounded) {
    lower = to_bound(args[next++]);
    upper = to_bound(args[next++]);
  }
  auto latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[next++]); });
  auto description =
      py::convert_argument("description", [&] { return py::to_optional_text(args[next++]); });
  return wrap(make_decision_var(Kind, std::move(name), std::move(shape), std::move(lower),
                                std::move(upper), std::move(latex), std::move(description)));
}

const DecisionVar& record(const Expression& e) { return e.as<DecisionVar>(); }

py::Ref name(const Expression& e) { return py::from_text(record(e).name); }
py::Ref description(const Expression& e) { return py::from_optional_text(record(e).description); }
py::Ref ndim_of(const Expression& e) { return py::from_count(record(e).shape.size()); }
py::Ref shape(const Expression& e) {
  const std::vector<Expression>& axes = record(e).shape;
  return py::tuple_of(axes.size(), [&](size_t i) { return wrap(axes[i]); });
}
py::Ref lower_bound(const Expression& e) { return wrap(record(e).lower_bound); }
py::Ref upper_bound(const Expression& e) { return wrap(record(e).upper_bound); }

template <DecisionVarKind Kind>
py::ClassDef decision_var_class(const char* name, const py::Signature& signature,
                                vectorcallfunc constructor, const char* doc) {
  py::ClassDef def = expression_class(name, Arithmetic::WithoutDivision);
  def.doc = doc;
  def.signature = &signature;
  def.constructor = constructor;
  def.getters = {
      py::getter<Expression, &vn::bind::name>("name"),
      py::getter<Expression, &description>("description"),
      py::getter<Expression, &ndim_of>("ndim"),
      py::getter<Expression, &shape>("shape", "The length of each axis."),
  };
  if (Kind != DecisionVarKind::Binary) {
    def.getters.push_back(py::getter<Expression, &lower_bound>("lower_bound"));
    def.getters.push_back(py::getter<Expression, &upper_bound>("upper_bound"));
  }
  def.methods = {set_latex_method()};
  def.slots.push_back(decision_var_subscript_slot());
  return def;
}

}  // namespace

py::ClassDef define_binary_var() {
  return decision_var_class<DecisionVarKind::Binary>(
      "BinaryVar", kBinary, py::constructor<&construct<DecisionVarKind::Binary>, kBinary>(),
      "A decision variable taking the values 0 and 1.");
}

py::ClassDef define_integer_var() {
  return decision_var_class<DecisionVarKind::Integer>(
      "IntegerVar", kIntegerVar,
      py::constructor<&construct<DecisionVarKind::Integer>, kIntegerVar>(),
      "A decision variable taking integer values between its bounds.");
}

py::ClassDef define_continuous_var() {
  return decision_var_class<DecisionVarKind::Continuous>(
      "ContinuousVar", kContinuousVar,
      py::constructor<&construct<DecisionVarKind::Continuous>, kContinuousVar>(),
      "A decision variable taking real values between its bounds.");
}

py::ClassDef define_semi_integer_var() {
  return decision_var_class<DecisionVarKind::SemiInteger>(
      "SemiIntegerVar", kSemiIntegerVar,
      py::constructor<&construct<DecisionVarKind::SemiInteger>, kSemiIntegerVar>(),
      "A decision variable that is zero or an integer between its bounds.");
}

py::ClassDef define_semi_continuous_var() {
  return decision_var_class<DecisionVarKind::SemiContinuous>(
      "SemiContinuousVar", kSemiContinuousVar,
      py::constructor<&construct<DecisionVarKind::SemiContinuous>, kSemiContinuousVar>(),
      "A decision variable that is zero or a real value between its bounds.");
}

}  // namespace vn::bind
