#pragma once

#include "model/error.hpp"

namespace vn {

// Bounds the recursion of tree walkers (rendering, comparison, ...) so that a tree deeper than
// the C stack can hold raises a clean error instead of crashing. One count is shared by all
// walkers on a thread, since they call one another.
class DepthGuard {
 public:
  static constexpr int kMaxDepth = 10000;

  DepthGuard() {
    if (++depth() > kMaxDepth) {
      --depth();
      fail(ErrorKind::Recursion, "maximum recursion depth exceeded in an expression tree");
    }
  }
  ~DepthGuard() { --depth(); }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  static int& depth() {
    thread_local int count = 0;
    return count;
  }
};

}  // namespace vn
