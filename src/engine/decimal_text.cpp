#include "engine/decimal_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>

namespace quorvel {

namespace {

constexpr std::size_t no_mark = std::string_view::npos;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool is_mark(char c, DecimalMarks marks) {
  switch (marks) {
    case DecimalMarks::point:
      return c == '.';
    case DecimalMarks::comma:
      return c == ',';
    case DecimalMarks::either:
      break;
  }
  return c == '.' || c == ',';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// Whether the whole text follows the grammar; `mark` is where its decimal mark stands.
bool follows_grammar(std::string_view text, const DecimalGrammar& grammar, std::size_t& mark) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  if (grammar.sign && i < n && (text[i] == '+' || text[i] == '-')) ++i;
  int mantissa_digits = 0;
  while (i < n && is_digit(text[i])) ++i, ++mantissa_digits;
  mark = no_mark;
  if (i < n && is_mark(text[i], grammar.marks)) {
    mark = i++;
    while (i < n && is_digit(text[i])) ++i, ++mantissa_digits;
  }
  if (mantissa_digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    int exponent_digits = 0;
    while (i < n && is_digit(text[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return i == n;
}

// Clinger's fast path, for the short decimals tallies are made of: at most 15 digits are an
// integer below 2^53, held exactly, and at most 15 of them after the mark make an exact power
// of ten to divide by; one IEEE division rounds the quotient correctly, which is the value
// from_chars gives, at a fraction of its cost. An exponent or more digits are left to
// from_chars. Only for double: a float got by rounding a double could round twice.
std::optional<double> by_one_division(const char* first, const char* last) {
  static constexpr double powers_of_ten[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int most_digits = 15;
  const bool negative = first != last && *first == '-';
  if (negative) ++first;
  std::uint64_t digits = 0;
  int count = 0;
  int after_mark = -1;  // digits after the point, once it is passed
  for (const char* p = first; p != last; ++p) {
    if (*p == '.') {
      after_mark = 0;
      continue;
    }
    if (!is_digit(*p) || ++count > most_digits) return std::nullopt;
    digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    if (after_mark >= 0) ++after_mark;
  }
  const double value = static_cast<double>(digits) / powers_of_ten[after_mark < 0 ? 0 : after_mark];
  return negative ? -value : value;
}

template <typename Number>
DecimalReading<Number> read_number(std::string_view text, const DecimalGrammar& grammar) {
  if (grammar.blanks) text = trimmed(text);
  if (text.empty()) return {0, DecimalFailure::empty};
  std::size_t mark = no_mark;
  if (!follows_grammar(text, grammar, mark)) return {0, DecimalFailure::not_a_number};
  // from_chars takes a leading '-' but no '+', and only the point as its mark.
  if (text.front() == '+') {
    text.remove_prefix(1);
    if (mark != no_mark) --mark;
  }
  char small[64];  // a decimal comma is turned into a point in a copy, on the stack if it fits
  std::string large;
  const char* first = text.data();
  if (mark != no_mark && text[mark] == ',') {
    char* copy = small;
    if (text.size() > sizeof small) copy = (large = std::string(text)).data();
    text.copy(copy, text.size());
    copy[mark] = '.';
    first = copy;
  }
  const char* last = first + text.size();
  if constexpr (std::is_same_v<Number, double>) {
    if (const std::optional<double> quick = by_one_division(first, last))
      return {*quick, DecimalFailure::none};
  }
  Number value{};
  const auto [end, error] = std::from_chars(first, last, value);
  if (error == std::errc::result_out_of_range) return {0, DecimalFailure::out_of_range};
  if (error != std::errc{} || end != last || !std::isfinite(value))
    return {0, DecimalFailure::not_a_number};
  return {value, DecimalFailure::none};
}

}  // namespace

DecimalReading<double> read_decimal(std::string_view text, DecimalGrammar grammar) {
  return read_number<double>(text, grammar);
}

DecimalReading<float> read_decimal_single(std::string_view text, DecimalGrammar grammar) {
  return read_number<float>(text, grammar);
}

}  // namespace quorvel
