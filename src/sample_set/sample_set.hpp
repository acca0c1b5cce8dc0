#pragma once

#include <span>
#include <vector>

#include "sample_set/evaluation.hpp"
#include "sample_set/record.hpp"
#include "sample_set/timing.hpp"

namespace vn {

// What a solver returned: the solutions, their evaluation and the timing. The free-form
// metadata that goes with them belongs to the caller's side.
struct SampleSet {
  Record record;
  Evaluation evaluation;
  MeasuringTime measuring_time;
  friend bool operator==(const SampleSet&, const SampleSet&) = default;
};

// The samples at the given increasing positions, with the timing copied.
SampleSet select(const SampleSet& samples, std::span<const size_t> positions);

// Sample i is feasible when its total violation v (summed over the constraints) satisfies
// |0 - v| <= atol + rtol * |v|; a NaN or infinite total is infeasible. With no constraint
// violations at all, every sample is feasible and none infeasible.
SampleSet feasible(const SampleSet& samples, double rtol, double atol);
SampleSet infeasible(const SampleSet& samples, double rtol, double atol);
// The feasible samples whose objective equals the least objective among them (NaN ignored),
// every tie kept. ValueError without constraint violations, or when the objective holds fewer
// values than the violations.
SampleSet lowest(const SampleSet& samples, double rtol, double atol);

// Two or more sample sets one after the other, in a sparse record. Sets without samples are
// passed over, whatever their format; the others must name the same decision variables, constraints
// and penalty terms, so that every sample keeps its own values.
SampleSet concatenate(std::span<const SampleSet* const> sets);

}  // namespace vn
