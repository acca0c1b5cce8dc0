#include "lib/py/error.hpp"

#include <new>

#include "model/error.hpp"

namespace vn::py {

namespace {

PyObject* exception_type(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::Modeling:
      return modeling_error();
    case ErrorKind::Type:
      return PyExc_TypeError;
    case ErrorKind::Value:
      return PyExc_ValueError;
    case ErrorKind::Index:
      return PyExc_IndexError;
    case ErrorKind::ZeroDivision:
      return PyExc_ZeroDivisionError;
    case ErrorKind::Overflow:
      return PyExc_OverflowError;
    case ErrorKind::Recursion:
      return PyExc_RecursionError;
    case ErrorKind::ProtobufSerialization:
      return protobuf_serialization_error();
    case ErrorKind::ProtobufDeserialization:
      return protobuf_deserialization_error();
  }
  return PyExc_SystemError;
}

}  // namespace

void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw ErrorAlreadySet{};
}

void set_error_from_current_exception() {
  try {
    throw;
  } catch (const ErrorAlreadySet&) {
    if (!PyErr_Occurred()) PyErr_SetString(PyExc_SystemError, "error flagged but not set");
  } catch (const Error& error) {
    PyErr_SetString(exception_type(error.kind()), error.what());
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& error) {
    PyErr_SetString(PyExc_SystemError, error.what());
  } catch (...) {
    PyErr_SetString(PyExc_SystemError, "unknown C++ exception");
  }
}

void prefix_type_error(const char* name) {
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  if (type != PyExc_TypeError) {  // exactly TypeError: subclasses keep their own identity
    PyErr_Restore(type, value, traceback);
    return;
  }
  PyErr_NormalizeException(&type, &value, &traceback);
  if (traceback) PyException_SetTraceback(value, traceback);
  Ref original = Ref::steal(value);
  Py_XDECREF(type);
  Py_XDECREF(traceback);
  PyObject* message = PyObject_Str(original.get());
  if (!message) return;
  PyObject* text = PyUnicode_FromFormat("argument '%s': %U", name, message);
  Py_DECREF(message);
  if (!text) return;
  PyObject* wrapped = PyObject_CallOneArg(PyExc_TypeError, text);
  Py_DECREF(text);
  if (!wrapped) return;
  PyException_SetContext(wrapped, Ref(original).release());
  PyException_SetCause(wrapped, original.release());
  Py_INCREF(PyExc_TypeError);
  PyErr_Restore(PyExc_TypeError, wrapped, nullptr);
}

}  // namespace vn::py
