#pragma once

#include "lib/py/ref.hpp"

// The calls into Python packages of the host interpreter: pandas for tables, orjson (with
// NumPy) for the JSON of whole sample sets, datetime for span timestamps. Each package is
// imported when the call is made, never at import of varnova; a missing one raises its
// ImportError.
namespace vn::bind {

// pandas.DataFrame.from_dict(columns)
py::Ref data_frame(PyObject* columns);
// pandas.concat([left, right], axis=1)
py::Ref side_by_side(PyObject* left, PyObject* right);

// orjson.dumps(value, default=default, option=orjson.OPT_SERIALIZE_NUMPY).decode("utf-8"),
// where default turns a numpy.ndarray into its tolist() and returns anything else unchanged.
py::Ref json_dumps(PyObject* value);
// orjson.loads(text)
py::Ref json_loads(PyObject* text);

// The durations of the spans that a solving service records in a sample set's metadata.
py::Ref backend_calculation_time(PyObject* metadata);

}  // namespace vn::bind
