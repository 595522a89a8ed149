#pragma once
// Model 2: the sums of the runs folded by stage and by group, turned into values per hectare
// and averaged over the runs, with the spread of those averages when there were several runs.

#include <array>
#include <optional>

#include "engine/stage_group_table.h"
#include "engine/transect_tally.h"

namespace quorvel {

// (numerator x 10000) / (L^2 x R): the per-hectare average of a sum over R runs.
double per_hectare_average(double numerator, double transect_length, int run_count);

// Sample standard errors of the R-run averages (per hectare); present when R >= 2.
struct Model2Spread {
  double carbon_per_ha = 0;
  double pieces_per_ha = 0;
  std::array<double, last_group + 1> volume_per_ha{};
  std::array<double, last_group + 1> surface_per_ha{};
};

struct Model2Estimates {
  // The folded sums.
  std::array<double, last_stage + 1> stage_carbon{};
  std::array<double, last_group + 1> group_volume{};
  std::array<float, last_group + 1> group_surface{};
  double total_carbon = 0;
  double pieces_per_ha_total = 0;
  // The estimates per hectare.
  double carbon_per_ha = 0;
  double pieces_per_ha = 0;  // whole number, rounded down
  std::array<double, last_group + 1> volume_per_ha{};
  std::array<double, last_group + 1> surface_per_ha{};
  // The report tables per hectare, cell by cell from the double-precision sums.
  StageGroupTable<double> carbon_table{};
  StageGroupTable<double> volume_table{};
  StageGroupTable<double> surface_table{};
  std::optional<Model2Spread> standard_error;
};

Model2Estimates estimate_model2(const Tally& tally, double transect_length, int run_count);

}  // namespace quorvel
