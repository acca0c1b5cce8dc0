#include "model/expression/operand/subscript.hpp"

#include "model/error.hpp"
#include "model/expression/arithmetic.hpp"
#include "print/renderer.hpp"

namespace vn {

void check_subscript_list(const std::vector<Expression>& subscripts) {
  if (subscripts.empty()) modeling_error("the number of subscripts is zero");
  for (const Expression& subscript : subscripts) {
    if (contains_decision_variable(subscript)) {
      modeling_error("a subscript contains a decision variable");
    }
  }
}

std::string variable_text(const Expression& variable) {
  switch (variable.kind()) {
    case NodeKind::Placeholder:
      return variable.as<Placeholder>().name;
    case NodeKind::Element:
      return variable.as<Element>().name;
    case NodeKind::DecisionVar:
      return variable.as<DecisionVar>().name;
    default:
      return subscript_text(variable);
  }
}

std::string operand_text(const Expression& operand) {
  switch (operand.kind()) {
    case NodeKind::Placeholder:
      return "Placeholder { name: " + operand.as<Placeholder>().name + " }";
    case NodeKind::Element:
      return "Element { name: " + operand.as<Element>().name + " }";
    case NodeKind::DecisionVar: {
      const DecisionVar& v = operand.as<DecisionVar>();
      return std::string(kind_text(v.kind)) + "Var { name: " + v.name + " }";
    }
    default:
      return subscript_text(operand);
  }
}

void raise_not_subscriptable(const Expression& scalar) {
  modeling_error("the scalar `" + operand_text(scalar) + "` is not subscriptable");
}

void raise_not_scalar(const Expression& operand) {
  const std::string actually = std::to_string(ndim(operand));
  if (operand.is<Subscript>()) {
    modeling_error("the dimensionality of the subscripted variable `" + operand_text(operand) +
                   "` must be zero, but actually " + actually);
  }
  modeling_error("the dimensionality of the " + operand_text(operand) +
                 " must be zero, but is actually " + actually);
}

Expression make_subscript(const Expression& variable, std::vector<Expression> subscripts) {
  const uint64_t d = ndim(variable);
  const uint64_t n = subscripts.size();
  if (n > d) {
    modeling_error("the number of subscripts (= " + std::to_string(n) +
                   ") is greater than the dimensionality of the variable `" +
                   variable_text(variable) + "` (= " + std::to_string(d) + ")");
  }
  if (const Subscript* inner = variable.get_if<Subscript>()) {
    std::vector<Expression> all = inner->subscripts.to_vector();
    all.insert(all.end(), subscripts.begin(), subscripts.end());
    check_subscript_list(all);
    return make_expression<Subscript>(inner->variable, std::move(all), d - n);
  }
  return make_expression<Subscript>(variable, std::move(subscripts), d - n);
}

}  // namespace vn
