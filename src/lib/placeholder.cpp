#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/operand_members.hpp"
#include "lib/py/convert.hpp"

namespace vn::bind {

namespace {

const py::Signature kConstructor("Placeholder", {{"name"},
                                                 py::keyword_only("ndim", "0"),
                                                 py::keyword_only("latex", "None"),
                                                 py::keyword_only("description", "None")});

py::Ref construct(PyTypeObject*, const py::Args& args) {
  auto name = py::convert_argument("name", [&] { return py::to_text(args[0]); });
  uint64_t ndim = args[1] ? py::convert_argument("ndim", [&] { return py::to_count(args[1]); }) : 0;
  auto latex = py::convert_argument("latex", [&] { return py::to_optional_text(args[2]); });
  auto description =
      py::convert_argument("description", [&] { return py::to_optional_text(args[3]); });
  return wrap(make_expression<Placeholder>(std::move(name), ndim, std::move(latex),
                                           std::move(description)));
}

const Placeholder& record(const Expression& e) { return e.as<Placeholder>(); }

py::Ref name(const Expression& e) { return py::from_text(record(e).name); }
py::Ref ndim(const Expression& e) { return py::from_count(record(e).ndim); }
py::Ref description(const Expression& e) { return py::from_optional_text(record(e).description); }

}  // namespace

py::ClassDef define_placeholder() {
  py::ClassDef def = expression_class("Placeholder");
  def.doc =
      "A named symbol of fixed dimensionality standing for instance data given at solve time.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::getter<Expression, &name>("name"),
      py::getter<Expression, &ndim>("ndim"),
      py::getter<Expression, &description>("description"),
      shape_getter(),
  };
  def.methods = {len_at_method(), set_latex_method()};
  def.slots.push_back(array_subscript_slot());
  return def;
}

}  // namespace vn::bind
