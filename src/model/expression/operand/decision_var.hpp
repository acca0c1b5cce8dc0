#pragma once

#include <string>
#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// A decision variable; each bound's ndim must be zero or the variable's ndim. Binary
// variables take the fixed bounds 0 and 1.
Expression make_decision_var(DecisionVarKind kind, std::string name, std::vector<Expression> shape,
                             Expression lower_bound, Expression upper_bound, OptText latex,
                             OptText description);

}  // namespace vn
