#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace vn {

// Every kind of immutable, reference-counted node. The first ten are the expression kinds in
// their fixed order; the condition kinds and the shared term buffer of sums and products follow.
enum class NodeKind : uint8_t {
  NumberLit,
  Placeholder,
  Element,
  DecisionVar,
  Subscript,
  ArrayLength,
  UnaryOp,
  BinaryOp,
  CommutativeOp,
  ReductionOp,
  ComparisonOp,
  LogicalOp,
  TermBuffer,
};

inline constexpr int kExpressionKindCount = 10;

// Base of every node. Nodes never change once built, so any number of trees may share one;
// copying a tree copies a pointer. The count is not atomic: every caller holds the
// interpreter lock, and the core is single-threaded by contract.
class Node {
 public:
  NodeKind node_kind() const { return kind_; }
  Node& operator=(const Node&) = delete;

  // Nodes take their memory from the allocator installed with set_node_memory.
  static void* operator new(std::size_t size);
  static void operator delete(void* memory) noexcept;

  // Whether the subtree holds a decision variable, once somebody asked: nodes never change,
  // so the answer is kept (0 not known yet, 1 no, 2 yes). This keeps the checks of operators
  // that refuse decision variables O(1) on chains built one operator at a time.
  uint8_t& decision_variable_cache() const { return decision_variable_cache_; }

 protected:
  explicit Node(NodeKind kind) : kind_(kind) {}
  // A copy is a new node that nobody holds yet.
  Node(const Node& other)
      : refs_(0), kind_(other.kind_), decision_variable_cache_(other.decision_variable_cache_) {}
  ~Node() = default;

 private:
  template <class T>
  friend class Ref;
  friend void destroy_node(const Node*);

  void acquire() const { ++refs_; }
  void release() const;

  mutable uint32_t refs_ = 0;
  NodeKind kind_;
  mutable uint8_t decision_variable_cache_ = 0;
};

// Where nodes take their memory from: malloc and free unless the host installs its own
// small-object allocator (the module installs the interpreter's, which is several times cheaper
// for blocks of a few dozen bytes). It must be installed before the first node is built, so
// that no node is freed by another allocator than its own; later calls change nothing and
// return false. Both functions are called only under the same lock as the counts.
struct NodeMemory {
  void* (*allocate)(std::size_t size);
  void (*release)(void* memory);
};
bool set_node_memory(NodeMemory memory);

// Frees a node whose count dropped to zero. Children released while a node is destroyed are
// queued instead of destroyed in place, so dropping a chain of any depth uses constant stack.
void destroy_node(const Node* node);

inline void Node::release() const {
  if (--refs_ == 0) destroy_node(this);
}

// Owning handle to a node (or to nothing).
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(const T* node) : node_(node) {
    if (node_) node_->acquire();
  }
  Ref(const Ref& other) : Ref(other.node_) {}
  Ref(Ref&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
  template <class U>
  Ref(const Ref<U>& other) : Ref(static_cast<const T*>(other.get())) {}
  ~Ref() {
    if (node_) node_->release();
  }
  Ref& operator=(Ref other) noexcept {
    std::swap(node_, other.node_);
    return *this;
  }

  const T* get() const { return node_; }
  const T* operator->() const { return node_; }
  const T& operator*() const { return *node_; }
  explicit operator bool() const { return node_ != nullptr; }
  friend bool operator==(const Ref& a, const Ref& b) { return a.node_ == b.node_; }

 private:
  const T* node_ = nullptr;
};

template <class T, class... Args>
Ref<T> make_node(Args&&... args) {
  return Ref<T>(new T(std::forward<Args>(args)...));
}

}  // namespace vn
