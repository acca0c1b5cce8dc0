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

// Gives a sum or product built from two parts (two terms, or a shorter sum and one more term)
// the answer of contains_decision_variable when both parts' answers are known without a walk,
// so that a sum built term by term answers in O(1) however long it grows. Returns `built`.
Expression with_inherited_answer(Expression built, const Node& first, const Node& second);

}  // namespace vn
