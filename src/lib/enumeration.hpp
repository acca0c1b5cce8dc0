#pragma once

#include <cstdint>
#include <iterator>

#include "lib/py/type.hpp"

namespace vn::bind {

// The value held by a member object of one of the module's enumerations.
struct EnumValue {
  int64_t value;
  const char* text;  // "DataType.FLOAT": the repr and str of the member
};

struct EnumMember {
  const char* name;
  int64_t value;
};

// Implementation details shared by every enumeration.
namespace enumeration_detail {
py::ClassDef base(const char* name);
void add_members(PyTypeObject* type, const EnumMember* members, size_t n);
}  // namespace enumeration_detail

// The table of an enumeration class whose members are class attributes. Members compare equal
// to their integer values and to themselves; they are hashable and convert with int().
template <const auto& Members>
py::ClassDef enumeration(const char* name) {
  py::ClassDef def = enumeration_detail::base(name);
  def.finish = [](PyTypeObject* type) {
    enumeration_detail::add_members(type, Members, std::size(Members));
  };
  return def;
}

// A new member object of an enumeration class.
py::Ref enum_member(PyTypeObject* type, int64_t value);

}  // namespace vn::bind
