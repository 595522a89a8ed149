#include "stand/stand_estimate.h"

#include <algorithm>
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
  if (!std::isfinite(*f.ci95_low) || !std::isfinite(*f.ci95_high)) {
    f.se = f.df = f.ci95_low = f.ci95_high = std::nullopt;
    f.no_interval = NoInterval::spread_beyond_range;
  }
}

// An even power of two near the largest of `values`: dividing by it is exact, keeps sums and
// squares of the quotients within the doubles, and leaves square roots exact too.
int even_exponent_of_largest(const std::vector<double>& values) {
  double largest = 0;
  for (const double v : values) largest = std::max(largest, v);
  if (!(largest > 0) || !std::isfinite(largest)) return 0;
  const int exponent = std::ilogb(largest);
  return exponent - (exponent & 1);
}

// t_quantile: the t quantile on n - 1 degrees of freedom, shared by the figures of a stratum.
FigureEstimate stratum_figure(const RunningMoments& m, double t_quantile) {
  FigureEstimate f;
  f.mean = m.mean();
  if (const auto variance = m.sample_variance()) {
    const double n = static_cast<double>(m.count());
    f.sd = std::sqrt(*variance);
    if (std::isfinite(*f.sd)) {
      set_interval(f, *f.sd / std::sqrt(n), n - 1, t_quantile);
    } else {
      f.sd = std::nullopt;
      f.no_interval = NoInterval::spread_beyond_range;
    }
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
// interval from the strata with a variance, on Satterthwaite's degrees of freedom. The terms
// a_h s_h^2, a_h = W_h^2 / n_h, are divided by a power of two near the largest, so that their
// squares neither overflow nor vanish whatever the scale of the figures; the quotients are
// exact, so the figures are those of the plain sums wherever the plain sums stay in range.
void stratified_figure(FigureEstimate& f, const StandParts& parts, const FigureKey& key) {
  std::vector<double> terms;
  std::vector<double> degrees;  // n_h - 1 of each term
  bool spread_known = true;
  for (std::size_t h = 0; h < parts.moments.size(); ++h) {
    const RunningMoments& m = figure_at(*parts.moments[h], key);
    f.mean += parts.weights[h] * m.mean();
    if (const auto s2 = m.sample_variance()) {
      const double n_h = static_cast<double>(m.count());
      terms.push_back(parts.weights[h] * parts.weights[h] / n_h * *s2);
      degrees.push_back(n_h - 1);
      spread_known = spread_known && std::isfinite(terms.back());
    }
  }
  if (terms.empty()) return;
  if (!spread_known) {
    f.no_interval = NoInterval::spread_beyond_range;
    return;
  }
  const int exponent = even_exponent_of_largest(terms);
  double variance = 0;     // sum of the scaled terms
  double denominator = 0;  // sum of their squares / (n_h - 1)
  for (std::size_t h = 0; h < terms.size(); ++h) {
    const double term = std::ldexp(terms[h], -exponent);
    variance += term;
    denominator += term * term / degrees[h];
  }
  if (variance > 0) {
    const double df = variance * variance / denominator;
    set_interval(f, std::ldexp(std::sqrt(variance), exponent / 2), df,
                 student_t_quantile(ci95_probability, df));
  } else {  // every plot of every stratum alike: no spread, no degrees of freedom
    f.se = 0.0;
    f.ci95_low = f.mean;
    f.ci95_high = f.mean;
  }
}

// Each stratum's share of the total area, summed without overflow: the areas are divided by a
// power of two near the largest first, which changes no digit of the shares.
std::vector<double> area_shares(const std::vector<std::optional<double>>& areas) {
  std::vector<double> known;
  for (const auto& a : areas) known.push_back(a.value_or(0.0));
  const int exponent = even_exponent_of_largest(known);
  double total = 0;
  for (double& a : known) total += a = std::ldexp(a, -exponent);
  for (double& a : known) a = total > 0 ? a / total : 0.0;
  return known;
}

}  // namespace

const char* no_interval_text(NoInterval reason) {
  switch (reason) {
    case NoInterval::spread_beyond_range:
      break;
  }
  return "the spread of the plots is beyond the range of numbers";
}

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
      // A figure a plot could not give is NaN, and so is its estimate: a mean over the other
      // plots alone would stand for a different set of plots.
      for_each_figure([](const FigureKey&, RunningMoments& m, double value) { m.add(value); },
                      stratum.moments[static_cast<int>(e)], *figures);
    }
  }
}

StandEstimate StandAccumulator::estimate() const {
  StandEstimate out;
  out.weights_from_area = weights_from_area_;
  for (const Stratum& s : strata_) {
    if (weights_from_area_ && !s.area_ha) out.strata_without_area.push_back(s.name);
    const bool without_figures = s.moments[0].carbon_t_per_ha.count() == 0;
    if (weights_from_area_ && without_figures) out.strata_without_plots.push_back(s.name);
  }
  std::array<std::vector<double>, estimate_count> weights;
  for (const Estimate e : all_estimates) {
    const int ei = static_cast<int>(e);
    weights[ei] = weights_of(e);
    out.stand[ei] = stand_summary(e, weights[ei], out.strata_without_area.empty());
  }
  for (std::size_t h = 0; h < strata_.size(); ++h)
    out.strata.push_back(stratum_estimate(strata_[h], h, weights));
  return out;
}

std::vector<double> StandAccumulator::weights_of(Estimate e) const {
  const int ei = static_cast<int>(e);
  std::int64_t n = 0;
  std::vector<std::optional<double>> areas;
  for (const Stratum& s : strata_) {
    const std::int64_t n_h = s.moments[ei].carbon_t_per_ha.count();
    n += n_h;
    // A stratum none of whose plots has the estimate stays out, and its area with it.
    areas.push_back(n_h > 0 ? s.area_ha : std::nullopt);
  }
  if (weights_from_area_) return area_shares(areas);
  std::vector<double> shares;
  for (const Stratum& s : strata_) {
    const std::int64_t n_h = s.moments[ei].carbon_t_per_ha.count();
    shares.push_back(n > 0 ? static_cast<double>(n_h) / static_cast<double>(n) : 0.0);
  }
  return shares;
}

std::optional<StandSummary> StandAccumulator::stand_summary(Estimate e,
                                                            const std::vector<double>& weights,
                                                            bool every_area_given) const {
  const int ei = static_cast<int>(e);
  // The strata that enter the stand: those with plots of this estimate.
  StandParts parts;
  std::int64_t n = 0;
  for (std::size_t h = 0; h < strata_.size(); ++h) {
    const std::int64_t n_h = strata_[h].moments[ei].carbon_t_per_ha.count();
    if (n_h == 0) continue;
    n += n_h;
    parts.moments.push_back(&strata_[h].moments[ei]);
    parts.weights.push_back(weights[h]);
  }
  if (n == 0 || (weights_from_area_ && !every_area_given)) return std::nullopt;

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

StratumEstimate StandAccumulator::stratum_estimate(
    const Stratum& s, std::size_t index,
    const std::array<std::vector<double>, estimate_count>& weights) const {
  StratumEstimate stratum{s.name, s.area_ha, s.plots, {}};
  for (const Estimate e : all_estimates) {
    const int ei = static_cast<int>(e);
    const StratumMoments& moments = s.moments[ei];
    const std::int64_t n_h = moments.carbon_t_per_ha.count();
    if (n_h == 0) continue;
    StratumSummary summary;
    summary.n = n_h;
    summary.weight = weights[ei][index];
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
