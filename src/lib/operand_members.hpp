#pragma once

#include "lib/py/type.hpp"

// Members shared by the array-like operands (Placeholder, Element, Subscript).
namespace vn::bind {

// `shape`: one ArrayLength per axis.
PyGetSetDef shape_getter();

// `len_at(axis, *, latex=None, description=None)`.
PyMethodDef len_at_method();

}  // namespace vn::bind
