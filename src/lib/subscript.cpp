#include "model/expression/operand/subscript.hpp"

#include "lib/conversion.hpp"
#include "lib/definitions.hpp"
#include "lib/expression_class.hpp"
#include "lib/expression_object.hpp"
#include "lib/operand_members.hpp"
#include "lib/py/convert.hpp"
#include "model/error.hpp"
#include "model/expression/operand/array_length.hpp"
#include "model/expression/operand/dummy_indexed_var.hpp"
#include "print/renderer.hpp"

namespace vn::bind {

namespace {

// `a[index]` on a Placeholder, Element or Subscript.
PyObject* subscript_array(PyObject* self, PyObject* index) {
  return py::guard([&] {
    const Expression& variable = py::value_of<Expression>(self);
    if (ndim(variable) == 0) {
      try {
        raise_not_subscriptable(variable);
      } catch (const Error& error) {
        py::raise(PyExc_TypeError, std::string("ModelingError: ") + error.what());
      }
    }
    std::vector<Expression> subscripts;
    if (std::optional<Expression> single = try_expression(index)) {
      subscripts.push_back(*single);  // a single subscript is taken as it is
    } else {
      py::Sequence items = sequence_items(index, "subscripts");
      for (Py_ssize_t i = 0; i < items.size(); ++i) {
        subscripts.push_back(to_expression(items[i]));
      }
      check_subscript_list(subscripts);
    }
    try {
      return wrap(make_subscript(variable, std::move(subscripts)));
    } catch (const Error& error) {
      py::raise(PyExc_IndexError, std::string("ModelingError: ") + error.what());
    }
  });
}

// One item of a decision variable's index: a slice, or a scalar expression.
struct IndexItem {
  py::Ref slice;  // owned: a sequence read through a temporary list may hold the only reference
  Expression expression;
};

// An index that is not a single expression, as items: a slice, or a sequence of slices and
// expressions. Nothing when it is neither.
std::optional<std::vector<IndexItem>> index_items(PyObject* index) {
  std::vector<IndexItem> result(1);
  if (PySlice_Check(index)) {
    result[0].slice = py::Ref::borrow(index);
    return result;
  }
  if (!sequence_problem(index, "subscripts").empty()) return std::nullopt;
  std::optional<py::Sequence> items;
  try {
    items.emplace(index);
  } catch (const py::ErrorAlreadySet&) {
    return std::nullopt;  // the caller reports the index itself
  }
  result.clear();
  for (Py_ssize_t i = 0; i < items->size(); ++i) {
    PyObject* item = (*items)[i];
    if (PySlice_Check(item)) {
      result.push_back({py::Ref::borrow(item), {}});
    } else if (std::optional<Expression> e = try_expression(item)) {
      result.push_back({py::Ref(), *e});
    } else {
      return std::nullopt;
    }
  }
  return result;
}

std::optional<Expression> slice_part(PyObject* slice, const char* attribute) {
  py::Ref value = py::check(PyObject_GetAttrString(slice, attribute));
  if (value.get() == Py_None) return std::nullopt;
  return to_expression(value.get());
}

DummyIndexedVar dummy_indexed(const Expression& variable, const std::vector<IndexItem>& items) {
  const DecisionVar& var = variable.as<DecisionVar>();
  DummyIndexedVar result{variable, {}, {}};
  for (size_t k = 0; k < items.size(); ++k) {
    if (!items[k].slice) {
      result.subscripts.push_back(items[k].expression);
      continue;
    }
    std::optional<Expression> start = slice_part(items[k].slice.get(), "start");
    std::optional<Expression> stop = slice_part(items[k].slice.get(), "stop");
    std::optional<Expression> step = slice_part(items[k].slice.get(), "step");
    if (!stop) {
      if (k >= var.shape.size()) {
        modeling_error("the " + std::to_string(k) + "-th subscript of the " + kind_text(var.kind) +
                       "Var named '" + var.name +
                       "' is a slice without a stop, but the variable has no axis " +
                       std::to_string(k) + " to take it from");
      }
      stop = var.shape[k];
    }
    if (step) {
      modeling_error("The " + std::to_string(k) + "-th subscript of the " + kind_text(var.kind) +
                     "Var named '" + var.name + "' uses a slice with a step `" +
                     render_root(*step, RenderMode::Str) +
                     "`. However, the slice with a step is not supported.");
    }
    Expression dummy =
        make_dummy_element(var, k, start ? *start : number_lit(Number(int64_t{0})), *stop);
    result.dummy_indices.push_back(dummy);
    result.subscripts.push_back(dummy);
  }
  check_subscript_list(result.subscripts);
  return result;
}

// `x[index]` on a decision variable: slices make a DummyIndexedVar.
PyObject* subscript_decision_var(PyObject* self, PyObject* index) {
  return py::guard([&]() -> py::Ref {
    const Expression& variable = py::value_of<Expression>(self);
    if (std::optional<Expression> single = try_expression(index)) {  // x[i], the common case
      if (ndim(variable) == 0) raise_not_subscriptable(variable);
      std::vector<Expression> subscripts = {std::move(*single)};
      check_subscript_list(subscripts);
      return wrap(make_subscript(variable, std::move(subscripts)));
    }
    std::optional<std::vector<IndexItem>> items = index_items(index);
    if (!items) {
      PyErr_Clear();
      py::Ref text = py::check(PyObject_Repr(index));
      PyErr_Format(PyExc_IndexError, "Invalid index: %U", text.get());
      throw py::ErrorAlreadySet{};
    }
    for (const IndexItem& item : *items) {
      if (item.slice) {
        return py::new_object(class_type(ClassId::DummyIndexedVar),
                              dummy_indexed(variable, *items));
      }
    }
    if (ndim(variable) == 0) raise_not_subscriptable(variable);
    std::vector<Expression> subscripts;
    for (IndexItem& item : *items) subscripts.push_back(std::move(item.expression));
    check_subscript_list(subscripts);
    return wrap(make_subscript(variable, std::move(subscripts)));
  });
}

const Subscript& record(const Expression& e) { return e.as<Subscript>(); }

py::Ref variable(const Expression& e) { return wrap(record(e).variable); }
py::Ref ndim_of(const Expression& e) { return py::from_count(record(e).ndim); }
py::Ref subscripts(const Expression& e) {
  const ExpressionList& items = record(e).subscripts;
  return py::list_of(items.size(), [&](size_t i) { return wrap(items[i]); });
}

// A subscripted decision variable keeps the remaining axes of the variable's own shape; any
// other array is measured with ArrayLength.
py::Ref shape(const Expression& e) {
  const Subscript& s = record(e);
  return py::tuple_of(s.ndim, [&](size_t axis) {
    return wrap(s.variable.is<DecisionVar>()
                    ? s.variable.as<DecisionVar>().shape[s.subscripts.size() + axis]
                    : make_array_length(e, axis, {}, {}));
  });
}

template <ReductionKind Kind>
py::Ref reduce_slices(PyObject* self, const py::Args&) {
  return wrap(reduce(py::value_of<DummyIndexedVar>(self), Kind));
}

const py::Signature kSum("sum", {});
const py::Signature kProd("prod", {});

}  // namespace

PyType_Slot array_subscript_slot() {
  return {Py_mp_subscript, reinterpret_cast<void*>(&subscript_array)};
}

PyType_Slot decision_var_subscript_slot() {
  return {Py_mp_subscript, reinterpret_cast<void*>(&subscript_decision_var)};
}

py::ClassDef define_subscript() {
  py::ClassDef def = expression_class("Subscript");
  def.doc =
      "A subscripted Placeholder, Element or decision variable; an array while subscripts "
      "remain to be given.";
  def.getters = {
      py::getter<Expression, &variable>("variable"),
      py::getter<Expression, &subscripts>("subscripts"),
      py::getter<Expression, &ndim_of>("ndim"),
      py::getter<Expression, &shape>("shape"),
  };
  def.methods = {len_at_method()};
  def.slots.push_back(array_subscript_slot());
  return def;
}

py::ClassDef define_dummy_indexed_var() {
  py::ClassDef def = py::class_of<DummyIndexedVar>("DummyIndexedVar");
  def.doc = "A decision variable subscripted with slices; use its sum() or prod().";
  def.methods = {
      py::method<&reduce_slices<ReductionKind::Sum>, kSum>(
          "The sum over the sliced axes, the first slice outermost."),
      py::method<&reduce_slices<ReductionKind::Prod>, kProd>(
          "The product over the sliced axes, the first slice outermost."),
  };
  return def;
}

}  // namespace vn::bind
