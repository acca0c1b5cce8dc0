#include "lib/py/numpy.hpp"

#include <numpy/arrayobject.h>

#include <string>

#include "lib/py/convert.hpp"
#include "lib/py/error.hpp"

namespace vn::py::numpy {

namespace {

void load_api() {
  if (PyArray_ImportNumPyAPI() < 0) throw ErrorAlreadySet{};
}

template <class T>
Ref new_array(int type_number, std::span<const T> data, std::span<const uint64_t> shape) {
  load_api();
  std::vector<npy_intp> dims(shape.begin(), shape.end());
  Ref array = check(PyArray_SimpleNew(static_cast<int>(dims.size()), dims.data(), type_number));
  if (!data.empty()) {
    std::copy(data.begin(), data.end(),
              static_cast<T*>(PyArray_DATA(reinterpret_cast<PyArrayObject*>(array.get()))));
  }
  return array;
}

template <class T>
Elements<T> elements_of(Ref array) {
  auto* a = reinterpret_cast<PyArrayObject*>(array.get());
  const npy_intp* dims = PyArray_DIMS(a);
  Elements<T> elements;
  elements.shape.assign(dims, dims + PyArray_NDIM(a));
  elements.data = {static_cast<const T*>(PyArray_DATA(a)), static_cast<size_t>(PyArray_SIZE(a))};
  elements.owner = std::move(array);
  return elements;
}

// A C-contiguous, aligned, native-order copy of the array (or the array itself if it is one).
Ref contiguous(PyObject* array, int type_number) {
  return check(PyArray_FromAny(array, PyArray_DescrFromType(type_number), 0, 0, NPY_ARRAY_CARRAY_RO,
                               nullptr));
}

[[noreturn]] void refuse(PyObject* object, int ndim, const char* dtype) {
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  Ref cause = Ref::steal(value);
  Py_XDECREF(type);
  Py_XDECREF(traceback);
  std::string target = std::to_string(ndim) + "-D " + dtype + " array";
  try {
    cannot_convert(object, target.c_str());
  } catch (const ErrorAlreadySet&) {
    if (cause) {
      PyErr_Fetch(&type, &value, &traceback);
      PyErr_NormalizeException(&type, &value, &traceback);
      PyException_SetCause(value, cause.release());
      PyErr_Restore(type, value, traceback);
    }
    throw;
  }
}

template <class T>
Elements<T> with_ndim(PyObject* object, Ref array, int ndim, const char* dtype) {
  if (PyArray_NDIM(reinterpret_cast<PyArrayObject*>(array.get())) != ndim) {
    refuse(object, ndim, dtype);
  }
  return elements_of<T>(std::move(array));
}

}  // namespace

Ref float64_array(std::span<const double> data, std::span<const uint64_t> shape) {
  return new_array(NPY_FLOAT64, data, shape);
}

Ref float64_vector(std::span<const double> data) {
  const uint64_t size = data.size();
  return new_array(NPY_FLOAT64, data, std::span<const uint64_t>(&size, 1));
}

Ref int64_array(std::span<const int64_t> data, std::span<const uint64_t> shape) {
  return new_array(NPY_INT64, data, shape);
}

Ref int64_vector(std::span<const int64_t> data) {
  const uint64_t size = data.size();
  return new_array(NPY_INT64, data, std::span<const uint64_t>(&size, 1));
}

Ref uint64_array(std::span<const uint64_t> data, std::span<const uint64_t> shape) {
  return new_array(NPY_UINT64, data, shape);
}

bool is_array(PyObject* object) {
  load_api();
  return PyArray_Check(object);
}

std::optional<Elements<double>> exact_float64(PyObject* object) {
  if (!is_array(object)) return std::nullopt;
  if (PyArray_TYPE(reinterpret_cast<PyArrayObject*>(object)) != NPY_FLOAT64) return std::nullopt;
  return elements_of<double>(contiguous(object, NPY_FLOAT64));
}

Elements<double> to_float64(PyObject* object, int ndim) {
  load_api();
  PyObject* array = PyArray_FromAny(object, PyArray_DescrFromType(NPY_FLOAT64), 0, 0,
                                    NPY_ARRAY_CARRAY_RO, nullptr);
  if (!array) refuse(object, ndim, "float64");
  return with_ndim<double>(object, Ref::steal(array), ndim, "float64");
}

Elements<int64_t> to_int64(PyObject* object, int ndim) {
  load_api();
  // Find the dtype NumPy would choose first, so that floats are refused rather than truncated.
  PyObject* found = PyArray_FromAny(object, nullptr, 0, 0, 0, nullptr);
  if (!found) refuse(object, ndim, "int64");
  Ref array = Ref::steal(found);
  auto* a = reinterpret_cast<PyArrayObject*>(array.get());
  const bool integral = PyArray_ISINTEGER(a) || PyArray_ISBOOL(a) || PyArray_SIZE(a) == 0;
  if (!integral) {
    PyErr_Clear();
    cannot_convert(object, (std::to_string(ndim) + "-D int64 array").c_str());
  }
  PyObject* converted = PyArray_FromAny(array.get(), PyArray_DescrFromType(NPY_INT64), 0, 0,
                                        NPY_ARRAY_CARRAY_RO | NPY_ARRAY_FORCECAST, nullptr);
  if (!converted) refuse(object, ndim, "int64");
  return with_ndim<int64_t>(object, Ref::steal(converted), ndim, "int64");
}

}  // namespace vn::py::numpy
