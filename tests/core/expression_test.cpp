#include "model/expression/expression.hpp"
#include <vector>

#include "check.hpp"

namespace vn {

// Dropping the last handle to a chain far deeper than the C stack could recurse through must
// free it without overflowing.
VN_TEST(deep_chain_is_freed_iteratively) {
  Expression chain = make_expression<Placeholder>("p", 0, OptText{}, OptText{});
  for (int depth = 0; depth < 3'000'000; ++depth) {
    chain = make_expression<UnaryOp>(chain, OptText{}, UnaryKind::Abs);
  }
  chain = Expression();
  VN_CHECK(!chain);
}

VN_TEST(a_term_list_grows_in_place_only_at_its_end) {
  auto p = make_expression<Placeholder>("p", 0, OptText{}, OptText{});
  auto q = make_expression<Placeholder>("q", 0, OptText{}, OptText{});
  TermList one = TermList({p});
  TermList two = one.appended(q);    // grows the shared buffer
  TermList other = one.appended(p);  // must not see or overwrite `two`'s second item
  VN_CHECK(one.size() == 1);
  VN_CHECK(two.size() == 2 && two[1].node() == q.node());
  VN_CHECK(other.size() == 2 && other[1].node() == p.node());
}

// Short lists hold their terms themselves; from three terms on they share a buffer. Lists that
// branch off either kind must keep seeing their own terms.
VN_TEST(term_lists_branch_at_every_length) {
  auto p = make_expression<Placeholder>("p", 0, OptText{}, OptText{});
  auto q = make_expression<Placeholder>("q", 0, OptText{}, OptText{});
  std::vector<TermList> chain = {TermList()};
  for (int i = 0; i < 6; ++i) chain.push_back(chain.back().appended(p));
  for (size_t length = 0; length < chain.size(); ++length) {
    TermList branch = chain[length].appended(q);
    TermList again = chain[length].appended(q).appended(p);
    VN_CHECK(branch.size() == length + 1 && branch[length].node() == q.node());
    VN_CHECK(again.size() == length + 2 && again[length].node() == q.node());
    for (size_t i = 0; i < length; ++i) VN_CHECK(branch[i].node() == p.node());
    VN_CHECK(chain[length].size() == length);
    VN_CHECK(chain[length].to_vector().size() == length);
  }
  VN_CHECK(chain.back()[5].node() == p.node());
  VN_CHECK(TermList({p, q, p}).size() == 3 && TermList({p, q, p})[1].node() == q.node());
}

VN_TEST(constant_of_a_sum_is_last_and_of_a_product_first) {
  auto p = make_expression<Placeholder>("p", 0, OptText{}, OptText{});
  auto three = number_lit(Number(int64_t{3}));
  CommutativeOp sum(TermList({p}), three, {}, CommutativeKind::Add);
  CommutativeOp product(TermList({p}), three, {}, CommutativeKind::Mul);
  VN_CHECK(sum.term_count() == 2 && sum.term(1).node() == three.node());
  VN_CHECK(product.term(0).node() == three.node() && product.term(1).node() == p.node());
}

VN_TEST(integer_literal_arithmetic_wraps_around) {
  const Number max(int64_t{INT64_MAX});
  VN_CHECK((max + Number(int64_t{1})).integer() == INT64_MIN);
  VN_CHECK((-Number(int64_t{INT64_MIN})).integer() == INT64_MIN);
  VN_CHECK(!(Number(int64_t{1}) + Number(0.5)).is_integer());
  VN_CHECK(Number(-0.0).is_negative() && !Number(-0.0).is_positive());
}

}  // namespace vn
