#pragma once

#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// Subscripts must be at least one, and none may contain a decision variable.
void check_subscript_list(const std::vector<Expression>& subscripts);

// `variable[subscripts]`, with as many subscripts as the variable has dimensions at most. A
// subscripted Subscript is flattened: `a[1][2]` is `a[1, 2]`, and its whole list is checked.
Expression make_subscript(const Expression& variable, std::vector<Expression> subscripts);

// How messages name a variable: its name, or the subscript text of a Subscript.
std::string variable_text(const Expression& variable);

// How messages name an operand as a record: "Placeholder { name: a }", "BinaryVar { name: x }",
// or the subscript text of a Subscript.
std::string operand_text(const Expression& operand);

// "the scalar `...` is not subscriptable".
[[noreturn]] void raise_not_subscriptable(const Expression& scalar);

// The dimensionality error of an operand that must be scalar but is not.
[[noreturn]] void raise_not_scalar(const Expression& operand);

}  // namespace vn
