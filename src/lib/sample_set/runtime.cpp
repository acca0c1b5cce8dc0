#include "lib/sample_set/runtime.hpp"

#include "lib/py/error.hpp"

namespace vn::bind {

namespace {

py::Ref attribute(const char* module, const char* name) {
  py::Ref imported = py::check(PyImport_ImportModule(module));
  return py::check(PyObject_GetAttrString(imported.get(), name));
}

// orjson's fallback for objects it does not write natively.
PyObject* ndarray_to_list(PyObject*, PyObject* object) {
  return py::guard([&] {
    const int is_array = PyObject_IsInstance(object, attribute("numpy", "ndarray").get());
    py::check_status(is_array);
    if (is_array) return py::check(PyObject_CallMethod(object, "tolist", nullptr));
    return py::Ref::borrow(object);
  });
}

PyMethodDef kDefault = {"default", &ndarray_to_list, METH_O, nullptr};

// Span records: {"start_time": ..., "end_time": ..., "context": {"span_id": ...},
// "parent_id": ...}, timestamps as "%Y-%m-%dT%H:%M:%S.%fZ". Each top-level key's span becomes
// a tree of its descendants: a span without children reports its duration in seconds, one with
// children reports them instead. Children are taken out of the pool as they are placed, so that
// a cycle of parent ids cannot make the walk endless.
constexpr const char* kSpanSource = R"(
import datetime as dt

_FORMAT = "%Y-%m-%dT%H:%M:%S.%fZ"


def timedelta(start, end):
    s = dt.datetime.strptime(start, _FORMAT)
    e = dt.datetime.strptime(end, _FORMAT)
    return (e - s).total_seconds()


def get_timedelta_by_span(metadata):
    spans = {}
    for name, value in metadata.items():
        if isinstance(value, dict):
            if "start_time" in value:
                spans[name] = {
                    "time": timedelta(value["start_time"], value["end_time"]),
                    "span_id": value["context"]["span_id"],
                    "parent_id": value["parent_id"],
                }
            else:
                spans[name] = get_timedelta_by_span(value)
    return spans


def _attach_children(level, spans):
    for node in level.values():
        names = [name for name, span in spans.items()
                 if span.get("parent_id", "") == node["id"]]
        children = {}
        for name in names:
            span = spans.pop(name)
            children[name] = {"id": span["span_id"], "time": span["time"]}
        if children:
            del node["id"]
            del node["time"]
            _attach_children(children, spans)
            node.update(children)
        else:
            del node["id"]


def aggregate(spans, key):
    root = spans.pop(key, None)
    if root is None:
        return {}
    tree = {key: {"id": root["span_id"], "time": root["time"]}}
    _attach_children(tree, spans)
    return tree


def reformat(tree):
    for name, value in tree.items():
        if isinstance(value, dict):
            if "time" in value:
                tree[name] = value["time"]
            else:
                reformat(value)
    return tree


def get_backend_calculation_time(metadata):
    result = {}
    for key in metadata:
        if not isinstance(key, str):
            raise TypeError("the keys of metadata must be str, not " + type(key).__qualname__)
        result.update(reformat(aggregate(get_timedelta_by_span(metadata), key)))
    return result
)";

}  // namespace

py::Ref data_frame(PyObject* columns) {
  py::Ref from_dict =
      py::check(PyObject_GetAttrString(attribute("pandas", "DataFrame").get(), "from_dict"));
  return py::check(PyObject_CallOneArg(from_dict.get(), columns));
}

py::Ref side_by_side(PyObject* left, PyObject* right) {
  py::Ref concat = attribute("pandas", "concat");
  py::Ref tables = py::check(Py_BuildValue("[OO]", left, right));
  py::Ref args = py::check(PyTuple_Pack(1, tables.get()));
  py::Ref kwargs = py::check(Py_BuildValue("{s:i}", "axis", 1));
  return py::check(PyObject_Call(concat.get(), args.get(), kwargs.get()));
}

py::Ref json_dumps(PyObject* value) {
  py::Ref orjson = py::check(PyImport_ImportModule("orjson"));
  py::Ref numpy = py::check(PyImport_ImportModule("numpy"));
  py::Ref dumps = py::check(PyObject_GetAttrString(orjson.get(), "dumps"));
  py::Ref option = py::check(PyObject_GetAttrString(orjson.get(), "OPT_SERIALIZE_NUMPY"));
  static PyObject* fallback = PyCFunction_New(&kDefault, nullptr);  // kept for the process
  if (!fallback) throw py::ErrorAlreadySet{};
  // Positionally: dumps(obj, default, option); orjson matches keyword names by identity with
  // its own interned strings.
  py::Ref bytes =
      py::check(PyObject_CallFunctionObjArgs(dumps.get(), value, fallback, option.get(), nullptr));
  return py::check(PyUnicode_FromEncodedObject(bytes.get(), "utf-8", "strict"));
}

py::Ref json_loads(PyObject* text) {
  return py::check(PyObject_CallOneArg(attribute("orjson", "loads").get(), text));
}

py::Ref backend_calculation_time(PyObject* metadata) {
  static PyObject* function = nullptr;  // compiled on first use, kept for the process
  if (!function) {
    py::Ref globals = py::check(PyDict_New());
    py::check_status(PyDict_SetItemString(globals.get(), "__builtins__", PyEval_GetBuiltins()));
    py::check(PyRun_String(kSpanSource, Py_file_input, globals.get(), globals.get()));
    function = py::Ref::borrow(PyDict_GetItemString(globals.get(), "get_backend_calculation_time"))
                   .release();
  }
  return py::check(PyObject_CallOneArg(function, metadata));
}

}  // namespace vn::bind
