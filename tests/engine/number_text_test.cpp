#include "number_text.h"

#include <gtest/gtest.h>

#include "refusal.h"
#include "text_to_number.h"

namespace quorvel {
namespace {

TEST(GeneralNumberText, FifteenSignificantDigitsInTheGivenSeparator) {
  EXPECT_EQ(general_number_text(1.0 / 3, ','), "0,333333333333333");
  EXPECT_EQ(general_number_text(0.8804156167419418, ','), "0,880415616741942");
  EXPECT_EQ(general_number_text(0.8804156167419418, '.'), "0.880415616741942");
  EXPECT_EQ(general_number_text(2.0 / 3 * 1000, ','), "666,666666666667");
}

TEST(GeneralNumberText, WholeNumbersAndZerosHaveNoFraction) {
  EXPECT_EQ(general_number_text(0, ','), "0");
  EXPECT_EQ(general_number_text(-0.0, ','), "0");
  EXPECT_EQ(general_number_text(15, ','), "15");
  EXPECT_EQ(general_number_text(4345, ','), "4345");
  EXPECT_EQ(general_number_text(2.5, ','), "2,5");
  EXPECT_EQ(general_number_text(100.0 + 1e-13, ','), "100");  // rounds away at 15 digits
  EXPECT_EQ(general_number_text(999999999999999.0, '.'), "999999999999999");
}

TEST(GeneralNumberText, NegativesAndSmallValues) {
  EXPECT_EQ(general_number_text(-1.25, ','), "-1,25");
  EXPECT_EQ(general_number_text(0.00001234, '.'), "0.00001234");
  EXPECT_EQ(general_number_text(0.1, '.'), "0.1");
}

TEST(GeneralNumberText, ExponentFormOnlyAtExtremeMagnitudes) {
  EXPECT_EQ(general_number_text(1e15, ','), "1E+15");
  EXPECT_EQ(general_number_text(999999999999999.9, ','), "1E+15");  // rounding carries over
  EXPECT_EQ(general_number_text(1.5e20, ','), "1,5E+20");
  EXPECT_EQ(general_number_text(1e-6, ','), "1E-06");
  EXPECT_EQ(general_number_text(-2.5e-300, '.'), "-2.5E-300");
  EXPECT_EQ(general_number_text(1e300, '.'), "1E+300");
}

TEST(TextToInt16, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(text_to_int16("2,5"), 2);
  EXPECT_EQ(text_to_int16("3,5"), 4);
  EXPECT_EQ(text_to_int16("2.5"), 2);
  EXPECT_EQ(text_to_int16("-2,5"), -2);
  EXPECT_EQ(text_to_int16("-3,5"), -4);
  EXPECT_EQ(text_to_int16("2,51"), 3);
  EXPECT_EQ(text_to_int16(" 100 "), 100);
  EXPECT_EQ(text_to_int16("+7"), 7);
  EXPECT_EQ(text_to_int16("1e2"), 100);
}

TEST(TextToInt16, RangeIsSixteenBits) {
  EXPECT_EQ(text_to_int16("32767"), 32767);
  EXPECT_EQ(text_to_int16("-32768"), -32768);
  EXPECT_EQ(text_to_int16("-32768,5"), -32768);  // even neighbour stays in range
}

TEST(TextToSingle, RoundsOnceToSinglePrecision) {
  EXPECT_EQ(text_to_single("0,357"), 0.357f);
  EXPECT_EQ(static_cast<double>(text_to_single("0,357")), 0.3569999933242798);
  EXPECT_EQ(text_to_single("0,5"), 0.5f);
  EXPECT_EQ(text_to_single("0.5"), 0.5f);
  EXPECT_EQ(text_to_single(",5"), 0.5f);
  EXPECT_EQ(text_to_single("5,"), 5.0f);
}

// The problem a text is refused for, and that the refusal keeps the text; none when accepted.
template <typename Parse>
ValueProblem problem_of(Parse parse, const char* text) {
  try {
    parse(text);
    return ValueProblem::none;
  } catch (const Refused& refused) {
    EXPECT_EQ(refused.refusal().found, text);
    return refused.refusal().problem;
  }
}

TEST(TextToNumber, RefusesAnythingButOnePlainNumberSayingWhy) {
  using enum ValueProblem;
  const struct {
    const char* text;
    ValueProblem as_int16, as_single;
  } cases[] = {
      {"", empty, empty},
      {"   ", empty, empty},
      {"32767,5", outside_int16, none},
      {"40000", outside_int16, none},
      {"-32769", outside_int16, none},
      {"1e39", outside_int16, out_of_range},
      {"1e400", out_of_range, out_of_range},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(problem_of(text_to_int16, c.text), c.as_int16) << c.text;
    EXPECT_EQ(problem_of(text_to_single, c.text), c.as_single) << c.text;
  }
  for (const char* bad : {"abc", "1 000", "1.000,5", "1,2,3", "12abc", "nan", "inf", "-inf", "0x10",
                          "1e", "e5", ",", "-", "1..2", "1 2"}) {
    EXPECT_EQ(problem_of(text_to_single, bad), not_a_number) << bad;
    EXPECT_EQ(problem_of(text_to_int16, bad), not_a_number) << bad;
  }
}

}  // namespace
}  // namespace quorvel
