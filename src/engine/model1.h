#pragma once
// Model 1, the classic line-intersect estimate from the tally itself: every piece weighted by
// L x 1.57 / length, the inverse of the chance that a randomly oriented piece of that length
// crosses the transect.

#include <cstdint>

#include "engine/inventory.h"
#include "engine/simulation_parameters.h"
#include "engine/stage_group_table.h"

namespace quorvel {

struct Model1Result {
  std::int64_t record_count = 0;
  double expansion_sum = 0;                 // pieces the tally stands for on the plot
  StageGroupTable<double> model1_carbon{};  // t C per hectare by stage and group
  double model1_total = 0;                  // t C per hectare, stages 1..5, groups 1..3
  // Whole part of expansion_sum x (10000 / L^2); NaN, not a number at all, where pieces have no
  // length: the weight of such a piece cannot be known, only its carbon, volume and surface.
  double pieces_per_ha = 0;
  std::int64_t pieces_without_length = 0;
  // Volume (m3/ha) and lateral surface (m2/ha) by group under the same weight.
  std::array<double, last_group + 1> volume_per_ha{};
  std::array<double, last_group + 1> surface_per_ha{};
};

// L x 1.57: the weight of a piece times its length. A piece's volume and surface grow with its
// length as its weight falls with it, so the product alone carries them for a piece without one.
double model1_weight_times_length(double transect_length);

// L x 1.57 / length: the inverse of the chance 2 x length / (pi x L) that a randomly oriented
// piece crosses the transect; the pieces one tallied piece stands for on the plot.
double model1_weight(const DebrisPiece& piece, double transect_length);

// The transect length of a tally: the summed horizontal length of its lines where a lines file
// gave them, else L of the parameters. Model 1 takes it as L; model 2 and the expectation, which
// run for one line only, as the side of the plot.
double transect_length_of(const Inventory& inventory, const SimulationParameters& parameters);

Model1Result compute_model1(const Inventory& inventory, const SimulationParameters& parameters);

}  // namespace quorvel
