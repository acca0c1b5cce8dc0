#include "lib/py/args.hpp"

#include <cstring>
#include <stdexcept>

#include "lib/py/error.hpp"

namespace vn::py {

Signature::Signature(const char* qualname, std::initializer_list<Param> params)
    : qualname_(qualname), params_(params) {
  const char* dot = std::strrchr(qualname, '.');
  name_ = dot ? dot + 1 : qualname;
  if (params_.size() > kMaxParams) throw std::length_error("too many parameters");
}

std::string Signature::text_signature(bool method) const {
  std::string text = std::string(name_) + "(";
  bool first = true;
  auto separate = [&] {
    if (!first) text += ", ";
    first = false;
  };
  if (method) {
    separate();
    text += "$self";
  }
  bool star_written = false;
  for (const Param& param : params_) {
    separate();
    if (param.kind == ParamKind::VarPositional) {
      text += "*";
      star_written = true;
    } else if (param.kind == ParamKind::KeywordOnly && !star_written) {
      text += "*, ";
      star_written = true;
    }
    text += param.name;
    if (param.default_text) text += std::string("=") + param.default_text;
  }
  return text + ")";
}

namespace {

// "'a'", "'a' and 'b'", "'a', 'b', and 'c'", as the interpreter lists missing names.
std::string name_list(const std::vector<const char*>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += names.size() == 2 ? " and " : (i + 1 == names.size() ? ", and " : ", ");
    text += std::string("'") + names[i] + "'";
  }
  return text;
}

[[noreturn]] void missing(const Signature& signature, const std::vector<const char*>& names,
                          const char* kind) {
  PyErr_Format(PyExc_TypeError, "%s() missing %zu required %s argument%s: %s", signature.qualname(),
               names.size(), kind, names.size() == 1 ? "" : "s", name_list(names).c_str());
  throw ErrorAlreadySet{};
}

[[noreturn]] void too_many_positional(const Signature& signature, size_t positional_count,
                                      size_t defaults, Py_ssize_t given, size_t kwonly_given) {
  std::string counted;
  bool plural;
  if (defaults > 0) {
    counted = "from " + std::to_string(positional_count - defaults) + " to " +
              std::to_string(positional_count);
    plural = true;
  } else {
    counted = std::to_string(positional_count);
    plural = positional_count != 1;
  }
  std::string kwonly;
  if (kwonly_given > 0) {
    kwonly = std::string(" positional argument") + (given != 1 ? "s" : "") + " (and " +
             std::to_string(kwonly_given) + " keyword-only argument" +
             (kwonly_given != 1 ? "s" : "") + ")";
  }
  PyErr_Format(PyExc_TypeError, "%s() takes %s positional argument%s but %zd%s %s given",
               signature.qualname(), counted.c_str(), plural ? "s" : "", given, kwonly.c_str(),
               given == 1 && kwonly_given == 0 ? "was" : "were");
  throw ErrorAlreadySet{};
}

}  // namespace

Args parse(const Signature& signature, PyObject* const* args, size_t nargsf, PyObject* kwnames) {
  const std::vector<Param>& params = signature.params();
  const Py_ssize_t given = PyVectorcall_NARGS(nargsf);
  Args bound;

  size_t positional_count = 0;  // parameters that positional arguments may fill
  size_t defaults = 0;
  bool has_varargs = false;
  for (const Param& param : params) {
    if (param.kind == ParamKind::PositionalOrKeyword) {
      ++positional_count;
      if (param.default_text) ++defaults;
    } else if (param.kind == ParamKind::VarPositional) {
      has_varargs = true;
    }
  }

  const size_t copied = std::min<size_t>(given, positional_count);
  for (size_t i = 0; i < copied; ++i) bound.values_[i] = args[i];
  if (has_varargs && static_cast<size_t>(given) > positional_count) {
    bound.varargs_ = args + positional_count;
    bound.varargs_count_ = given - static_cast<Py_ssize_t>(positional_count);
  }

  if (kwnames) {
    const Py_ssize_t count = PyTuple_GET_SIZE(kwnames);
    for (Py_ssize_t k = 0; k < count; ++k) {
      PyObject* keyword = PyTuple_GET_ITEM(kwnames, k);
      if (!PyUnicode_Check(keyword)) {
        PyErr_Format(PyExc_TypeError, "%s() keywords must be strings", signature.qualname());
        throw ErrorAlreadySet{};
      }
      size_t slot = params.size();
      for (size_t i = 0; i < params.size(); ++i) {
        if (params[i].kind != ParamKind::VarPositional &&
            PyUnicode_CompareWithASCIIString(keyword, params[i].name) == 0) {
          slot = i;
          break;
        }
      }
      if (slot == params.size()) {
        PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%U'",
                     signature.qualname(), keyword);
        throw ErrorAlreadySet{};
      }
      if (bound.values_[slot]) {
        PyErr_Format(PyExc_TypeError, "%s() got multiple values for argument '%U'",
                     signature.qualname(), keyword);
        throw ErrorAlreadySet{};
      }
      bound.values_[slot] = args[given + k];
    }
  }

  if (!has_varargs && static_cast<size_t>(given) > positional_count) {
    size_t kwonly_given = 0;
    for (size_t i = 0; i < params.size(); ++i) {
      if (params[i].kind == ParamKind::KeywordOnly && bound.values_[i]) ++kwonly_given;
    }
    too_many_positional(signature, positional_count, defaults, given, kwonly_given);
  }

  for (ParamKind kind : {ParamKind::PositionalOrKeyword, ParamKind::KeywordOnly}) {
    std::vector<const char*> absent;
    for (size_t i = 0; i < params.size(); ++i) {
      if (params[i].kind == kind && params[i].required() && !bound.values_[i]) {
        absent.push_back(params[i].name);
      }
    }
    if (!absent.empty()) {
      missing(signature, absent, kind == ParamKind::KeywordOnly ? "keyword-only" : "positional");
    }
  }
  return bound;
}

}  // namespace vn::py
