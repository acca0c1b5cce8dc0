#pragma once

#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// abs, ceil, floor, ln, log2, log10 of an operand free of decision variables.
Expression make_unary(UnaryKind kind, Expression operand);

// min and max of operands free of decision variables, kept as given (no flattening).
Expression make_extremum(CommutativeKind kind, std::vector<Expression> operands);

}  // namespace vn
