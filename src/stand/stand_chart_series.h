#pragma once
// What a stand chart shows for one figure of one estimate: each stratum's mean with its 95%
// interval, the plots' own values where the caller kept them, and the stand's mean and
// interval. The batch (SVG) and the window draw this same series.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stand/plot_figures.h"
#include "stand/stand_estimate.h"

namespace quorvel {

struct StratumChartEntry {
  std::string name;
  std::int64_t n = 0;
  double mean = 0;
  std::optional<double> ci95_low;  // absent for a stratum of one plot
  std::optional<double> ci95_high;
  std::vector<double> plot_values;  // the plots' values, when kept; the accumulator keeps none
};

struct StandChartSeries {
  std::vector<StratumChartEntry> strata;  // the strata with plots of the estimate, in order
  std::optional<double> stand_mean;       // absent without a stand estimate
  std::optional<double> stand_ci95_low;
  std::optional<double> stand_ci95_high;
};

StandChartSeries stand_chart_series(const StandEstimate& estimate, Estimate which,
                                    const FigureKey& figure = {});

}  // namespace quorvel
