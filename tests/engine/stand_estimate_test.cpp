#include "stand_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
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

const FigureEstimate& carbon(const std::optional<StratumSummary>& s) {
  return s.value().figures.carbon_t_per_ha;
}
const FigureEstimate& carbon(const std::optional<StandSummary>& s) {
  return s.value().figures.carbon_t_per_ha;
}

// The worked example of the README: plots of 2 and 4 t/ha in stratum A (30 ha),
// one of 9 t/ha in stratum B (10 ha); then a fourth plot of 5 t/ha in B.
TEST(StandEstimate, TheWorkedExampleByHand) {
  StandAccumulator stand({{"A", 30}, {"B", 10}});
  stand.add("A", model1_plot(2));
  stand.add("A", model1_plot(4));
  stand.add("B", model1_plot(9));
  StandEstimate e = stand.estimate();
  ASSERT_EQ(e.strata.size(), 2u);
  const FigureEstimate& a = carbon(e.strata[0].of(Estimate::model1));
  EXPECT_EQ(e.strata[0].of(Estimate::model1)->weight, 0.75);
  EXPECT_EQ(a.mean, 3);
  EXPECT_EQ(a.sd, 1.4142135623730951);  // sqrt(2)
  EXPECT_EQ(a.se, 1);
  EXPECT_EQ(a.df, 1);
  EXPECT_NEAR(*a.ci95_low, -9.70620473617469331410, 1e-13);
  EXPECT_NEAR(*a.ci95_high, 15.70620473617469331410, 1e-13);
  const FigureEstimate& b = carbon(e.strata[1].of(Estimate::model1));
  EXPECT_EQ(e.strata[1].of(Estimate::model1)->weight, 0.25);
  EXPECT_EQ(b.mean, 9);
  EXPECT_FALSE(b.sd || b.se || b.df || b.ci95_low || b.ci95_high);
  const FigureEstimate& s = carbon(e.of(Estimate::model1));
  EXPECT_EQ(e.of(Estimate::model1)->strata_without_variance, 1);
  EXPECT_EQ(s.mean, 4.5);
  EXPECT_EQ(s.se, 0.75);
  EXPECT_EQ(s.df, 1);
  EXPECT_NEAR(*s.ci95_low, -5.02965355213101998558, 1e-13);
  EXPECT_NEAR(*s.ci95_high, 14.02965355213101998558, 1e-13);

  stand.add("B", model1_plot(5));
  e = stand.estimate();
  const FigureEstimate& b2 = carbon(e.strata[1].of(Estimate::model1));
  EXPECT_EQ(b2.mean, 7);
  EXPECT_EQ(b2.sd, 2.8284271247461903);  // sqrt(8)
  EXPECT_EQ(b2.se, 2);
  EXPECT_NEAR(*b2.ci95_high, 32.41240947234938662820, 1e-13);
  const FigureEstimate& s2 = carbon(e.of(Estimate::model1));
  EXPECT_EQ(e.of(Estimate::model1)->strata_without_variance, 0);
  EXPECT_EQ(s2.mean, 4);
  EXPECT_EQ(s2.se, 0.9013878188659973);  // sqrt(0.8125)
  EXPECT_EQ(s2.df, 169.0 / 97);          // 0.8125^2 / (0.5625^2 / 1 + 0.25^2 / 1)
  EXPECT_NEAR(*s2.ci95_low, -0.48353088404067943633, 1e-13);
  EXPECT_NEAR(*s2.ci95_high, 8.48353088404067943633, 1e-13);
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
  const StandEstimate e = stand.estimate();
  const FigureEstimate& f = carbon(e.strata[0].of(Estimate::model1));
  EXPECT_EQ(f.mean, 1e9 + 10);
  EXPECT_EQ(f.sd, std::sqrt(30.0));  // the variance is 30 to the last bit
}

TEST(StandEstimate, LawsOfStratifiedMeansWithoutAreas) {
  const std::vector<std::vector<double>> strata = {
      {12.5, 3.25, 8.0, 17.75}, {40.0, 38.5}, {0.5, 1.5, 2.5, 2.0, 9.0, 4.0}};
  StandAccumulator stand;
  double total = 0;
  int n = 0;
  for (std::size_t h = 0; h < strata.size(); ++h)
    for (const double v : strata[h]) {
      stand.add(std::to_string(h), model1_plot(v));
      total += v;
      ++n;
    }
  const StandEstimate e = stand.estimate();
  const FigureEstimate& s = carbon(e.of(Estimate::model1));
  // Weighted by their share of the plots, the strata give back the plain mean of the plots.
  EXPECT_NEAR(s.mean, total / n, 1e-14 * total / n);
  // Satterthwaite's degrees of freedom lie between the smallest n_h - 1 and sum (n_h - 1).
  EXPECT_GE(*s.df, 1);
  EXPECT_LE(*s.df, 3 + 1 + 5);
  EXPECT_LT(*s.ci95_low, s.mean - 1.96 * *s.se);
}

