#pragma once

#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

// The value of a number literal.
inline Number literal_value(const Expression& literal) { return literal.as<NumberLit>().value; }

// A sum, product, minimum or maximum holding exactly `terms`, in order (no folding).
Expression make_commutative(std::vector<Expression> terms, CommutativeKind kind,
                            OptText latex = {});

// The normalising steps of sums and products. Each returns a new node; the operand is unchanged.

// All number literals summed (from the integer 0) into one last term, dropped when zero.
Expression new_sum(std::vector<Expression> terms);
// The same for two terms, without a list.
Expression new_sum(const Expression& first, const Expression& second);
// A number added to the sum's numeric last term, or appended as one.
Expression sum_plus_number(const CommutativeOp& sum, Number n);
// A term placed before the sum's numeric last term, or at the end.
Expression sum_with_term(const CommutativeOp& sum, const Expression& term);
// Two sums as one: the terms of both, then their numbers' total (dropped when zero).
Expression merged_sums(const CommutativeOp& lhs, const CommutativeOp& rhs);

// All number literals multiplied (from the integer 1) into one first term, dropped when one.
Expression new_product(std::vector<Expression> terms);
// The same for two terms, without a list.
Expression new_product(const Expression& first, const Expression& second);
// A number multiplied into the product's leading coefficient, or inserted as one.
Expression product_times_number(const CommutativeOp& product, Number n);
// A term appended at the end.
Expression product_with_term(const CommutativeOp& product, const Expression& term);
// Two products as one: rhs's coefficient multiplied into lhs's, then rhs's other terms.
Expression merged_products(const CommutativeOp& lhs, const CommutativeOp& rhs);

}  // namespace vn
