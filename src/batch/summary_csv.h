#pragma once
// The summary of many plots: one CSV row per inventory or plot, refused ones included, with the
// key figures of both models, the expectation and the standard errors, then its status, the
// settings that fix the figures and carbon by stage and group of each estimate.

#include <string>
#include <vector>

#include "batch/batch_settings.h"
#include "batch/plot_outcome.h"

namespace quorvel {

// With a coefficients table the rows end in a column naming it.
std::string summary_csv_header(bool coefficients = false);
std::string summary_csv_row(const PlotOutcome& outcome, const BatchSettings& settings);

// A number as CSV writes it: the shortest text that reads back to the same bits, a period as
// decimal point, nothing for a value that is not finite.
std::string csv_number(double value);
// A field that may hold commas or quotes, quoted the CSV way.
std::string csv_quoted(const std::string& text);

}  // namespace quorvel
