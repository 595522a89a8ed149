// The engine at the edges of its numbers: the smallest and largest plot, the most runs, zero
// densities, enormous diameters, pieces far longer than the plot, and texts that are not
// finite numbers. Each must give a result that makes sense or a clear refusal; none may
// crash, hang or show a figure such as Inf.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "expectation.h"
#include "input_error.h"
#include "inventory_reader.h"
#include "run_driver.h"
#include "text_to_number.h"

namespace quorvel {
namespace {

class QuietHost : public RunHost {
 public:
  WindButton wind_choice() override { return WindButton::none; }
  bool yield(const RunProgress&) override { return true; }
};

// Keeps every far end after the border, to show where the cut pieces end.
class EndsHost : public QuietHost {
 public:
  bool traces() const override { return true; }
  void trace_attempt(const AttemptTrace& a) override {
    ends.push_back({a.placement.x2, a.placement.y2});
    starts.push_back({a.placement.x1, a.placement.y1});
  }
  std::vector<std::pair<double, double>> ends, starts;
};

SimulationParameters with_length_and_runs(int transect_length, int run_count) {
  SimulationParameters p;
  p.transect_length = static_cast<std::int16_t>(transect_length);
  p.run_count = static_cast<std::int16_t>(run_count);
  return p;
}

StartResult start(const Inventory& inventory, const SimulationParameters& p, std::uint64_t seed,
                  RunHost& host) {
  StartInputs inputs;
  inputs.parameters = p;
  inputs.seed = seed;
  return run_start(inventory, inputs, host);
}

bool all_finite(const Model2Estimates& m) {
  bool finite = std::isfinite(m.carbon_per_ha) && std::isfinite(m.pieces_per_ha);
  for (int g = first_group; g <= last_group; ++g)
    finite = finite && std::isfinite(m.volume_per_ha[g]) && std::isfinite(m.surface_per_ha[g]);
  return finite;
}

// Model 2's carbon lies within five standard errors of the value it approaches: a fixed
// seed makes this a fixed outcome, and five standard errors keep a sound engine well inside.
void expect_near_expectation(const Inventory& inventory, const SimulationParameters& p,
                             const StartResult& result) {
  const Model2Expectation expected = expected_model2(inventory, p, WindButton::none);
  const double standard_error = expected.carbon_per_ha_stderr_per_run / std::sqrt(p.run_count);
  EXPECT_NEAR(result.model2.carbon_per_ha, expected.carbon_per_ha, 5 * standard_error);
}

bool on_edge(double x, double y, double side) { return x == 0 || x == side || y == 0 || y == side; }

std::string record_with(int field, const std::string& text) {
  std::string fields[5] = {"\"S\"", "20", "20", "10", "1"};
  fields[field] = text;
  return fields[0] + "," + fields[1] + "," + fields[2] + "," + fields[3] + "," + fields[4] + "\n";
}

const char* const not_finite_texts[] = {"1e400", "-1e400", "1e99999", "nan",      "NaN", "-nan",
                                        "inf",   "-inf",   "Inf",     "infinity", "1e",  "0x1p3"};

TEST(TextsThatAreNoFiniteNumber, AreRefusedInEveryInventoryField) {
  for (int field = 1; field <= 4; ++field) {
    for (const char* text : not_finite_texts) {
      try {
        parse_inventory(record_with(field, text), "plot.txt");
        ADD_FAILURE() << "field " << field + 1 << " took " << text;
      } catch (const InputError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("field " + std::to_string(field + 1)), std::string::npos) << message;
        EXPECT_NE(message.find("plot.txt, line 1, record 1"), std::string::npos) << message;
      }
    }
  }
}

TEST(TextsThatAreNoFiniteNumber, AreRefusedInEveryParameterField) {
  for (const char* text : not_finite_texts) {
    EXPECT_THROW(text_to_int16(text), InputError) << text;
    EXPECT_THROW(text_to_single(text), InputError) << text;
  }
  EXPECT_THROW(text_to_single("1e39"), InputError);  // beyond single precision
  EXPECT_THROW(text_to_int16("1e300"), InputError);
}

TEST(TextsThatAreNoFiniteNumber, VanishinglySmallTextsAreZeroOrRefused) {
  for (const char* text : {"1e-400", "1e-50", "-1e-400"}) {
    try {
      EXPECT_EQ(text_to_int16(text), 0) << text;
    } catch (const InputError&) {
    }
    try {
      EXPECT_EQ(text_to_single(text), 0.0f) << text;
    } catch (const InputError&) {
    }
  }
}

TEST(SmallestPlot, OneMetreGivesFiniteFiguresNearTheirExpectation) {
  const Inventory inventory =
      parse_inventory("\"S\",20,20,0.5,1\n\"H\",12,8,3,2\n\"C\",30,25,12,4\n", "one.txt");
  const SimulationParameters p = with_length_and_runs(1, 400);
  EndsHost host;
  const StartResult result = start(inventory, p, 17, host);
  // 10000 / 1^2: every per-plot figure is multiplied by ten thousand.
  EXPECT_EQ(result.model1.pieces_per_ha, std::floor((1.57 / 0.5 + 1.57 / 3 + 1.57 / 12) * 10000));
  EXPECT_TRUE(all_finite(result.model2));
  for (const auto& [x, y] : host.ends) {
    ASSERT_TRUE(x >= 0 && x <= 1 && y >= 0 && y <= 1) << x << ", " << y;
  }
  expect_near_expectation(inventory, p, result);
}

TEST(LargestPlot, ThirtyTwoThousandMetresGiveFiniteFiguresNearTheirExpectation) {
  const Inventory inventory = parse_inventory("\"S\",20,20,40,1\n\"C\",30,10,400,5\n", "big.txt");
  const SimulationParameters p = with_length_and_runs(32767, 40);
  QuietHost host;
  const StartResult result = start(inventory, p, 3, host);
  // The plot of 32767 m squared is about 107 000 hectares: 40 m pieces stand for few per ha.
  const double per_ha = 10000.0 / (32767.0 * 32767.0);
  EXPECT_EQ(result.model1.pieces_per_ha,
            std::floor(((32767 * 1.57) / 40 + (32767 * 1.57) / 400) * per_ha));
  EXPECT_TRUE(all_finite(result.model2));
  EXPECT_GT(result.tally.placement_count, 40 * 2);
  expect_near_expectation(inventory, p, result);
}

TEST(MostRuns, ThirtyTwoThousandSevenHundredSixtySevenRunsAreAllMadeAndAveraged) {
  // A piece much longer than the plot crosses in most attempts, so the runs are quick.
  const Inventory inventory = parse_inventory("\"H\",10,10,5,3\n", "runs.txt");
  const SimulationParameters p = with_length_and_runs(2, 32767);
  QuietHost host;
  const StartResult result = start(inventory, p, 99, host);
  EXPECT_EQ(result.tally.runs.size(), 32767u);
  EXPECT_GE(result.tally.placement_count, 32767);
  ASSERT_TRUE(result.model2.standard_error.has_value());
  EXPECT_TRUE(std::isfinite(result.model2.standard_error->carbon_per_ha));
  expect_near_expectation(inventory, p, result);
}

TEST(ZeroDensities, GiveNoCarbonButStillVolumeAndSurface) {
  const Inventory inventory = parse_inventory("\"S\",20,20,10,1\n\"C\",30,10,4,5\n", "zero.txt");
  SimulationParameters p = with_length_and_runs(100, 3);
  for (auto& row : p.density.cells) row.fill(0.0f);
  QuietHost host;
  const StartResult result = start(inventory, p, 5, host);
  EXPECT_EQ(result.model1.model1_total, 0.0);
  EXPECT_EQ(result.model2.carbon_per_ha, 0.0);
  EXPECT_FALSE(std::signbit(result.model2.carbon_per_ha));
  EXPECT_GT(result.model2.volume_per_ha[1], 0.0);
  EXPECT_GT(result.model2.surface_per_ha[3], 0.0);
  EXPECT_EQ(result.model1.pieces_per_ha, 15 + 39);  // floor(15.7 + 39.25)
}

TEST(EnormousDiameters, AFiniteResultScalesWithTheSquareOfTheDiameter) {
  const Inventory small = parse_inventory("\"S\",20,20,10,1\n", "small.txt");
  const Inventory enormous = parse_inventory("\"S\",1e30,1e30,10,1\n", "enormous.txt");
  const SimulationParameters p = with_length_and_runs(100, 2);
  QuietHost host;
  const StartResult a = start(small, p, 8, host);
  const StartResult b = start(enormous, p, 8, host);
  ASSERT_TRUE(std::isfinite(b.model1.model1_total));
  EXPECT_NEAR(b.model1.model1_total / a.model1.model1_total, 2.5e57, 2.5e57 * 1e-12);
  EXPECT_TRUE(all_finite(b.model2));
  // The same seed places the pieces alike: only the size differs.
  EXPECT_EQ(a.tally.placement_count, b.tally.placement_count);
}

TEST(EnormousDiameters, FiguresBeyondTheRangeOfNumbersAreRefused) {
  const Inventory inventory =
      parse_inventory("\"S\",20,20,10,1\n\"H\",1e200,1e200,10,1\n", "huge.txt");
  QuietHost host;
  try {
    start(inventory, with_length_and_runs(100, 1), 1, host);
    ADD_FAILURE() << "a Start whose carbon overflows went through";
  } catch (const InputError& error) {
    EXPECT_NE(std::string(error.what()).find("huge.txt"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
  }
}

TEST(PiecesLongerThanThePlot, AreCutAtTheEdgeAndGiveFiniteFigures) {
  // The diagonal of a 100 m plot is 141 m; these pieces are a thousand times longer.
  const Inventory inventory = parse_inventory("\"C\",20,20,1e5,1\n\"S\",10,5,2e5,2\n", "long.txt");
  const SimulationParameters p = with_length_and_runs(100, 300);
  EndsHost host;
  const StartResult result = start(inventory, p, 21, host);
  ASSERT_FALSE(host.ends.empty());
  for (std::size_t i = 0; i < host.ends.size(); ++i) {
    const auto [x, y] = host.ends[i];
    ASSERT_TRUE(x >= 0 && x <= 100 && y >= 0 && y <= 100) << x << ", " << y;
    // A piece that long always leaves the plot, so one of its ends lies on the edge.
    const auto [sx, sy] = host.starts[i];
    ASSERT_TRUE(on_edge(x, y, 100) || on_edge(sx, sy, 100))
        << sx << "," << sy << " - " << x << "," << y;
  }
  EXPECT_TRUE(all_finite(result.model2));
  expect_near_expectation(inventory, p, result);
}

TEST(PiecesLongerThanThePlot, LengthsNearTheLargestNumberAreRefusedNotShownAsInf) {
  for (const char* length : {"1e300", "1.7e308"}) {
    const Inventory inventory =
        parse_inventory(std::string("\"S\",20,20,") + length + ",1\n", "longest.txt");
    QuietHost host;
    try {
      const StartResult result = start(inventory, with_length_and_runs(100, 1), 2, host);
      EXPECT_TRUE(all_finite(result.model2)) << length;
      EXPECT_TRUE(std::isfinite(result.model1.model1_total)) << length;
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << error.what();
    }
  }
}

TEST(DensitiesAtTheEdge, TheLargestSingleIsRefusedWhenItsCarbonOverflows) {
  const Inventory inventory = parse_inventory("\"S\",1e130,1e130,10,1\n", "dense.txt");
  SimulationParameters p = with_length_and_runs(100, 1);
  p.density.at(1, 1) = std::numeric_limits<float>::max();
  p.carbon_fraction = std::numeric_limits<float>::max();
  QuietHost host;
  EXPECT_THROW(start(inventory, p, 4, host), InputError);
}

TEST(VanishinglyShortPieces, ALengthBelowTheNormalRangeIsRefusedNotShownAsNaN) {
  // L x 1.57 / 1e-310 overflows: with diameters of 0 the carbon would be 0 x Inf, not a number.
  for (const char* record : {"\"S\",0,0,1e-310,1\n", "\"S\",20,20,1e-310,1\n"}) {
    const Inventory inventory = parse_inventory(record, "short.txt");
    QuietHost host;
    try {
      start(inventory, with_length_and_runs(100, 1), 1, host);
      ADD_FAILURE() << record << " went through";
    } catch (const InputError& error) {
      EXPECT_NE(std::string(error.what()).find("short.txt"), std::string::npos) << error.what();
    }
  }
}

}  // namespace
}  // namespace quorvel
