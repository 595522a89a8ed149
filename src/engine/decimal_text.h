#pragma once
// The one grammar of decimal numbers written as text, shared by the parameter fields and every
// reader of files: [sign] digits [mark digits] [e|E [sign] digits], with at least one digit
// before or after the mark. Nothing else: no thousands separators, no hex, no "nan" or "inf".
// Each caller says which decimal mark it takes, whether a sign may lead and whether blanks
// around the number are ignored. The value is the one std::from_chars gives for the same digits
// (the nearest double or float), so one text reads the same wherever it is written.

#include <string_view>

namespace quorvel {

enum class DecimalMarks { point, comma, either };

struct DecimalGrammar {
  DecimalMarks marks = DecimalMarks::point;
  bool sign = true;     // a leading '+' or '-'
  bool blanks = false;  // spaces and tabs before and after the number are ignored
};

enum class DecimalFailure {
  none,
  empty,         // nothing, or nothing but blanks where blanks are ignored
  not_a_number,  // anything the grammar does not take
  out_of_range,  // a number, but beyond what the type holds, too large or too small
};

template <typename Number>
struct DecimalReading {
  Number value = 0;
  DecimalFailure failure = DecimalFailure::none;
  explicit operator bool() const { return failure == DecimalFailure::none; }
};

DecimalReading<double> read_decimal(std::string_view text, DecimalGrammar grammar);
// Rounded once, from the decimal digits to the nearest float (never through a double).
DecimalReading<float> read_decimal_single(std::string_view text, DecimalGrammar grammar);

}  // namespace quorvel
