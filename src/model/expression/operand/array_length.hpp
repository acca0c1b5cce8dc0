#pragma once

#include <string>

#include "model/expression/expression.hpp"

namespace vn {

// Why `array` cannot be measured (it is scalar, or not an array kind at all), or an empty text
// when it can.
std::string array_target_problem(const Expression& array);

// The array as messages name it.
std::string array_name(const Expression& array);

// The length of a measurable array along `axis`; raises when the axis is out of bounds.
Expression make_array_length(Expression array, uint64_t axis, OptText latex, OptText description);

// `receiver.len_at(axis)`: raises the receiver's own message when it cannot be measured.
Expression len_at(const Expression& receiver, uint64_t axis, OptText latex, OptText description);

}  // namespace vn
