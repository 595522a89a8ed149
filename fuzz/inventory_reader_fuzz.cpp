// Arbitrary bytes to the inventory reader: an inventory the engine can work with, or a refusal
// naming the file and a line. Small inventories go on through model 1, the expectation and a
// short run, so that what the reader lets through is tried where it is used.

#include "../tests/support/quiet_host.h"
#include "engine/expectation.h"
#include "engine/figure_range.h"
#include "engine/inventory_reader.h"
#include "engine/model1.h"
#include "engine/run_driver.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

using testing::QuietHost;

// The first bytes of the input choose L and the wind for the engine part, so that the same
// inventory is also tried on tiny and huge plots.
void try_in_the_engine(const Inventory& inventory, std::uint8_t choice) {
  SimulationParameters parameters;
  static constexpr std::int16_t lengths[] = {1, 2, 7, 100, 1000, 32767};
  parameters.transect_length = lengths[choice % 6];
  QuietHost host;
  host.wind_ = static_cast<WindButton>((choice / 6) % 9);
  parameters.wind_force = static_cast<std::int16_t>((choice / 54) % 6);

  // Model 1 either passes the range check with figures that make sense, or is refused.
  const Model1Result model1 = compute_model1(inventory, parameters);
  require(model1.record_count == static_cast<std::int64_t>(inventory.pieces.size()));
  try {
    check_figure_range(model1, inventory.source);
    require(model1.model1_total >= 0 && model1.pieces_per_ha >= 0);
  } catch (const Refused&) {
  }

  try {
    const Model2Expectation expected = expected_model2(inventory, parameters, host.wind_);
    require(expected.crossing_probability.size() == inventory.pieces.size());
    for (double p : expected.crossing_probability) require(p >= 0 && p <= 1);
    check_figure_range(expected, inventory.source);
    require(expected.carbon_per_ha >= 0 && expected.pieces_per_ha >= 0);
  } catch (const Refused&) {
  }

  StartInputs inputs;
  inputs.parameters = parameters;
  inputs.seed = choice;
  inputs.max_attempts_per_record = 2000;  // bounded work per input
  try {
    const StartResult result = run_start(inventory, inputs, host);
    require(result.tally.placement_count >= static_cast<std::int64_t>(inventory.pieces.size()));
    require(result.model2.carbon_per_ha >= 0 && std::isfinite(result.model2.carbon_per_ha));
    require(std::isfinite(result.model1.model1_total));
  } catch (const Refused&) {
    // a piece too short to cross within the cap, or figures beyond the range of numbers:
    // refused, which is the promised outcome
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Inventory inventory;
  try {
    inventory = parse_inventory(text_of(data, size), "fuzz.txt");
  } catch (const Refused& refused) {
    require(refused.refusal().file == "fuzz.txt" && refused.refusal().line >= 1);
    return 0;
  }
  require(inventory.source == "fuzz.txt");
  for (const DebrisPiece& piece : inventory.pieces) check_record(piece);
  if (!inventory.pieces.empty() && inventory.pieces.size() <= 4)
    try_in_the_engine(inventory, size > 0 ? data[size - 1] : 0);
  return 0;
}
