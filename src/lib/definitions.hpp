#pragma once

#include "lib/py/type.hpp"

// The class tables, one function per class, each in the file named for its class.
namespace vn::bind {

py::ClassDef define_data_type();
py::ClassDef define_number_lit();
py::ClassDef define_placeholder();
py::ClassDef define_array_length();

}  // namespace vn::bind
