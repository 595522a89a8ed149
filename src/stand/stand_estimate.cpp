#include "stand/stand_estimate.h"

#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "stand/student_t.h"

namespace quorvel {

namespace {

constexpr double ci95_probability = 0.975;  // the upper end of a two-sided 95% interval

void set_interval(FigureEstimate& f, double se, double df, double t) {
  f.se = se;
  f.df = df;
  f.ci95_low = f.mean - t * se;
  f.ci95_high = f.mean + t * se;
}

// t_quantile: the t quantile on n - 1 degrees of freedom, shared by the figures of a stratum.
FigureEstimate stratum_figure(const RunningMoments& m, double t_quantile) {
  FigureEstimate f;
  f.mean = m.mean();
  if (const auto variance = m.sample_variance()) {
    const double n = static_cast<double>(m.count());
    f.sd = std::sqrt(*variance);
    set_interval(f, *f.sd / std::sqrt(n), n - 1, t_quantile);
  }
  return f;
}

using StratumMoments = FigureSet<RunningMoments>;

// The strata that enter the stand with one estimate, and their weights W_h.
struct StandParts {
  std::vector<const StratumMoments*> moments;
  std::vector<double> weights;
};

// One figure of the stand: the weighted sum of the strata's means; its standard error and
// interval from the strata with a variance, on Satterthwaite's degrees of freedom.
void stratified_figure(FigureEstimate& f, const StandParts& parts, const FigureKey& key) {
  double variance = 0;     // sum a_h s_h^2, a_h = W_h^2 / n_h
  double denominator = 0;  // sum (a_h s_h^2)^2 / (n_h - 1)
  bool any_variance = false;
  for (std::size_t h = 0; h < parts.moments.size(); ++h) {
    const RunningMoments& m = figure_at(*parts.moments[h], key);
    f.mean += parts.weights[h] * m.mean();
    if (const auto s2 = m.sample_variance()) {
      const double n_h = static_cast<double>(m.count());
      const double term = parts.weights[h] * parts.weights[h] / n_h * *s2;
      variance += term;
      denominator += term * term / (n_h - 1);
      any_variance = true;
    }
  }
  if (!any_variance) return;
  if (variance > 0) {
    const double df = variance * variance / denominator;
    set_interval(f, std::sqrt(variance), df, student_t_quantile(ci95_probability, df));
  } else {  // every plot of every stratum alike: no spread, no degrees of freedom
    f.se = 0.0;
    f.ci95_low = f.mean;
    f.ci95_high = f.mean;
  }
}

}  // namespace

StandAccumulator::StandAccumulator(const std::vector<StratumArea>& areas)
    : weights_from_area_(true) {
  for (const StratumArea& a : areas) {
    if (!(a.area_ha > 0) || !std::isfinite(a.area_ha) || index_.contains(a.name))
      throw std::invalid_argument("stratum areas: names must differ, areas be above 0");
    index_.emplace(a.name, strata_.size());
    strata_.push_back({a.name, a.area_ha, 0, {}});
  }
}

void StandAccumulator::add(std::string_view name, const PlotFigures& plot) {
  auto found = index_.find(name);
  if (found == index_.end()) {
    found = index_.emplace(std::string(name), strata_.size()).first;
    strata_.push_back({std::string(name), std::nullopt, 0, {}});
  }
  Stratum& stratum = strata_[found->second];
  ++stratum.plots;
  for (const Estimate e : all_estimates) {
    if (const auto& figures = plot.of(e)) {
      // A figure the plot could not give (NaN: its pieces have no length) leaves it out of
      // that figure's estimate alone.
      for_each_figure(
          [](const FigureKey&, RunningMoments& m, double value) {
            if (!std::isnan(value)) m.add(value);
          },
          stratum.moments[static_cast<int>(e)], *figures);
    }
  }
}

StandEstimate StandAccumulator::estimate() const {
  StandEstimate out;
  out.weights_from_area = weights_from_area_;
  double total_area = 0;
  for (const Stratum& s : strata_) {
    if (s.area_ha) total_area += *s.area_ha;
    if (weights_from_area_ && !s.area_ha) out.strata_without_area.push_back(s.name);
    if (weights_from_area_ && s.plots == 0) out.strata_without_plots.push_back(s.name);
  }
  for (const Estimate e : all_estimates)
    out.stand[static_cast<int>(e)] = stand_summary(e, total_area, out.strata_without_area.empty());
  for (const Stratum& s : strata_) out.strata.push_back(stratum_estimate(s, total_area, out));
  return out;
}

std::optional<StandSummary> StandAccumulator::stand_summary(Estimate e, double total_area,
                                                            bool every_area_given) const {
  const int ei = static_cast<int>(e);
  std::int64_t n = 0;
  std::int64_t with_plots = 0;
  for (const Stratum& s : strata_) {
    const std::int64_t n_h = s.moments[ei].carbon_t_per_ha.count();
    n += n_h;
    with_plots += n_h > 0 ? 1 : 0;
  }
  const bool complete =
      !weights_from_area_ || (every_area_given && with_plots == std::ssize(strata_));
  if (n == 0 || !complete) return std::nullopt;

  // The weights of the strata that enter the stand: those with plots of this estimate.
  StandParts parts;
  for (const Stratum& s : strata_) {
    const std::int64_t n_h = s.moments[ei].carbon_t_per_ha.count();
    if (n_h == 0) continue;
    parts.moments.push_back(&s.moments[ei]);
    parts.weights.push_back(weights_from_area_ ? (s.area_ha ? *s.area_ha / total_area : 0.0)
                                               : static_cast<double>(n_h) / static_cast<double>(n));
  }

  StandSummary stand;
  stand.n = n;
  stand.strata = std::ssize(parts.moments);
  for (const StratumMoments* m : parts.moments)
    if (m->carbon_t_per_ha.count() < 2) ++stand.strata_without_variance;
  for_each_figure(
      [&parts](const FigureKey& key, FigureEstimate& f) { stratified_figure(f, parts, key); },
      stand.figures);
  return stand;
}

StratumEstimate StandAccumulator::stratum_estimate(const Stratum& s, double total_area,
                                                   const StandEstimate& stand) const {
  StratumEstimate stratum{s.name, s.area_ha, s.plots, {}};
  for (const Estimate e : all_estimates) {
    const int ei = static_cast<int>(e);
    const StratumMoments& moments = s.moments[ei];
    const std::int64_t n_h = moments.carbon_t_per_ha.count();
    if (n_h == 0) continue;
    StratumSummary summary;
    summary.n = n_h;
    if (weights_from_area_) {
      summary.weight = s.area_ha ? *s.area_ha / total_area : 0.0;
    } else if (stand.stand[ei]) {
      summary.weight = static_cast<double>(n_h) / static_cast<double>(stand.stand[ei]->n);
    }
    const double t =
        n_h >= 2 ? student_t_quantile(ci95_probability, static_cast<double>(n_h - 1)) : 0.0;
    for_each_figure([t](const FigureKey&, FigureEstimate& f,
                        const RunningMoments& m) { f = stratum_figure(m, t); },
                    summary.figures, moments);
    stratum.estimates[ei] = summary;
  }
  return stratum;
}

}  // namespace quorvel
