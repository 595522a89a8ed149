// The model-2 expectation: hand sums of measures over crossing chances, the per-hectare
// conversion, what stage 0 counts in, and agreement with many runs of the engine's own loop.

#include "expectation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "input_error.h"
#include "inventory.h"
#include "random_source.h"
#include "run_host.h"
#include "simulation_parameters.h"
#include "transect_tally.h"

namespace quorvel {
namespace {

constexpr double pi = std::numbers::pi;

DebrisPiece piece(int group, double d1, double d2, double length, int stage) {
  DebrisPiece p;
  p.group = group;
  p.diameter1 = d1;
  p.diameter2 = d2;
  p.piece_length = length;
  p.stage = stage;
  return p;
}

// Uniform orientation, length at most L/2.
double short_piece_probability(double length, double side) {
  return 2 * length / (pi * side) - length * length / (2 * pi * side * side);
}

// Every piece here has both diameters 20 cm, so by the frustum formula its volume is
// pi_value * 0.03 * length / 3 = 0.01 pi_value length m3 and its surface 0.2 pi_value length m2.
constexpr double engine_pi = 3.14159265358979;
double volume_of(double length) { return 0.01 * engine_pi * length; }
double surface_of(double length) { return 0.2 * engine_pi * length; }

void expect_relatively_near(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::abs(expected));
}

class ExpectationHandSum : public ::testing::Test {
 protected:
  ExpectationHandSum() {
    inventory.source = "hand.txt";
    inventory.pieces = {piece(1, 20, 20, 2, 1), piece(2, 20, 20, 5, 3), piece(3, 20, 20, 4, 5),
                        piece(1, 20, 20, 1, 0), piece(3, 20, 20, 3, 2)};
    parameters.carbon_fraction = 0.5f;
  }
  double density(int stage, int group) const { return parameters.density.at(stage, group); }

