#include "model/expression/operand/array_length.hpp"

#include "model/error.hpp"
#include "model/expression/operand/subscript.hpp"

namespace vn {

std::string array_target_problem(const Expression& array) {
  switch (array.kind()) {
    case NodeKind::Placeholder:
      if (ndim(array) == 0) return "the placeholder " + array_name(array) + " is a scalar";
      return {};
    case NodeKind::Element:
      if (ndim(array) == 0) return "the element " + array_name(array) + " is a scalar";
      return {};
    case NodeKind::Subscript:
      if (array.as<Subscript>().variable.is<DecisionVar>()) {
        return "the subscripted variable " + array_name(array) + " is a decision variable";
      }
      if (ndim(array) == 0) return "the subscripted variable " + array_name(array) + " is a scalar";
      return {};
    default:
      return "unsupported type";
  }
}

std::string array_name(const Expression& array) { return variable_text(array); }

Expression make_array_length(Expression array, uint64_t axis, OptText latex, OptText description) {
  if (axis >= ndim(array)) {
    modeling_error("axis " + std::to_string(axis) + " is out of bounds for the axis of the array " +
                   array_name(array));
  }
  return make_expression<ArrayLength>(std::move(array), axis, std::move(latex),
                                      std::move(description));
}

Expression len_at(const Expression& receiver, uint64_t axis, OptText latex, OptText description) {
  if (receiver.is<Subscript>() && ndim(receiver) == 0)
    modeling_error("Can't get length of a scalar");
  if (std::string problem = array_target_problem(receiver); !problem.empty()) {
    modeling_error(problem);
  }
  return make_array_length(receiver, axis, std::move(latex), std::move(description));
}

}  // namespace vn
