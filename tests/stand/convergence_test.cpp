#include "stand/convergence.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {

namespace {

// The chart test reads every point back to a hundredth of a pixel; here, the last to the last bits.
TEST(Convergence, RunningMeanAndTwoStandardErrorBand) {
  // Runs of 4, 8, 6, 2 t/ha: means 4, 6, 6, 5; the last standard error sqrt(20/3 / 4).
  const ConvergenceSeries s = convergence_series(std::vector<double>{4, 8, 6, 2}, 5.5);
  ASSERT_EQ(s.points.size(), 4u);
  EXPECT_FALSE(s.points[0].band_low || s.points[0].band_high);
  EXPECT_EQ(s.points[3].run, 4);
  EXPECT_EQ(s.points[3].running_mean, 5);
  EXPECT_NEAR(*s.points[3].band_low, 5 - 2 * 1.2909944487358056, 1e-14);
  EXPECT_NEAR(*s.points[3].band_high, 5 + 2 * 1.2909944487358056, 1e-14);
  EXPECT_TRUE(convergence_series({}, std::nullopt).points.empty());
}

TEST(Convergence, RunsOfATallyPerHectare) {
  Tally tally;
  tally.runs = {{0.5, {}, {}, 10}, {1.25, {}, {}, 12}};
  // A 50 m plot is a quarter hectare.
  EXPECT_EQ(carbon_t_per_ha_by_run(tally, 50), (std::vector<double>{2, 5}));
}

}  // namespace
}  // namespace quorvel
