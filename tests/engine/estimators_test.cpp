#include "engine/estimators.h"

#include <gtest/gtest.h>

#include <ios>

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

// Literal bits: folding the cells in another order, dividing twice or by a precomputed factor
// each changes the last bit here.
TEST(Estimators, AveragesMultiplyFirstAndDivideOnceByPlotAreaTimesRuns) {
  Tally t;
  t.sim_carbon.at(2, 1) = 0.1;
  t.sim_carbon.at(2, 3) = 0.2;
  t.sim_carbon.at(3, 2) = 0.7;
  t.sim_volume.at(1, 3) = 1.1;
  t.sim_surface.at(4, 1) = 1.1;  // 11000 once multiplied, in single as in double
  const Model2Estimates e = estimate_model2(t, 37, 7);
  EXPECT_EQ(e.carbon_per_ha, 0x1.0b23c51f55e2bp+0) << std::hexfloat << e.carbon_per_ha;
  EXPECT_EQ(e.volume_per_ha[3], 0x1.25da8c08de795p+0) << std::hexfloat << e.volume_per_ha[3];
  EXPECT_EQ(e.surface_per_ha[1], 0x1.25da8c08de795p+0) << std::hexfloat << e.surface_per_ha[1];
  EXPECT_EQ(e.volume_table.at(1, 3), e.volume_per_ha[3]);
}

TEST(Estimators, PiecesAreRoundedDown) {
  Tally t;
  t.placement_count = 123499;
  EXPECT_EQ(estimate_model2(t, 100, 100).pieces_per_ha, 1234);  // 1234.99
}

// Two cells per group, 1 + 2^-24 and then 2^-24: each addition is a tie that rounds to the
// even 1.0f, where a sum rounded only once at the end would give 1 + 2^-23. All three groups
// are filled together, as an optimiser that folds them side by side sees them. The report's
// table keeps the double-precision cells.
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
    EXPECT_EQ(e.surface_table.at(c.first_stage, c.g), 1 + 0x1p-24);
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
