#pragma once
// One whole Start once its inputs are read, the same for the window and the batch front end:
// the exact expectation of model 2, model 1, the runs and model 2, and the two reports
// prepared and put in place together.
//
// One policy for both: inputs the engine cannot use, a piece that can never cross and a figure
// beyond the range of numbers (the expectation's included, which comes first) refuse the whole
// Start, and nothing is written. Reports that cannot be written leave the figures standing:
// the outcome carries them and says beside them why the reports are not there.

#include <cstdint>
#include <optional>

#include "engine/expectation.h"
#include "engine/inventory.h"
#include "engine/model1.h"
#include "engine/refusal.h"
#include "engine/run_driver.h"
#include "engine/simulation_parameters.h"
#include "engine/wind.h"
#include "reports/report_paths.h"
#include "start/not_computed.h"
#include "start/start_host.h"

namespace quorvel {

struct StartRequest {
  SimulationParameters parameters;
  WindButton wind = WindButton::none;  // the button at the Start: the expectation holds for it
  std::uint64_t seed = 0;
  std::int64_t max_attempts_per_record = default_max_attempts_per_record;
  bool runs = true;              // false: model 1 and the expectation only, and no report
  ReportPaths report_paths;      // where the reports go when the host wants them
  char decimal_separator = ',';  // of the reports
};

struct StartOutcome {
  Model2Expectation expectation;  // meaningless where not_computed says so
  Model1Result model1;
  std::optional<StartResult> runs;         // model 2 and its tally; absent without runs
  bool reports_written = false;            // at least one report was put in place
  std::optional<Refusal> reports_refused;  // why no report was written, the figures standing
  // Figures the tally cannot give: then model 1 alone is computed (without its number of
  // pieces), neither the expectation nor the runs are made, and no report is written.
  std::optional<NotComputed> not_computed;
};

// Throws Refused when the Start cannot be made and StartCancelled when the host cancels it;
// no report is written then.
StartOutcome perform_start(const Inventory& inventory, const StartRequest& request,
                           StartHost& host);

}  // namespace quorvel
