#pragma once
// Estimates across plots. For each stratum and each estimate (model 1, model 2, the
// expectation): the mean per hectare of every figure, its sample standard deviation, standard
// error and 95% interval on n - 1 degrees of freedom. For the stand: the stratified mean
// sum W_h mean_h, its standard error sqrt(sum W_h^2 s_h^2 / n_h) and a 95% interval on
// Satterthwaite's effective degrees of freedom. Plots are taken as they stream past, so the
// memory grows with the strata, never with the plots.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/running_moments.h"
#include "field/strata_table.h"
#include "stand/plot_figures.h"

namespace quorvel {

// Why a figure with a spread has no standard error and no interval.
enum class NoInterval {
  spread_beyond_range,  // the plots lie so far apart that their variance exceeds the doubles
};

// One figure across plots. Below two plots only the mean is known.
struct FigureEstimate {
  double mean = 0;
  std::optional<double> sd;  // sample standard deviation of the plots (strata only)
  std::optional<double> se;  // standard error of the mean
  std::optional<double> df;  // degrees of freedom of the interval
  std::optional<double> ci95_low;
  std::optional<double> ci95_high;
  std::optional<NoInterval> no_interval;  // set where the plots have a spread but no interval

  friend bool operator==(const FigureEstimate&, const FigureEstimate&) = default;
};

using FigureEstimates = FigureSet<FigureEstimate>;

// One estimate (model 1, model 2 or the expectation) in one stratum.
struct StratumSummary {
  std::int64_t n = 0;  // plots that had the estimate
  double weight = 0;   // W_h, the stratum's weight in the stand; 0 without an area
  FigureEstimates figures;
};

struct StratumEstimate {
  std::string name;
  std::optional<double> area_ha;  // when the strata weigh by area
  std::int64_t plots = 0;         // plots added, with figures or without (refused)
  std::array<std::optional<StratumSummary>, estimate_count> estimates;  // absent: no plot had it

  const std::optional<StratumSummary>& of(Estimate e) const {
    return estimates[static_cast<int>(e)];
  }
};

// One estimate for the stand. The figures have no sd; se, df and the interval come from the
// strata with two plots or more.
struct StandSummary {
  std::int64_t n = 0;  // plots that had the estimate
  std::int64_t strata = 0;
  // Strata with a single plot have no variance to estimate: their mean enters the stand mean,
  // but the standard error and the degrees of freedom leave them out, so they understate the
  // uncertainty. With only such strata there is no standard error at all.
  std::int64_t strata_without_variance = 0;
  FigureEstimates figures;
};

struct StandEstimate {
  bool weights_from_area = false;       // else each stratum weighs by its share of the plots
  std::vector<StratumEstimate> strata;  // the strata with areas in their order, then as met
  // Absent when no plot had the estimate, or with areas when a stratum has plots but no area.
  // A stratum with an area but no plot with the estimate stays out, and its area with it: the
  // stand is then that of the strata with plots, as strata_without_plots tells.
  std::array<std::optional<StandSummary>, estimate_count> stand;
  std::vector<std::string> strata_without_plots;  // an area given, no plot with figures
  std::vector<std::string> strata_without_area;   // plots added, no area given

  const std::optional<StandSummary>& of(Estimate e) const { return stand[static_cast<int>(e)]; }
};

// "the spread of the plots is beyond the range of numbers": the reason in words.
const char* no_interval_text(NoInterval reason);

class StandAccumulator {
 public:
  // Each stratum weighs by its share of the plots, n_h / n.
  StandAccumulator() = default;
  // Each stratum weighs by its share of the total area; names must differ, areas be above 0
  // (std::invalid_argument otherwise).
  explicit StandAccumulator(const std::vector<StratumArea>& areas);

  // Takes one plot of a stratum (any name; "" is as good as any when there are no strata).
  // Results depend on the order of the plots in their last bits: add them in a fixed order.
  void add(std::string_view stratum, const PlotFigures& plot);

  StandEstimate estimate() const;

 private:
  struct Stratum {
    std::string name;
    std::optional<double> area_ha;
    std::int64_t plots = 0;
    std::array<FigureSet<RunningMoments>, estimate_count> moments;
  };

  // The steps of estimate(): the stand's summary of one estimate (absent when it has none), and
  // one stratum's summaries once the stand's are known.
  // The weight W_h of each stratum in one estimate: 0 for a stratum without its plots.
  std::vector<double> weights_of(Estimate e) const;
  std::optional<StandSummary> stand_summary(Estimate e, const std::vector<double>& weights,
                                            bool every_area_given) const;
  StratumEstimate stratum_estimate(
      const Stratum& stratum, std::size_t index,
      const std::array<std::vector<double>, estimate_count>& weights) const;

  bool weights_from_area_ = false;
  std::vector<Stratum> strata_;
  std::map<std::string, std::size_t, std::less<>> index_;
};

}  // namespace quorvel
