#include <cstdio>
#include <exception>

#include "check.hpp"

int main() {
  int passed = 0, failed = 0;
  for (const auto& test : vn::test::cases()) {
    const int before = vn::test::failures();
    try {
      test.body();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s: uncaught exception: %s\n", test.name, error.what());
      ++vn::test::failures();
    }
    if (vn::test::failures() == before) {
      ++passed;
    } else {
      ++failed;
      std::fprintf(stderr, "FAILED %s\n", test.name);
    }
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
