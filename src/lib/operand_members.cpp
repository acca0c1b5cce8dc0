#include "lib/operand_members.hpp"

#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"
#include "model/expression/operand/array_length.hpp"

namespace vn::bind {

namespace {

py::Ref shape(const Expression& e) {
  return py::tuple_of(ndim(e),
                      [&](size_t axis) { return wrap(make_array_length(e, axis, {}, {})); });
}

const py::Signature kLenAt("len_at", {{"axis"},
                                      py::keyword_only("latex", "None"),
                                      py::keyword_only("description", "None")});

py::Ref len_at_of(PyObject* self, const py::Args& args) {
  uint64_t axis = py::convert_argument("axis", [&] { return py::to_count(args[0]); });
  auto latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[1]); });
  auto description =
      py::convert_argument("description", [&] { return py::to_optional_text(args[2]); });
  return wrap(
      len_at(py::value_of<Expression>(self), axis, std::move(latex), std::move(description)));
}

}  // namespace

PyGetSetDef shape_getter() {
  return py::getter<Expression, &shape>("shape", "One ArrayLength per axis.");
}

PyMethodDef len_at_method() {
  return py::method<&len_at_of, kLenAt>("The length of the array along `axis`.");
}

}  // namespace vn::bind
