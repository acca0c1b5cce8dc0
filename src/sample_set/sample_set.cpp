#include "sample_set/sample_set.hpp"

#include <cmath>
#include <limits>

#include "model/error.hpp"

namespace vn {

SampleSet select(const SampleSet& samples, std::span<const size_t> positions) {
  return {select(samples.record, positions), select(samples.evaluation, positions),
          samples.measuring_time};
}

namespace {

std::vector<size_t> positions_where(const Values& total, double rtol, double atol,
                                    bool want_feasible) {
  // Every position is written and the count advanced only for kept ones: no branch to
  // mispredict when feasible and infeasible samples alternate.
  std::vector<size_t> kept(total.size());
  size_t count = 0;
  for (size_t i = 0; i < total.size(); ++i) {
    const double v = total[i];
    // NaN fails the comparison; an infinite total would pass it whenever rtol > 0.
    const bool is_feasible = std::isfinite(v) & (std::fabs(0.0 - v) <= atol + rtol * std::fabs(v));
    kept[count] = i;
    count += is_feasible == want_feasible;
  }
  kept.resize(count);
  return kept;
}

}  // namespace

SampleSet feasible(const SampleSet& samples, double rtol, double atol) {
  if (samples.evaluation.constraint_violations.empty()) return samples;
  const Values total = total_violation(samples.evaluation.constraint_violations);
  return select(samples, positions_where(total, rtol, atol, true));
}

SampleSet infeasible(const SampleSet& samples, double rtol, double atol) {
  if (samples.evaluation.constraint_violations.empty()) return select(samples, {});
  const Values total = total_violation(samples.evaluation.constraint_violations);
  return select(samples, positions_where(total, rtol, atol, false));
}

SampleSet lowest(const SampleSet& samples, double rtol, double atol) {
  const Evaluation& evaluation = samples.evaluation;
  if (evaluation.constraint_violations.empty()) {
    fail(ErrorKind::Value, "constraint violation is empty");
  }
  const Values total = total_violation(evaluation.constraint_violations);
  if (evaluation.objective.size() < total.size()) {
    fail(ErrorKind::Value, "the objective holds " + std::to_string(evaluation.objective.size()) +
                               " values but the constraint violations hold " +
                               std::to_string(total.size()));
  }
  const std::vector<size_t> feasible = positions_where(total, rtol, atol, true);
  double least = std::numeric_limits<double>::infinity();
  for (size_t i : feasible) {
    if (evaluation.objective[i] < least) least = evaluation.objective[i];  // NaN never is
  }
  std::vector<size_t> kept;
  for (size_t i : feasible) {
    if (evaluation.objective[i] == least) kept.push_back(i);
  }
  return select(samples, kept);
}

namespace {

template <class Map>
std::string names_of(const Map& map) {
  std::string names;
  for (const auto& entry : map) names += (names.empty() ? "" : ", ") + entry.first;
  return "[" + names + "]";
}

template <class Map>
void require_same_names(const Map& first, const Map& other, const char* what) {
  bool same = first.size() == other.size();
  for (auto a = first.begin(), b = other.begin(); same && a != first.end(); ++a, ++b) {
    same = a->first == b->first;
  }
  if (!same) {
    fail(ErrorKind::Value, std::string("cannot concatenate sample sets with different ") + what +
                               ": " + names_of(first) + " and " + names_of(other));
  }
}

size_t sample_count(const SampleSet& set) { return set.record.num_occurrences.size(); }

}  // namespace

SampleSet concatenate(std::span<const SampleSet* const> sets) {
  SampleSet merged;
  merged.record.solution = SparseSolution{};
  const SampleSet* first = nullptr;  // the first set that holds samples
  for (const SampleSet* set : sets) {
    if (sample_count(*set) == 0) continue;  // nothing to line up, whatever its format
    extend(merged.record, set->record);     // refuses a dense record
    if (first) {
      require_same_names(std::get<SparseSolution>(first->record.solution),
                         std::get<SparseSolution>(set->record.solution), "decision variables");
      require_same_names(first->evaluation.constraint_violations,
                         set->evaluation.constraint_violations, "constraints");
      require_same_names(first->evaluation.penalty, set->evaluation.penalty, "penalty terms");
    } else {
      first = set;
    }
    extend(merged.evaluation, set->evaluation);
  }
  return merged;
}

}  // namespace vn
