#include "lib/expression_object.hpp"

namespace vn::bind {

namespace {

ClassId offset(ClassId first, uint8_t kind) {
  return static_cast<ClassId>(static_cast<int>(first) + kind);
}

}  // namespace

ClassId class_of(const Expression& e) {
  switch (e.kind()) {
    case NodeKind::NumberLit:
      return ClassId::NumberLit;
    case NodeKind::Placeholder:
      return ClassId::Placeholder;
    case NodeKind::Element:
      return ClassId::Element;
    case NodeKind::DecisionVar:
      return offset(ClassId::BinaryVar, static_cast<uint8_t>(e.as<DecisionVar>().kind));
    case NodeKind::Subscript:
      return ClassId::Subscript;
    case NodeKind::ArrayLength:
      return ClassId::ArrayLength;
    case NodeKind::UnaryOp:
      switch (e.as<UnaryOp>().kind) {
        case UnaryKind::Abs:
          return ClassId::AbsOp;
        case UnaryKind::Ceil:
          return ClassId::CeilOp;
        case UnaryKind::Floor:
          return ClassId::FloorOp;
        case UnaryKind::Ln:
          return ClassId::LnOp;
        case UnaryKind::Log10:
          return ClassId::Log10Op;
        case UnaryKind::Log2:
          return ClassId::Log2Op;
      }
      break;
    case NodeKind::BinaryOp:
      return e.as<BinaryOp>().kind == BinaryKind::Pow ? ClassId::PowOp : ClassId::ModOp;
    case NodeKind::CommutativeOp:
      switch (e.as<CommutativeOp>().kind) {
        case CommutativeKind::Add:
          return ClassId::AddOp;
        case CommutativeKind::Mul:
          return ClassId::MulOp;
        case CommutativeKind::Min:
          return ClassId::MinOp;
        case CommutativeKind::Max:
          return ClassId::MaxOp;
      }
      break;
    case NodeKind::ReductionOp:
      return offset(ClassId::SumOp, static_cast<uint8_t>(e.as<ReductionOp>().kind));
    default:
      break;
  }
  return ClassId::Count;
}

py::Ref wrap(Expression expression) {
  PyTypeObject* type = class_type(class_of(expression));
  return py::new_object(type, std::move(expression));
}

py::Ref wrap(Condition condition) {
  ClassId id =
      condition.is<ComparisonOp>()
          ? offset(ClassId::EqualOp, static_cast<uint8_t>(condition.as<ComparisonOp>().kind))
          : offset(ClassId::AndOp, static_cast<uint8_t>(condition.as<LogicalOp>().kind));
  PyTypeObject* type = class_type(id);
  return py::new_object(type, std::move(condition));
}

}  // namespace vn::bind
