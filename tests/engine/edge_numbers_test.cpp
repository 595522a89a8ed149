// The engine at the edges of its numbers: every Start ends in figures that are finite and near
// the values they approach, or in a refusal that names the inventory; none shows Inf or NaN.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "../support/quiet_host.h"
#include "engine/expectation.h"
#include "engine/inventory_reader.h"
#include "engine/refusal.h"
#include "engine/run_driver.h"
#include "engine/simulation_parameters.h"
#include "engine/text_to_number.h"

namespace quorvel {
namespace {

TEST(TextsThatAreNoFiniteNumber, AreRefusedInEveryInventoryAndParameterField) {
  for (const char* text :
       {"1e400", "-1e400", "1e99999", "nan", "NaN", "-nan", "inf", "-inf", "infinity", "0x1p3"}) {
    for (int field = 1; field < 5; ++field) {
      std::string f[5] = {"\"S\"", "20", "20", "10", "1"};
      f[field] = text;
      const std::string record = f[0] + "," + f[1] + "," + f[2] + "," + f[3] + "," + f[4];
      EXPECT_THROW(parse_inventory(record, "p.txt"), Refused) << record;
    }
    EXPECT_THROW(text_to_int16(text), Refused) << text;
    EXPECT_THROW(text_to_single(text), Refused) << text;
  }
}

enum class Outcome { figures, refused, either };
enum class Densities { usual, smallest, largest };

struct EdgeStart {
  const char* what;
  const char* inventory;
  int length, runs;
  Outcome outcome;
  Densities densities = Densities::usual;
  double pieces_per_ha = -1;  // model 1's, where it is worth stating; -1 otherwise
};

const EdgeStart edge_starts[] = {
    {"smallest plot", "\"S\",20,20,0.5,1\n\"H\",12,8,3,2\n\"C\",30,25,12,4\n", 1, 400,
     Outcome::figures, Densities::usual, 37941 /* of 37 941.67 */},
    // 32767 m squared is some 107 000 ha: 0.013 pieces a hectare.
    {"largest plot", "\"S\",20,20,40,1\n\"C\",30,10,400,5\n", 32767, 40, Outcome::figures,
     Densities::usual, 0},
    // A piece longer than the 2 m plot crosses in most attempts, so the runs are quick.
    {"most runs", "\"H\",10,10,5,3\n", 2, 32767, Outcome::figures},
    {"smallest densities", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n", 100, 3, Outcome::figures,
     Densities::smallest, 15 + 39},
    {"diameters of 1e30 cm", "\"S\",1e30,1e30,10,1\n", 100, 2, Outcome::figures},
    {"pieces a thousand times the diagonal", "\"C\",20,20,1e5,1\n\"S\",10,5,2e5,2\n", 100, 300,
     Outcome::figures},
    {"carbon beyond double precision", "\"S\",20,20,10,1\n\"H\",1e200,1e200,10,1\n", 100, 1,
     Outcome::refused},
    {"largest density and carbon fraction", "\"S\",1e160,1e160,10,1\n", 100, 1, Outcome::refused,
     Densities::largest},
    // L x 1.57 / 1e-310 overflows; with diameters of 0 the carbon would be 0 x Inf.
    {"length below the normal range", "\"S\",0,0,1e-310,1\n\"S\",20,20,1e-310,1\n", 100, 1,
     Outcome::refused},
    {"lengths near the largest number", "\"S\",20,20,1e300,1\n\"S\",20,20,1.7e308,1\n", 100, 2,
     Outcome::either},
};

TEST(EdgeStarts, GiveFiniteFiguresNearTheirExpectationOrARefusalNamingTheInventory) {
  for (const EdgeStart& c : edge_starts) {
    SCOPED_TRACE(c.what);
    const Inventory inventory = parse_inventory(c.inventory, "edge.txt");
    StartInputs inputs;
    inputs.seed = 17;
    inputs.parameters.transect_length = static_cast<std::int16_t>(c.length);
    inputs.parameters.run_count = static_cast<std::int16_t>(c.runs);
    if (c.densities == Densities::smallest)
      for (auto& row : inputs.parameters.density.cells)
        row.fill(std::numeric_limits<float>::denorm_min());
    if (c.densities == Densities::largest) {
      inputs.parameters.density.at(1, 1) = max_density;
      inputs.parameters.carbon_fraction = 1;
    }
    testing::QuietHost host;
    StartResult r;
    try {
      r = run_start(inventory, inputs, host);
    } catch (const Refused& refused) {
      EXPECT_NE(c.outcome, Outcome::figures) << refused.what();
      EXPECT_EQ(refused.refusal().kind, RefusalKind::figure_beyond_range);
      EXPECT_EQ(refused.refusal().file, "edge.txt");
      continue;
    }
    ASSERT_NE(c.outcome, Outcome::refused);
    const Model2Estimates& m = r.model2;
    for (double x :
         {r.model1.model1_total, m.carbon_per_ha, m.pieces_per_ha, m.volume_per_ha[1],
          m.volume_per_ha[2], m.volume_per_ha[3], m.surface_per_ha[1], m.surface_per_ha[2],
          m.surface_per_ha[3], m.standard_error ? m.standard_error->carbon_per_ha : 0})
      EXPECT_TRUE(std::isfinite(x)) << x;
    if (c.outcome == Outcome::either) continue;
    EXPECT_EQ(r.tally.runs.size(), static_cast<std::size_t>(c.runs));
    EXPECT_TRUE(c.pieces_per_ha < 0 || r.model1.pieces_per_ha == c.pieces_per_ha)
        << r.model1.pieces_per_ha;
    // Five standard errors of the mean: a sound engine stays well inside with any seed.
    const Model2Expectation expected =
        expected_model2(inventory, inputs.parameters, WindButton::none);
    EXPECT_NEAR(r.model2.carbon_per_ha, expected.carbon_per_ha,
                5 * expected.carbon_per_ha_stderr_per_run / std::sqrt(c.runs));
    if (c.densities == Densities::smallest) {
      EXPECT_LT(r.model1.model1_total, 1e-30);
      EXPECT_FALSE(std::signbit(r.model2.carbon_per_ha));
      EXPECT_GT(r.model2.volume_per_ha[1], 0.0);
    }
  }
}

}  // namespace
}  // namespace quorvel
