#pragma once

#include <cstddef>
#include <cstdint>

#include "model/error.hpp"

namespace vn {

// Bounds the recursion of tree walkers (rendering, comparison, ...) so that a tree deeper than
// the C stack can hold raises a clean error instead of crashing. It measures the stack that is
// left rather than counting levels: a level costs very different amounts in different walkers
// and builds (sanitizers triple frame sizes), and threads have stacks of different sizes.
class DepthGuard {
 public:
  // What is kept free for the work that follows an error (unwinding, raising it in Python).
  static constexpr size_t kReserve = 256 * 1024;

  DepthGuard() {
    const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (here < stack_low() + kReserve) {
      fail(ErrorKind::Recursion, "maximum recursion depth exceeded in an expression tree");
    }
  }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  // The lowest address of this thread's stack (stacks grow down on every platform we build on).
  static uintptr_t stack_low() {
    thread_local const uintptr_t low = find_stack_low();
    return low;
  }
  static uintptr_t find_stack_low();
};

}  // namespace vn
