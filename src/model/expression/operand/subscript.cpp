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
