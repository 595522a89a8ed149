#include "estimate_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

const std::string heading =
    "Decomposition stage         1             2             3             4             5\r\n";

const std::string zero_rows =
    "Softwood       0  0  0  0  0 \r\n"
    "Hardwood       0  0  0  0  0 \r\n"
    "Coniferouse    0  0  0  0  0 \r\n"
    "\r\n";

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

TEST(EstimateReportLayout, EmptyInventoryIsAllZeros) {
  const Model2Estimates empty;
  const std::string expected = heading + "Carbon (t/ha):\r\n" + zero_rows + "Volume (m3/ha):\r\n" +
                               zero_rows + "Surface (m2/ha):\r\n" + zero_rows +
                               "Total carbon:  0 \r\n";
  EXPECT_EQ(estimate_report_text(empty, ','), expected);
  EXPECT_EQ(estimate_report_text(empty, '.'), expected);
}

TEST(EstimateReportLayout, HeadingIs85CharactersWithStagesAtZoneStarts) {
  const std::vector<std::string> lines = crlf_lines(estimate_report_text(Model2Estimates{}, ','));
  ASSERT_EQ(lines.size(), 17u);
  const std::string& first = lines[0];
  EXPECT_EQ(first.size(), 85u);
  EXPECT_EQ(first.substr(0, 22), "Decomposition stage   ");
  for (int stage = 1; stage <= 5; ++stage) {
    const std::size_t column = 29 + 14 * (stage - 1);
    EXPECT_EQ(first[column - 1], '0' + stage) << "stage " << stage;
    EXPECT_EQ(first[column - 2], ' ');
  }
  EXPECT_EQ(first.find_first_not_of(" 12345", 22), std::string::npos);
}

Model2Estimates distinct_tables() {
  // Every cell different, so a swapped table, stage or group shows.
  Model2Estimates model2;
  for (int stage = 1; stage <= 5; ++stage) {
    for (int group = 1; group <= 3; ++group) {
      model2.carbon_table.at(stage, group) = 10 * group + stage + 0.5;
      model2.volume_table.at(stage, group) = 100 * group + stage;
      model2.surface_table.at(stage, group) = 1000 * group + stage + 0.25;
    }
  }
  model2.carbon_table.at(0, 1) = 99;  // never written
  model2.volume_table.at(1, 0) = 99;
  model2.carbon_per_ha = 2.0 / 3.0;
  model2.total_carbon = 777;  // the sum over the plot; the report shows the per-hectare value
  return model2;
}

TEST(EstimateReportValues, TablesByGroupAndStage) {
  EXPECT_EQ(estimate_report_text(distinct_tables(), ','),
            heading +
                "Carbon (t/ha):\r\n"
                "Softwood       11,5  12,5  13,5  14,5  15,5 \r\n"
                "Hardwood       21,5  22,5  23,5  24,5  25,5 \r\n"
                "Coniferouse    31,5  32,5  33,5  34,5  35,5 \r\n"
                "\r\n"
                "Volume (m3/ha):\r\n"
                "Softwood       101  102  103  104  105 \r\n"
                "Hardwood       201  202  203  204  205 \r\n"
                "Coniferouse    301  302  303  304  305 \r\n"
                "\r\n"
                "Surface (m2/ha):\r\n"
                "Softwood       1001,25  1002,25  1003,25  1004,25  1005,25 \r\n"
                "Hardwood       2001,25  2002,25  2003,25  2004,25  2005,25 \r\n"
                "Coniferouse    3001,25  3002,25  3003,25  3004,25  3005,25 \r\n"
                "\r\n"
                "Total carbon:  0,666666666666667 \r\n");
}

TEST(EstimateReportValues, PointSeparatorAndNegativeNumbers) {
  Model2Estimates model2;
  model2.carbon_table.at(3, 1) = -0.125;
  model2.volume_table.at(1, 3) = -4;
  model2.surface_table.at(5, 2) = 0.000123456789012345678;
  model2.carbon_per_ha = -2.5;
  EXPECT_EQ(estimate_report_text(model2, '.'),
            heading +
                "Carbon (t/ha):\r\n"
                "Softwood       0  0 -0.125  0  0 \r\n"
                "Hardwood       0  0  0  0  0 \r\n"
                "Coniferouse    0  0  0  0  0 \r\n"
                "\r\n"
                "Volume (m3/ha):\r\n"
                "Softwood       0  0  0  0  0 \r\n"
                "Hardwood       0  0  0  0  0 \r\n"
                "Coniferouse   -4  0  0  0  0 \r\n"
                "\r\n"
                "Surface (m2/ha):\r\n"
                "Softwood       0  0  0  0  0 \r\n"
                "Hardwood       0  0  0  0  0.000123456789012346 \r\n"
                "Coniferouse    0  0  0  0  0 \r\n"
                "\r\n"
                "Total carbon: -2.5 \r\n");
}

}  // namespace
}  // namespace quorvel
