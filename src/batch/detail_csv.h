#pragma once
// The detail behind a plot's figures: one CSV row per record (its model 1 weight, its chance to
// cross the transect and the attempts it took) and one per run of model 2.

#include <string>

#include "batch/plot_outcome.h"
#include "engine/inventory.h"

namespace quorvel {

std::string piece_csv_header();
// The rows of the records of a plot that went through; none for a refused one.
std::string piece_csv_rows(const Inventory& inventory, const PlotOutcome& outcome,
                           double line_length);

std::string run_csv_header();
std::string run_csv_rows(const PlotOutcome& outcome, double transect_length);

}  // namespace quorvel