TEST(StandEstimate, LawsOfSatterthwaitesDegreesOfFreedom) {
  // One stratum: the stand is the stratum, on n - 1 degrees of freedom.
  StandAccumulator one;
  for (const double v : {3.0, 5.5, 4.0, 9.25, 1.0}) one.add("only", model1_plot(v));
  const StandEstimate e = one.estimate();
  const FigureEstimate& s = carbon(e.of(Estimate::model1));
  const FigureEstimate& h = carbon(e.strata[0].of(Estimate::model1));
  EXPECT_EQ(s.mean, h.mean);
  EXPECT_NEAR(*s.se, *h.se, 1e-15 * *h.se);
  EXPECT_NEAR(*s.df, 4, 1e-14);
  EXPECT_NEAR(*s.ci95_high, *h.ci95_high, 1e-14 * *h.ci95_high);
  // Equal weights, sizes and variances: the degrees of freedom add up.
  StandAccumulator equal({{"a", 5}, {"b", 5}, {"c", 5}});
  for (const auto& [name, low] : {std::pair{"a", 1.0}, {"b", 10.0}, {"c", 20.0}})
    for (const double d : {0.0, 2.0, 3.0}) equal.add(name, model1_plot(low + d));
  EXPECT_NEAR(*carbon(equal.estimate().of(Estimate::model1)).df, 6, 1e-14);
}

TEST(StandEstimate, WhatCannotBeEstimatedIsAbsentAndSaysWhy) {
  // Strata of one plot each: means only.
  StandAccumulator singles;
  singles.add("x", model1_plot(1));
  singles.add("y", model1_plot(3));
  const StandEstimate e1 = singles.estimate();
  EXPECT_EQ(e1.of(Estimate::model1)->strata_without_variance, 2);
  EXPECT_EQ(carbon(e1.of(Estimate::model1)).mean, 2);
  EXPECT_FALSE(carbon(e1.of(Estimate::model1)).se);
  EXPECT_FALSE(e1.of(Estimate::model2));  // no plot had model 2

  // With areas: a stratum without plots, or plots in a stratum without area, leave the stand
  // unestimated; the strata that have plots are still given. A refused plot (no figures)
  // counts among the plots but not in n.
  StandAccumulator areas({{"x", 2}, {"empty", 3}});
  areas.add("x", model1_plot(1));
  areas.add("x", PlotFigures{});
  areas.add("stray", model1_plot(5));
  const StandEstimate e2 = areas.estimate();
  EXPECT_FALSE(e2.of(Estimate::model1));
  EXPECT_EQ(e2.strata_without_plots, std::vector<std::string>{"empty"});
  EXPECT_EQ(e2.strata_without_area, std::vector<std::string>{"stray"});
  EXPECT_EQ(e2.strata[0].plots, 2);
  EXPECT_EQ(e2.strata[0].of(Estimate::model1)->n, 1);
  EXPECT_EQ(e2.strata[0].of(Estimate::model1)->weight, 0.4);

  // No spread at all: a zero standard error and an interval of one point.
  StandAccumulator same;
  for (int i = 0; i < 3; ++i) same.add("", model1_plot(2.5));
  const StandEstimate e3 = same.estimate();
  const FigureEstimate& z = carbon(e3.of(Estimate::model1));
  EXPECT_EQ(z.se, 0);
  EXPECT_EQ(z.ci95_low, 2.5);
  EXPECT_EQ(z.ci95_high, 2.5);

  EXPECT_THROW(StandAccumulator({{"a", 0}}), std::invalid_argument);
  EXPECT_THROW(StandAccumulator({{"a", 1}, {"a", 2}}), std::invalid_argument);
}

// The intervals hold their 95%: normal plots in three strata of 3, 4 and 6 plots with very
// different spreads and areas, where normal quantiles or n_h - 1 alone would miss.
TEST(StandEstimate, NinetyFivePercentIntervalsCoverTheTrueMean) {
  std::mt19937_64 random(20240613);
  std::uniform_real_distribution<double> uniform(0, 1);
  const auto normal = [&] {  // Box-Muller, the same on every standard library
    return std::sqrt(-2 * std::log(1 - uniform(random))) *
           std::cos(2 * 3.141592653589793 * uniform(random));
  };
  const struct {
    const char* name;
    double area, mean, sd;
    int n;
  } strata[] = {{"a", 50, 10, 1, 3}, {"b", 30, 20, 6, 4}, {"c", 20, 5, 2, 6}};
  const double true_mean = 0.5 * 10 + 0.3 * 20 + 0.2 * 5;
  const int trials = 4000;
  int stratum_hits = 0, stand_hits = 0;
  for (int trial = 0; trial < trials; ++trial) {
    StandAccumulator stand({{"a", 50}, {"b", 30}, {"c", 20}});
    for (const auto& s : strata)
      for (int i = 0; i < s.n; ++i) stand.add(s.name, model1_plot(s.mean + s.sd * normal()));
    const StandEstimate e = stand.estimate();
    const FigureEstimate& b = carbon(e.strata[1].of(Estimate::model1));
    stratum_hits += *b.ci95_low <= 20 && 20 <= *b.ci95_high;
    const FigureEstimate& s = carbon(e.of(Estimate::model1));
    stand_hits += *s.ci95_low <= true_mean && true_mean <= *s.ci95_high;
  }
  // Exact for a stratum; Satterthwaite's approximation stays near. Four standard errors of a
  // proportion of 0.95 over 4000 trials: 0.014.
  const double tolerance = 4 * std::sqrt(0.95 * 0.05 / trials);
  EXPECT_NEAR(stratum_hits / double(trials), 0.95, tolerance);
  EXPECT_NEAR(stand_hits / double(trials), 0.95, tolerance);
}

}  // namespace
}  // namespace quorvel
