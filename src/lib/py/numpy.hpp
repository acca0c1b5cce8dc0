#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "lib/py/ref.hpp"

// NumPy arrays to and from C++ buffers. This is the one place that includes NumPy's headers;
// its C API is loaded on first use, so importing the module does not import NumPy.
namespace vn::py::numpy {

// New arrays holding a copy of the data, row-major, of the given shape.
Ref float64_array(std::span<const double> data, std::span<const uint64_t> shape);
Ref float64_vector(std::span<const double> data);
Ref int64_array(std::span<const int64_t> data, std::span<const uint64_t> shape);
Ref int64_vector(std::span<const int64_t> data);
Ref uint64_array(std::span<const uint64_t> data, std::span<const uint64_t> shape);

// The elements of an array in row-major order, kept alive by `owner`.
template <class T>
struct Elements {
  Ref owner;
  std::span<const T> data;
  std::vector<uint64_t> shape;
};

bool is_array(PyObject* object);

// The elements of a float64 ndarray of any layout or byte order; nothing for any other object,
// an ndarray of another dtype included.
std::optional<Elements<double>> exact_float64(PyObject* object);

// Anything NumPy reads as numbers, with `ndim` axes, as float64. TypeError otherwise
// ("'str' object cannot be converted to a 1-D float64 array").
Elements<double> to_float64(PyObject* object, int ndim);

// Integers (an array of an integer dtype, or anything NumPy reads as integers) with `ndim` axes,
// as int64. Floats are refused, not truncated.
Elements<int64_t> to_int64(PyObject* object, int ndim);

}  // namespace vn::py::numpy
