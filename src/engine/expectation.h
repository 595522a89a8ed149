#pragma once
// The values that model 2 approaches with infinitely many runs, and the spread of one run,
// from the exact crossing probability of every record.

#include <array>
#include <vector>

#include "engine/inventory.h"
#include "engine/simulation_parameters.h"
#include "engine/stage_group_table.h"
#include "engine/wind.h"

namespace quorvel {

struct Model2Expectation {
  double carbon_per_ha = 0;
  double pieces_per_ha = 0;  // before rounding down
  std::array<double, last_group + 1> volume_per_ha{};
  std::array<double, last_group + 1> surface_per_ha{};
  StageGroupTable<double> carbon_by_stage_group{};  // t C per hectare, stages 1..5 x groups 1..3
  // Standard deviation of a single run's carbon per hectare; an R-run average has this
  // divided by sqrt(R). A record's attempts in one run are geometric: variance (1 - p) / p^2.
  double carbon_per_ha_stderr_per_run = 0;
  double pieces_per_ha_stderr_per_run = 0;
  std::vector<double> crossing_probability;  // per record, file order
};

Model2Expectation expected_model2(const Inventory& inventory,
                                  const SimulationParameters& parameters, WindButton wind);

}  // namespace quorvel
