#pragma once

#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// One index of a reduction: an element, optionally restricted by a condition.
struct ReductionIndex {
  Expression element;
  Condition condition;
};

// The reduction over `indices` of `operand`, nested so that the first index is outermost.
// A condition may not contain a decision variable; nothing else is checked or simplified.
Expression make_reduction(ReductionKind kind, const std::vector<ReductionIndex>& indices,
                          Expression operand);

}  // namespace vn