  Inventory inventory;
  SimulationParameters parameters;
};

TEST_F(ExpectationHandSum, OnAHundredMetrePlotEveryRecordWeighsOneOverItsChance) {
  parameters.transect_length = 100;  // 10000 / L^2 = 1
  const Model2Expectation e = expected_model2(inventory, parameters, WindButton::none);

  const double p1 = short_piece_probability(2, 100), p2 = short_piece_probability(5, 100),
               p3 = short_piece_probability(4, 100), p0 = short_piece_probability(1, 100),
               p5 = short_piece_probability(3, 100);
  ASSERT_EQ(e.crossing_probability.size(), 5u);
  const double chances[] = {p1, p2, p3, p0, p5};
  for (int i = 0; i < 5; ++i) expect_relatively_near(e.crossing_probability[i], chances[i], 1e-10);

  const double c1 = volume_of(2) * 0.5 * density(1, 1), c2 = volume_of(5) * 0.5 * density(3, 2),
               c3 = volume_of(4) * 0.5 * density(5, 3), c5 = volume_of(3) * 0.5 * density(2, 3);
  expect_relatively_near(e.carbon_per_ha, c1 / p1 + c2 / p2 + c3 / p3 + c5 / p5, 1e-9);
  // The stage-0 record counts as a piece but adds no carbon, volume or surface.
  expect_relatively_near(e.pieces_per_ha, 1 / p1 + 1 / p2 + 1 / p3 + 1 / p0 + 1 / p5, 1e-9);
  expect_relatively_near(e.volume_per_ha[1], volume_of(2) / p1, 1e-9);
  expect_relatively_near(e.volume_per_ha[2], volume_of(5) / p2, 1e-9);
  expect_relatively_near(e.volume_per_ha[3], volume_of(4) / p3 + volume_of(3) / p5, 1e-9);
  expect_relatively_near(e.surface_per_ha[1], surface_of(2) / p1, 1e-9);
  expect_relatively_near(e.surface_per_ha[2], surface_of(5) / p2, 1e-9);
  expect_relatively_near(e.surface_per_ha[3], surface_of(4) / p3 + surface_of(3) / p5, 1e-9);
  EXPECT_EQ(e.volume_per_ha[0], 0);
  EXPECT_EQ(e.surface_per_ha[0], 0);

  // Geometric attempts: variance (1 - p) / p^2 per record, records independent.
  const auto var = [](double p) { return (1 - p) / (p * p); };
  expect_relatively_near(
      e.carbon_per_ha_stderr_per_run,
      std::sqrt(c1 * c1 * var(p1) + c2 * c2 * var(p2) + c3 * c3 * var(p3) + c5 * c5 * var(p5)),
      1e-9);
  expect_relatively_near(e.pieces_per_ha_stderr_per_run,
                         std::sqrt(var(p1) + var(p2) + var(p3) + var(p0) + var(p5)), 1e-9);
}

TEST_F(ExpectationHandSum, OddPlotConvertsByTenThousandOverLSquared) {
  parameters.transect_length = 37;
  inventory.pieces = {piece(2, 20, 20, 5, 3), piece(1, 20, 20, 1, 0)};
  const Model2Expectation e = expected_model2(inventory, parameters, WindButton::none);
  const double per_ha = 10000.0 / (37 * 37);
  const double p = short_piece_probability(5, 37), p0 = short_piece_probability(1, 37);
  const double carbon = volume_of(5) * 0.5 * density(3, 2);
  expect_relatively_near(e.carbon_per_ha, carbon / p * per_ha, 1e-9);
  expect_relatively_near(e.pieces_per_ha, (1 / p + 1 / p0) * per_ha, 1e-9);
  expect_relatively_near(e.volume_per_ha[2], volume_of(5) / p * per_ha, 1e-9);
  expect_relatively_near(e.surface_per_ha[2], surface_of(5) / p * per_ha, 1e-9);
  expect_relatively_near(e.carbon_per_ha_stderr_per_run,
                         carbon * std::sqrt(1 - p) / p * per_ha, 1e-9);
}

TEST_F(ExpectationHandSum, WindAlongTheTransectRaisesTheWeights) {
  // Force 5 on the north button: every angle within 22.5 degrees of the transect. For a short
  // piece p = (length / L) E|cos| - (length^2 / (2 L^2)) E|sin cos| over the sector.
  parameters.transect_length = 100;
  parameters.wind_force = 5;
  inventory.pieces = {piece(3, 20, 20, 4, 5)};
  const double cos_mean = 2 * (1 - std::cos(pi / 8)) / (pi / 4);
  const double sin_cos_mean = (1 - std::sqrt(2.0) / 2) / 2 / (pi / 4);
  const double p = 4.0 / 100 * cos_mean - 16.0 / (2 * 100 * 100) * sin_cos_mean;
  const Model2Expectation e = expected_model2(inventory, parameters, WindButton::n);
  expect_relatively_near(e.carbon_per_ha, volume_of(4) * 0.5 * density(5, 3) / p, 1e-9);
  expect_relatively_near(e.pieces_per_ha, 1 / p, 1e-9);
}

TEST(ExpectationInput, EmptyInventoryExpectsNothing) {
  const Model2Expectation e = expected_model2(Inventory{}, SimulationParameters{}, WindButton::w);
  EXPECT_EQ(e.carbon_per_ha, 0);
  EXPECT_EQ(e.pieces_per_ha, 0);
  EXPECT_EQ(e.carbon_per_ha_stderr_per_run, 0);
  EXPECT_TRUE(e.crossing_probability.empty());
}

TEST(ExpectationInput, RefusesWhatCannotBeExpected) {
  SimulationParameters parameters;
  Inventory never_crosses;
  never_crosses.pieces = {piece(1, 10, 10, 2, 1), piece(1, 10, 10, 0, 1)};
  EXPECT_THROW(expected_model2(never_crosses, parameters, WindButton::none), InputError);

  Inventory bad_group;
  bad_group.pieces = {piece(4, 10, 10, 2, 1)};
  EXPECT_THROW(expected_model2(bad_group, parameters, WindButton::none), InputError);
  Inventory bad_stage;
  bad_stage.pieces = {piece(1, 10, 10, 2, 6)};
  EXPECT_THROW(expected_model2(bad_stage, parameters, WindButton::none), InputError);

  parameters.transect_length = 0;
  EXPECT_THROW(expected_model2(Inventory{}, parameters, WindButton::none), InputError);
}

// ---- Against the engine's runs ----------------------------------------------------------

class FixedWindHost : public RunHost {
 public:
  explicit FixedWindHost(WindButton wind) : wind_(wind) {}
  WindButton wind_choice() override { return wind_; }
  bool yield(const RunProgress&) override { return true; }

