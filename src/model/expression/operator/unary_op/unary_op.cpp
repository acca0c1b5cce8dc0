#include "model/expression/operator/unary_op/unary_op.hpp"

#include "model/error.hpp"
#include "model/expression/arithmetic.hpp"
#include "model/expression/operator/commutative_op/commutative_op.hpp"

namespace vn {

Expression make_unary(UnaryKind kind, Expression operand) {
  if (contains_decision_variable(operand)) {
    modeling_error("the operand of the unary op contains a decision variable");
  }
  return make_expression<UnaryOp>(std::move(operand), OptText{}, kind);
}

Expression make_extremum(CommutativeKind kind, std::vector<Expression> operands) {
  for (size_t k = 0; k < operands.size(); ++k) {
    if (contains_decision_variable(operands[k])) {
      modeling_error("the " + std::to_string(k) + "-th term contains a decision variable");
    }
  }
  return make_commutative(std::move(operands), kind);
}

}  // namespace vn
