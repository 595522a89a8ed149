#pragma once
// What the batch front end learned about one inventory: the Start's results, the exact
// expectation, the reports it wrote, or why the inventory was refused.

#include <cstdint>
#include <optional>
#include <string>

#include "expectation.h"
#include "model1.h"
#include "refusal.h"
#include "report_paths.h"
#include "run_driver.h"

namespace quorvel {

struct PlotOutcome {
  std::string inventory;
  std::string plot;     // the plot id of a long tally file; empty for a file of one plot
  std::string stratum;  // from the tally's stratum column, or from the strata file
  std::uint64_t seed = 0;
  std::int64_t record_count = 0;
  Model1Result model1;
  std::optional<StartResult> start;  // absent with --expected-only
  std::optional<Model2Expectation> expectation;
  std::optional<ReportPaths> reports;  // the reports written
  std::optional<Refusal> refused;      // the inventory was refused: no figures
  std::optional<Refusal> unwritten;    // the figures stand, but the reports or the trace do not
  std::string piece_rows;              // --pieces: its CSV rows, made while the records are at hand
};

}  // namespace quorvel
