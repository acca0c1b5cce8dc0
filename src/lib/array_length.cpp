#include "model/expression/operand/array_length.hpp"

#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"

namespace vn::bind {

namespace {

const py::Signature kConstructor("ArrayLength", {{"array"},
                                                 {"axis"},
                                                 py::keyword_only("latex", "None"),
                                                 py::keyword_only("description", "None")});

// A Placeholder, Element or Subscript that can be measured; anything else, including one of
// those that cannot, is an unsupported type here (len_at gives the specific messages).
Expression to_array(PyObject* object) {
  for (ClassId id : {ClassId::Placeholder, ClassId::Element, ClassId::Subscript}) {
    if (is_instance(object, id)) {
      const Expression& array = py::value_of<Expression>(object);
      if (array_target_problem(array).empty()) return array;
    }
  }
  py::raise(PyExc_TypeError, "unsupported type");
}

py::Ref construct(PyTypeObject*, const py::Args& args) {
  Expression array = py::convert_argument("array", [&] { return to_array(args[0]); });
  uint64_t axis = py::convert_argument("axis", [&] { return py::to_count(args[1]); });
  auto latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[2]); });
  auto description =
      py::convert_argument("description", [&] { return py::to_optional_text(args[3]); });
  return wrap(make_array_length(std::move(array), axis, std::move(latex), std::move(description)));
}

const ArrayLength& record(const Expression& e) { return e.as<ArrayLength>(); }

py::Ref array(const Expression& e) { return wrap(record(e).array); }
py::Ref axis(const Expression& e) { return py::from_count(record(e).axis); }
py::Ref description(const Expression& e) { return py::from_optional_text(record(e).description); }

}  // namespace

py::ClassDef define_array_length() {
  py::ClassDef def = expression_class("ArrayLength");
  def.doc = "The length of an array (a Placeholder, Element or Subscript) along one axis.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::getter<Expression, &array>("array"),
      py::getter<Expression, &axis>("axis"),
      py::getter<Expression, &description>("description"),
  };
  def.methods = {set_latex_method()};
  return def;
}

}  // namespace vn::bind
