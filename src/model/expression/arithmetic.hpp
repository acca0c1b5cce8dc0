#pragma once

#include "model/expression/expression.hpp"

namespace vn {

// The arithmetic operations behind + - * / % ** and unary -. Only two number literals are ever
// folded (and never by / or **); everything else builds normalised nodes.
Expression addition(const Expression& lhs, const Expression& rhs);
Expression subtraction(const Expression& lhs, const Expression& rhs);
Expression multiplication(const Expression& lhs, const Expression& rhs);
Expression division(const Expression& lhs, const Expression& rhs);
Expression modulo(const Expression& lhs, const Expression& rhs);
Expression power(const Expression& base, const Expression& exponent);
Expression negation(const Expression& operand);

bool is_zero_literal(const Expression& e);
bool is_one_literal(const Expression& e);
bool contains_decision_variable(const Expression& e);
bool contains_decision_variable(const Condition& c);

}  // namespace vn
