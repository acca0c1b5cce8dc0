#pragma once

#include "lib/py/type.hpp"

// Members shared by the array-like operands (Placeholder, Element, Subscript).
namespace vn::bind {

// `shape`: one ArrayLength per axis.
PyGetSetDef shape_getter();

// `len_at(axis, *, latex=None, description=None)`.
PyMethodDef len_at_method();

// `[]` on a Placeholder, Element or Subscript, and on a decision variable (which takes slices).
PyType_Slot array_subscript_slot();
PyType_Slot decision_var_subscript_slot();

}  // namespace vn::bind
