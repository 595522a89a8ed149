#include "engine/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quorvel {

namespace {

// The fifteen significant digits of a finite non-zero magnitude, rounded once, and its
// decimal exponent (value = d.dddd x 10^exponent).
struct DecimalDigits {
  std::string digits;  // trailing zeros removed, at least one digit
  int exponent = 0;
};

DecimalDigits fifteen_digits(double magnitude) {
  char buffer[40];
  // d.ddddddddddddddde+XX, rounded once to fifteen significant digits, whatever the locale.
  const auto end = std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude,
                                 std::chars_format::scientific, 14)
                       .ptr;
  *end = '\0';
  DecimalDigits d;
  d.digits.push_back(buffer[0]);
  const char* p = buffer + 2;
  while (*p != 'e') d.digits.push_back(*p++);
  d.exponent = std::atoi(p + 1);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

std::string positional(const DecimalDigits& d, char separator) {
  std::string out;
  if (d.exponent >= 0) {
    const std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
    out = d.digits.substr(0, whole);
    if (out.size() < whole) out.append(whole - out.size(), '0');
    if (d.digits.size() > whole) out += separator + d.digits.substr(whole);
  } else {
    out = "0";
    out += separator;
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out += d.digits;
  }
  return out;
}

std::string exponent_form(const DecimalDigits& d, char separator) {
  std::string out(1, d.digits[0]);
  if (d.digits.size() > 1) out += separator + d.digits.substr(1);
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "E%c%02d", d.exponent < 0 ? '-' : '+',
                std::abs(d.exponent));
  return out + exponent;
}

}  // namespace

std::string general_number_text(double value, char decimal_separator) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  if (value == 0) return "0";  // also for -0
  const DecimalDigits d = fifteen_digits(std::fabs(value));
  const bool plain = d.exponent >= -5 && d.exponent < 15;
  const std::string body =
      plain ? positional(d, decimal_separator) : exponent_form(d, decimal_separator);
  return value < 0 ? "-" + body : body;
}

}  // namespace quorvel
