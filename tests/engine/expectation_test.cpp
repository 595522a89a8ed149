// The model-2 expectation: hand sums of measures over crossing chances, the per-hectare
// conversion, what stage 0 counts in, and agreement with many runs of the engine's own loop.

#include "expectation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "../support/quiet_host.h"
#include "crossing_probability.h"
#include "inventory.h"
#include "random_source.h"
#include "refusal.h"
#include "run_host.h"
#include "simulation_parameters.h"
#include "transect_tally.h"

namespace quorvel {
namespace {

DebrisPiece piece(int group, double d1, double d2, double length, int stage) {
  DebrisPiece p;
  p.group = group;
  p.diameter1 = d1;
  p.diameter2 = d2;
  p.piece_length = length;
  p.stage = stage;
  return p;
}

void expect_relatively_near(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::abs(expected));
}

TEST(ExpectationHandSum, EveryRecordWeighsOneOverItsChanceConvertedPerHectare) {
  // Both diameters 20 cm, so by the frustum formula a piece's volume is
  // pi_value * 0.03 * length / 3 = 0.01 pi_value length m3 and its surface twenty times that.
  const auto volume = [](double length) { return 0.01 * 3.14159265358979 * length; };
  Inventory inventory;
  inventory.pieces = {piece(1, 20, 20, 2, 1), piece(2, 20, 20, 5, 3), piece(3, 20, 20, 4, 5),
                      piece(1, 20, 20, 1, 0), piece(3, 20, 20, 3, 2)};
  for (const int side : {100, 37}) {
    SCOPED_TRACE("L " + std::to_string(side));
    SimulationParameters parameters;
    parameters.transect_length = side;
    parameters.carbon_fraction = 0.5f;
    const Model2Expectation e = expected_model2(inventory, parameters, WindButton::none);
    // Uniform orientation, every length at most L/2.
    const auto chance = [&](double length) {
      return 2 * length / (std::numbers::pi * side) -
             length * length / (2 * std::numbers::pi * side * side);
    };
    const double p1 = chance(2), p2 = chance(5), p3 = chance(4), p0 = chance(1), p5 = chance(3);
    ASSERT_EQ(e.crossing_probability.size(), 5u);
    const double chances[] = {p1, p2, p3, p0, p5};
    for (int i = 0; i < 5; ++i)
      expect_relatively_near(e.crossing_probability[i], chances[i], 1e-10);

    const auto& density = parameters.density;
    const double per_ha = 10000.0 / (double(side) * side);
    const double c1 = volume(2) * 0.5 * density.at(1, 1), c2 = volume(5) * 0.5 * density.at(3, 2),
                 c3 = volume(4) * 0.5 * density.at(5, 3), c5 = volume(3) * 0.5 * density.at(2, 3);
    expect_relatively_near(e.carbon_per_ha, (c1 / p1 + c2 / p2 + c3 / p3 + c5 / p5) * per_ha, 1e-9);
    // The stage-0 record counts as a piece but adds no carbon, volume or surface.
    expect_relatively_near(e.pieces_per_ha, (1 / p1 + 1 / p2 + 1 / p3 + 1 / p0 + 1 / p5) * per_ha,
                           1e-9);
    expect_relatively_near(e.volume_per_ha[1], volume(2) / p1 * per_ha, 1e-9);
    expect_relatively_near(e.volume_per_ha[3], (volume(4) / p3 + volume(3) / p5) * per_ha, 1e-9);
    expect_relatively_near(e.surface_per_ha[2], 20 * volume(5) / p2 * per_ha, 1e-9);
    EXPECT_EQ(e.volume_per_ha[0] + e.surface_per_ha[0], 0);
    // Carbon by stage and group: each record in its own cell, the rest empty.
    expect_relatively_near(e.carbon_by_stage_group.at(1, 1), c1 / p1 * per_ha, 1e-9);
    expect_relatively_near(e.carbon_by_stage_group.at(3, 2), c2 / p2 * per_ha, 1e-9);
    expect_relatively_near(e.carbon_by_stage_group.at(5, 3), c3 / p3 * per_ha, 1e-9);
    expect_relatively_near(e.carbon_by_stage_group.at(2, 3), c5 / p5 * per_ha, 1e-9);
    EXPECT_EQ(e.carbon_by_stage_group.at(1, 3) + e.carbon_by_stage_group.at(0, 1), 0);
  }
}

TEST(ExpectationInput, WindEmptyInventoryAndWhatCannotBeExpected) {
  SimulationParameters parameters;
  parameters.wind_force = 5;
  Inventory one;
  one.pieces = {piece(3, 20, 20, 4, 5)};
  EXPECT_EQ(expected_model2(one, parameters, WindButton::n).crossing_probability.at(0),
            crossing_probability(4, 100, WindButton::n, 5));

  const Model2Expectation e = expected_model2(Inventory{}, parameters, WindButton::w);
  EXPECT_EQ(e.carbon_per_ha, 0);
  EXPECT_EQ(e.pieces_per_ha, 0);
  EXPECT_EQ(e.carbon_per_ha_stderr_per_run, 0);
  EXPECT_TRUE(e.crossing_probability.empty());

  Inventory never_crosses, bad_group, bad_stage;
  never_crosses.pieces = {piece(1, 10, 10, 2, 1), piece(1, 10, 10, 0, 1)};
  bad_group.pieces = {piece(4, 10, 10, 2, 1)};
  bad_stage.pieces = {piece(1, 10, 10, 2, 6)};
  for (const Inventory* refused : {&never_crosses, &bad_group, &bad_stage})
    EXPECT_THROW(expected_model2(*refused, parameters, WindButton::none), Refused);
  parameters.transect_length = 0;
  EXPECT_THROW(expected_model2(Inventory{}, parameters, WindButton::none), Refused);
}

// ---- Against the engine's runs ----------------------------------------------------------

// Many runs of the engine must average to the expectation within 5 standard errors, and their
// spread must match the predicted one. The sample variance of R runs has a relative standard
// error of sqrt((kurtosis - 1) / R); a geometric count has kurtosis 9 + p^2 / (1 - p), below 10
// for the chances here (sums of several only lower it), so the sample deviation lies within
// 5 * sqrt(9 / R) / 2 of the true one: a few per cent, enough to tell (1 - p) / p^2 from
// (1 - p) / p, which would be off by a factor 1 / sqrt(p).
void expect_runs_match(int side, WindButton wind, int force, std::uint64_t seed,
                       std::vector<DebrisPiece> pieces) {
  SCOPED_TRACE("L " + std::to_string(side));
  Inventory inventory;
  inventory.source = "runs.txt";
  inventory.pieces = std::move(pieces);
  SimulationParameters parameters;
  parameters.transect_length = side;
  parameters.run_count = 20000;
  parameters.wind_force = force;
  const Model2Expectation e = expected_model2(inventory, parameters, wind);
  RandomSource random(seed);
  testing::QuietHost host(wind);
  const Tally tally = perform_runs(inventory, parameters, random, host);

  // Mean and sample standard deviation over the runs, per hectare.
  const double per_ha = 10000.0 / (double(side) * side);
  const double n = static_cast<double>(tally.runs.size());
  const auto mean_and_sd = [&](auto value_of) {
    double sum = 0, squares = 0;
    for (const RunTotals& run : tally.runs) {
      const double value = static_cast<double>(value_of(run)) * per_ha;
      sum += value;
      squares += value * value;
    }
    return std::pair(sum / n, std::sqrt((squares - sum * sum / n) / (n - 1)));
  };
  const auto [carbon_mean, carbon_sd] = mean_and_sd([](const RunTotals& r) { return r.carbon; });
  const auto [pieces_mean, pieces_sd] = mean_and_sd([](const RunTotals& r) { return r.attempts; });
  EXPECT_NEAR(carbon_mean, e.carbon_per_ha, 5 * e.carbon_per_ha_stderr_per_run / std::sqrt(n));
  EXPECT_NEAR(pieces_mean, e.pieces_per_ha, 5 * e.pieces_per_ha_stderr_per_run / std::sqrt(n));
  const double sd_tolerance = 5 * std::sqrt(9 / n) / 2;
  EXPECT_NEAR(carbon_sd / e.carbon_per_ha_stderr_per_run, 1, sd_tolerance);
  EXPECT_NEAR(pieces_sd / e.pieces_per_ha_stderr_per_run, 1, sd_tolerance);
}

TEST(ExpectationAgainstRuns, MeanAndSpreadOfManyRunsMatch) {
  // Long pieces on an odd plot under wind, one of stage 0.
  expect_runs_match(37, WindButton::n, 3, 2024,
                    {piece(1, 12, 8, 30, 2), piece(2, 25, 15, 8, 4), piece(3, 40, 30, 50, 1),
                     piece(2, 10, 10, 5, 0)});
  // Uniform orientation on a hundred-metre plot, up to past the diagonal.
  expect_runs_match(100, WindButton::none, 0, 77,
                    {piece(1, 12, 8, 40, 2), piece(3, 30, 20, 70, 5), piece(2, 20, 20, 160, 3)});
}

}  // namespace
}  // namespace quorvel
