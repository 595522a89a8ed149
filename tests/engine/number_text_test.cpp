#include "engine/number_text.h"

#include <gtest/gtest.h>

#include "engine/refusal.h"
#include "engine/text_to_number.h"

namespace quorvel {
namespace {

TEST(GeneralNumberText, FifteenSignificantDigitsExponentOnlyAtTheExtremes) {
  const struct {
    double value;
    char separator;
    const char* text;
  } cases[] = {
      {1.0 / 3, ',', "0,333333333333333"},
      {0.8804156167419418, ',', "0,880415616741942"},
      {0.8804156167419418, '.', "0.880415616741942"},
      {2.0 / 3 * 1000, ',', "666,666666666667"},
      // Whole numbers and zeros without a fraction.
      {0, ',', "0"},
      {-0.0, ',', "0"},
      {4345, ',', "4345"},
      {2.5, ',', "2,5"},
      {100.0 + 1e-13, ',', "100"},  // rounds away at 15 digits
      {999999999999999.0, '.', "999999999999999"},
      {-1.25, ',', "-1,25"},
      {0.00001234, '.', "0.00001234"},
      {0.1, '.', "0.1"},
      {1e15, ',', "1E+15"},
      {999999999999999.9, ',', "1E+15"},  // rounding carries over
      {1.5e20, ',', "1,5E+20"},
      {1e-6, ',', "1E-06"},
      {-2.5e-300, '.', "-2.5E-300"},
      {1e300, '.', "1E+300"},
  };
  for (const auto& c : cases) EXPECT_EQ(general_number_text(c.value, c.separator), c.text);
}

TEST(TextToNumber, WholeNumbersGoHalvesToTheEvenNeighbourSinglesRoundOnce) {
  const std::pair<const char*, int>
      whole[] = {{"2,5", 2},         {"3,5", 4},          {"2.5", 2},     {"-2,5", -2},
                 {"-3,5", -4},       {"2,51", 3},         {" 100 ", 100}, {"+7", 7},
                 {"1e2", 100},       {"32767", 32767},    {"+2,5", 2},    {"\t-3,5e0 ", -4},
                 {"-32768", -32768}, {"-32768,5", -32768} /* the even neighbour stays in range */};
  for (const auto& [text, value] : whole) EXPECT_EQ(text_to_int16(text), value) << text;
  // Longer than a number usually is: its comma turned into a point in a copy on the heap.
  EXPECT_EQ(text_to_int16("-1," + std::string(70, '0')), -1);
  EXPECT_EQ(static_cast<double>(text_to_single("0,357")), 0.3569999933242798);
  for (const char* half : {"0,5", "0.5", ",5"}) EXPECT_EQ(text_to_single(half), 0.5f) << half;
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
      // A mark before three digits may separate thousands: ambiguous in a whole number only.
      {"1,000", digit_group, none},
      {" -2.500 ", digit_group, none},
      {"1,0000", none, none},
      {"12,50", none, none},
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
