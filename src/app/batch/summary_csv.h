#pragma once
// The summary of many plots: one CSV row per inventory with the key figures of both models,
// the expectation and the standard errors.

#include <string>
#include <vector>

#include "plot_outcome.h"

namespace quorvel {

std::string summary_csv_header();
std::string summary_csv_row(const PlotOutcome& outcome);

}  // namespace quorvel
