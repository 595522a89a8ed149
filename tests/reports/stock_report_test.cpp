#include "reports/stock_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quorvel {
namespace {

// "Species" from column 3, "Stage=" from column 15, and the stage numbers as number items
// (sign blank, digit, blank) from the zone starts 29, 43, 57, 71 and 85.
const std::string header =
    "  Species     Stage=         1             2             3             4             5 \r\n";

std::string with_points(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

TEST(StockReport, SinglePieceWorkedExampleInBothSeparators) {
  // One record "S",20,20,10,1 with the default fields; the empty cells show a single 0.
  Model1Result model1;
  model1.model1_carbon.at(1, 1) = 0.8804156167419418;
  model1.model1_total = 0.8804156167419418;
  const std::string expected = header +
                               "Softwood       0,880415616741942  0  0  0  0 \r\n"
                               "Hardwood       0  0  0  0  0 \r\n"
                               "Coniferouse    0  0  0  0  0 \r\n"
                               "\r\n"
                               "Total carbon= 0,880415616741942 tC/ha\r\n";
  EXPECT_EQ(stock_report_text(model1, ','), expected);
  EXPECT_EQ(stock_report_text(model1, '.'), with_points(expected));
}

TEST(StockReport, EveryCellInItsPlaceNegativesInTheSignPosition) {
  // Every cell different, so a swapped stage or group shows; group 2 negative.
  Model1Result model1;
  for (int stage = 1; stage <= 5; ++stage)
    for (int group = 1; group <= 3; ++group)
      model1.model1_carbon.at(stage, group) = (group == 2 ? -1 : 1) * (10 * group + stage);
  model1.model1_carbon.at(5, 3) = 1e20;
  model1.model1_carbon.at(0, 1) = 99;  // row 0 and column 0 are never written
  model1.model1_carbon.at(1, 0) = 99;
  model1.model1_total = -1e20 + 0.75;
  EXPECT_EQ(stock_report_text(model1, ','), header +
                                                "Softwood       11  12  13  14  15 \r\n"
                                                "Hardwood      -21 -22 -23 -24 -25 \r\n"
                                                "Coniferouse    31  32  33  34  1E+20 \r\n"
                                                "\r\n"
                                                "Total carbon=-1E+20 tC/ha\r\n");
}

}  // namespace
}  // namespace quorvel
