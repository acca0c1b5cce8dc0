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
  at(ClassId::Subscript) = &define_subscript;
  at(ClassId::ArrayLength) = &define_array_length;
  at(ClassId::DummyIndexedVar) = &define_dummy_indexed_var;
  at(ClassId::BinaryVar) = &define_binary_var;
  at(ClassId::IntegerVar) = &define_integer_var;
  at(ClassId::ContinuousVar) = &define_continuous_var;
  at(ClassId::SemiIntegerVar) = &define_semi_integer_var;
  at(ClassId::SemiContinuousVar) = &define_semi_continuous_var;
  at(ClassId::AbsOp) = &define_abs_op;
  at(ClassId::CeilOp) = &define_ceil_op;
  at(ClassId::FloorOp) = &define_floor_op;
  at(ClassId::Log2Op) = &define_log2_op;
  at(ClassId::Log10Op) = &define_log10_op;
  at(ClassId::LnOp) = &define_ln_op;
  at(ClassId::AddOp) = &define_add_op;
  at(ClassId::MulOp) = &define_mul_op;
  at(ClassId::ModOp) = &define_mod_op;
  at(ClassId::MinOp) = &define_min_op;
  at(ClassId::MaxOp) = &define_max_op;
  at(ClassId::PowOp) = &define_pow_op;
  at(ClassId::SumOp) = &define_sum_op;
  at(ClassId::ProdOp) = &define_prod_op;
  at(ClassId::AndOp) = &define_and_op;
  at(ClassId::OrOp) = &define_or_op;
  at(ClassId::XorOp) = &define_xor_op;
  at(ClassId::EqualOp) = &define_equal_op;
  at(ClassId::NotEqualOp) = &define_not_equal_op;
  at(ClassId::LessThanOp) = &define_less_than_op;
  at(ClassId::LessThanEqualOp) = &define_less_than_equal_op;
  at(ClassId::GreaterThanOp) = &define_greater_than_op;
  at(ClassId::GreaterThanEqualOp) = &define_greater_than_equal_op;
  at(ClassId::Evaluation) = &define_evaluation;
  at(ClassId::Record) = &define_record;
  at(ClassId::SolvingTime) = &define_solving_time;
  at(ClassId::SystemTime) = &define_system_time;
  at(ClassId::MeasuringTime) = &define_measuring_time;
  at(ClassId::SampleSet) = &define_sample_set;
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
