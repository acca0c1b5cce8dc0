#include "model/expression/operator/reduction_op/reduction_op.hpp"

#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/py/convert.hpp"

namespace vn::bind {

namespace {

// One index item, or why the object is not one (for the index message).
std::optional<ReductionIndex> index_item(PyObject* object, std::string& why, const char* indent) {
  if (is_instance(object, ClassId::Element)) {
    return ReductionIndex{py::value_of<Expression>(object), Condition()};
  }
  std::string conditional;
  if (!PyTuple_Check(object)) {
    conditional = std::string("'") + py::type_name(object) + "' object is not a tuple";
  } else if (PyTuple_GET_SIZE(object) != 2) {
    conditional = "a tuple of " + std::to_string(PyTuple_GET_SIZE(object)) +
                  " items is not a pair of an Element and a condition";
  } else if (!is_instance(PyTuple_GET_ITEM(object, 0), ClassId::Element)) {
    conditional = std::string("its first item, of type '") +
                  py::type_name(PyTuple_GET_ITEM(object, 0)) + "', is not an Element";
  } else if (Py_TYPE(PyTuple_GET_ITEM(object, 1))->tp_dealloc != &py::dealloc_object<Condition>) {
    conditional = std::string("its second item, of type '") +
                  py::type_name(PyTuple_GET_ITEM(object, 1)) + "', is not a condition";
  } else {
    return ReductionIndex{py::value_of<Expression>(PyTuple_GET_ITEM(object, 0)),
                          py::value_of<Condition>(PyTuple_GET_ITEM(object, 1))};
  }
  why = std::string("failed to extract enum IndexItem ('Element | ConditionalElement')\n") +
        indent + "- variant Element (IndexItem::Element): '" + py::type_name(object) +
        "' object cannot be converted to 'Element'\n" + indent +
        "- variant ConditionalElement (IndexItem::ConditionalElement): " + conditional;
  return std::nullopt;
}

// A single index item, or a sequence of them; a pair (i, condition) is tried as one item first.
std::vector<ReductionIndex> to_indices(PyObject* index) {
  std::string single_why;
  if (std::optional<ReductionIndex> item = index_item(index, single_why, "  ")) return {*item};
  std::string sequence_why;
  std::vector<ReductionIndex> items;
  sequence_why = sequence_problem(index, "index items");
  if (sequence_why.empty()) {
    py::Sequence sequence = sequence_items(index, "index items");
    for (Py_ssize_t k = 0; k < sequence.size(); ++k) {
      std::string why;
      std::optional<ReductionIndex> item = index_item(sequence[k], why, "    ");
      if (!item) {
        sequence_why = "item " + std::to_string(k) + ": " + why;
        break;
      }
      items.push_back(*item);
    }
    if (sequence_why.empty()) return items;
  }
  py::raise(PyExc_TypeError,
            "failed to extract enum Index ('Single | Sequence')\n"
            "- variant Single (Index::Single): " +
                single_why + "\n- variant Sequence (Index::Sequence): " + sequence_why);
}

template <ReductionKind Kind>
py::Ref reduction(const py::Args& args) {
  std::vector<ReductionIndex> indices =
      py::convert_argument("index", [&] { return to_indices(args[0]); });
  Expression operand = py::convert_argument("operand", [&] { return to_expression(args[1]); });
  return wrap(make_reduction(Kind, indices, std::move(operand)));
}

const py::Signature kSum("sum", {{"index"}, {"operand"}});
const py::Signature kProd("prod", {{"index"}, {"operand"}});

const ReductionOp& record(const Expression& e) { return e.as<ReductionOp>(); }

py::Ref index(const Expression& e) { return wrap(record(e).index); }
py::Ref condition(const Expression& e) {
  if (!record(e).condition) return py::Ref::borrow(Py_None);
  return wrap(record(e).condition);
}
py::Ref operand(const Expression& e) { return wrap(record(e).operand); }

py::ClassDef reduction_class(const char* name, const char* doc) {
  py::ClassDef def = expression_class(name);
  def.doc = doc;
  def.getters = {
      py::getter<Expression, &index>("index"),
      py::getter<Expression, &condition>("condition"),
      py::getter<Expression, &operand>("operand"),
  };
  def.methods = {set_latex_method()};
  return def;
}

}  // namespace

py::Ref make_sum(PyObject* m) {
  return py::function<&reduction<ReductionKind::Sum>, kSum>(
      m,
      "The sum of `operand` over `index`: an Element, a pair (Element, condition), or a sequence "
      "of those, the first outermost.");
}

py::Ref make_prod(PyObject* m) {
  return py::function<&reduction<ReductionKind::Prod>, kProd>(
      m,
      "The product of `operand` over `index`: an Element, a pair (Element, condition), or a "
      "sequence of those, the first outermost.");
}

py::ClassDef define_sum_op() {
  return reduction_class("SumOp", "A sum over an index; built by sum().");
}
py::ClassDef define_prod_op() {
  return reduction_class("ProdOp", "A product over an index; built by prod().");
}

}  // namespace vn::bind
