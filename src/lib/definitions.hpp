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

py::ClassDef define_subscript();
py::ClassDef define_dummy_indexed_var();
py::ClassDef define_abs_op();
py::ClassDef define_ceil_op();
py::ClassDef define_floor_op();
py::ClassDef define_log2_op();
py::ClassDef define_log10_op();
py::ClassDef define_ln_op();
py::ClassDef define_min_op();
py::ClassDef define_max_op();
py::ClassDef define_sum_op();
py::ClassDef define_prod_op();
py::ClassDef define_and_op();
py::ClassDef define_or_op();
py::ClassDef define_xor_op();
py::ClassDef define_equal_op();
py::ClassDef define_not_equal_op();
py::ClassDef define_less_than_op();
py::ClassDef define_less_than_equal_op();
py::ClassDef define_greater_than_op();
py::ClassDef define_greater_than_equal_op();

// `terms` of the commutative operators (AddOp, MulOp, MinOp, MaxOp).
PyGetSetDef terms_getter();

py::Ref make_abs(PyObject* module);
py::Ref make_ceil(PyObject* module);
py::Ref make_floor(PyObject* module);
py::Ref make_log2(PyObject* module);
py::Ref make_log10(PyObject* module);
py::Ref make_ln(PyObject* module);
py::Ref make_min(PyObject* module);
py::Ref make_max(PyObject* module);
py::Ref make_sum(PyObject* module);
py::Ref make_prod(PyObject* module);

py::ClassDef define_evaluation();
py::ClassDef define_record();
py::ClassDef define_solving_time();
py::ClassDef define_system_time();
py::ClassDef define_measuring_time();
py::ClassDef define_sample_set();

py::Ref make_concatenate(PyObject* module);

}  // namespace vn::bind
