#include "engine/decimal_text.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

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
