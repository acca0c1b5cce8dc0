#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "lib/py/ref.hpp"

namespace vn::py {

enum class ParamKind { PositionalOrKeyword, KeywordOnly, VarPositional };

struct Param {
  const char* name;
  ParamKind kind = ParamKind::PositionalOrKeyword;
  const char* default_text = nullptr;  // as shown in the text signature; none means required
  bool required() const { return default_text == nullptr && kind != ParamKind::VarPositional; }
};

inline Param keyword_only(const char* name, const char* default_text = nullptr) {
  return {name, ParamKind::KeywordOnly, default_text};
}
inline Param var_positional(const char* name) { return {name, ParamKind::VarPositional}; }
inline Param optional(const char* name, const char* default_text) {
  return {name, ParamKind::PositionalOrKeyword, default_text};
}

inline constexpr size_t kMaxParams = 8;

// The parameters of one callable, as the interpreter would see a Python def with the same
// signature. `qualname` prefixes the argument errors ("Placeholder() missing ...").
class Signature {
 public:
  Signature(const char* qualname, std::initializer_list<Param> params);

  const char* qualname() const { return qualname_; }
  const char* name() const { return name_; }
  const std::vector<Param>& params() const { return params_; }
  // "name(a, *, b=None)", or "name($self, a)" for a method.
  std::string text_signature(bool method) const;

 private:
  const char* qualname_;
  const char* name_;  // the part of the qualname after the last dot
  std::vector<Param> params_;
};

// The arguments of one call, bound to the signature's parameters. An omitted optional
// parameter reads as nullptr; references are borrowed from the caller.
class Args {
 public:
  PyObject* operator[](size_t i) const { return values_[i]; }
  PyObject* const* varargs() const { return varargs_; }
  Py_ssize_t varargs_count() const { return varargs_count_; }

 private:
  friend Args parse(const Signature&, PyObject* const*, size_t, PyObject*);
  std::array<PyObject*, kMaxParams> values_{};
  PyObject* const* varargs_ = nullptr;
  Py_ssize_t varargs_count_ = 0;
};

// Binds a vectorcall argument array to the signature, raising the interpreter's own
// TypeErrors for missing, unexpected, doubled and surplus arguments.
Args parse(const Signature& signature, PyObject* const* args, size_t nargsf, PyObject* kwnames);

}  // namespace vn::py
