#include "sample_set/json_writer.hpp"

#include <charconv>

namespace vn {

void JsonWriter::separate() {
  if (after_key_) {
    after_key_ = false;
  } else if (!first_) {
    out_ += ',';
  }
  first_ = false;
}

JsonWriter& JsonWriter::open(char bracket) {
  separate();
  out_ += bracket;
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
  out_ += bracket;
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
  value(name);
  out_ += ':';
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  separate();
  append_float(out_, number, FloatStyle::Json);
  return *this;
}

JsonWriter& JsonWriter::value(std::optional<double> number) {
  if (number) return value(*number);
  separate();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
  separate();
  char buffer[24];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, number).ptr);
  return *this;
}

JsonWriter& JsonWriter::value(uint64_t number) {
  separate();
  char buffer[24];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, number).ptr);
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
  separate();
  static constexpr char kHex[] = "0123456789abcdef";
  out_ += '"';
  for (char c : text) {
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      case '\b':
        out_ += "\\b";
        break;
      case '\f':
        out_ += "\\f";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out_ += "\\u00";
          out_ += kHex[(c >> 4) & 0xF];
          out_ += kHex[c & 0xF];
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
  return *this;
}

}  // namespace vn
