#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

// A pull reader over JSON text, for the typed readers of the result classes. The text is
// checked and split into tokens by a well-kept JSON parser up front; the typed readers then
// walk the tokens and report a wrong type, a missing or doubled field and the like as
// ValueError with the line and column of the token at fault. Their nesting is that of the
// layouts they read; values they skip are skipped without recursion.
class JsonReader {
 public:
  // Raises ValueError (with the parser's message and position) for malformed text.
  explicit JsonReader(std::string_view text);

  void begin_object();
  // The next key of the current object, or nothing once the object has closed.
  bool next_key(std::string& key);
  void begin_array();
  // Whether another item follows in the current array (false once the array has closed).
  bool next_item();

  bool at_null() const;
  bool at_array() const;
  double read_float();                          // a number; null reads as NaN
  std::optional<double> read_optional_float();  // a number or null
  int64_t read_int();
  uint64_t read_unsigned();
  void skip();

  // Reads an object whose known keys are `names`: read(i) reads the value of the i-th name,
  // unknown keys are skipped (or refused when `deny_unknown`), a known key given twice is an
  // error. Returns which names were present, bit i for names[i].
  using FieldReader = std::function<void(size_t)>;
  uint64_t read_fields(std::span<const char* const> names, const FieldReader& read,
                       bool deny_unknown = false);
  // "missing field `name`" for the first required name absent from `seen`, at the object's end.
  void require(uint64_t seen, std::span<const char* const> names, uint64_t required) const;

  [[noreturn]] void fail(const std::string& problem) const;          // at the next token
  [[noreturn]] void fail_at_last(const std::string& problem) const;  // at the token just read
  [[noreturn]] void fail_type(const char* expected) const;

  enum class Kind : uint8_t {
    Null,
    False,
    True,
    Integer,
    Unsigned,
    Float,
    String,
    Key,
    BeginObject,
    EndObject,
    BeginArray,
    EndArray
  };
  struct Token {
    Kind kind;
    size_t end;  // offset just past the token in the text
    union {
      int64_t integer;
      uint64_t unsigned_integer;
      double real;
      size_t text;  // into texts_
    };
  };

 private:
  friend class TokenCollector;
  const Token& peek() const { return tokens_[next_]; }
  const Token& take();
  [[noreturn]] void fail_at(size_t offset, const std::string& problem) const;
  std::string describe(const Token& token) const;

  std::string_view text_;
  std::vector<Token> tokens_;
  std::deque<std::string> texts_;  // strings and keys
  size_t next_ = 0;
};

// [item, ...], each item read by read(json).
template <class T, class Read>
void read_list(JsonReader& json, std::vector<T>& into, Read read) {
  json.begin_array();
  while (json.next_item()) into.push_back(read(json));
}

std::vector<double> read_floats(JsonReader& json);
std::vector<uint64_t> read_unsigned_integers(JsonReader& json);

// {name: value, ...}, each name given once; read(json, slot) reads one value into its slot.
template <class T, class Read>
void read_map(JsonReader& json, std::map<std::string, T>& into, Read read) {
  json.begin_object();
  std::string name;
  while (json.next_key(name)) {
    auto [slot, added] = into.try_emplace(name);
    if (!added) json.fail_at_last("duplicate field `" + name + "`");
    read(json, slot->second);
  }
}

}  // namespace vn
