#pragma once

#include <stdexcept>
#include <string>

namespace vn {

// What went wrong, as the caller should see it. The binding layer maps each kind to one Python
// exception type; the core itself knows nothing of Python.
enum class ErrorKind {
  Modeling,
  Type,
  Value,
  Index,
  ZeroDivision,
  Overflow,
  Recursion,
  ProtobufSerialization,
  ProtobufDeserialization,
};

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  ErrorKind kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

[[noreturn]] inline void fail(ErrorKind kind, const std::string& message) {
  throw Error(kind, message);
}
[[noreturn]] inline void modeling_error(const std::string& message) {
  fail(ErrorKind::Modeling, message);
}

}  // namespace vn
