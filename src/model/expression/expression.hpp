#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/expression/node.hpp"
#include "model/expression/number.hpp"
#include "model/expression/text.hpp"

namespace vn {

// A handle to an immutable expression node of one of the ten expression kinds. Copying it is
// O(1) whatever the tree's size; a tree is never changed after it is built, so a value held by
// one Python object can never be changed through another.
class Expression {
 public:
  Expression() = default;  // the empty handle, for optional slots only
  template <class T>
  Expression(Ref<T> node) : node_(std::move(node)) {}

  NodeKind kind() const { return node_->node_kind(); }
  template <class T>
  bool is() const {
    return node_ && kind() == T::kKind;
  }
  template <class T>
  const T& as() const {
    return static_cast<const T&>(*node_);
  }
  template <class T>
  const T* get_if() const {
    return is<T>() ? static_cast<const T*>(node_.get()) : nullptr;
  }
  const Node* node() const { return node_.get(); }
  explicit operator bool() const { return static_cast<bool>(node_); }

 private:
  Ref<Node> node_;
};

// A handle to a condition: a comparison or a logical combination. Never an expression.
class Condition {
 public:
  Condition() = default;
  template <class T>
  Condition(Ref<T> node) : node_(std::move(node)) {}

  NodeKind kind() const { return node_->node_kind(); }
  template <class T>
  bool is() const {
    return node_ && kind() == T::kKind;
  }
  template <class T>
  const T& as() const {
    return static_cast<const T&>(*node_);
  }
  const Node* node() const { return node_.get(); }
  explicit operator bool() const { return static_cast<bool>(node_); }

 private:
  Ref<Node> node_;
};

enum class DecisionVarKind : uint8_t { Binary, Integer, Continuous, SemiInteger, SemiContinuous };
enum class UnaryKind : uint8_t { Abs, Ceil, Floor, Ln, Log10, Log2 };
enum class BinaryKind : uint8_t { Pow, Mod };
enum class CommutativeKind : uint8_t { Add, Mul, Min, Max };
enum class ReductionKind : uint8_t { Sum, Prod };
enum class ComparisonKind : uint8_t {
  Equal,
  NotEqual,
  LessThan,
  LessThanEqual,
  GreaterThan,
  GreaterThanEqual
};
enum class LogicalKind : uint8_t { And, Or, Xor };

struct NumberLit : Node {
  static constexpr NodeKind kKind = NodeKind::NumberLit;
  explicit NumberLit(Number v) : Node(kKind), value(v) {}
  Number value;
};

struct Placeholder : Node {
  static constexpr NodeKind kKind = NodeKind::Placeholder;
  Placeholder(std::string name, uint64_t ndim, OptText latex, OptText description)
      : Node(kKind),
        name(std::move(name)),
        ndim(ndim),
        latex(std::move(latex)),
        description(std::move(description)) {}
  std::string name;
  uint64_t ndim;
  OptText latex;
  OptText description;
};

// The half-open interval [start, end) of an element.
struct Range {
  Expression start;
  Expression end;
};

// What an element ranges over: a range, or an array (a Placeholder, Element or Subscript of
// dimensionality at least one).
using BelongTo = std::variant<Range, Expression>;

struct Element : Node {
  static constexpr NodeKind kKind = NodeKind::Element;
  Element(BelongTo belong_to, std::string name, uint64_t ndim, OptText latex, OptText description)
      : Node(kKind),
        belong_to(std::move(belong_to)),
        name(std::move(name)),
        ndim(ndim),
        latex(std::move(latex)),
        description(std::move(description)) {}
  BelongTo belong_to;
  std::string name;
  uint64_t ndim;
  OptText latex;
  OptText description;
};

// A bound is a scalar expression, or (when its ndim is at least one) a Placeholder or a
// Subscript of a Placeholder giving one bound per entry of the variable.
struct DecisionVar : Node {
  static constexpr NodeKind kKind = NodeKind::DecisionVar;
  DecisionVar(Expression lower_bound, Expression upper_bound, std::string name,
              std::vector<Expression> shape, OptText latex, OptText description,
              DecisionVarKind kind)
      : Node(kKind),
        lower_bound(std::move(lower_bound)),
        upper_bound(std::move(upper_bound)),
        name(std::move(name)),
        shape(std::move(shape)),
        latex(std::move(latex)),
        description(std::move(description)),
        kind(kind) {}
  Expression lower_bound;
  Expression upper_bound;
  std::string name;
  std::vector<Expression> shape;
  OptText latex;
  OptText description;
  DecisionVarKind kind;
};

// An immutable list of expressions that keeps up to two items in place, and longer lists in an
// array of their own: subscripts are nearly always one or two, and a subscript is built for
// every term of a loop-built sum, so the saved allocation counts.
class ExpressionList {
 public:
  ExpressionList() = default;
  ExpressionList(std::vector<Expression> items);  // lists are gathered as vectors
  ExpressionList(const ExpressionList& other) : ExpressionList(other.to_vector()) {}
  ExpressionList& operator=(const ExpressionList&) = delete;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Expression& operator[](size_t i) const { return data()[i]; }
  const Expression* begin() const { return data(); }
  const Expression* end() const { return data() + size_; }
  operator std::span<const Expression>() const { return {begin(), end()}; }
  std::vector<Expression> to_vector() const { return {begin(), end()}; }

