#include "engine/text_to_number.h"

#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "engine/refusal.h"

namespace quorvel {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// [sign] digits [separator digits] [e [sign] digits], with at least one mantissa digit and
// either separator; returned with a period as separator and without a leading "+", ready for
// from_chars. Empty when the text is not such a number.
std::string plain_decimal(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out.push_back('-');
    ++i;
  }
  int mantissa_digits = 0;
  while (i < text.size() && is_digit(text[i])) out.push_back(text[i++]), ++mantissa_digits;
  if (i < text.size() && (text[i] == ',' || text[i] == '.')) {
    out.push_back('.');
    ++i;
    while (i < text.size() && is_digit(text[i])) out.push_back(text[i++]), ++mantissa_digits;
  }
  if (mantissa_digits == 0) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    out.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out.push_back(text[i++]);
    int exponent_digits = 0;
    while (i < text.size() && is_digit(text[i])) out.push_back(text[i++]), ++exponent_digits;
    if (exponent_digits == 0) return {};
  }
  return i == text.size() ? out : std::string{};
}

// The parameter is the caller's to name.
[[noreturn]] void refuse(ValueProblem problem, std::string_view text) {
  throw Refused(
      {.kind = RefusalKind::parameter_not_valid, .found = std::string(text), .problem = problem});
}

template <typename Number>
Number parse_decimal(std::string_view text) {
  const std::string_view body = trimmed(text);
  if (body.empty()) refuse(ValueProblem::empty, text);
  const std::string decimal = plain_decimal(body);
  if (decimal.empty()) refuse(ValueProblem::not_a_number, text);
  Number value{};
  const auto [end, error] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  if (error == std::errc::result_out_of_range) refuse(ValueProblem::out_of_range, text);
  if (error != std::errc{} || end != decimal.data() + decimal.size() || !std::isfinite(value))
    refuse(ValueProblem::not_a_number, text);
  return value;
}

// Nearest integer, a value exactly half-way going to the even neighbour, whatever the
// floating-point environment's rounding mode.
double round_half_even(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

}  // namespace

std::int16_t text_to_int16(std::string_view text) {
  const double rounded = round_half_even(parse_decimal<double>(text));
  if (rounded < -32768 || rounded > 32767) refuse(ValueProblem::outside_int16, text);
  return static_cast<std::int16_t>(rounded);
}

float text_to_single(std::string_view text) { return parse_decimal<float>(text); }

}  // namespace quorvel
