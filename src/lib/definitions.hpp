#pragma once

#include "lib/py/type.hpp"

// The class tables, one function per class, and the makers of the module-level functions,
// each in the file named for what it binds.
namespace vn::bind {

py::ClassDef define_data_type();
py::ClassDef define_number_lit();
py::ClassDef define_placeholder();
py::ClassDef define_array_length();

}  // namespace vn::bind
