#include "model/expression/operand/element.hpp"

#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/operand_members.hpp"
#include "lib/py/convert.hpp"
#include "print/renderer.hpp"

namespace vn::bind {

namespace {

Expression zero() { return number_lit(Number(int64_t{0})); }

// What an element ranges over, tried in order: an integer n as [0, n), a pair (start, end), a
// scalar expression e as [0, e), then a Placeholder, Element or Subscript array.
BelongTo to_belong_to(PyObject* object) {
  if (PyObject* index = PyNumber_Index(object)) {
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(index, &overflow);
    Py_DECREF(index);
    if (!overflow && !(value == -1 && PyErr_Occurred())) {
      return make_range(zero(), number_lit(Number(static_cast<int64_t>(value))));
    }
  }
  PyErr_Clear();
  if (PyTuple_Check(object) && PyTuple_GET_SIZE(object) == 2) {
    std::optional<Expression> start = try_expression(PyTuple_GET_ITEM(object, 0));
    std::optional<Expression> end =
        start ? try_expression(PyTuple_GET_ITEM(object, 1)) : std::nullopt;
    if (start && end) return make_range(std::move(*start), std::move(*end));
  }
  if (std::optional<Expression> end = try_expression(object)) return make_range(zero(), *end);
  for (ClassId id : {ClassId::Placeholder, ClassId::Element, ClassId::Subscript}) {
    if (is_instance(object, id)) return py::value_of<Expression>(object);  // ndim >= 1 here
  }
  py::raise(PyExc_TypeError, "failed to convert into a set");
}

const py::Signature kConstructor("Element", {{"name"},
                                             {"belong_to"},
                                             py::keyword_only("latex", "None"),
                                             py::keyword_only("description", "None")});

py::Ref construct(PyTypeObject*, const py::Args& args) {
  auto name = py::convert_argument("name", [&] { return py::to_text(args[0]); });
  auto latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[2]); });
  auto description =
      py::convert_argument("description", [&] { return py::to_optional_text(args[3]); });
  BelongTo belong_to = to_belong_to(args[1]);
  return wrap(make_element(std::move(name), std::move(belong_to), std::move(latex),
                           std::move(description)));
}

const Element& record(const Expression& e) { return e.as<Element>(); }

py::Ref name(const Expression& e) { return py::from_text(record(e).name); }
py::Ref ndim_of(const Expression& e) { return py::from_count(record(e).ndim); }
py::Ref description(const Expression& e) { return py::from_optional_text(record(e).description); }
py::Ref belong_to(const Expression& e) {
  if (const Range* range = std::get_if<Range>(&record(e).belong_to)) {
    return py::new_object(class_type(ClassId::Range), *range);
  }
  return wrap(std::get<Expression>(record(e).belong_to));
}

py::Ref start(const Range& range) { return wrap(range.start); }
py::Ref end(const Range& range) { return wrap(range.end); }
py::Ref range_str(const Range& range) { return py::from_text(range_text(range, RenderMode::Str)); }
py::Ref range_repr(const Range& range) {
  return py::from_text(range_text(range, RenderMode::Repr));
}

}  // namespace

py::ClassDef define_element() {
  py::ClassDef def = expression_class("Element");
  def.doc = "An index that ranges over a set: an interval [start, end) or the entries of an array.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::getter<Expression, &name>("name"),
      py::getter<Expression, &ndim_of>("ndim"),
      py::getter<Expression, &belong_to>("belong_to", "The set: a Range, or an array."),
      py::getter<Expression, &description>("description"),
      shape_getter(),
  };
  def.methods = {len_at_method(), set_latex_method()};
  def.slots.push_back(array_subscript_slot());
  return def;
}

py::ClassDef define_range() {
  py::ClassDef def = py::class_of<Range>("Range");
  def.doc = "The half-open interval [start, end) an Element ranges over.";
  def.getters = {
      py::getter<Range, &start>("start"),
      py::getter<Range, &end>("end"),
  };
  def.slots = {
      py::unary_slot<Range, &range_str>(Py_tp_str),
      py::unary_slot<Range, &range_repr>(Py_tp_repr),
  };
  return def;
}

}  // namespace vn::bind
