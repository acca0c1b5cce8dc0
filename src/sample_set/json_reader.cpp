#include "sample_set/json_reader.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>

#include "model/error.hpp"
#include "sample_set/float_text.hpp"

namespace vn {

namespace {

// Walks the text for the parser and leaves behind how far it got, so that every token can be
// given its place in the text.
struct CountingIterator {
  using iterator_category = std::forward_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  const char* at = nullptr;
  const char** cursor = nullptr;

  reference operator*() const { return *at; }
  CountingIterator& operator++() {
    *cursor = ++at;
    return *this;
  }
  CountingIterator operator++(int) {
    CountingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CountingIterator& other) const { return at == other.at; }
};

std::string position_text(std::string_view text, size_t offset) {
  offset = std::min(offset, text.size());
  const size_t line =
      1 + static_cast<size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
  const size_t line_start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  const size_t column =
      line_start == std::string_view::npos || offset == 0 ? offset : offset - line_start - 1;
  return " at line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

// Records the parser's events as tokens.
class TokenCollector {
 public:
  using Json = nlohmann::json;
  TokenCollector(JsonReader& reader, const char* const& cursor, const char* begin)
      : reader_(reader), cursor_(cursor), begin_(begin) {}

  bool null() { return add(JsonReader::Kind::Null); }
  bool boolean(bool value) { return add(value ? JsonReader::Kind::True : JsonReader::Kind::False); }
  bool number_integer(Json::number_integer_t value) {
    add(JsonReader::Kind::Integer);
    reader_.tokens_.back().integer = value;
    return true;
  }
  bool number_unsigned(Json::number_unsigned_t value) {
    add(JsonReader::Kind::Unsigned);
    reader_.tokens_.back().unsigned_integer = value;
    return true;
  }
  bool number_float(Json::number_float_t value, const Json::string_t&) {
    add(JsonReader::Kind::Float);
    reader_.tokens_.back().real = value;
    return true;
  }
  bool string(Json::string_t& value) { return add_text(JsonReader::Kind::String, value); }
  bool key(Json::string_t& value) { return add_text(JsonReader::Kind::Key, value); }
  bool binary(Json::binary_t&) { return false; }  // not produced by the JSON parser
  bool start_object(std::size_t) { return add(JsonReader::Kind::BeginObject); }
  bool end_object() { return add(JsonReader::Kind::EndObject); }
  bool start_array(std::size_t) { return add(JsonReader::Kind::BeginArray); }
  bool end_array() { return add(JsonReader::Kind::EndArray); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& error) {
    // "[json.exception.parse_error.101] parse error at line 1, column 4: ..." without the tag.
    std::string message = error.what();
    const size_t tag_end = message.find("] ");
    message_ = tag_end == std::string::npos ? message : message.substr(tag_end + 2);
    return false;
  }
  const std::string& message() const { return message_; }

 private:
  bool add(JsonReader::Kind kind) {
    JsonReader::Token token;
    token.kind = kind;
    token.end = static_cast<size_t>(cursor_ - begin_);
    token.integer = 0;
    reader_.tokens_.push_back(token);
    return true;
  }
  bool add_text(JsonReader::Kind kind, Json::string_t& value) {
    add(kind);
    reader_.tokens_.back().text = reader_.texts_.size();
    reader_.texts_.push_back(std::move(value));
    return true;
  }

  JsonReader& reader_;
  const char* const& cursor_;
  const char* begin_;
  std::string message_;
};

JsonReader::JsonReader(std::string_view text) : text_(text) {
  const char* cursor = text.data();
  CountingIterator first{text.data(), &cursor};
  CountingIterator last{text.data() + text.size(), &cursor};
  TokenCollector collector(*this, cursor, text.data());
  if (!nlohmann::json::sax_parse(first, last, &collector)) {
    vn::fail(ErrorKind::Value, collector.message());
  }
}

[[noreturn]] void JsonReader::fail_at(size_t offset, const std::string& problem) const {
  vn::fail(ErrorKind::Value, problem + position_text(text_, offset));
}

void JsonReader::fail(const std::string& problem) const { fail_at(peek().end, problem); }

void JsonReader::fail_at_last(const std::string& problem) const {
  fail_at(next_ == 0 ? 0 : tokens_[next_ - 1].end, problem);
}

std::string JsonReader::describe(const Token& token) const {
  switch (token.kind) {
    case Kind::Null:
      return "null";
    case Kind::False:
      return "boolean `false`";
    case Kind::True:
      return "boolean `true`";
    case Kind::Integer:
      return "integer `" + std::to_string(token.integer) + "`";
    case Kind::Unsigned:
      return "integer `" + std::to_string(token.unsigned_integer) + "`";
    case Kind::Float:
      return "floating point `" + float_text(token.real, FloatStyle::Json) + "`";
    case Kind::String:
      return "string \"" + texts_[token.text] + "\"";
    case Kind::BeginArray:
      return "array";
    case Kind::BeginObject:
      return "object";
    default:
      return "end of container";
  }
}

void JsonReader::fail_type(const char* expected) const {
  fail("invalid type: " + describe(peek()) + ", expected " + expected);
}

const JsonReader::Token& JsonReader::take() { return tokens_[next_++]; }

void JsonReader::begin_object() {
  if (peek().kind != Kind::BeginObject) fail_type("an object");
  take();
}

bool JsonReader::next_key(std::string& key) {
  const Token& token = take();
  if (token.kind == Kind::EndObject) return false;
  key = texts_[token.text];
  return true;
}

void JsonReader::begin_array() {
  if (peek().kind != Kind::BeginArray) fail_type("an array");
  take();
}

bool JsonReader::next_item() {
  if (peek().kind != Kind::EndArray) return true;
  take();
  return false;
}

bool JsonReader::at_null() const { return peek().kind == Kind::Null; }
bool JsonReader::at_array() const { return peek().kind == Kind::BeginArray; }

double JsonReader::read_float() {
  const Token& token = peek();
  switch (token.kind) {
    case Kind::Float:
      return take().real;
    case Kind::Integer:
      return static_cast<double>(take().integer);
    case Kind::Unsigned:
      return static_cast<double>(take().unsigned_integer);
    case Kind::Null:  // how the writer puts NaN and the infinities
      take();
      return std::numeric_limits<double>::quiet_NaN();
    default:
      fail_type("a float");
  }
}

std::optional<double> JsonReader::read_optional_float() {
  if (!at_null()) return read_float();
  take();
  return std::nullopt;
}

int64_t JsonReader::read_int() {
  const Token& token = peek();
  if (token.kind == Kind::Integer) return take().integer;
  if (token.kind == Kind::Unsigned) {  // how the parser gives every non-negative integer
    if (token.unsigned_integer > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
      fail("integer `" + std::to_string(token.unsigned_integer) +
           "` is out of the range of a signed 64-bit integer");
    }
    return static_cast<int64_t>(take().unsigned_integer);
  }
  fail_type("an integer");
}

uint64_t JsonReader::read_unsigned() {
  const Token& token = peek();
  if (token.kind == Kind::Unsigned) return take().unsigned_integer;
  if (token.kind == Kind::Integer) {
    if (token.integer < 0) {
      fail("invalid value: integer `" + std::to_string(token.integer) +
           "`, expected a non-negative integer");
    }
    return static_cast<uint64_t>(take().integer);
  }
  fail_type("a non-negative integer");
}

void JsonReader::skip() {
  size_t depth = 0;
  do {
    const Kind kind = take().kind;
    if (kind == Kind::BeginArray || kind == Kind::BeginObject) ++depth;
    if (kind == Kind::EndArray || kind == Kind::EndObject) --depth;
  } while (depth > 0);
}

uint64_t JsonReader::read_fields(std::span<const char* const> names, const FieldReader& read,
                                 bool deny_unknown) {
  begin_object();
  uint64_t seen = 0;
  std::string key;
  while (next_key(key)) {
    size_t i = 0;
    for (const char* name : names) {
      if (key == name) break;
      ++i;
    }
    if (i == names.size()) {
      if (!deny_unknown) {
        skip();
        continue;
      }
      std::string expected;
      for (const char* name : names) {
        expected += (expected.empty() ? "`" : ", `") + std::string(name) + "`";
      }
      fail_at_last("unknown field `" + key + "`, expected one of " + expected);
    }
    if (seen & (uint64_t{1} << i)) fail_at_last("duplicate field `" + key + "`");
    seen |= uint64_t{1} << i;
    read(i);
  }
  return seen;
}

void JsonReader::require(uint64_t seen, std::span<const char* const> names,
                         uint64_t required) const {
  size_t i = 0;
  for (const char* name : names) {
    const uint64_t bit = uint64_t{1} << i++;
    if ((required & bit) && !(seen & bit))
      fail_at_last("missing field `" + std::string(name) + "`");
  }
}

std::vector<double> read_floats(JsonReader& json) {
  std::vector<double> items;
  read_list(json, items, [](JsonReader& j) { return j.read_float(); });
  return items;
}

std::vector<uint64_t> read_unsigned_integers(JsonReader& json) {
  std::vector<uint64_t> items;
  read_list(json, items, [](JsonReader& j) { return j.read_unsigned(); });
  return items;
}

}  // namespace vn
