#pragma once

#include <string>

namespace vn {

// The texts a double is written in. Every style uses the shortest digits that read back to the
// same double; they differ in where the decimal point goes and how non-finite values look.
enum class FloatStyle {
  // JSON: "1.0", "0.00001", "1e16", "1.5e-7"; non-finite values as null.
  Json,
  // Debugging notation: "1.0", "2.5"; an exponent below 1e-4 (zero aside) and from 1e16 on
  // ("1e-7", "1e16"); "NaN", "inf", "-inf".
  Debug,
  // Positional, never an exponent, no ".0" on integral values: "1", "0.5", "0.0000001".
  Display,
  // Python's repr of a float: "1.0", "1e-05", "1e+16", "nan", "inf".
  Python,
};

void append_float(std::string& out, double value, FloatStyle style);

inline std::string float_text(double value, FloatStyle style) {
  std::string out;
  append_float(out, value, style);
  return out;
}

}  // namespace vn
