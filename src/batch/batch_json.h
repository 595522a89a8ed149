#pragma once
// The JSON objects of the batch: one per inventory (the inputs that fix the results, its status,
// model 1, model 2 and its exact expectation), and the stand estimates, one per stratum and one
// for the stand. Doubles are written so that they read back to the same bits.

#include <nlohmann/json.hpp>
#include <vector>

#include "batch/batch_settings.h"
#include "batch/plot_outcome.h"
#include "stand/stand_estimate.h"

namespace quorvel {

nlohmann::json plot_outcome_json(const PlotOutcome& outcome, const BatchSettings& settings);

// "done", or "refused: " and the reason as the batch words it on the standard error.
std::string outcome_status(const PlotOutcome& outcome);

// {"kind": "stratum", ...} for each stratum, then {"kind": "stand", ...}.
std::vector<nlohmann::json> stand_json_lines(const StandEstimate& estimate);

}  // namespace quorvel
