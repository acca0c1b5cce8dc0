#include "lib/classes.hpp"

#include <array>

#include "lib/definitions.hpp"

namespace vn::bind {

namespace {

using Define = py::ClassDef (*)();

// One definition per class, indexed by ClassId; empty where the class is not built yet.
constexpr std::array<Define, static_cast<size_t>(ClassId::Count)> kDefinitions = [] {
  std::array<Define, static_cast<size_t>(ClassId::Count)> table{};
  auto at = [&](ClassId id) -> Define& { return table[static_cast<size_t>(id)]; };
  at(ClassId::DataType) = &define_data_type;
  at(ClassId::NumberLit) = &define_number_lit;
  at(ClassId::Placeholder) = &define_placeholder;
  at(ClassId::Range) = &define_range;
  at(ClassId::Element) = &define_element;
  at(ClassId::ArrayLength) = &define_array_length;
  at(ClassId::BinaryVar) = &define_binary_var;
  at(ClassId::IntegerVar) = &define_integer_var;
  at(ClassId::ContinuousVar) = &define_continuous_var;
  at(ClassId::SemiIntegerVar) = &define_semi_integer_var;
  at(ClassId::SemiContinuousVar) = &define_semi_continuous_var;
  at(ClassId::AddOp) = &define_add_op;
  at(ClassId::MulOp) = &define_mul_op;
  at(ClassId::ModOp) = &define_mod_op;
  at(ClassId::PowOp) = &define_pow_op;
  return table;
}();

std::array<PyTypeObject*, static_cast<size_t>(ClassId::Count)> created{};

}  // namespace

bool class_defined(ClassId id) { return kDefinitions[static_cast<size_t>(id)] != nullptr; }

PyTypeObject* class_type(ClassId id) {
  PyTypeObject*& type = created[static_cast<size_t>(id)];
  if (!type) type = py::create_class(kDefinitions[static_cast<size_t>(id)]());
  return type;
}

}  // namespace vn::bind
