#include "model/expression/same.hpp"

#include "model/depth_guard.hpp"

namespace vn {

namespace {

bool same_lists(std::span<const Expression> a, std::span<const Expression> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!is_same(a[i], b[i])) return false;
  }
  return true;
}

bool same_terms(const CommutativeOp& a, const CommutativeOp& b) {
  if (a.term_count() != b.term_count()) return false;
  for (size_t i = 0; i < a.term_count(); ++i) {
    if (!is_same(a.term(i), b.term(i))) return false;
  }
  return true;
}

bool same_sets(const BelongTo& a, const BelongTo& b) {
  if (a.index() != b.index()) return false;
  if (const Range* range = std::get_if<Range>(&a)) return is_same(*range, std::get<Range>(b));
  return is_same(std::get<Expression>(a), std::get<Expression>(b));
}

bool same_optional_conditions(const Condition& a, const Condition& b) {
  if (!a || !b) return !a && !b;
  return is_same(a, b);
}

}  // namespace

bool is_same(const Range& a, const Range& b) {
  return is_same(a.start, b.start) && is_same(a.end, b.end);
}

bool is_same(const Expression& a, const Expression& b) {
  if (a.kind() != b.kind()) return false;
  // A shared subtree is the same as itself, which keeps comparisons of rebuilt trees cheap; a
  // bare NaN literal still differs from itself.
  if (a.node() == b.node() && a.kind() != NodeKind::NumberLit) return true;
  DepthGuard guard;
  switch (a.kind()) {
    case NodeKind::NumberLit:
      return numerically_equal(a.as<NumberLit>().value, b.as<NumberLit>().value);
    case NodeKind::Placeholder: {
      const auto &x = a.as<Placeholder>(), &y = b.as<Placeholder>();
      return x.name == y.name && x.ndim == y.ndim;
    }
    case NodeKind::Element: {
      const auto &x = a.as<Element>(), &y = b.as<Element>();
      return x.name == y.name && x.ndim == y.ndim && same_sets(x.belong_to, y.belong_to);
    }
    case NodeKind::DecisionVar: {
      const auto &x = a.as<DecisionVar>(), &y = b.as<DecisionVar>();
      return x.kind == y.kind && x.name == y.name && same_lists(x.shape, y.shape) &&
             is_same(x.lower_bound, y.lower_bound) && is_same(x.upper_bound, y.upper_bound);
    }
    case NodeKind::Subscript: {
      const auto &x = a.as<Subscript>(), &y = b.as<Subscript>();
      return x.ndim == y.ndim && is_same(x.variable, y.variable) &&
             same_lists(x.subscripts, y.subscripts);
    }
    case NodeKind::ArrayLength: {
      const auto &x = a.as<ArrayLength>(), &y = b.as<ArrayLength>();
      return x.axis == y.axis && is_same(x.array, y.array);
    }
    case NodeKind::UnaryOp: {
      const auto &x = a.as<UnaryOp>(), &y = b.as<UnaryOp>();
      return x.kind == y.kind && is_same(x.operand, y.operand);
    }
    case NodeKind::BinaryOp: {
      const auto &x = a.as<BinaryOp>(), &y = b.as<BinaryOp>();
      return x.kind == y.kind && is_same(x.left, y.left) && is_same(x.right, y.right);
    }
    case NodeKind::CommutativeOp: {
      const auto &x = a.as<CommutativeOp>(), &y = b.as<CommutativeOp>();
      return x.kind == y.kind && same_terms(x, y);
    }
    case NodeKind::ReductionOp: {
      const auto &x = a.as<ReductionOp>(), &y = b.as<ReductionOp>();
      return x.kind == y.kind && is_same(x.index, y.index) &&
             same_optional_conditions(x.condition, y.condition) && is_same(x.operand, y.operand);
    }
    default:
      return false;
  }
}

bool is_same(const Condition& a, const Condition& b) {
  if (a.node() == b.node()) return true;
  if (a.kind() != b.kind()) return false;
  DepthGuard guard;
  if (a.is<ComparisonOp>()) {
    const auto &x = a.as<ComparisonOp>(), &y = b.as<ComparisonOp>();
    return x.kind == y.kind && is_same(x.left, y.left) && is_same(x.right, y.right);
  }
  const auto &x = a.as<LogicalOp>(), &y = b.as<LogicalOp>();
  if (x.kind != y.kind || x.terms.size() != y.terms.size()) return false;
  for (size_t i = 0; i < x.terms.size(); ++i) {
    if (!is_same(x.terms[i], y.terms[i])) return false;
  }
  return true;
}

}  // namespace vn
