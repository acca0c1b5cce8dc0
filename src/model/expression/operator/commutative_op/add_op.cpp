#include <optional>

#include "model/expression/arithmetic.hpp"
#include "model/expression/operator/commutative_op/commutative_op.hpp"

namespace vn {

namespace {

Expression plain_sum(TermList body, Expression constant) {
  return make_expression<CommutativeOp>(std::move(body), std::move(constant), OptText{},
                                        CommutativeKind::Add);
}

// Zero literals dropped; a single term left stands for itself.
Expression without_zeros(std::vector<Expression> terms) {
  std::erase_if(terms, [](const Expression& t) { return is_zero_literal(t); });
  if (terms.size() == 1) return terms.front();
  return make_commutative(std::move(terms), CommutativeKind::Add);
}

// The first number literal removed, the last term moved into its place; its value returned.
std::optional<Number> take_out_number(std::vector<Expression>& terms) {
  for (size_t i = 0; i < terms.size(); ++i) {
    if (const NumberLit* n = terms[i].get_if<NumberLit>()) {
      const Number value = n->value;
      terms[i] = terms.back();
      terms.pop_back();
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace

Expression new_sum(std::vector<Expression> terms) {
  Number total(int64_t{0});
  std::erase_if(terms, [&](const Expression& t) {
    const NumberLit* n = t.get_if<NumberLit>();
    if (n) total = total + n->value;
    return n != nullptr;
  });
  return plain_sum(TermList(std::move(terms)), total.is_zero() ? Expression() : number_lit(total));
}

Expression new_sum(const Expression& first, const Expression& second) {
  const bool first_number = first.is<NumberLit>(), second_number = second.is<NumberLit>();
  if (first_number && second_number) return new_sum(std::vector<Expression>{first, second});
  if (!first_number && !second_number) {
    return with_inherited_answer(plain_sum(TermList(first, second), Expression()), *first.node(),
                                 *second.node());
  }
  // With one number the total is that number, so its own node serves as the last term.
  const Expression& number = first_number ? first : second;
  const bool zero = (Number(int64_t{0}) + literal_value(number)).is_zero();
  return with_inherited_answer(
      plain_sum(TermList(first_number ? second : first), zero ? Expression() : number),
      *first.node(), *second.node());
}

Expression sum_plus_number(const CommutativeOp& sum, Number n) {
  const Number total = sum.constant ? literal_value(sum.constant) + n : n;
  if (sum.literal_in_body) {
    std::vector<Expression> terms = sum.body.to_vector();
    terms.push_back(number_lit(total));
    return without_zeros(std::move(terms));
  }
  if (!total.is_zero()) return plain_sum(sum.body, number_lit(total));
  if (sum.body.size() == 1) return sum.body[0];
  return plain_sum(sum.body, Expression());
}

Expression sum_with_term(const CommutativeOp& sum, const Expression& term) {
  if (const NumberLit* n = term.get_if<NumberLit>()) {
    // As a term, a number joins the numeric last term without the zero cleanup.
    const Number total = sum.constant ? literal_value(sum.constant) + n->value : n->value;
    return make_expression<CommutativeOp>(sum.body, number_lit(total), OptText{},
                                          CommutativeKind::Add, sum.literal_in_body);
  }
  return with_inherited_answer(
      make_expression<CommutativeOp>(sum.body.appended(term), sum.constant, OptText{},
                                     CommutativeKind::Add, sum.literal_in_body),
      sum, *term.node());
}

Expression merged_sums(const CommutativeOp& lhs, const CommutativeOp& rhs) {
  if (lhs.literal_in_body || rhs.literal_in_body) {
    std::vector<Expression> left = lhs.terms(), right = rhs.terms();
    const std::optional<Number> a = take_out_number(left), b = take_out_number(right);
    left.insert(left.end(), right.begin(), right.end());
    if (a || b) left.push_back(number_lit(a && b ? *a + *b : a ? *a : *b));
    return without_zeros(std::move(left));
  }
  TermList body = lhs.body;
  for (size_t i = 0; i < rhs.body.size(); ++i) body = body.appended(rhs.body[i]);
  Expression constant;
  if (lhs.constant || rhs.constant) {
    const Number total = lhs.constant && rhs.constant
                             ? literal_value(lhs.constant) + literal_value(rhs.constant)
                         : lhs.constant ? literal_value(lhs.constant)
                                        : literal_value(rhs.constant);
    if (!total.is_zero()) constant = number_lit(total);
  }
  if (body.size() == 1 && !constant) return body[0];
  if (body.empty() && constant) return constant;
  return plain_sum(std::move(body), std::move(constant));
}

}  // namespace vn
