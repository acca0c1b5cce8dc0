#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace vn {

// A sequence of runs of T of varying length, kept in one buffer. The per-sample data of a
// sample set live in these, so that selecting or appending samples moves runs with one copy
// each instead of allocating per sample.
template <class T>
class Ragged {
 public:
  size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  size_t begin_of(size_t i) const { return i == 0 ? 0 : ends_[i - 1]; }
  std::span<const T> operator[](size_t i) const {
    return {items_.data() + begin_of(i), ends_[i] - begin_of(i)};
  }
  const std::vector<T>& items() const { return items_; }

  void reserve(size_t runs, size_t items) {
    ends_.reserve(runs);
    items_.reserve(items);
  }
  void push(std::span<const T> run) {
    items_.insert(items_.end(), run.begin(), run.end());
    ends_.push_back(items_.size());
  }
  // Opens a run of n items for the caller to fill.
  T* push_uninitialized(size_t n) {
    items_.resize(items_.size() + n);
    ends_.push_back(items_.size());
    return items_.data() + items_.size() - n;
  }
  void append(const Ragged& other) {
    const size_t base = items_.size();
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    for (size_t end : other.ends_) ends_.push_back(base + end);
  }
  // The runs at the given positions, in that order; every position must be below size().
  Ragged select(std::span<const size_t> positions) const {
    Ragged kept;
    size_t total = 0;
    for (size_t i : positions) total += ends_[i] - begin_of(i);
    kept.items_.resize(total);
    kept.ends_.resize(positions.size());
    T* out = kept.items_.data();
    size_t end = 0;
    for (size_t k = 0; k < positions.size(); ++k) {
      const std::span<const T> run = (*this)[positions[k]];
      std::copy(run.begin(), run.end(), out + end);
      end += run.size();
      kept.ends_[k] = end;
    }
    return kept;
  }

  friend bool operator==(const Ragged&, const Ragged&) = default;

 private:
  std::vector<T> items_;
  std::vector<size_t> ends_;
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
