#include "model/expression/arithmetic.hpp"

#include "model/error.hpp"
#include "model/expression/operator/commutative_op/commutative_op.hpp"
#include "model/expression/same.hpp"

namespace vn {

namespace {

const CommutativeOp* as_commutative(const Expression& e, CommutativeKind kind) {
  const CommutativeOp* op = e.get_if<CommutativeOp>();
  return op && op->kind == kind ? op : nullptr;
}
const CommutativeOp* as_sum(const Expression& e) { return as_commutative(e, CommutativeKind::Add); }
const CommutativeOp* as_product(const Expression& e) {
  return as_commutative(e, CommutativeKind::Mul);
}
const NumberLit* as_number(const Expression& e) { return e.get_if<NumberLit>(); }
bool has_custom_latex(const Expression& e) { return latex_of(e).has_value(); }

const BinaryOp* as_power(const Expression& e) {
  const BinaryOp* op = e.get_if<BinaryOp>();
  return op && op->kind == BinaryKind::Pow ? op : nullptr;
}

Expression minus_one() { return number_lit(Number(int64_t{-1})); }

}  // namespace

bool is_zero_literal(const Expression& e) {
  const NumberLit* n = as_number(e);
  return n && n->value.is_zero();
}

bool is_one_literal(const Expression& e) {
  const NumberLit* n = as_number(e);
  return n && n->value.is_one();
}

namespace {

constexpr uint8_t kUnknown = 0, kNo = 1, kYes = 2;

// The children whose answer decides a node's (unary operators never hold a decision variable,
// and a reduction's index and condition do not count).
template <class F>
void for_each_searched_child(const Expression& e, F&& visit) {
  switch (e.kind()) {
    case NodeKind::BinaryOp:
      visit(e.as<BinaryOp>().left);
      visit(e.as<BinaryOp>().right);
      break;
    case NodeKind::CommutativeOp: {
      const CommutativeOp& op = e.as<CommutativeOp>();
      for (size_t i = 0; i < op.term_count(); ++i) visit(op.term(i));
      break;
    }
    case NodeKind::ReductionOp:
      visit(e.as<ReductionOp>().operand);
      break;
    default:
      break;
  }
}

uint8_t leaf_answer(const Node& node) {
  switch (node.node_kind()) {
    case NodeKind::DecisionVar:
      return kYes;
    case NodeKind::Subscript:
      return static_cast<const Subscript&>(node).variable.is<DecisionVar>() ? kYes : kNo;
    case NodeKind::BinaryOp:
    case NodeKind::CommutativeOp:
    case NodeKind::ReductionOp:
      return kUnknown;
    default:
      return kNo;
  }
}

uint8_t known_answer(const Node& node) {
  const uint8_t cached = node.decision_variable_cache();
  return cached != kUnknown ? cached : leaf_answer(node);
}

}  // namespace

Expression with_inherited_answer(Expression built, const Node& first, const Node& second) {
  const uint8_t a = known_answer(first), b = known_answer(second);
  if (a == kYes || b == kYes) {
    built.node()->decision_variable_cache() = kYes;
  } else if (a == kNo && b == kNo) {
    built.node()->decision_variable_cache() = kNo;
  }
  return built;
}

// Post-order with an explicit stack (sums can be long and chains deep); every node visited
// keeps its answer, so asking again, or asking about a node built on top, is O(1).
bool contains_decision_variable(const Expression& root) {
  if (uint8_t known = root.node()->decision_variable_cache()) return known == kYes;
  std::vector<std::pair<const Expression*, bool>> stack = {{&root, false}};
  while (!stack.empty()) {
    auto& [e, expanded] = stack.back();
    uint8_t& answer = e->node()->decision_variable_cache();
    if (answer == kUnknown) answer = leaf_answer(*e->node());
    if (answer != kUnknown) {
      stack.pop_back();
      continue;
    }
    if (!expanded) {
      expanded = true;
      const Expression* parent = e;
      for_each_searched_child(*parent, [&](const Expression& child) {
        if (!child.node()->decision_variable_cache()) stack.emplace_back(&child, false);
      });
      continue;
    }
    uint8_t result = kNo;
    for_each_searched_child(*e, [&](const Expression& child) {
      if (child.node()->decision_variable_cache() == kYes) result = kYes;
    });
    answer = result;
    stack.pop_back();
  }
  return root.node()->decision_variable_cache() == kYes;
}

bool contains_decision_variable(const Condition& root) {
  std::vector<const Condition*> pending = {&root};
  while (!pending.empty()) {
    const Condition& c = *pending.back();
    pending.pop_back();
    if (c.is<ComparisonOp>()) {
      const ComparisonOp& comparison = c.as<ComparisonOp>();
      if (contains_decision_variable(comparison.left) ||
          contains_decision_variable(comparison.right)) {
        return true;
      }
    } else {
      for (const Condition& term : c.as<LogicalOp>().terms) pending.push_back(&term);
    }
  }
  return false;
}

Expression addition(const Expression& lhs, const Expression& rhs) {
  const NumberLit* left_number = as_number(lhs);
  const NumberLit* right_number = as_number(rhs);
  if (left_number && right_number) return number_lit(left_number->value + right_number->value);
  if (is_zero_literal(lhs)) return rhs;
  if (is_zero_literal(rhs)) return lhs;

  const CommutativeOp* left_sum = as_sum(lhs);
  const CommutativeOp* right_sum = as_sum(rhs);
  const bool left_latex = has_custom_latex(lhs), right_latex = has_custom_latex(rhs);
  if (left_number && right_latex) return new_sum(rhs, lhs);
  if (left_sum && !left_latex && right_latex) return sum_with_term(*left_sum, rhs);
  if (right_sum && !right_latex && left_latex) return sum_with_term(*right_sum, lhs);
  if (left_latex || right_latex) return new_sum(lhs, rhs);

  if (left_sum && right_sum) return merged_sums(*left_sum, *right_sum);
  if (left_sum && right_number) return sum_plus_number(*left_sum, right_number->value);
  if (left_number && right_sum) return sum_plus_number(*right_sum, left_number->value);
  if (left_sum) return sum_with_term(*left_sum, rhs);
  if (right_sum) return sum_with_term(*right_sum, lhs);
  if (left_number) return new_sum(rhs, lhs);
  return new_sum(lhs, rhs);
}

Expression multiplication(const Expression& lhs, const Expression& rhs) {
  const NumberLit* left_number = as_number(lhs);
  const NumberLit* right_number = as_number(rhs);
  if (left_number && right_number) return number_lit(left_number->value * right_number->value);
  if (is_zero_literal(lhs) || is_zero_literal(rhs)) return number_lit(Number(int64_t{0}));
  if (is_one_literal(rhs)) return lhs;
  if (is_one_literal(lhs)) return rhs;

  const CommutativeOp* left_product = as_product(lhs);
  const CommutativeOp* right_product = as_product(rhs);
  const bool left_latex = has_custom_latex(lhs), right_latex = has_custom_latex(rhs);
  if (right_number && left_latex) return new_product(rhs, lhs);
  if (left_product && !left_latex && right_latex) return product_with_term(*left_product, rhs);
  if (right_product && !right_latex && left_latex) return product_with_term(*right_product, lhs);
  if (left_latex || right_latex) return new_product(lhs, rhs);

  if (left_number) {
    if (right_product) return product_times_number(*right_product, left_number->value);
    return new_product(lhs, rhs);
  }
  if (lhs.is<BinaryOp>()) {
    if (right_number) return new_product(rhs, lhs);
    const BinaryOp* left_power = as_power(lhs);
    const BinaryOp* right_power = as_power(rhs);
    if (left_power && right_power && is_same(left_power->left, right_power->left)) {
      return make_expression<BinaryOp>(left_power->left,
                                       addition(left_power->right, right_power->right), OptText{},
                                       BinaryKind::Pow);
    }
    if (right_product) return product_with_term(*right_product, lhs);
    return new_product(lhs, rhs);
  }
  if (left_product) {
    if (right_number) return product_times_number(*left_product, right_number->value);
    if (right_product) return merged_products(*left_product, *right_product);
    return product_with_term(*left_product, rhs);
  }
  if (right_number) return new_product(rhs, lhs);
  if (right_product) return product_with_term(*right_product, lhs);
  return new_product(lhs, rhs);
}

Expression subtraction(const Expression& lhs, const Expression& rhs) {
  const bool left_zero = is_zero_literal(lhs), right_zero = is_zero_literal(rhs);
  if (left_zero && right_zero) return number_lit(Number(int64_t{0}));
  if (left_zero) return multiplication(minus_one(), rhs);
  if (right_zero) return lhs;
  if (as_number(lhs) && as_number(rhs)) {
    return number_lit(as_number(lhs)->value - as_number(rhs)->value);
  }
  return addition(lhs, multiplication(minus_one(), rhs));
}

Expression negation(const Expression& operand) {
  if (const NumberLit* n = as_number(operand)) return number_lit(-n->value);
  return multiplication(minus_one(), operand);
}

Expression division(const Expression& lhs, const Expression& rhs) {
  if (is_zero_literal(rhs)) fail(ErrorKind::ZeroDivision, "division by zero");
  return multiplication(lhs, power(rhs, minus_one()));
}

Expression power(const Expression& base, const Expression& exponent) {
  if (contains_decision_variable(exponent)) {
    modeling_error("the exponent contains a decision variable");
  }
  const NumberLit* literal = as_number(exponent);
  if (contains_decision_variable(base) && !(literal && literal->value.is_positive())) {
    modeling_error("a decision variable can be raised to only a positive power");
  }
  if (is_zero_literal(base) && literal && literal->value.is_negative()) {
    fail(ErrorKind::ZeroDivision, "zero cannot be raised to a negative power");
  }
  return make_expression<BinaryOp>(base, exponent, OptText{}, BinaryKind::Pow);
}

Expression modulo(const Expression& lhs, const Expression& rhs) {
  if (contains_decision_variable(lhs) || contains_decision_variable(rhs)) {
    modeling_error("the modulo op contains a decision variable");
  }
  if (is_zero_literal(rhs)) fail(ErrorKind::ZeroDivision, "modulo by zero");
  return make_expression<BinaryOp>(lhs, rhs, OptText{}, BinaryKind::Mod);
}

}  // namespace vn
