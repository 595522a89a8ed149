#include "stand/stand_chart_series.h"

namespace quorvel {

StandChartSeries stand_chart_series(const StandEstimate& estimate, Estimate which,
                                    const FigureKey& figure) {
  StandChartSeries series;
  for (const StratumEstimate& stratum : estimate.strata) {
    const auto& summary = stratum.of(which);
    if (!summary) continue;
    const FigureEstimate& f = figure_at(summary->figures, figure);
    series.strata.push_back({stratum.name, summary->n, f.mean, f.ci95_low, f.ci95_high, {}});
  }
  if (const auto& stand = estimate.of(which)) {
    const FigureEstimate& f = figure_at(stand->figures, figure);
    series.stand_mean = f.mean;
    series.stand_ci95_low = f.ci95_low;
    series.stand_ci95_high = f.ci95_high;
  }
  return series;
}

}  // namespace quorvel
