#include "stand/stand_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace quorvel {
namespace {

// A plot whose model-1 carbon is `carbon`; the other estimates absent.
PlotFigures model1_plot(double carbon) {
  PlotFigures plot;
  plot.model1 = EstimateFigures{};
  plot.model1->carbon_t_per_ha = carbon;
  return plot;
}

template <class Summary>
const FigureEstimate& carbon(const std::optional<Summary>& s) {
  return s.value().figures.carbon_t_per_ha;
}

// The interval to 13 digits: the t quantile is good to 14.
void expect_interval(const FigureEstimate& f, double low, double high) {
  EXPECT_NEAR(*f.ci95_low, low, 1e-13);
  EXPECT_NEAR(*f.ci95_high, high, 1e-13);
}

// The worked example of the README: plots of 2 and 4 t/ha in stratum A (30 ha),
// one of 9 t/ha in stratum B (10 ha); then a fourth plot of 5 t/ha in B.
TEST(StandEstimate, TheWorkedExampleByHand) {
  StandAccumulator stand({{"A", 30}, {"B", 10}});
  for (const auto& [name, value] : {std::pair{"A", 2.0}, {"A", 4.0}, {"B", 9.0}})
    stand.add(name, model1_plot(value));
  StandEstimate e = stand.estimate();
  ASSERT_EQ(e.strata.size(), 2u);
  EXPECT_EQ(e.strata[0].of(Estimate::model1)->weight, 0.75);
  EXPECT_EQ(e.strata[1].of(Estimate::model1)->weight, 0.25);
  const FigureEstimate& a = carbon(e.strata[0].of(Estimate::model1));
  EXPECT_EQ(std::tie(a.mean, a.sd, a.se, a.df), std::tuple(3, 1.4142135623730951, 1, 1));
  expect_interval(a, -9.70620473617469331410, 15.70620473617469331410);
  const FigureEstimate& b1 = carbon(e.strata[1].of(Estimate::model1));
  EXPECT_EQ(b1.mean, 9);
  EXPECT_FALSE(b1.sd || b1.se || b1.df || b1.ci95_low || b1.ci95_high);
  const FigureEstimate& s = carbon(e.of(Estimate::model1));
  EXPECT_EQ(e.of(Estimate::model1)->strata_without_variance, 1);
  EXPECT_EQ(std::tie(s.mean, s.sd, s.se, s.df), std::tuple(4.5, std::nullopt, 0.75, 1));
  expect_interval(s, -5.02965355213101998558, 14.02965355213101998558);

  stand.add("B", model1_plot(5));
  e = stand.estimate();
  const FigureEstimate& b = carbon(e.strata[1].of(Estimate::model1));
  EXPECT_EQ(std::tie(b.mean, b.sd, b.se), std::tuple(7, 2.8284271247461903, 2));  // sqrt(8)
  EXPECT_NEAR(*b.ci95_high, 32.41240947234938662820, 1e-13);
  const FigureEstimate& s2 = carbon(e.of(Estimate::model1));
  EXPECT_EQ(e.of(Estimate::model1)->strata_without_variance, 0);
  // se = sqrt(0.8125); df = 0.8125^2 / (0.5625^2 / 1 + 0.25^2 / 1)
  EXPECT_EQ(std::tie(s2.mean, s2.se, s2.df), std::tuple(4, 0.9013878188659973, 169.0 / 97));
  expect_interval(s2, -0.48353088404067943633, 8.48353088404067943633);
}

TEST(StandEstimate, EveryFigureOfEveryEstimateIsKeptApart) {
  // Figure k of plot p of estimate e holds 100 e + k + p, p = 0, 1, 2: each mean is
  // 100 e + k + 1, each sd 1, whatever the others hold.
  StandAccumulator stand;
  for (int p = 0; p < 3; ++p) {
    PlotFigures plot;
    for (const Estimate e : all_estimates) {
      EstimateFigures f;
      int k = 0;
      for_each_figure([&](const FigureKey&, double& v) { v = 100 * static_cast<int>(e) + k++ + p; },
                      f);
      plot.of(e) = f;
    }
    stand.add("", plot);
  }
  const StandEstimate e = stand.estimate();
  for (const Estimate which : all_estimates) {
    int k = 0;
    for_each_figure(
        [&](const FigureKey& key, const FigureEstimate& f) {
          EXPECT_EQ(f.mean, 100 * static_cast<int>(which) + k++ + 1)
              << estimate_key(which) << " " << figure_key(key.name) << " " << key.stage << " "
              << key.group;
          EXPECT_EQ(f.sd, 1);
        },
        e.strata[0].of(which)->figures);
  }
}

TEST(StandEstimate, SpreadFarFromZeroKeepsItsDigits) {
  // The sum of squares minus n mean^2 would lose every digit here.
  StandAccumulator stand;
  for (const double v : {4.0, 7.0, 13.0, 16.0}) stand.add("", model1_plot(1e9 + v));
  const FigureEstimate f = carbon(stand.estimate().strata[0].of(Estimate::model1));
  EXPECT_EQ(f.mean, 1e9 + 10);
  EXPECT_EQ(f.sd, std::sqrt(30.0));  // the variance is 30 to the last bit
}

TEST(StandEstimate, StrataWeighByTheirShareOfThePlotsWithoutAreas) {
  // Weighted by their share of the plots, the strata give back the plain mean of the plots;
  // strata of one plot add nothing to the standard error, and alone leave it absent.
  StandAccumulator shares;
  for (const auto& [name, v] : {std::pair{"x", 1.0}, {"x", 3.0}, {"y", 9.0}, {"z", 5.5}})
    shares.add(name, model1_plot(v));
  const StandEstimate e1 = shares.estimate();
  EXPECT_EQ(e1.of(Estimate::model1)->strata_without_variance, 2);
  const FigureEstimate& m = carbon(e1.of(Estimate::model1));
  EXPECT_EQ(std::tie(m.mean, m.se, m.df), std::tuple(4.625, 0.5, 1));  // se^2 = 0.5^2 2 / 2
  EXPECT_FALSE(e1.of(Estimate::model2));                               // no plot had model 2
  StandAccumulator singles;
  for (const char* name : {"x", "y"}) singles.add(name, model1_plot(1));
  EXPECT_FALSE(carbon(singles.estimate().of(Estimate::model1)).se);

  // Three strata of equal areas, sizes and variances (7/3 each): se^2 = 3 (1/3)^2 (7/3) / 3,
  // and Satterthwaite's degrees of freedom add up to 3 (3 - 1) = 6.
  StandAccumulator equal({{"a", 5}, {"b", 5}, {"c", 5}});
  for (const auto& [name, low] : {std::pair{"a", 1.0}, {"b", 10.0}, {"c", 20.0}})
    for (const double d : {0.0, 2.0, 3.0}) equal.add(name, model1_plot(low + d));
  const FigureEstimate s = carbon(equal.estimate().of(Estimate::model1));
  EXPECT_DOUBLE_EQ(*s.se, std::sqrt(7.0 / 27));
  EXPECT_NEAR(*s.df, 6, 1e-14);
}

TEST(StandEstimate, WhatCannotBeEstimatedIsAbsentAndSaysWhy) {
  // With areas: plots in a stratum without area leave the stand unestimated; the strata that
  // have plots are still given, weighed among themselves. A refused plot (no figures) counts
  // among the plots but not in n.
  StandAccumulator areas({{"x", 2}, {"empty", 3}});
  areas.add("x", model1_plot(1));
  areas.add("x", PlotFigures{});
  areas.add("stray", model1_plot(5));
  const StandEstimate e = areas.estimate();
  EXPECT_FALSE(e.of(Estimate::model1));
  EXPECT_EQ(e.strata_without_plots, std::vector<std::string>{"empty"});
  EXPECT_EQ(e.strata_without_area, std::vector<std::string>{"stray"});
  EXPECT_EQ(e.strata[0].plots, 2);
  EXPECT_EQ(e.strata[0].of(Estimate::model1)->n, 1);
  EXPECT_EQ(e.strata[0].of(Estimate::model1)->weight, 1);

  // No spread at all: a zero standard error and an interval of one point.
  StandAccumulator same;
  for (int i = 0; i < 3; ++i) same.add("", model1_plot(2.5));
  const FigureEstimate z = carbon(same.estimate().of(Estimate::model1));
  EXPECT_EQ(std::tie(z.se, z.ci95_low, z.ci95_high), std::tuple(0, 2.5, 2.5));

  // A stratum with an area whose plots were all left out stays out of the stand, its area with
  // it: the stand is that of the strata with plots, and says which it left out.
  StandAccumulator partial({{"x", 2}, {"empty", 3}});
  partial.add("x", model1_plot(1));
  partial.add("x", model1_plot(3));
  const StandEstimate p = partial.estimate();
  EXPECT_EQ(p.strata_without_plots, std::vector<std::string>{"empty"});
  EXPECT_EQ(std::tie(carbon(p.of(Estimate::model1)).mean, p.of(Estimate::model1)->n),
            std::tuple(2, 2));
  EXPECT_EQ(p.strata[0].of(Estimate::model1)->weight, 1);

  EXPECT_THROW(StandAccumulator({{"a", 0}}), std::invalid_argument);
  EXPECT_THROW(StandAccumulator({{"a", 1}, {"a", 2}}), std::invalid_argument);
}

// The worked example scaled by a power of two: the figures scale with it, the weights and the
// degrees of freedom do not, whatever the scale, up to the ends of the doubles. A spread beyond
// them gives no interval and says why; areas whose sum is beyond them still weigh.
TEST(StandEstimate, ExtremeFiguresScaleOrSayWhyThereIsNoInterval) {
  const struct {
    const char* name;
    double scale;  // of the carbon of every plot
    double area;   // of each stratum, times 3 and 1
  } cases[] = {
      {"as in the README", 1, 10},
      {"squares beyond the doubles", std::ldexp(1.0, 500), 10},
      {"squares below the doubles", std::ldexp(1.0, -500), 10},
      {"areas whose sum is beyond the doubles", 1, std::ldexp(1.0, 1022)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StandAccumulator stand({{"A", 3 * c.area}, {"B", c.area}});
    for (const auto& [name, value] : {std::pair{"A", 2.0}, {"A", 4.0}, {"B", 9.0}, {"B", 5.0}})
      stand.add(name, model1_plot(value * c.scale));
    const StandEstimate e = stand.estimate();
    EXPECT_EQ(e.strata[0].of(Estimate::model1)->weight, 0.75);
    const FigureEstimate& s = carbon(e.of(Estimate::model1));
    EXPECT_EQ(std::tie(s.mean, s.se, s.df),
              std::tuple(4 * c.scale, 0.9013878188659973 * c.scale, 169.0 / 97));
    EXPECT_FALSE(s.no_interval);
  }
  // Plots at both ends of the doubles: their mean is known, their spread is not.
  StandAccumulator wide({{"A", 3}, {"B", 1}});
  for (const auto& [name, value] : {std::pair{"A", -1e200}, {"A", 1e200}, {"B", 1.0}, {"B", 2.0}})
    wide.add(name, model1_plot(value));
  const StandEstimate e = wide.estimate();
  for (const FigureEstimate* f :
       {&carbon(e.strata[0].of(Estimate::model1)), &carbon(e.of(Estimate::model1))}) {
    EXPECT_FALSE(f->se || f->df || f->ci95_low || f->ci95_high);
    EXPECT_EQ(f->no_interval, NoInterval::spread_beyond_range);
  }
  EXPECT_EQ(carbon(e.strata[1].of(Estimate::model1)).df, 1);  // the other stratum has its own
}

}  // namespace
}  // namespace quorvel
