#pragma once

#include <cmath>
#include <cstdint>

namespace vn {

// The value of a number literal: a signed 64-bit integer or a double. Integer arithmetic wraps
// around like two's complement; mixing in a double turns the result into a double.
class Number {
 public:
  constexpr Number() : is_integer_(true), integer_(0) {}
  constexpr Number(int64_t v) : is_integer_(true), integer_(v) {}
  constexpr Number(double v) : is_integer_(false), real_(v) {}
  Number(int v) = delete;  // say int64_t or double

  bool is_integer() const { return is_integer_; }
  int64_t integer() const { return integer_; }
  double real() const { return real_; }
  double as_double() const { return is_integer_ ? static_cast<double>(integer_) : real_; }

  bool is_zero() const { return is_integer_ ? integer_ == 0 : real_ == 0.0; }
  bool is_one() const { return is_integer_ ? integer_ == 1 : real_ == 1.0; }
  bool is_minus_one() const { return is_integer_ ? integer_ == -1 : real_ == -1.0; }
  // Negative means below zero for integers and a set sign bit for doubles (-0.0 and -NaN too).
  bool is_negative() const { return is_integer_ ? integer_ < 0 : std::signbit(real_); }
  bool is_positive() const {
    return is_integer_ ? integer_ > 0 : real_ != 0.0 && !std::signbit(real_);
  }

  friend Number operator+(Number a, Number b) {
    if (a.is_integer_ && b.is_integer_) return Number(wrap(uint64(a) + uint64(b)));
    return Number(a.as_double() + b.as_double());
  }
  friend Number operator-(Number a, Number b) {
    if (a.is_integer_ && b.is_integer_) return Number(wrap(uint64(a) - uint64(b)));
    return Number(a.as_double() - b.as_double());
  }
  friend Number operator*(Number a, Number b) {
    if (a.is_integer_ && b.is_integer_) return Number(wrap(uint64(a) * uint64(b)));
    return Number(a.as_double() * b.as_double());
  }
  Number operator-() const {
    return is_integer_ ? Number(wrap(0 - uint64(*this))) : Number(-real_);
  }

  // Numeric equality: 3 and 3.0 are equal; NaN equals nothing.
  friend bool numerically_equal(Number a, Number b) {
    if (a.is_integer_ && b.is_integer_) return a.integer_ == b.integer_;
    return a.as_double() == b.as_double();
  }
  friend bool numerically_less(Number a, Number b) {
    if (a.is_integer_ && b.is_integer_) return a.integer_ < b.integer_;
    return a.as_double() < b.as_double();
  }

 private:
  static uint64_t uint64(Number n) { return static_cast<uint64_t>(n.integer_); }
  static int64_t wrap(uint64_t v) { return static_cast<int64_t>(v); }

  bool is_integer_;
  union {
    int64_t integer_;
    double real_;
  };
};

}  // namespace vn
