#include "estimators.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <ios>

#include "number_text.h"

namespace quorvel {
namespace {

TEST(Estimators, HundredMetrePlotAndOneRunGiveThePlainSums) {
  Tally t;
  t.placement_count = 157;
  t.sim_carbon.at(1, 1) = 0.75;
  t.sim_carbon.at(5, 3) = 0.25;
  t.sim_volume.at(2, 2) = 3.5;
  t.sim_surface.at(4, 1) = 12.25;
  const Model2Estimates e = estimate_model2(t, 100, 1);
  EXPECT_EQ(e.carbon_per_ha, 1.0);
  EXPECT_EQ(e.volume_per_ha[2], 3.5);
  EXPECT_EQ(e.surface_per_ha[1], 12.25);
  EXPECT_EQ(e.pieces_per_ha, 157);
  EXPECT_EQ(e.carbon_table.at(5, 3), 0.25);
  EXPECT_EQ(e.volume_per_ha[1], 0);  // a group without pieces
  EXPECT_FALSE(e.standard_error.has_value());
}

TEST(Estimators, AveragesMultiplyFirstAndDivideOnceByPlotAreaTimesRuns) {
  Tally t;
  t.sim_carbon.at(2, 1) = 0.1;
  t.sim_carbon.at(2, 3) = 0.2;
  t.sim_carbon.at(3, 2) = 0.7;
  t.sim_volume.at(1, 3) = 1.0 / 3;
  const int L = 37, R = 3;
  const Model2Estimates e = estimate_model2(t, L, R);
  const double stage2 = 0.2 + (0.1 + 0.0);  // folded as cell + running sum
  const double total = 0.7 + (stage2 + 0.0);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(e.carbon_per_ha),
            std::bit_cast<std::uint64_t>((total * 10000) / (37.0 * 37.0 * 3)));
  EXPECT_EQ(e.volume_per_ha[3], ((1.0 / 3) * 10000) / (37.0 * 37.0 * 3));
  EXPECT_EQ(e.volume_table.at(1, 3), e.volume_per_ha[3]);
}

TEST(Estimators, PiecesAreRoundedDown) {
  Tally t;
  t.placement_count = 123499;
  EXPECT_EQ(estimate_model2(t, 100, 100).pieces_per_ha, 1234);  // 1234.99
}

TEST(Estimators, GroupSurfaceCarriesSinglePrecision) {
  Tally t;
  t.sim_surface.at(1, 1) = 1.0 / 9;
  const Model2Estimates e = estimate_model2(t, 100, 1);
  const std::string shown = general_number_text(e.surface_per_ha[1], ',');
  EXPECT_EQ(shown.rfind("0,1111111", 0), 0u) << shown;
  EXPECT_NE(shown, "0,111111111111111");
  // The report table keeps the double-precision cell.
  EXPECT_EQ(general_number_text(e.surface_table.at(1, 1), ','), "0,111111111111111");
}

// Two cells per group, 1 + 2^-24 and then 2^-24: each addition is a tie that rounds to the
// even 1.0f, where a sum rounded only once at the end would give 1 + 2^-23. All three groups
// are filled together, as an optimiser that folds them side by side sees them.
TEST(Estimators, GroupSurfaceRoundsToSingleAfterEveryAddition) {
  struct Cells {
    const char* group;
    int g, first_stage, second_stage;
  };
  const Cells table[] = {{"S", 1, 1, 2}, {"H", 2, 2, 5}, {"C", 3, 3, 4}};
  Tally t;
  for (const Cells& c : table) {
    t.sim_surface.at(c.first_stage, c.g) = 1 + 0x1p-24;
    t.sim_surface.at(c.second_stage, c.g) = 0x1p-24;
  }
  const Model2Estimates e = estimate_model2(t, 100, 1);
  for (const Cells& c : table) {
    SCOPED_TRACE(c.group);
    EXPECT_EQ(e.group_surface[c.g], 1.0f) << std::hexfloat << e.group_surface[c.g];
    EXPECT_EQ(e.surface_per_ha[c.g], 1.0) << std::hexfloat << e.surface_per_ha[c.g];
  }
}

TEST(Estimators, StandardErrorOfTheRunAverages) {
  Tally t;
  t.runs = {{1.0, {}, {}, 10}, {3.0, {}, {}, 30}};
  t.placement_count = 40;
  const Model2Estimates e = estimate_model2(t, 100, 2);
  ASSERT_TRUE(e.standard_error.has_value());
  EXPECT_DOUBLE_EQ(e.standard_error->carbon_per_ha, 1.0);  // sd sqrt(2), / sqrt(2)
  EXPECT_DOUBLE_EQ(e.standard_error->pieces_per_ha, 10.0);
}

}  // namespace
}  // namespace quorvel
