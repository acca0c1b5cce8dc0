#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace vn {

// A sequence of runs of T of varying length, kept in one buffer. The per-sample data of a
// sample set live in these, so that selecting or appending samples moves runs with one copy
// each instead of allocating per sample. While every run has the same length (one variable's
// arrays of one shape, the usual case) no run boundaries are stored at all.
template <class T>
class Ragged {
 public:
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::span<const T> operator[](size_t i) const {
    return {items_.data() + begin_of(i), end_of(i) - begin_of(i)};
  }

  void reserve(size_t runs, size_t items) {
    if (!uniform_) ends_.reserve(runs);
    items_.reserve(items);
  }
  void push(std::span<const T> run) {
    items_.insert(items_.end(), run.begin(), run.end());
    close_run(run.size());
  }
  // Opens a run of n items for the caller to fill.
  T* push_uninitialized(size_t n) {
    items_.resize(items_.size() + n);
    close_run(n);
    return items_.data() + items_.size() - n;
  }
  void append(const Ragged& other) {
    reserve(count_ + other.count_, items_.size() + other.items_.size());
    for (size_t i = 0; i < other.size(); ++i) push(other[i]);
  }
  // The runs at the given positions, in that order; every position must be below size().
  Ragged select(std::span<const size_t> positions) const {
    Ragged kept;
    if (uniform_) {
      kept.items_.resize(positions.size() * length_);
      for (size_t k = 0; k < positions.size(); ++k) {
        copy_run((*this)[positions[k]], kept.items_.data() + k * length_);
      }
      kept.count_ = positions.size();
      kept.length_ = length_;
      return kept;
    }
    size_t total = 0;
    for (size_t i : positions) total += end_of(i) - begin_of(i);
    kept.reserve(positions.size(), total);
    for (size_t i : positions) kept.push((*this)[i]);
    return kept;
  }

  // Equal runs give equal members: whether boundaries are stored follows from the runs.
  friend bool operator==(const Ragged&, const Ragged&) = default;

 private:
  size_t begin_of(size_t i) const { return uniform_ ? i * length_ : (i == 0 ? 0 : ends_[i - 1]); }
  size_t end_of(size_t i) const { return uniform_ ? (i + 1) * length_ : ends_[i]; }

  void close_run(size_t length) {
    ++count_;
    if (!uniform_) {
      ends_.push_back(items_.size());
    } else if (count_ == 1) {
      length_ = length;
    } else if (length != length_) {  // the first run of another length: store the boundaries
      uniform_ = false;
      ends_.reserve(count_);
      for (size_t k = 1; k < count_; ++k) ends_.push_back(k * length_);
      ends_.push_back(items_.size());
      length_ = 0;
    }
  }

  // Runs are often a handful of items (one sample's small array, its shape): a call to memmove
  // per run would cost more than the copy.
  static void copy_run(std::span<const T> run, T* out) {
    if (run.size() > 4) {
      std::copy(run.begin(), run.end(), out);
      return;
    }
    for (size_t j = 0; j < run.size(); ++j) out[j] = run[j];
  }

  std::vector<T> items_;
  std::vector<size_t> ends_;  // where each run ends, once the runs differ in length
  size_t count_ = 0;
  size_t length_ = 0;  // the length of every run, while they are all alike
  bool uniform_ = true;
};

// The entries of a vector at the given positions.
template <class T>
std::vector<T> gather(const std::vector<T>& values, std::span<const size_t> positions) {
  std::vector<T> kept;
  kept.reserve(positions.size());
  for (size_t i : positions) kept.push_back(values[i]);
  return kept;
}

}  // namespace vn
