#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/expression/expression.hpp"

namespace vn {

enum class RenderMode { Str, Repr, Latex };

// What the renderer remembers of a node while it writes the node's children: its node kind and
// the record's own kind field (zero for kinds without one).
struct RenderKey {
  NodeKind node;
  uint8_t kind = 0;
  friend bool operator==(const RenderKey&, const RenderKey&) = default;
};

RenderKey key_of(const Expression& e);
RenderKey key_of(const Condition& c);

// Pushed where a child must never be parenthesised.
inline constexpr RenderKey kNeutralKey{NodeKind::NumberLit};

// Writes expressions and conditions as text in one mode. Parentheses are decided only from a
// child's key and its parent's key on the context stack, so every writer stays local.
class Renderer {
 public:
  explicit Renderer(RenderMode mode) : mode_(mode) {}

  RenderMode mode() const { return mode_; }
  std::string& output() { return out_; }

  // Writes a sub-expression of the node on top of the context, parenthesised when the rule
  // says so.
  void write_child(const Expression& e);
  // Writes a condition without pushing a key: its operands are judged against the parent.
  void write_condition(const Condition& c);
  // Writes a node with the writer of its kind: no key, no parentheses.
  void write_direct(const Expression& e);

  void push(RenderKey key) { context_.push_back(key); }
  void pop() {
    if (!context_.empty()) context_.pop_back();
  }

 private:
  bool parenthesised(RenderKey child) const;
  void write_text_suffix(const OptText& latex, const OptText& description);
  void write_children(std::span<const Expression> children, const char* separator);
  void write_product(const CommutativeOp& product, size_t first);
  void write_sum(const CommutativeOp& sum);
  void write_reduction(const ReductionOp& reduction);
  void write_set(const Element& element);

  void write(const NumberLit& n);
  void write(const Placeholder& p);
  void write(const Element& e);
  void write(const DecisionVar& v);
  void write(const Subscript& s);
  void write(const ArrayLength& a);
  void write(const UnaryOp& u);
  void write(const BinaryOp& b);
  void write(const CommutativeOp& c);
  void write(const ComparisonOp& c);
  void write(const LogicalOp& l);

  RenderMode mode_;
  std::string out_;
  std::vector<RenderKey> context_;
};

// The root is written with its own key pushed, so it is never parenthesised itself.
std::string render_root(const Expression& root, RenderMode mode);
std::string render_root(const Condition& root, RenderMode mode);
// The expression written as a child of itself: a power or modulo comes out bracketed.
std::string render_standalone(const Expression& e, RenderMode mode);

// "[S..E)" in Str, "(S, E)" in Repr.
std::string range_text(const Range& range, RenderMode mode);

// Shortest round-trip digits, positional, no exponent, no ".0": 2, 0.5, 1000000000000000000000,
// 0.0000001, -0, inf, -inf, NaN.
std::string number_text(Number n);
// The same, appended to `out`; with `without_minus` a leading "-" is left out.
void append_number_text(std::string& out, Number n, bool without_minus = false);

// How messages name a subscripted variable: "a[i, 1]".
std::string subscript_text(const Expression& subscript);

// The text of a decision-variable kind in names and messages: "Binary", "SemiInteger", ...
const char* kind_text(DecisionVarKind kind);

}  // namespace vn
