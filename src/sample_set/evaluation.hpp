#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

using Values = std::vector<double>;
using ValueMap = std::map<std::string, Values>;  // ordered by name

// The forall index tuples of one constraint: `rows` tuples of `columns` indices, row-major.
struct IndexTable {
  uint64_t rows = 0;
  uint64_t columns = 0;
  std::vector<int64_t> data;
  friend bool operator==(const IndexTable&, const IndexTable&) = default;
};
using IndexTables = std::map<std::string, IndexTable>;

// A model evaluated on every sample. Per sample are energy, objective, each array of
// constraint_violations and penalty, and each entry of constraint_values; constraint_forall
// is shared by all samples. An unset field is empty.
struct Evaluation {
  Values energy;
  Values objective;
  ValueMap constraint_violations;
  IndexTables constraint_forall;
  std::vector<ValueMap> constraint_values;
  ValueMap penalty;
  friend bool operator==(const Evaluation&, const Evaluation&) = default;
};

// The samples at the given increasing positions; rules as for records.
Evaluation select(const Evaluation& evaluation, std::span<const size_t> positions);

// Appends the samples of `more`; constraint_forall tables are merged by name and must agree.
void extend(Evaluation& into, const Evaluation& more);

// The element-wise sum of the violation arrays, in name order. ValueError when their
// lengths differ.
Values total_violation(const ValueMap& violations);

std::string to_text(const Evaluation& evaluation);
std::string to_json(const Evaluation& evaluation);
Evaluation evaluation_from_json(std::string_view text);

}  // namespace vn
