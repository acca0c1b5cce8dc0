#pragma once

#include <optional>
#include <string>

#include "lib/py/convert.hpp"
#include "lib/py/ref.hpp"
#include "model/expression/expression.hpp"

namespace vn::bind {

// A Python number as a literal value: through the index protocol as a signed 64-bit integer,
// else through float(). Nothing when neither applies (the attempts' errors are dropped).
std::optional<Number> number_from(PyObject* object);

py::Ref number_to_python(Number number);

// Whether the object is one of the module's expression objects (of any dimensionality).
bool is_expression_object(PyObject* object);

// Whether the object is an expression, condition or dummy-indexed object of the module. They
// pass the interpreter's sequence check (they have []), but iterating a one-dimensional one
// never ends, so wherever a sequence is read they are refused like non-sequences.
bool is_module_operand(PyObject* object);

// The scalar-expression conversion: numbers, and expression objects of dimensionality zero.
// Raises TypeError "failed to convert into expression." (or the dummy-indexed ModelingError).
Expression to_expression(PyObject* object);
// The same without raising: nothing where to_expression would raise.
std::optional<Expression> try_expression(PyObject* object);

// The object on which an operator runs, as a scalar: a non-scalar Placeholder, Element,
// decision variable or Subscript raises the ModelingError naming it.
Expression receiver_expression(PyObject* object);

// Why the object cannot be read as a sequence of `items` (for messages): a string ("a string
// is not accepted as a sequence of subscripts"), one of the module's own objects or any other
// non-sequence ("'int' object cannot be converted to 'Sequence'"). Empty when it can.
std::string sequence_problem(PyObject* object, const char* items);

// The items of such a sequence; a TypeError with the problem otherwise.
py::Sequence sequence_items(PyObject* object, const char* items);

// A comparison or logical object; TypeError "failed to convert into a conditional expression."
Condition to_condition(PyObject* object);

// An object of one of the five decision-variable classes, of any dimensionality; TypeError
// "failed to convert into decision var".
Expression to_decision_var(PyObject* object);

}  // namespace vn::bind
