#pragma once

#include "lib/py/type.hpp"

namespace vn::bind {

// Every class of the module, in registration order.
enum class ClassId {
  DataType,
  NumberLit,
  Placeholder,
  Range,
  Element,
  Subscript,
  ArrayLength,
  DummyIndexedVar,
  BinaryVar,
  IntegerVar,
  ContinuousVar,
  SemiIntegerVar,
  SemiContinuousVar,
  AbsOp,
  CeilOp,
  FloorOp,
  Log2Op,
  Log10Op,
  LnOp,
  AddOp,
  MulOp,
  ModOp,
  MinOp,
  MaxOp,
  PowOp,
  SumOp,
  ProdOp,
  AndOp,
  OrOp,
  XorOp,
  EqualOp,
  NotEqualOp,
  LessThanOp,
  LessThanEqualOp,
  GreaterThanOp,
  GreaterThanEqualOp,
  Problem,
  ProblemSense,
  Constraint,
  ConstraintSense,
  CustomPenaltyTerm,
  Evaluation,
  Record,
  SolvingTime,
  SystemTime,
  MeasuringTime,
  SampleSet,
  Count
};

// The class's type object, created on first use and kept for the life of the process.
PyTypeObject* class_type(ClassId id);

// Whether the class is built yet: only built classes are registered.
bool class_defined(ClassId id);

inline bool is_instance(PyObject* object, ClassId id) {
  return class_defined(id) && Py_TYPE(object) == class_type(id);
}

}  // namespace vn::bind
