#include "model/expression/operator/reduction_op/reduction_op.hpp"

#include "model/error.hpp"
#include "model/expression/arithmetic.hpp"

namespace vn {

Expression make_reduction(ReductionKind kind, const std::vector<ReductionIndex>& indices,
                          Expression operand) {
  if (indices.empty()) modeling_error("a reduction needs at least one index");
  for (const ReductionIndex& index : indices) {
    if (index.condition && contains_decision_variable(index.condition)) {
      modeling_error("the condition expression contains a decision variable");
    }
  }
  for (auto index = indices.rbegin(); index != indices.rend(); ++index) {
    operand = make_expression<ReductionOp>(index->element, index->condition, std::move(operand),
                                           OptText{}, kind);
  }
  return operand;
}

}  // namespace vn