 private:
  static constexpr size_t kInline = 2;
  const Expression* data() const { return size_ <= kInline ? inline_ : heap_.get(); }

  Expression inline_[kInline];
  std::unique_ptr<Expression[]> heap_;
  uint32_t size_ = 0;
};

// `variable` is a Placeholder, Element, DecisionVar or Subscript.
struct Subscript : Node {
  static constexpr NodeKind kKind = NodeKind::Subscript;
  Subscript(Expression variable, std::vector<Expression> subscripts, uint64_t ndim)
      : Node(kKind), variable(std::move(variable)), subscripts(std::move(subscripts)), ndim(ndim) {}
  Expression variable;
  ExpressionList subscripts;
  uint64_t ndim;
};

// `array` is a Placeholder, Element or Subscript with ndim greater than `axis`.
struct ArrayLength : Node {
  static constexpr NodeKind kKind = NodeKind::ArrayLength;
  ArrayLength(Expression array, uint64_t axis, OptText latex, OptText description)
      : Node(kKind),
        array(std::move(array)),
        axis(axis),
        latex(std::move(latex)),
        description(std::move(description)) {}
  Expression array;
  uint64_t axis;
  OptText latex;
  OptText description;
};

struct UnaryOp : Node {
  static constexpr NodeKind kKind = NodeKind::UnaryOp;
  UnaryOp(Expression operand, OptText latex, UnaryKind kind)
      : Node(kKind), operand(std::move(operand)), latex(std::move(latex)), kind(kind) {}
  Expression operand;
  OptText latex;
  UnaryKind kind;
};

struct BinaryOp : Node {
  static constexpr NodeKind kKind = NodeKind::BinaryOp;
  BinaryOp(Expression left, Expression right, OptText latex, BinaryKind kind)
      : Node(kKind),
        left(std::move(left)),
        right(std::move(right)),
        latex(std::move(latex)),
        kind(kind) {}
  Expression left;
  Expression right;
  OptText latex;
  BinaryKind kind;
};

// Storage shared by the term lists of sums and products built one term at a time.
struct TermBuffer : Node {
  static constexpr NodeKind kKind = NodeKind::TermBuffer;
  TermBuffer() : Node(kKind) {}
  mutable std::vector<Expression> items;
};

// An immutable sequence of expressions. Up to two terms, what a binary operator builds, are held
// in the list itself. A longer list sees the first `size` items of a shared buffer: appending to
// a list whose view ends where the buffer ends grows the buffer in place, which nobody else can
// see, so a sum built term by term in a loop costs O(n) in all. Access is by index only: the
// buffer may move when another list sharing it grows.
class TermList {
 public:
  TermList() = default;
  explicit TermList(std::vector<Expression> items);
  explicit TermList(Expression first) : slots_{std::move(first), Expression()}, size_(1) {}
  TermList(Expression first, Expression second)
      : slots_{std::move(first), std::move(second)}, size_(2) {}

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Expression& operator[](size_t i) const {
    const Expression* items = size_ <= kInline ? slots_ : buffer().items.data();
    return items[i];
  }
  const Expression& back() const { return (*this)[size_ - 1]; }

