#include "model/expression/operator/commutative_op/commutative_op.hpp"

namespace vn {

Expression make_commutative(std::vector<Expression> terms, CommutativeKind kind, OptText latex) {
  Expression constant;
  // Only sums and products keep a number aside: minimum and maximum have no neutral end.
  if (!terms.empty() && (kind == CommutativeKind::Add || kind == CommutativeKind::Mul)) {
    const bool at_end = kind == CommutativeKind::Add;
    const Expression& edge = at_end ? terms.back() : terms.front();
    if (edge.is<NumberLit>()) {
      constant = edge;
      terms.erase(at_end ? terms.end() - 1 : terms.begin());
    }
  }
  bool literal_in_body = false;
  for (const Expression& term : terms) literal_in_body |= term.is<NumberLit>();
  return make_expression<CommutativeOp>(TermList(std::move(terms)), std::move(constant),
                                        std::move(latex), kind, literal_in_body);
}

}  // namespace vn
