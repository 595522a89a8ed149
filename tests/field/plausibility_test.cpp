#include "field/plausibility.h"

#include <gtest/gtest.h>

#include <tuple>

#include "engine/inventory_reader.h"

namespace quorvel {
namespace {

auto fields(const Warning& w) {
  return std::tie(w.kind, w.file, w.plot, w.line, w.record, w.value, w.limit, w.count);
}

// The batch's warnings test gives the first piece and the count of each kind over a limit;
// here, the limits themselves, a tally without pieces, and model 1 computed when not given.
TEST(Plausibility, WarnsOnlyBeyondTheLimitsAndOfEmptyTallies) {
  using K = WarningKind;
  const struct {
    const char* name;
    const char* tally;
    std::int16_t transect_length;
    std::vector<Warning> expected;
  } cases[] = {
      {"at_the_limits", "S,300,20,141.42,1\n", 100, {}},
      // Model 1 computed here: one piece of 2 m diameter on a square metre.
      {"carbon_beyond_any_forest",
       "C,200,200,1,1\n",
       1,
       {{K::carbon_above_limit, "p.txt", "P1", 0, 0, 7398.450993191973, 1000, 1}}},
      {"no_pieces", "\n", 100, {{K::no_pieces, "p.txt", "P1", 0, 0, 0, 0, 1}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulationParameters parameters;
    parameters.transect_length = c.transect_length;
    const auto warnings =
        plausibility_warnings(parse_inventory(c.tally, "p.txt"), "P1", parameters);
    ASSERT_EQ(warnings.size(), c.expected.size());
    for (std::size_t i = 0; i < warnings.size(); ++i)
      EXPECT_EQ(fields(warnings[i]), fields(c.expected[i]));
  }
}

}  // namespace
}  // namespace quorvel
