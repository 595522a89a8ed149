#pragma once
// The parameters of one Start as numbers, with the defaults that the main window shows.

#include <cstdint>

#include "engine/stage_group_table.h"

namespace quorvel {

// The densities of the default grid, tonnes per cubic metre, stage by stage and within a
// stage group 1 ("S"), 2 ("H"), 3 ("C").
DensityTable default_density_table();

struct SimulationParameters {
  std::int16_t transect_length = 100;  // L, metres; the plot is the square L x L
  std::int16_t wind_force = 0;         // 0..5: 0 no wind, 5 always the wind
  DensityTable density = default_density_table();
  float carbon_fraction = 0.5f;  // wood mass to carbon mass
  std::int16_t run_count = 1;    // R
};

// The densest wood a tally can hold, t/m3 (lignum vitae is about 1.3); a larger figure is a
// misplaced decimal mark, not wood.
constexpr float max_density = 1.5f;

// Checks what a plot cannot have: L of 1..32767, a wind force of 0..5, densities in
// (0, max_density], a carbon fraction in (0, 1], at least one run. A typo such as 50 for 0,5
// would otherwise multiply every figure without a word. Throws Refused naming the parameter.
void check_parameters(const SimulationParameters& parameters);

// The checks of single parameters, the only place each is made; check_parameters and every
// computation that takes a parameter on its own use them, so a value is refused alike
// wherever it is met.
void check_transect_length(int transect_length);
void check_wind_force(int wind_force);
void check_run_count(int run_count);
void check_carbon_fraction(float carbon_fraction);
void check_density(float density, int stage, int group);

}  // namespace quorvel
