#pragma once

#include "lib/classes.hpp"
#include "model/expression/expression.hpp"

namespace vn::bind {

using ExpressionObject = py::Object<Expression>;
using ConditionObject = py::Object<Condition>;

// A new Python object of the class that corresponds to the node's kind.
py::Ref wrap(Expression expression);
py::Ref wrap(Condition condition);

// The class that holds an expression of this kind.
ClassId class_of(const Expression& expression);

}  // namespace vn::bind
