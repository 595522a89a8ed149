#include "engine/simulation_parameters.h"

#include <cmath>
#include <string>
#include <utility>

#include "engine/refusal.h"

namespace quorvel {

DensityTable default_density_table() {
  DensityTable t;
  const float rows[5][3] = {{0.357f, 0.500f, 0.300f},
                            {0.275f, 0.410f, 0.260f},
                            {0.211f, 0.330f, 0.200f},
                            {0.162f, 0.250f, 0.160f},
                            {0.125f, 0.200f, 0.100f}};
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) t.at(s, g) = rows[s - 1][g - 1];
  return t;
}

namespace {

[[noreturn]] void refuse(Parameter parameter, ValueProblem problem, std::string found = {},
                         int stage = 0, int group = 0) {
  throw Refused({.kind = RefusalKind::parameter_not_valid,
                 .parameter = parameter,
                 .stage = stage,
                 .group = group,
                 .found = std::move(found),
                 .limit = problem == ValueProblem::below_minimum ? 1 : 0,
                 .problem = problem});
}

}  // namespace

void check_transect_length(int transect_length) {
  if (transect_length < 1)
    refuse(Parameter::transect_length, ValueProblem::below_minimum,
           std::to_string(transect_length));
}

void check_run_count(int run_count) {
  if (run_count < 1)
    refuse(Parameter::run_count, ValueProblem::below_minimum, std::to_string(run_count));
}

void check_wind_force(int wind_force) {
  if (wind_force < 0 || wind_force > 5)
    refuse(Parameter::wind_force, ValueProblem::outside_range, std::to_string(wind_force));
}

// NaN fails both comparisons and is refused with the rest.
void check_carbon_fraction(float carbon_fraction) {
  if (!(carbon_fraction > 0 && carbon_fraction <= 1))
    refuse(Parameter::carbon_fraction, ValueProblem::outside_range);
}

void check_density(float density, int stage, int group) {
  if (!(density > 0 && density <= max_density))
    refuse(Parameter::density, ValueProblem::outside_range, {}, stage, group);
}

void check_parameters(const SimulationParameters& p) {
  check_transect_length(p.transect_length);
  check_wind_force(p.wind_force);
  check_run_count(p.run_count);
  check_carbon_fraction(p.carbon_fraction);
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) check_density(p.density.at(s, g), s, g);
}

}  // namespace quorvel
