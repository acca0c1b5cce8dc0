#pragma once

#include "lib/py/type.hpp"

// The class tables, one function per class, and the makers of the module-level functions,
// each in the file named for what it binds.
namespace vn::bind {

py::ClassDef define_data_type();
py::ClassDef define_number_lit();
py::ClassDef define_placeholder();
py::ClassDef define_array_length();
py::ClassDef define_range();
py::ClassDef define_element();
py::ClassDef define_binary_var();
py::ClassDef define_integer_var();
py::ClassDef define_continuous_var();
py::ClassDef define_semi_integer_var();
py::ClassDef define_semi_continuous_var();
py::ClassDef define_add_op();
py::ClassDef define_mul_op();
py::ClassDef define_mod_op();
py::ClassDef define_pow_op();

// `terms` of the commutative operators (AddOp, MulOp, MinOp, MaxOp).
PyGetSetDef terms_getter();

}  // namespace vn::bind
