#pragma once
// One Start from the checked inputs to the last estimate: model 1, the runs and model 2, in
// the order the window shows them. Reading and checking the inventory and the parameter texts
// happens before, in the front end, so that a refused Start changes nothing.

#include <cstdint>

#include "engine/estimators.h"
#include "engine/inventory.h"
#include "engine/model1.h"
#include "engine/run_host.h"
#include "engine/simulation_parameters.h"
#include "engine/transect_tally.h"

namespace quorvel {

struct StartInputs {
  SimulationParameters parameters;
  std::uint64_t seed = 0;
  std::int64_t max_attempts_per_record = default_max_attempts_per_record;
};

struct StartResult {
  std::uint64_t seed = 0;
  Model1Result model1;
  Tally tally;
  Model2Estimates model2;
};

// Throws Refused for parameters out of range, a piece that does not cross or figures beyond
// the range of numbers, and StartCancelled when the host cancels; nothing is kept from a Start
// that throws.
StartResult run_start(const Inventory& inventory, const StartInputs& inputs, RunHost& host);

}  // namespace quorvel
