#include "stock_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

const std::string header =
    "  Species     Stage=         1             2             3             4             5 \r\n";

std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

TEST(StockReportLayout, EmptyInventoryIsAllZeros) {
  const Model1Result empty;
  const std::string expected = header +
                               "Softwood       0  0  0  0  0 \r\n"
                               "Hardwood       0  0  0  0  0 \r\n"
                               "Coniferouse    0  0  0  0  0 \r\n"
                               "\r\n"
                               "Total carbon= 0 tC/ha\r\n";
  EXPECT_EQ(stock_report_text(empty, ','), expected);
  EXPECT_EQ(stock_report_text(empty, '.'), expected);
}

TEST(StockReportLayout, HeaderPlacesItemsInTheirZones) {
  const std::vector<std::string> lines = crlf_lines(stock_report_text(Model1Result{}, ','));
  ASSERT_EQ(lines.size(), 6u);
  const std::string& first = lines[0];
  EXPECT_EQ(first.find("Species"), 2u);  // column 3
  EXPECT_EQ(first.find("Stage="), 14u);  // column 15
  // Each stage number is a number item: its sign blank at a zone start, then the digit.
  for (int stage = 1; stage <= 5; ++stage) {
    const std::size_t zone_start = 28 + 14 * (stage - 1);
    const char item[] = {' ', static_cast<char>('0' + stage), ' ', '\0'};
    EXPECT_EQ(first.substr(zone_start, 3), item);
  }
  EXPECT_EQ(first.size(), 87u);
}

TEST(StockReportValues, SinglePieceWorkedExample) {
  // One record "S",20,20,10,1 with the default fields.
  Model1Result model1;
  model1.model1_carbon.at(1, 1) = 0.8804156167419418;
  model1.model1_total = 0.8804156167419418;
  EXPECT_EQ(stock_report_text(model1, ','),
            header +
                "Softwood       0,880415616741942  0  0  0  0 \r\n"
                "Hardwood       0  0  0  0  0 \r\n"
                "Coniferouse    0  0  0  0  0 \r\n"
                "\r\n"
                "Total carbon= 0,880415616741942 tC/ha\r\n");
  EXPECT_EQ(stock_report_text(model1, '.'),
            header +
                "Softwood       0.880415616741942  0  0  0  0 \r\n"
                "Hardwood       0  0  0  0  0 \r\n"
                "Coniferouse    0  0  0  0  0 \r\n"
                "\r\n"
                "Total carbon= 0.880415616741942 tC/ha\r\n");
}

TEST(StockReportValues, StagesRunLeftToRightAndGroupsTopToBottom) {
  Model1Result model1;
  for (int stage = 1; stage <= 5; ++stage) {
    for (int group = 1; group <= 3; ++group) model1.model1_carbon.at(stage, group) = 10 * group + stage;
  }
  // Row 0 and column 0 are never written.
  model1.model1_carbon.at(0, 1) = 99;
  model1.model1_carbon.at(1, 0) = 99;
  model1.model1_total = 330;
  EXPECT_EQ(stock_report_text(model1, ','),
            header +
                "Softwood       11  12  13  14  15 \r\n"
                "Hardwood       21  22  23  24  25 \r\n"
                "Coniferouse    31  32  33  34  35 \r\n"
                "\r\n"
                "Total carbon= 330 tC/ha\r\n");
}

TEST(StockReportValues, NegativeValuesTakeTheSignPosition) {
  Model1Result model1;
  model1.model1_carbon.at(1, 2) = -0.5;
  model1.model1_carbon.at(2, 2) = 1.25;
  model1.model1_carbon.at(5, 3) = -1e20;
  model1.model1_total = -1e20 + 0.75;
  EXPECT_EQ(stock_report_text(model1, ','),
            header +
                "Softwood       0  0  0  0  0 \r\n"
                "Hardwood      -0,5  1,25  0  0  0 \r\n"
                "Coniferouse    0  0  0  0 -1E+20 \r\n"
                "\r\n"
                "Total carbon=-1E+20 tC/ha\r\n");
}

}  // namespace
}  // namespace quorvel
