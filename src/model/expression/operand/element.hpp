#pragma once

#include <string>

#include "model/expression/expression.hpp"

namespace vn {

// The interval [start, end). Two number literals must satisfy start < end; otherwise neither end
// may contain a decision variable.
Range make_range(Expression start, Expression end);

// An element over `belong_to`: scalar over a range, one dimension fewer than an array.
Expression make_element(std::string name, BelongTo belong_to, OptText latex, OptText description);

}  // namespace vn
