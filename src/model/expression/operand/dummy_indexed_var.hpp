#pragma once

#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// A decision variable subscripted with at least one slice. Each slice stands for a dummy
// element over the sliced range; the only use of the whole is its sum or product over those.
struct DummyIndexedVar {
  Expression variable;                    // a DecisionVar
  std::vector<Expression> subscripts;     // one per index item; a slice is its dummy element
  std::vector<Expression> dummy_indices;  // the dummy elements, in axis order
};

// The dummy element of a slice at position k of the index: "__dummy_{name}_{k}" over
// [start, stop).
Expression make_dummy_element(const DecisionVar& variable, size_t k, Expression start,
                              Expression stop);

// `x[...].sum()` and `.prod()`: the reductions over the dummy elements, the first outermost.
Expression reduce(const DummyIndexedVar& var, ReductionKind kind);

}  // namespace vn
