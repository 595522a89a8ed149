#include "simulation_parameters.h"

#include <cmath>
#include <string>

#include "input_error.h"

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

void check_parameters(const SimulationParameters& p) {
  if (p.transect_length < 1)
    throw InputError("transect length must be 1..32767 m, got " +
                     std::to_string(p.transect_length));
  if (p.run_count < 1)
    throw InputError("number of runs must be at least 1, got " + std::to_string(p.run_count));
  if (!std::isfinite(p.carbon_fraction) || p.carbon_fraction < 0)
    throw InputError("carbon fraction must be a finite number not below 0");
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) {
      const float d = p.density.at(s, g);
      if (!std::isfinite(d) || d < 0)
        throw InputError("density of stage " + std::to_string(s) + ", group " +
                         std::string(1, "?SHC"[g]) + " must be a finite number not below 0");
    }
}

}  // namespace quorvel
