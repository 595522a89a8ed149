#include "engine/text_to_number.h"

#include <cmath>
#include <string>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/refusal.h"

namespace quorvel {

namespace {

// Either mark, since the defaults are written with the comma and a point locale must not
// break them; blanks around the number are the typist's, not part of it.
constexpr DecimalGrammar field_grammar{.marks = DecimalMarks::either, .sign = true, .blanks = true};

// The parameter is the caller's to name.
[[noreturn]] void refuse(ValueProblem problem, std::string_view text) {
  throw Refused(
      {.kind = RefusalKind::parameter_not_valid, .found = std::string(text), .problem = problem});
}

template <typename Number>
Number value_or_refusal(DecimalReading<Number> reading, std::string_view text) {
  switch (reading.failure) {
    case DecimalFailure::none:
      return reading.value;
    case DecimalFailure::empty:
      refuse(ValueProblem::empty, text);
    case DecimalFailure::out_of_range:
      refuse(ValueProblem::out_of_range, text);
    case DecimalFailure::not_a_number:
      break;
  }
  refuse(ValueProblem::not_a_number, text);
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

// "1,000" or "2.500": a thousands separator as often as a decimal mark, and in a whole number
// the two readings differ a thousandfold.
bool looks_like_digit_group(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  const std::size_t mark = text.find_last_of(",.");
  if (mark == std::string_view::npos || mark == 0 || text.size() - mark != 4) return false;
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return digit(text[mark - 1]) && digit(text[mark + 1]) && digit(text[mark + 2]) &&
         digit(text[mark + 3]);
}

}  // namespace

std::int16_t text_to_int16(std::string_view text) {
  if (looks_like_digit_group(text)) refuse(ValueProblem::digit_group, text);
  const double rounded = round_half_even(value_or_refusal(read_decimal(text, field_grammar), text));
  if (rounded < -32768 || rounded > 32767) refuse(ValueProblem::outside_int16, text);
  return static_cast<std::int16_t>(rounded);
}

float text_to_single(std::string_view text) {
  return value_or_refusal(read_decimal_single(text, field_grammar), text);
}

}  // namespace quorvel
