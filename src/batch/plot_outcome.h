#pragma once
// What the batch front end learned about one inventory (one plot of a file): the Start's
// results, the exact expectation, the reports it wrote, or why the inventory was refused.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/plot_work.h"
#include "engine/expectation.h"
#include "engine/model1.h"
#include "engine/refusal.h"
#include "engine/run_driver.h"
#include "field/plausibility.h"
#include "reports/report_file.h"
#include "reports/report_paths.h"
#include "start/not_computed.h"

namespace quorvel {

struct PlotOutcome {
  std::string inventory;
  std::string plot;     // the plot column's value; empty for a file without one
  std::string stratum;  // the stratum column's value; empty without one
  std::uint64_t seed = 0;
  std::int64_t record_count = 0;
  std::int64_t dropped_rows = 0;  // rows of the plot left out for a missing value
  Model1Result model1;
  std::optional<StartResult> start;  // absent with --expected-only
  std::optional<Model2Expectation> expectation;
  int line_count = 0;       // the lines a lines file gives the plot; 0: one transect of L
  double lines_length = 0;  // their summed horizontal length, m
  std::optional<NotComputed> not_computed;  // why the pieces, model 2 and the expectation are not
  PlotFileNames names;                      // where its own files go
  std::optional<ReportPaths> reports;       // the reports written
  std::optional<Refusal> refused;           // the inventory was refused: no figures
  std::optional<Refusal> unwritten;  // the figures stand, but the reports or the trace do not
  std::vector<Warning> warnings;     // what looks wrong in the tally, even when refused
  // What became of the plot's reports where a killed run had left their replacement half done.
  InterruptedCommit recovered = InterruptedCommit::none;

  // Made by the worker that computed the plot, so that the outcomes are only written out in
  // their order: the stratum from the strata file (above), the lines and the CSV rows.
  bool listed = true;               // false when the strata file does not list the plot
  bool stratum_from_tally = false;  // the tally's stratum column, though a strata file was given
  std::string printed;              // its lines on the standard output, text or JSON
  std::string summary_row;          // --summary
  std::string piece_rows;           // --pieces, made while the records are at hand
  std::string run_rows;             // --runs-csv
};

}  // namespace quorvel
