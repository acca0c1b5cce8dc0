#include "model/error.hpp"
#include "model/expression/arithmetic.hpp"
#include "model/expression/operand/element.hpp"
#include "print/renderer.hpp"

namespace vn {

Range make_range(Expression start, Expression end) {
  const NumberLit* first = start.get_if<NumberLit>();
  const NumberLit* last = end.get_if<NumberLit>();
  if (first && last) {
    const std::string numbers = " (= " + number_text(first->value) + ") is ";
    const std::string tail = "`Range.end` (= " + number_text(last->value) + ")";
    if (numerically_less(last->value, first->value)) {
      fail(ErrorKind::Value, "`Range.start`" + numbers + "larger than " + tail);
    }
    if (numerically_equal(first->value, last->value)) {
      fail(ErrorKind::Value, "`Range.start`" + numbers + "equal to " + tail);
    }
  }
  if (contains_decision_variable(start)) {
    modeling_error("the lower bound contains a decision variable");
  }
  if (contains_decision_variable(end))
    modeling_error("the upper bound contains a decision variable");
  return Range{std::move(start), std::move(end)};
}

}  // namespace vn
