#pragma once
// The runs of a Start: in every run each record, in file order, is placed again and again
// until it crosses the transect, and every attempt adds the piece's carbon, volume and
// surface to the sums of its stage and group.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/inventory.h"
#include "engine/random_source.h"
#include "engine/run_host.h"
#include "engine/running_moments.h"
#include "engine/simulation_parameters.h"
#include "engine/stage_group_table.h"

namespace quorvel {

// What one run added, for the spread of the averages over the runs.
struct RunTotals {
  double carbon = 0;                             // t per plot
  std::array<double, last_group + 1> volume{};   // m3 per plot by group
  std::array<double, last_group + 1> surface{};  // m2 per plot by group
  std::int64_t attempts = 0;
};

struct Tally {
  std::int64_t placement_count = 0;  // attempts of all runs together
  StageGroupTable<double> sim_carbon{};
  StageGroupTable<double> sim_volume{};
  StageGroupTable<double> sim_surface{};
  std::vector<RunTotals> runs;  // one entry per run made
  // Per record in file order: the attempts it needed, over the runs (sized once, before the
  // first run, so the loop itself never allocates).
  std::vector<RunningMoments> attempts_by_record;
};

// The user cancelled through the host's yield.
class StartCancelled : public std::runtime_error {
 public:
  StartCancelled() : std::runtime_error("the Start was cancelled") {}
};

inline constexpr std::int64_t default_max_attempts_per_record = 10'000'000;

// The plot of side `transect_length` and its transect as every attempt draws them.
PlotFrame plot_frame(double transect_length);

// Performs run_count runs over the records. Throws StartCancelled when the host cancels and
// Refused (piece_never_crossed) when a record needs more than max_attempts_per_record attempts
// in one run.
Tally perform_runs(const Inventory& inventory, const SimulationParameters& parameters,
                   RandomSource& random, RunHost& host,
                   std::int64_t max_attempts_per_record = default_max_attempts_per_record);

}  // namespace quorvel
