#include "model/expression/expression.hpp"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

#include "model/error.hpp"

namespace vn {

namespace {

NodeMemory node_memory = {&std::malloc, &std::free};
bool node_built = false;

}  // namespace

bool set_node_memory(NodeMemory memory) {
  if (node_built) return false;
  node_memory = memory;
  return true;
}

void* Node::operator new(std::size_t size) {
  node_built = true;
  if (void* memory = node_memory.allocate(size)) return memory;
  throw std::bad_alloc();
}

void Node::operator delete(void* memory) noexcept { node_memory.release(memory); }

namespace {

void delete_by_kind(const Node* node) {
  switch (node->node_kind()) {
    case NodeKind::NumberLit:
      delete static_cast<const NumberLit*>(node);
      return;
    case NodeKind::Placeholder:
      delete static_cast<const Placeholder*>(node);
      return;
    case NodeKind::Element:
      delete static_cast<const Element*>(node);
      return;
    case NodeKind::DecisionVar:
      delete static_cast<const DecisionVar*>(node);
      return;
    case NodeKind::Subscript:
      delete static_cast<const Subscript*>(node);
      return;
    case NodeKind::ArrayLength:
      delete static_cast<const ArrayLength*>(node);
      return;
    case NodeKind::UnaryOp:
      delete static_cast<const UnaryOp*>(node);
      return;
    case NodeKind::BinaryOp:
      delete static_cast<const BinaryOp*>(node);
      return;
    case NodeKind::CommutativeOp:
      delete static_cast<const CommutativeOp*>(node);
      return;
    case NodeKind::ReductionOp:
      delete static_cast<const ReductionOp*>(node);
      return;
    case NodeKind::ComparisonOp:
      delete static_cast<const ComparisonOp*>(node);
      return;
    case NodeKind::LogicalOp:
      delete static_cast<const LogicalOp*>(node);
      return;
    case NodeKind::TermBuffer:
      delete static_cast<const TermBuffer*>(node);
      return;
  }
}

// Nodes whose count reached zero while another node was being destroyed. Draining this list
// in a loop instead of recursing keeps the stack flat for chains millions of nodes deep.
// Plain statics, not thread_local: every caller holds the interpreter lock (as for the counts),
// and a thread_local in a shared module costs a TLS lookup on every release.
std::vector<const Node*> pending;
bool draining = false;

}  // namespace

void destroy_node(const Node* node) {
  if (draining) {
    pending.push_back(node);
    return;
  }
  // The first node is destroyed in place; only the children it drops wait in the list.
  draining = true;
  delete_by_kind(node);
  while (!pending.empty()) {
    const Node* next = pending.back();
    pending.pop_back();
    delete_by_kind(next);
  }
  draining = false;
}

ExpressionList::ExpressionList(std::vector<Expression> items) {
  if (items.size() > std::numeric_limits<uint32_t>::max()) fail(ErrorKind::Value, "too many items");
  size_ = static_cast<uint32_t>(items.size());
  Expression* target = inline_;
  if (size_ > kInline) {
    heap_ = std::make_unique<Expression[]>(size_);
    target = heap_.get();
  }
  std::move(items.begin(), items.end(), target);
}

TermList::TermList(std::vector<Expression> items) {
  if (items.size() > std::numeric_limits<uint32_t>::max()) {
    fail(ErrorKind::Value, "too many terms");
  }
  size_ = static_cast<uint32_t>(items.size());
  if (size_ <= kInline) {
    std::move(items.begin(), items.end(), slots_);
    return;
  }
  auto buffer = make_node<TermBuffer>();
  buffer->items = std::move(items);
  slots_[0] = Expression(std::move(buffer));
}

TermList TermList::appended(Expression term) const {
  if (size_ == std::numeric_limits<uint32_t>::max()) fail(ErrorKind::Value, "too many terms");
  if (size_ < kInline) {
    TermList longer = *this;
    longer.slots_[size_] = std::move(term);
    ++longer.size_;
    return longer;
  }
  if (size_ > kInline && buffer().items.size() == size_) {
    // Nobody has grown the buffer past this view: the new item is invisible to every other
    // list that shares it.
    buffer().items.push_back(std::move(term));
    return TermList(Ref<TermBuffer>(&buffer()), size_ + 1);
  }
  std::vector<Expression> items = to_vector();
  items.push_back(std::move(term));
  return TermList(std::move(items));
}

std::vector<Expression> TermList::to_vector() const {
  if (size_ <= kInline) return std::vector<Expression>(slots_, slots_ + size_);
  return std::vector<Expression>(buffer().items.begin(), buffer().items.begin() + size_);
}

Expression number_lit(Number v) {
  constexpr int64_t kLowest = -16, kHighest = 1024;
  if (!v.is_integer() || v.integer() < kLowest || v.integer() > kHighest) {
    return make_expression<NumberLit>(v);
  }
  // Built on first use and never freed: it holds a reference to each of its nodes.
  static const auto* shared = [] {
    auto* literals = new std::vector<Expression>();
    for (int64_t k = kLowest; k <= kHighest; ++k) {
      literals->push_back(make_expression<NumberLit>(Number(k)));
    }
    return literals;
  }();
  return (*shared)[static_cast<size_t>(v.integer() - kLowest)];
}

const Expression& CommutativeOp::term(size_t i) const {
  if (!constant) return body[i];
  if (kind == CommutativeKind::Mul) return i == 0 ? constant : body[i - 1];
  return i == body.size() ? constant : body[i];
}

std::vector<Expression> CommutativeOp::terms() const {
  std::vector<Expression> out;
  out.reserve(term_count());
  for (size_t i = 0; i < term_count(); ++i) out.push_back(term(i));
  return out;
}

uint64_t ndim(const Expression& e) {
  switch (e.kind()) {
    case NodeKind::Placeholder:
      return e.as<Placeholder>().ndim;
    case NodeKind::Element:
      return e.as<Element>().ndim;
    case NodeKind::DecisionVar:
      return e.as<DecisionVar>().shape.size();
    case NodeKind::Subscript:
      return e.as<Subscript>().ndim;
    default:
      return 0;
  }
}

namespace {

// Calls `f` with the record of a kind that carries user LaTeX, or `none()` for the others.
template <class F, class None>
decltype(auto) visit_labelled(const Expression& e, F&& f, None&& none) {
  switch (e.kind()) {
    case NodeKind::Placeholder:
      return f(e.as<Placeholder>());
    case NodeKind::Element:
      return f(e.as<Element>());
    case NodeKind::DecisionVar:
      return f(e.as<DecisionVar>());
    case NodeKind::ArrayLength:
      return f(e.as<ArrayLength>());
    case NodeKind::UnaryOp:
      return f(e.as<UnaryOp>());
    case NodeKind::BinaryOp:
      return f(e.as<BinaryOp>());
    case NodeKind::CommutativeOp:
      return f(e.as<CommutativeOp>());
    case NodeKind::ReductionOp:
      return f(e.as<ReductionOp>());
    default:
      return none();
  }
}

template <class T>
Ref<T> relabelled(const T& node, OptText latex) {
  auto copy = make_node<T>(node);
  const_cast<T&>(*copy).latex = std::move(latex);  // not yet shared with anybody
  return copy;
}

const OptText kNoText;

}  // namespace

const OptText& latex_of(const Expression& e) {
  return visit_labelled(
      e, [](const auto& record) -> const OptText& { return record.latex; },
      []() -> const OptText& { return kNoText; });
}

const OptText& latex_of(const Condition& c) {
  if (c.is<ComparisonOp>()) return c.as<ComparisonOp>().latex;
  return c.as<LogicalOp>().latex;
}

Expression with_latex(const Expression& e, OptText latex) {
  return visit_labelled(
      e, [&](const auto& record) { return Expression(relabelled(record, std::move(latex))); },
      []() -> Expression { fail(ErrorKind::Type, "this node carries no LaTeX"); });
}

Condition with_latex(const Condition& c, OptText latex) {
  if (c.is<ComparisonOp>()) return relabelled(c.as<ComparisonOp>(), std::move(latex));
  return relabelled(c.as<LogicalOp>(), std::move(latex));
}

}  // namespace vn
