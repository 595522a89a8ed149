#include "engine/decimal_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace quorvel {
namespace {

constexpr DecimalGrammar file_numbers{.marks = DecimalMarks::point, .sign = true, .blanks = false};

// The double nearest each text, as a correctly rounding reader gives it: short decimals, the
// longest of them read exactly, and those with too many digits or an exponent.
TEST(DecimalText, EachTextGivesTheNearestDouble) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0.1", 0x1.999999999999ap-4},
      {"24.9", 0x1.8e66666666666p+4},
      {"19.94", 0x1.3f0a3d70a3d71p+4},
      {"2.675", 0x1.5666666666666p+1},
      {"1234567.891", 0x1.2d687e4189375p+20},
      {"99999999999999.9", 0x1.6bcc41e8ffffap+46},
      {"123456789012345", 0x1.c12218377de40p+46},
      {"0.000000000000001", 0x1.203af9ee75616p-50},  // fifteen digits after the point
      {"9007199254740993", 0x1.0000000000000p+53},   // sixteen digits: 2^53 + 1 rounds to even
      {"0.30000000000000004", 0x1.3333333333334p-2},
      {"1.", 1.0},
      {".5", 0.5},
      {"+2.5", 2.5},
      {"-.25", -0.25},
      {"00012.5000", 12.5},
      {"1e5", 100000.0},
      {"1.E-2", 0x1.47ae147ae147bp-7},
      {"5e-324", 0x0.0000000000001p-1022},
  };
  for (const auto& c : cases) {
    const DecimalReading<double> reading = read_decimal(c.text, file_numbers);
    ASSERT_TRUE(reading) << c.text;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(reading.value), std::bit_cast<std::uint64_t>(c.value))
        << c.text;
  }
  EXPECT_TRUE(std::signbit(read_decimal("-0", file_numbers).value));
  EXPECT_TRUE(std::signbit(read_decimal("-0.000", file_numbers).value));
  EXPECT_EQ(read_decimal("16,5", {.marks = DecimalMarks::comma}).value, 16.5);
}

// Any decimal of up to eighteen digits, the point anywhere or nowhere, either sign: the same
// bits as the standard library's correctly rounding reader.
TEST(DecimalText, ShortAndLongDecimalsAgreeWithTheStandardReaderBitForBit) {
  std::mt19937_64 random(20261207);
  for (int i = 0; i < 300000; ++i) {
    std::string text = random() % 4 == 0 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % 18);
    const int point = static_cast<int>(random() % (digits + 2)) - 1;  // -1: no point
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    if (point == digits) text += '.';
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const DecimalReading<double> reading = read_decimal(text, file_numbers);
    ASSERT_TRUE(reading) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(reading.value), std::bit_cast<std::uint64_t>(expected))
        << text;
  }
}

}  // namespace
}  // namespace quorvel
