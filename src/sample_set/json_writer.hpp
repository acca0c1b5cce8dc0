#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sample_set/float_text.hpp"

namespace vn {

// Writes compact JSON (no spaces) into a string; keys come out in the order they are written.
class JsonWriter {
 public:
  JsonWriter& begin_object() { return open('{'); }
  JsonWriter& end_object() { return close('}'); }
  JsonWriter& begin_array() { return open('['); }
  JsonWriter& end_array() { return close(']'); }
  JsonWriter& key(std::string_view name);

  JsonWriter& value(double number);  // shortest round-trip digits; non-finite as null
  JsonWriter& value(std::optional<double> number);
  JsonWriter& value(int64_t number);
  JsonWriter& value(uint64_t number);
  JsonWriter& value(std::string_view text);
  template <class T>
  JsonWriter& list(std::span<const T> items) {
    begin_array();
    for (const T& item : items) value(item);
    return end_array();
  }
  template <class T>
  JsonWriter& list(const std::vector<T>& items) {
    return list(std::span<const T>(items));
  }

  std::string take() { return std::move(out_); }

 private:
  void separate();
  JsonWriter& open(char bracket);
  JsonWriter& close(char bracket);

  std::string out_;
  bool first_ = true;       // no value written yet in the innermost array or object
  bool after_key_ = false;  // the next value belongs to the key just written
};

}  // namespace vn
