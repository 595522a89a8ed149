#pragma once
// How model 2's carbon settles run by run on one plot: the running mean after each run, a band
// of two standard errors of that mean either side, and the exact expectation it approaches.
// The convergence charts of the batch (SVG) and of the window draw this same series.

#include <optional>
#include <span>
#include <vector>

#include "engine/transect_tally.h"

namespace quorvel {

// The band's half width in standard errors of the running mean.
inline constexpr double convergence_band_errors = 2.0;

struct ConvergencePoint {
  int run = 0;                     // 1-based
  double running_mean = 0;         // t C per hectare over runs 1..run
  std::optional<double> band_low;  // running mean -+ 2 standard errors; from run 2 on
  std::optional<double> band_high;
};

struct ConvergenceSeries {
  std::vector<ConvergencePoint> points;  // one per run
  std::optional<double> expected;        // t C per hectare, when known
};

// The series of per-run carbon values (t C per hectare), run 1 first. The standard error after
// k runs is the sample standard deviation of those k values over sqrt(k).
ConvergenceSeries convergence_series(std::span<const double> carbon_t_per_ha_by_run,
                                     std::optional<double> expected);

// The carbon per hectare of each run of a Start on a plot of side L. Their mean agrees with
// model 2's carbon up to rounding: that one is summed stage by stage and group by group.
std::vector<double> carbon_t_per_ha_by_run(const Tally& tally, double transect_length);

}  // namespace quorvel
