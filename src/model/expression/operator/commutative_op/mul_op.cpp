#include <algorithm>

#include "model/expression/arithmetic.hpp"
#include "model/expression/operator/commutative_op/commutative_op.hpp"

namespace vn {

namespace {

Expression product_of(TermList body, Expression coefficient, bool literal_in_body) {
  return make_expression<CommutativeOp>(std::move(body), std::move(coefficient), OptText{},
                                        CommutativeKind::Mul, literal_in_body);
}

}  // namespace

Expression new_product(std::vector<Expression> terms) {
  Number total(int64_t{1});
  std::erase_if(terms, [&](const Expression& t) {
    const NumberLit* n = t.get_if<NumberLit>();
    if (n) total = total * n->value;
    return n != nullptr;
  });
  return product_of(TermList(std::move(terms)), total.is_one() ? Expression() : number_lit(total),
                    false);
}

Expression new_product(const Expression& first, const Expression& second) {
  const bool first_number = first.is<NumberLit>(), second_number = second.is<NumberLit>();
  if (first_number && second_number) return new_product(std::vector<Expression>{first, second});
  if (!first_number && !second_number) {
    return with_inherited_answer(product_of(TermList(first, second), Expression(), false),
                                 *first.node(), *second.node());
  }
  // With one number the product of the numbers is that number, so its own node serves as the
  // coefficient.
  const Expression& number = first_number ? first : second;
  const bool one = (Number(int64_t{1}) * literal_value(number)).is_one();
  return with_inherited_answer(
      product_of(TermList(first_number ? second : first), one ? Expression() : number, false),
      *first.node(), *second.node());
}

Expression product_times_number(const CommutativeOp& product, Number n) {
  const Number coefficient = product.constant ? literal_value(product.constant) * n : n;
  return product_of(product.body, number_lit(coefficient), product.literal_in_body);
}

Expression product_with_term(const CommutativeOp& product, const Expression& term) {
  return with_inherited_answer(product_of(product.body.appended(term), product.constant,
                                          product.literal_in_body || term.is<NumberLit>()),
                               product, *term.node());
}

Expression merged_products(const CommutativeOp& lhs, const CommutativeOp& rhs) {
  // rhs's coefficient leaves by its last term moving into the first position.
  std::vector<Expression> rest = rhs.body.to_vector();
  if (rhs.constant && !rest.empty()) std::rotate(rest.begin(), rest.end() - 1, rest.end());
  Expression coefficient = lhs.constant;
  if (rhs.constant) {
    const Number c = literal_value(rhs.constant);
    coefficient = number_lit(lhs.constant ? literal_value(lhs.constant) * c : c);
  }
  TermList body = lhs.body;
  bool literal_in_body = lhs.literal_in_body;
  for (const Expression& term : rest) {
    body = body.appended(term);
    literal_in_body |= term.is<NumberLit>();
  }
  return product_of(std::move(body), std::move(coefficient), literal_in_body);
}

}  // namespace vn
