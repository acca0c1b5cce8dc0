#pragma once

// A few checks are all the core tests need; a test framework would add a system package to
// every machine that runs the suite.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vn::test {

struct Case {
  const char* name;
  std::function<void()> body;
};

inline std::vector<Case>& cases() {
  static std::vector<Case> all;
  return all;
}

inline int& failures() {
  static int count = 0;
  return count;
}

struct Register {
  Register(const char* name, std::function<void()> body) { cases().push_back({name, body}); }
};

}  // namespace vn::test

#define VN_TEST(name)                                              \
  static void name();                                              \
  static const ::vn::test::Register register_##name(#name, &name); \
  static void name()

#define VN_CHECK(condition)                                                              \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      ++::vn::test::failures();                                                          \
    }                                                                                    \
  } while (0)
