#include "model/expression/operand/decision_var.hpp"
#include "model/error.hpp"

namespace vn {

namespace {

struct Nouns {
  const char* lower;
  const char* upper;
};

// How the dimension messages name each bounded kind; the upper-bound noun of semi-integer
// variables differs from its lower-bound noun.
Nouns nouns_of(DecisionVarKind kind) {
  switch (kind) {
    case DecisionVarKind::Integer:
      return {"an integer variable", "an integer variable"};
    case DecisionVarKind::Continuous:
      return {"a continuous variable", "a continuous variable"};
    case DecisionVarKind::SemiInteger:
      return {"a semi-integer variable", "a semi-integer integer variable"};
    case DecisionVarKind::SemiContinuous:
      return {"a semi-continuous variable", "a semi-continuous variable"};
    case DecisionVarKind::Binary:
      break;
  }
  return {"", ""};
}

void check_bound(const Expression& bound, uint64_t n, const char* which, const char* noun) {
  const uint64_t b = ndim(bound);
  if (b != 0 && b != n) {
    modeling_error(std::string("the number of dimensions of a ") + which +
                   " bound (= " + std::to_string(b) + ") must be equal to zero or the number of " +
                   noun + " (= " + std::to_string(n) + ")");
  }
}

}  // namespace

Expression make_decision_var(DecisionVarKind kind, std::string name, std::vector<Expression> shape,
                             Expression lower_bound, Expression upper_bound, OptText latex,
                             OptText description) {
  if (kind == DecisionVarKind::Binary) {
    lower_bound = number_lit(Number(int64_t{0}));
    upper_bound = number_lit(Number(int64_t{1}));
  } else {
    const Nouns nouns = nouns_of(kind);
    check_bound(lower_bound, shape.size(), "lower", nouns.lower);
    check_bound(upper_bound, shape.size(), "upper", nouns.upper);
  }
  return make_expression<DecisionVar>(std::move(lower_bound), std::move(upper_bound),
                                      std::move(name), std::move(shape), std::move(latex),
                                      std::move(description), kind);
}

}  // namespace vn
