#pragma once

#include "model/expression/expression.hpp"

namespace vn {

// Structural equality: every field but `latex` and `description`, sequences in order, number
// literals numerically (1 and 1.0 are the same; NaN is the same as nothing).
bool is_same(const Expression& a, const Expression& b);
bool is_same(const Condition& a, const Condition& b);
bool is_same(const Range& a, const Range& b);

}  // namespace vn
