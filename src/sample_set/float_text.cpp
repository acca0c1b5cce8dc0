#include "sample_set/float_text.hpp"

#include <charconv>
#include <cmath>

namespace vn {

namespace {

// The shortest decimal digits of a finite, non-zero magnitude and the position of the decimal
// point: value = 0.d1d2d3... * 10^point.
struct Digits {
  char text[24];
  int count = 0;
  int point = 0;
};

Digits shortest_digits(double magnitude) {
  char buffer[40];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
  (void)error;  // the buffer holds every double's scientific form
  Digits digits;
  const char* p = buffer;
  for (; p < end && *p != 'e'; ++p) {
    if (*p != '.') digits.text[digits.count++] = *p;
  }
  int exponent = 0;  // the buffer is not terminated: read only what to_chars wrote
  const char* sign = p + 1;
  std::from_chars(*sign == '+' ? sign + 1 : sign, end, exponent);
  digits.point = exponent + 1;  // "d.ddde+X" is 0.dddd * 10^(X+1)
  return digits;
}

void append_positional(std::string& out, const Digits& d, bool point_zero) {
  if (d.point <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-d.point), '0');
    out.append(d.text, static_cast<size_t>(d.count));
  } else if (d.point >= d.count) {
    out.append(d.text, static_cast<size_t>(d.count));
    out.append(static_cast<size_t>(d.point - d.count), '0');
    if (point_zero) out += ".0";
  } else {
    out.append(d.text, static_cast<size_t>(d.point));
    out += '.';
    out.append(d.text + d.point, static_cast<size_t>(d.count - d.point));
  }
}

// "1e16", "1.5e-7"; Python writes the exponent's sign and at least two digits ("1e+16").
void append_exponent(std::string& out, const Digits& d, bool python) {
  out += d.text[0];
  if (d.count > 1) {
    out += '.';
    out.append(d.text + 1, static_cast<size_t>(d.count - 1));
  }
  const int exponent = d.point - 1;
  out += 'e';
  if (exponent < 0) {
    out += '-';
  } else if (python) {
    out += '+';
  }
  const int magnitude = std::abs(exponent);
  if (python && magnitude < 10) out += '0';
  out += std::to_string(magnitude);
}

void append_non_finite(std::string& out, double value, FloatStyle style) {
  if (style == FloatStyle::Json) {
    out += "null";
  } else if (std::isnan(value)) {
    out += style == FloatStyle::Python ? "nan" : "NaN";
  } else {
    out += value < 0 ? "-inf" : "inf";
  }
}

}  // namespace

void append_float(std::string& out, double value, FloatStyle style) {
  if (!std::isfinite(value)) return append_non_finite(out, value, style);
  if (std::signbit(value)) out += '-';
  if (value == 0.0) {
    out += style == FloatStyle::Display ? "0" : "0.0";
    return;
  }
  const Digits d = shortest_digits(std::fabs(value));
  bool exponent = false;
  switch (style) {
    case FloatStyle::Json:
      exponent = !(-5 < d.point && d.point <= 16);
      break;
    case FloatStyle::Debug:
      exponent = d.point < -3 || d.point > 16;  // below 1e-4, or at least 1e16
      break;
    case FloatStyle::Display:
      break;
    case FloatStyle::Python:
      exponent = d.point < -3 || d.point > 16;
      break;
  }
  if (exponent) {
    append_exponent(out, d, style == FloatStyle::Python);
  } else {
    append_positional(out, d, style != FloatStyle::Display);
  }
}

}  // namespace vn
