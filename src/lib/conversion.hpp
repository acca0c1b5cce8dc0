#pragma once

#include <optional>

#include "lib/py/ref.hpp"
#include "model/expression/expression.hpp"

namespace vn::bind {

// A Python number as a literal value: through the index protocol as a signed 64-bit integer,
// else through float(). Nothing when neither applies (the attempts' errors are dropped).
std::optional<Number> number_from(PyObject* object);

py::Ref number_to_python(Number number);

}  // namespace vn::bind
