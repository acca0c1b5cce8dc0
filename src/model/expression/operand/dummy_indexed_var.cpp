#include "model/expression/operand/dummy_indexed_var.hpp"

#include "model/error.hpp"
#include "model/expression/operand/element.hpp"
#include "model/expression/operand/subscript.hpp"
#include "model/expression/operator/reduction_op/reduction_op.hpp"
#include "print/renderer.hpp"

namespace vn {

Expression make_dummy_element(const DecisionVar& variable, size_t k, Expression start,
                              Expression stop) {
  const std::string position = std::to_string(k);
  return make_element("__dummy_" + variable.name + "_" + position,
                      make_range(std::move(start), std::move(stop)),
                      OptText("\\ast_{" + position + "}"),
                      OptText("dummy index at " + position + " for " + variable.name));
}

Expression reduce(const DummyIndexedVar& var, ReductionKind kind) {
  if (ndim(var.variable) == 0) raise_not_subscriptable(var.variable);
  Expression subscript = make_subscript(var.variable, var.subscripts);
  if (ndim(subscript) != 0) raise_not_scalar(subscript);
  std::vector<ReductionIndex> indices;
  for (const Expression& dummy : var.dummy_indices) indices.push_back({dummy, Condition()});
  return make_reduction(kind, indices, std::move(subscript));
}

}  // namespace vn
