// How long the exact model-2 expectation takes for the bundled example inventory, without and
// with wind. Falls back to 45 made-up records when the example file is missing.

#include <benchmark/benchmark.h>

#include <exception>
#include <filesystem>

#include "engine/expectation.h"
#include "engine/inventory.h"
#include "engine/inventory_reader.h"
#include "engine/simulation_parameters.h"

namespace {

using namespace quorvel;

// Lengths from 0.3 m to 13.5 m, all groups and stages, like a real tally.
Inventory made_up_inventory() {
  Inventory inventory;
  inventory.source = "made-up";
  for (int i = 0; i < 45; ++i) {
    DebrisPiece p;
    p.group = 1 + i % 3;
    p.stage = 1 + i % 5;
    p.diameter1 = 8 + i % 7 * 3;
    p.diameter2 = 5 + i % 4 * 2;
    p.piece_length = 0.3 * (1 + i);
    p.line = i + 1;
    inventory.pieces.push_back(p);
  }
  return inventory;
}

const Inventory& example_inventory() {
  static const Inventory inventory = [] {
    const std::filesystem::path path =
        std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / "plot7.txt";
    try {
      return read_inventory(path);
    } catch (const std::exception&) {
      return made_up_inventory();
    }
  }();
  return inventory;
}

void expectation_of_example(benchmark::State& state, WindButton wind, int force) {
  const Inventory& inventory = example_inventory();
  SimulationParameters parameters;
  parameters.wind_force = static_cast<std::int16_t>(force);
  for (auto _ : state) benchmark::DoNotOptimize(expected_model2(inventory, parameters, wind));
  state.SetLabel(inventory.source + ", " + std::to_string(inventory.pieces.size()) + " records");
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inventory.pieces.size()));
}

void BM_expected_model2_no_wind(benchmark::State& state) {
  expectation_of_example(state, WindButton::none, 0);
}
BENCHMARK(BM_expected_model2_no_wind)->Unit(benchmark::kMillisecond);

void BM_expected_model2_north_wind_force_3(benchmark::State& state) {
  expectation_of_example(state, WindButton::n, 3);
}
BENCHMARK(BM_expected_model2_north_wind_force_3)->Unit(benchmark::kMillisecond);

}  // namespace
