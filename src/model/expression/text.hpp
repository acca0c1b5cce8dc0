#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vn {

// An optional, immutable text (a node's user LaTeX or description). Copies share the storage,
// so copying a node that carries one costs a count, not a string.
class OptText {
 public:
  OptText() = default;
  OptText(std::string text) : text_(std::make_shared<const std::string>(std::move(text))) {}

  bool has_value() const { return text_ != nullptr; }
  explicit operator bool() const { return has_value(); }
  const std::string& operator*() const { return *text_; }
  const std::string* operator->() const { return text_.get(); }

 private:
  std::shared_ptr<const std::string> text_;
};

}  // namespace vn
