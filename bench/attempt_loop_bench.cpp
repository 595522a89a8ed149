// Speed of the placement attempts: the bare loop of place, border, exchange and test, and a
// whole Start of the bundled example through the host interface without drawing.

#include <benchmark/benchmark.h>

#include "engine/border.h"
#include "engine/inventory_reader.h"
#include "engine/placement.h"
#include "engine/run_driver.h"
#include "engine/transect.h"

namespace {

using namespace quorvel;

class BenchHost : public RunHost {
 public:
  WindButton wind_choice() override { return WindButton::none; }
  bool yield(const RunProgress&) override { return true; }
};

void bare_attempts(benchmark::State& state) {
  const DebrisPiece piece{1, 20, 15, 2.5, 2, 1};
  RandomSource random(1);
  std::int64_t crossings = 0;
  for (auto _ : state) {
    Placement p = place_piece(piece, 100, WindButton::none, 0, random);
    border(p, 100);
    exchange_ends(p, random);
    crossings += crosses_transect(p, 100);
  }
  benchmark::DoNotOptimize(crossings);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(bare_attempts);

void whole_start(benchmark::State& state) {
  const Inventory inventory = read_inventory(QUORVEL_SOURCE_DIR "/examples/plot7.txt");
  StartInputs inputs;
  inputs.parameters.run_count = static_cast<std::int16_t>(state.range(0));
  BenchHost host;
  std::int64_t attempts = 0;
  for (auto _ : state) {
    inputs.seed += 1;
    attempts += run_start(inventory, inputs, host).tally.placement_count;
  }
  state.SetItemsProcessed(attempts);
  state.counters["attempts/s"] =
      benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kIsRate);
}
BENCHMARK(whole_start)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
