#pragma once
// The JSON object of one inventory: the inputs that fix the results, model 1, model 2 and
// its exact expectation. Doubles are written so that they read back to the same bits.

#include <nlohmann/json.hpp>

#include "batch_settings.h"
#include "plot_outcome.h"

namespace quorvel {

nlohmann::json plot_outcome_json(const PlotOutcome& outcome, const BatchSettings& settings);

}  // namespace quorvel