  TermList appended(Expression term) const;
  std::vector<Expression> to_vector() const;

 private:
  static constexpr uint32_t kInline = 2;

  // A longer list keeps its buffer in the first slot; the second stays empty.
  explicit TermList(Ref<TermBuffer> buffer, uint32_t size)
      : slots_{Expression(std::move(buffer)), Expression()}, size_(size) {}
  const TermBuffer& buffer() const { return static_cast<const TermBuffer&>(*slots_[0].node()); }

  Expression slots_[kInline];
  uint32_t size_ = 0;
};

// A sum, product, minimum or maximum. The terms in order are `body`, with `constant` placed
// last for a sum and first for a product: it is set exactly when that end term is a number
// literal. Keeping the number aside lets "x + ... + 3" and "3 * x * ..." grow at their open
// end in O(1). `literal_in_body` marks the rare lists (rebuilt by replacement) that hold a
// number literal elsewhere; the operators never build one.
struct CommutativeOp : Node {
  static constexpr NodeKind kKind = NodeKind::CommutativeOp;
  CommutativeOp(TermList body, Expression constant, OptText latex, CommutativeKind kind,
                bool literal_in_body = false)
      : Node(kKind),
        body(std::move(body)),
        constant(std::move(constant)),
        latex(std::move(latex)),
        kind(kind),
        literal_in_body(literal_in_body) {}

  size_t term_count() const { return body.size() + (constant ? 1 : 0); }
  const Expression& term(size_t i) const;
  std::vector<Expression> terms() const;

  TermList body;
  Expression constant;
  OptText latex;
  CommutativeKind kind;
  bool literal_in_body;
};

// `index` is an Element; `condition` may be empty.
struct ReductionOp : Node {
  static constexpr NodeKind kKind = NodeKind::ReductionOp;
  ReductionOp(Expression index, Condition condition, Expression operand, OptText latex,
              ReductionKind kind)
      : Node(kKind),
        index(std::move(index)),
        condition(std::move(condition)),
        operand(std::move(operand)),
        latex(std::move(latex)),
        kind(kind) {}
  Expression index;
  Condition condition;
  Expression operand;
  OptText latex;
  ReductionKind kind;
};

struct ComparisonOp : Node {
  static constexpr NodeKind kKind = NodeKind::ComparisonOp;
  ComparisonOp(Expression left, Expression right, OptText latex, ComparisonKind kind)
      : Node(kKind),
        left(std::move(left)),
        right(std::move(right)),
        latex(std::move(latex)),
        kind(kind) {}
  Expression left;
  Expression right;
  OptText latex;
  ComparisonKind kind;
};

struct LogicalOp : Node {
  static constexpr NodeKind kKind = NodeKind::LogicalOp;
  LogicalOp(std::vector<Condition> terms, OptText latex, LogicalKind kind)
      : Node(kKind), terms(std::move(terms)), latex(std::move(latex)), kind(kind) {}
  std::vector<Condition> terms;
  OptText latex;
  LogicalKind kind;
};

template <class T, class... Args>
Expression make_expression(Args&&... args) {
  return Expression(make_node<T>(std::forward<Args>(args)...));
}
template <class T, class... Args>
Condition make_condition(Args&&... args) {
  return Condition(make_node<T>(std::forward<Args>(args)...));
}

// A number literal. Small integers (indices, coefficients, the -1 of negation) share one node
// each, since literals are immutable like every node.
Expression number_lit(Number v);

// Dimensionality by kind: stored for placeholders, elements and subscripts, the shape's
// length for decision variables, zero for everything else.
uint64_t ndim(const Expression& e);

// The user LaTeX of a node (empty for kinds that carry none).
const OptText& latex_of(const Expression& e);
const OptText& latex_of(const Condition& c);

// A copy of the node with its user LaTeX replaced; the children stay shared. Only kinds that
// carry LaTeX may be given.
Expression with_latex(const Expression& e, OptText latex);
Condition with_latex(const Condition& c, OptText latex);

}  // namespace vn
