#include "plausibility.h"

#include <gtest/gtest.h>

#include "inventory_reader.h"

namespace quorvel {
namespace {

TEST(Plausibility, WarnsOncePerKindNamingTheFirstPieceAndCountingThem) {
  const struct {
    const char* name;
    const char* tally;
    std::int16_t transect_length;
    std::vector<Warning> expected;  // file and plot aside
  } cases[] = {
      {"at_the_limits", "S,300,20,141.42,1\n", 100, {}},
      {"diameters_in_mm",
       "S,20,20,1,1\nH,250,300.5,1,1\nC,400,20,1,1\n",
       100,
       {{WarningKind::diameter_above_limit, "", "", 2, 2, 300.5, 300, 2}}},
      {"longer_than_the_diagonal",
       "S,1,1,14.14,1\nS,1,1,14.15,1\n",
       10,
       {{WarningKind::longer_than_diagonal, "", "", 2, 2, 14.15, 14.142135623730951, 1}}},
      {"no_pieces", "\n", 100, {{WarningKind::no_pieces, "", "", 0, 0, 0, 0, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulationParameters parameters;
    parameters.transect_length = c.transect_length;
    const auto warnings =
        plausibility_warnings(parse_inventory(c.tally, "p.txt"), "P1", parameters);
    ASSERT_EQ(warnings.size(), c.expected.size());
    for (std::size_t i = 0; i < warnings.size(); ++i) {
      const Warning &w = warnings[i], &e = c.expected[i];
      EXPECT_EQ(w.kind, e.kind);
      EXPECT_EQ(w.file, "p.txt");
      EXPECT_EQ(w.plot, "P1");
      EXPECT_EQ(w.line, e.line);
      EXPECT_EQ(w.record, e.record);
      EXPECT_EQ(w.value, e.value);
      EXPECT_EQ(w.limit, e.limit);
      EXPECT_EQ(w.count, e.count);
    }
  }
}

TEST(Plausibility, CarbonBeyondAnyForestIsModelOnesTotal) {
  SimulationParameters parameters;
  parameters.transect_length = 1;  // one piece of 2 m diameter on a square metre
  const Inventory inventory = parse_inventory("C,200,200,1,1\n", "p.txt");
  const auto warnings = plausibility_warnings(inventory, "", parameters);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].kind, WarningKind::carbon_above_limit);
  EXPECT_EQ(warnings[0].value, compute_model1(inventory, parameters).model1_total);
  EXPECT_GT(warnings[0].value, 1000);
}

}  // namespace
}  // namespace quorvel
