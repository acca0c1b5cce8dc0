#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sample_set/ragged.hpp"

namespace vn {

// The arrays one decision variable took in every sample: sample i holds data[i], its
// elements in row-major order, and shapes[i].
struct DenseSeries {
  Ragged<double> data;
  Ragged<uint64_t> shapes;

  size_t size() const { return data.size(); }
  void push(std::span<const double> elements, std::span<const uint64_t> shape) {
    data.push(elements);
    shapes.push(shape);
  }
  friend bool operator==(const DenseSeries&, const DenseSeries&) = default;
};

// One variable in one sample in coordinate form: the k-th value sits at the coordinates
// (axis(0)[k], axis(1)[k], ...). Every axis list holds one index per value.
struct CooEntry {
  size_t axes;
  std::span<const uint64_t> indices;  // the axis lists one after the other
  std::span<const double> values;
  std::span<const uint64_t> shape;

  std::span<const uint64_t> axis(size_t a) const {
    return indices.subspan(a * values.size(), values.size());
  }
};

// The coordinate forms one decision variable took in every sample.
struct CooSeries {
  Ragged<uint64_t> indices;
  std::vector<size_t> axes;  // the number of index lists, which an empty entry cannot tell
  Ragged<double> values;
  Ragged<uint64_t> shapes;

  size_t size() const { return values.size(); }
  CooEntry operator[](size_t i) const { return {axes[i], indices[i], values[i], shapes[i]}; }
  void push(const CooEntry& entry) {
    indices.push(entry.indices);
    axes.push_back(entry.axes);
    values.push(entry.values);
    shapes.push(entry.shape);
  }
  friend bool operator==(const CooSeries&, const CooSeries&) = default;
};

// Both maps are ordered by variable name, which fixes the order of every output.
using DenseSolution = std::map<std::string, DenseSeries>;
using SparseSolution = std::map<std::string, CooSeries>;
using Solution = std::variant<DenseSolution, SparseSolution>;

// The solutions a solver returned and how often each was seen. Sample i is entry i of every
// variable's series and of num_occurrences; the lengths are not checked against each other.
struct Record {
  Solution solution;
  std::vector<int64_t> num_occurrences;

  bool is_dense() const { return solution.index() == 0; }
  friend bool operator==(const Record&, const Record&) = default;
};

// The most elements the dense arrays made by one conversion from coordinate form may hold
// together (2 GiB of doubles): the shapes come from outside, and a few bytes of input must not
// be able to claim the machine's memory.
inline constexpr uint64_t kMaxDenseElements = uint64_t{1} << 28;

// Raises IndexError when a coordinate lies outside its shape, ValueError when the shapes hold
// more elements than a conversion may allocate; both before allocating anything.
Record to_dense(const Record& record);
Record to_sparse(const Record& record);

// The samples at the given increasing positions. A per-sample list that is empty stays empty;
// one too short for a position raises ValueError.
Record select(const Record& record, std::span<const size_t> positions);

// Appends the samples of `more` to the sparse record `into`.
void extend(Record& into, const Record& more);

// The number of elements of a shape, or nothing when it does not fit in 64 bits.
std::optional<uint64_t> element_count(std::span<const uint64_t> shape);

std::string to_text(const Record& record);
std::string to_json(const Record& record);
Record record_from_json(std::string_view text);

// "[2, 3]": how shapes and coordinates appear in messages.
std::string bracketed(std::span<const uint64_t> values);

}  // namespace vn