 private:
  WindButton wind_;
};

struct RunStatistics {
  double carbon_mean = 0, carbon_sd = 0, pieces_mean = 0, pieces_sd = 0;
};

// Mean and sample standard deviation over the runs, per hectare.
RunStatistics run_statistics(const Tally& tally, int side) {
  const double per_ha = 10000.0 / (double(side) * side);
  const double n = static_cast<double>(tally.runs.size());
  RunStatistics s;
  for (const RunTotals& run : tally.runs) {
    s.carbon_mean += run.carbon * per_ha / n;
    s.pieces_mean += static_cast<double>(run.attempts) * per_ha / n;
  }
  for (const RunTotals& run : tally.runs) {
    const double dc = run.carbon * per_ha - s.carbon_mean;
    const double dp = static_cast<double>(run.attempts) * per_ha - s.pieces_mean;
    s.carbon_sd += dc * dc / (n - 1);
    s.pieces_sd += dp * dp / (n - 1);
  }
  s.carbon_sd = std::sqrt(s.carbon_sd);
  s.pieces_sd = std::sqrt(s.pieces_sd);
  return s;
}

// Many runs of the engine must average to the expectation within 5 standard errors, and their
// spread must match the predicted one. For the spread, the sample variance of R runs has a
// relative standard error of sqrt((kurtosis - 1) / R); a geometric count has kurtosis
// 9 + p^2 / (1 - p), below 10 for the chances here (sums of several only lower it), so the
// sample deviation is within 5 * sqrt(9 / R) / 2 of the true one. With these few long pieces that is a few per cent:
// enough to tell (1 - p) / p^2 from (1 - p) / p, which would be off by a factor 1 / sqrt(p).
void expect_runs_match(const Inventory& inventory, const SimulationParameters& parameters,
                       WindButton wind, std::uint64_t seed) {
  const Model2Expectation e = expected_model2(inventory, parameters, wind);
  RandomSource random(seed);
  FixedWindHost host(wind);
  const Tally tally = perform_runs(inventory, parameters, random, host);
  const RunStatistics s = run_statistics(tally, parameters.transect_length);
  const double runs = parameters.run_count;
  EXPECT_NEAR(s.carbon_mean, e.carbon_per_ha, 5 * e.carbon_per_ha_stderr_per_run / std::sqrt(runs));
  EXPECT_NEAR(s.pieces_mean, e.pieces_per_ha, 5 * e.pieces_per_ha_stderr_per_run / std::sqrt(runs));
  const double sd_tolerance = 5 * std::sqrt(9 / runs) / 2;
  EXPECT_NEAR(s.carbon_sd / e.carbon_per_ha_stderr_per_run, 1, sd_tolerance);
  EXPECT_NEAR(s.pieces_sd / e.pieces_per_ha_stderr_per_run, 1, sd_tolerance);
}

TEST(ExpectationAgainstRuns, LongPiecesOnAnOddPlotUnderWind) {
  Inventory inventory;
  inventory.source = "runs.txt";
  inventory.pieces = {piece(1, 12, 8, 30, 2), piece(2, 25, 15, 8, 4), piece(3, 40, 30, 50, 1),
                      piece(2, 10, 10, 5, 0)};
  SimulationParameters parameters;
  parameters.transect_length = 37;
  parameters.run_count = 20000;
  parameters.wind_force = 3;
  expect_runs_match(inventory, parameters, WindButton::n, 2024);
}

TEST(ExpectationAgainstRuns, UniformOrientationOnAHundredMetrePlot) {
  Inventory inventory;
  inventory.source = "runs.txt";
  inventory.pieces = {piece(1, 12, 8, 40, 2), piece(3, 30, 20, 70, 5), piece(2, 20, 20, 160, 3)};
  SimulationParameters parameters;
  parameters.transect_length = 100;
  parameters.run_count = 20000;
  expect_runs_match(inventory, parameters, WindButton::none, 77);
}

}  // namespace
}  // namespace quorvel
