#include "model/depth_guard.hpp"

#include <pthread.h>

namespace vn {

uintptr_t DepthGuard::find_stack_low() {
  pthread_attr_t attributes;
  void* low = nullptr;
  size_t size = 0;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
    if (pthread_attr_getstack(&attributes, &low, &size) != 0) low = nullptr;
    pthread_attr_destroy(&attributes);
  }
  if (low) return reinterpret_cast<uintptr_t>(low);
  // Unknown bounds: assume a modest stack below the current frame.
  return reinterpret_cast<uintptr_t>(__builtin_frame_address(0)) - 1024 * 1024;
}

}  // namespace vn
