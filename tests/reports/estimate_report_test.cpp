#include "reports/estimate_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quorvel {
namespace {

// "Decomposition stage   " and the stage numbers as bare texts in columns 29, 43, 57, 71, 85.
const std::string heading =
    "Decomposition stage         1             2             3             4             5\r\n";

std::string with_points(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

TEST(EstimateReport, EmptyInventoryIsAllZerosUnderAnEightyFiveCharacterHeading) {
  ASSERT_EQ(heading.size(), 85u + 2);
  const std::string zero_rows =
      "Softwood       0  0  0  0  0 \r\n"
      "Hardwood       0  0  0  0  0 \r\n"
      "Coniferouse    0  0  0  0  0 \r\n"
      "\r\n";
  const std::string expected = heading + "Carbon (t/ha):\r\n" + zero_rows + "Volume (m3/ha):\r\n" +
                               zero_rows + "Surface (m2/ha):\r\n" + zero_rows +
                               "Total carbon:  0 \r\n";
  EXPECT_EQ(estimate_report_text(Model2Estimates{}, ','), expected);
  EXPECT_EQ(estimate_report_text(Model2Estimates{}, '.'), expected);
}

TEST(EstimateReport, EveryCellOfEveryTableInItsPlace) {
  // Every cell different, so a swapped table, stage or group shows; the conifer volumes
  // negative, so that the sign takes the blank before the number.
  Model2Estimates model2;
  for (int stage = 1; stage <= 5; ++stage) {
    for (int group = 1; group <= 3; ++group) {
      model2.carbon_table.at(stage, group) = 10 * group + stage + 0.5;
      model2.volume_table.at(stage, group) = (group == 3 ? -1 : 1) * (100 * group + stage);
      model2.surface_table.at(stage, group) = 1000 * group + stage + 0.25;
    }
  }
  model2.surface_table.at(5, 2) = 0.000123456789012345678;  // fifteen significant digits
  model2.carbon_table.at(0, 1) = 99;                        // never written
  model2.volume_table.at(1, 0) = 99;
  model2.carbon_per_ha = 2.0 / 3.0;
  model2.total_carbon = 777;  // the sum over the plot; the report shows the per-hectare value
  const std::string expected =
      heading +
      "Carbon (t/ha):\r\n"
      "Softwood       11,5  12,5  13,5  14,5  15,5 \r\n"
      "Hardwood       21,5  22,5  23,5  24,5  25,5 \r\n"
      "Coniferouse    31,5  32,5  33,5  34,5  35,5 \r\n"
      "\r\n"
      "Volume (m3/ha):\r\n"
      "Softwood       101  102  103  104  105 \r\n"
      "Hardwood       201  202  203  204  205 \r\n"
      "Coniferouse   -301 -302 -303 -304 -305 \r\n"
      "\r\n"
      "Surface (m2/ha):\r\n"
      "Softwood       1001,25  1002,25  1003,25  1004,25  1005,25 \r\n"
      "Hardwood       2001,25  2002,25  2003,25  2004,25  0,000123456789012346 \r\n"
      "Coniferouse    3001,25  3002,25  3003,25  3004,25  3005,25 \r\n"
      "\r\n"
      "Total carbon:  0,666666666666667 \r\n";
  EXPECT_EQ(estimate_report_text(model2, ','), expected);
  EXPECT_EQ(estimate_report_text(model2, '.'), with_points(expected));

  model2.carbon_per_ha = -2.5;
  const std::string text = estimate_report_text(model2, ',');
  EXPECT_EQ(text.substr(text.rfind("Total")), "Total carbon: -2,5 \r\n");
}

}  // namespace
}  // namespace quorvel
