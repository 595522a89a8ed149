#include "convergence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace quorvel {

namespace {

TEST(Convergence, RunningMeanAndTwoStandardErrorBand) {
  // Runs of 4, 8, 6, 2 t/ha: means 4, 6, 6, 5; sample variances -, 8, 4, 20/3; standard
  // errors of the mean -, 2, sqrt(4/3), sqrt(5/3).
  const std::vector<double> runs = {4, 8, 6, 2};
  const ConvergenceSeries s = convergence_series(runs, 5.5);
  ASSERT_EQ(s.points.size(), 4u);
  EXPECT_EQ(s.expected, 5.5);
  const double means[] = {4, 6, 6, 5};
  const double half_widths[] = {0, 4, 2 * 1.1547005383792515, 2 * 1.2909944487358056};
  for (int k = 0; k < 4; ++k) {
    const ConvergencePoint& p = s.points[k];
    EXPECT_EQ(p.run, k + 1);
    EXPECT_EQ(p.running_mean, means[k]) << k;
    if (k == 0) {
      EXPECT_FALSE(p.band_low || p.band_high);
      continue;
    }
    EXPECT_NEAR(*p.band_low, means[k] - half_widths[k], 1e-14) << k;
    EXPECT_NEAR(*p.band_high, means[k] + half_widths[k], 1e-14) << k;
  }
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
