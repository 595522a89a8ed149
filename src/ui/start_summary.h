#pragma once
// What the last Start of the window came to: how it ended, and the figures of its runs.

#include <array>
#include <cstdint>

namespace quorvel {

struct StartSummary {
  enum class Outcome {
    none,               // no Start yet
    completed,          // results shown, reports written if asked for
    reports_unwritten,  // results shown, but the reports asked for could not be written
    refused,            // a field or the inventory could not be used; nothing was changed
    cancelled,          // Esc during the runs; the previous results were put back
    failed,             // stopped by an error during the Start; the previous results were put back
    ended,              // Finish or closing the window during the runs
  };

  Outcome outcome = Outcome::none;
  int starts = 0;  // Starts begun since the window opened
  std::uint64_t seed = 0;
  int run_count = 0;
  int wind_force = 0;
  std::int64_t placement_count = 0;
  std::array<std::int64_t, 9> attempts_by_wind{};  // by wind button, 0 = none selected
  bool reports_written = false;
  double seconds = 0;  // the runs, from the first attempt to the last result
};

}  // namespace quorvel
