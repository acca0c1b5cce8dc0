#include "lib/definitions.hpp"
#include "lib/enumeration.hpp"

namespace vn::bind {

namespace {
constexpr EnumMember kDataTypeMembers[] = {{"FLOAT", 0}, {"INTEGER", 1}};
}

py::ClassDef define_data_type() {
  py::ClassDef def = enumeration<kDataTypeMembers>("DataType");
  def.doc = "The type of a number literal: FLOAT or INTEGER.";
  return def;
}

}  // namespace vn::bind
