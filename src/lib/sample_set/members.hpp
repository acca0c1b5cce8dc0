#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lib/sample_set/forms.hpp"

// The members every result class has, written once: the dict and JSON conversions, the text
// form and the value comparison.
namespace vn::bind {

extern const py::Signature kToDictSignature;
extern const py::Signature kFromDictSignature;
extern const py::Signature kToJsonSignature;
extern const py::Signature kFromJsonSignature;

struct ConversionDocs {
  const char* to_dict;
  const char* from_dict;
  const char* to_json;
  const char* from_json;
};

template <class T, ClassId Id, py::Ref (*ToDict)(const T&), T (*FromDict)(PyObject*),
          std::string (*ToJson)(const T&), T (*FromJson)(std::string_view)>
struct Conversions {
  static py::Ref to_dict(PyObject* self, const py::Args&) { return ToDict(py::value_of<T>(self)); }
  static py::Ref from_dict(const py::Args& args) {
    return wrap_value(Id, FromDict(dict_argument(args[0])));
  }
  static py::Ref to_json(PyObject* self, const py::Args&) {
    return py::from_text(ToJson(py::value_of<T>(self)));
  }
  static py::Ref from_json(const py::Args& args) {
    return wrap_value(Id, FromJson(json_argument(args[0])));
  }
  // to_dict, from_dict (static), to_json, from_json (static).
  static std::vector<PyMethodDef> methods(const ConversionDocs& docs) {
    return {
        py::method<&to_dict, kToDictSignature>(docs.to_dict),
        py::static_method<&from_dict, kFromDictSignature>(docs.from_dict),
        py::method<&to_json, kToJsonSignature>(docs.to_json),
        py::static_method<&from_json, kFromJsonSignature>(docs.from_json),
    };
  }
};

template <class T, std::string (*Text)(const T&)>
py::Ref text_of(const T& value) {
  return py::from_text(Text(value));
}

// repr and str give Text; == and != compare values.
template <class T, std::string (*Text)(const T&)>
std::vector<PyType_Slot> value_slots() {
  return {
      py::unary_slot<T, &text_of<T, Text>>(Py_tp_repr),
      py::unary_slot<T, &text_of<T, Text>>(Py_tp_str),
      py::value_comparison<T>(),
  };
}

}  // namespace vn::bind
