// The model-2 expectation: hand sums of measures over crossing chances, the per-hectare
// conversion, what stage 0 counts in, and agreement with many runs of the engine's own loop.

#include "engine/expectation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "../support/quiet_host.h"
#include "engine/crossing_probability.h"
#include "engine/inventory.h"
#include "engine/random_source.h"
#include "engine/refusal.h"
#include "engine/run_host.h"
#include "engine/simulation_parameters.h"
#include "engine/transect_tally.h"

namespace quorvel {
namespace {

DebrisPiece piece(int group, double d1, double d2, double length, int stage) {
  return {group, d1, d2, length, stage, 0};
}

void expect_relatively_near(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::abs(expected));
}

// Five pieces 20 cm thick under a uniform angle, all at most L/2 long, one of stage 0 (a piece
// that adds no carbon, volume or surface). The values are hand sums of each piece's measures
// (by the frustum, 0.01 pi length m3 and twenty times that in m2) over its crossing chance,
// per hectare.
TEST(ExpectationHandSum, EveryRecordWeighsOneOverItsChanceConvertedPerHectare) {
  Inventory inventory;
  inventory.pieces = {piece(1, 20, 20, 2, 1), piece(2, 20, 20, 5, 3), piece(3, 20, 20, 4, 5),
                      piece(1, 20, 20, 1, 0), piece(3, 20, 20, 3, 2)};
  const struct {
    int side;
    double carbon, pieces, softwood_volume, conifer_volume, hardwood_surface;
  } cases[] = {{100, 2.6054423716544006, 360.6435192949736, 4.9596002015524387, 9.9567415846931002,
                99.945361023689657},
               {37, 7.1460334454599899, 984.00598830691376, 13.520006028889526, 27.321031340180301,
                276.07285038012179}};
  for (const auto& c : cases) {
    SCOPED_TRACE("L " + std::to_string(c.side));
    SimulationParameters parameters;
    parameters.transect_length = c.side;
    parameters.carbon_fraction = 0.5f;
    const Model2Expectation e = expected_model2(inventory, parameters, WindButton::none);
    EXPECT_EQ(e.crossing_probability.size(), 5u);
    expect_relatively_near(e.carbon_per_ha, c.carbon, 1e-9);
    expect_relatively_near(e.pieces_per_ha, c.pieces, 1e-9);
    expect_relatively_near(e.volume_per_ha[1], c.softwood_volume, 1e-9);
    expect_relatively_near(e.volume_per_ha[3], c.conifer_volume, 1e-9);
    expect_relatively_near(e.surface_per_ha[2], c.hardwood_surface, 1e-9);
    EXPECT_EQ(e.volume_per_ha[0] + e.surface_per_ha[0], 0);
    // Carbon by stage and group: the four records with carbon each fill their own cell, which
    // add up to the total; every other cell stays empty.
    double cells = 0;
    for (int stage = 1; stage <= 5; ++stage)
      for (int group = 1; group <= 3; ++group) cells += e.carbon_by_stage_group.at(stage, group);
    expect_relatively_near(cells, c.carbon, 1e-12);
    for (auto [stage, group] : {std::pair{1, 1}, {3, 2}, {5, 3}, {2, 3}})
      EXPECT_GT(e.carbon_by_stage_group.at(stage, group), 0);
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
