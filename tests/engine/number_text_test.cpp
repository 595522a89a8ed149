#include "number_text.h"

#include <gtest/gtest.h>

#include "input_error.h"
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
  EXPECT_THROW(text_to_int16("32767,5"), InputError);
  EXPECT_THROW(text_to_int16("40000"), InputError);
  EXPECT_THROW(text_to_int16("-32769"), InputError);
  EXPECT_THROW(text_to_int16("1e400"), InputError);
}

TEST(TextToSingle, RoundsOnceToSinglePrecision) {
  EXPECT_EQ(text_to_single("0,357"), 0.357f);
  EXPECT_EQ(static_cast<double>(text_to_single("0,357")), 0.3569999933242798);
  EXPECT_EQ(text_to_single("0,5"), 0.5f);
  EXPECT_EQ(text_to_single("0.5"), 0.5f);
  EXPECT_EQ(text_to_single(",5"), 0.5f);
  EXPECT_EQ(text_to_single("5,"), 5.0f);
  EXPECT_THROW(text_to_single("1e39"), InputError);
}

TEST(TextToNumber, RefusesAnythingButOnePlainNumber) {
  for (const char* bad : {"", "   ", "abc", "1 000", "1.000,5", "1,2,3", "12abc", "nan", "inf",
                          "-inf", "0x10", "1e", "e5", ",", "-", "1..2", "1 2"}) {
    EXPECT_THROW(text_to_single(bad), InputError) << bad;
    EXPECT_THROW(text_to_int16(bad), InputError) << bad;
  }
}

TEST(TextToNumber, MessagesSayWhatIsWrong) {
  try {
    text_to_int16("");
    FAIL();
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "is empty");
  }
  try {
    text_to_int16("40000");
    FAIL();
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "is outside -32768..32767");
  }
}

}  // namespace
}  // namespace quorvel
