#include "stand/convergence.h"

#include <cmath>

#include "engine/estimators.h"
#include "engine/running_moments.h"

namespace quorvel {

ConvergenceSeries convergence_series(std::span<const double> carbon_by_run,
                                     std::optional<double> expected) {
  ConvergenceSeries series;
  series.expected = expected;
  series.points.reserve(carbon_by_run.size());
  RunningMoments moments;
  for (const double carbon : carbon_by_run) {
    moments.add(carbon);
    ConvergencePoint point;
    point.run = static_cast<int>(moments.count());
    point.running_mean = moments.mean();
    if (const auto variance = moments.sample_variance()) {
      const double half_width = convergence_band_errors * std::sqrt(*variance / point.run);
      point.band_low = point.running_mean - half_width;
      point.band_high = point.running_mean + half_width;
    }
    series.points.push_back(point);
  }
  return series;
}

std::vector<double> carbon_t_per_ha_by_run(const Tally& tally, double transect_length) {
  std::vector<double> out;
  out.reserve(tally.runs.size());
  for (const RunTotals& run : tally.runs)
    out.push_back(per_hectare_average(run.carbon, transect_length, 1));
  return out;
}

}  // namespace quorvel
