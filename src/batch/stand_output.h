#pragma once
// The stand estimates of a batch: each plot's stratum (from its tally, or from the strata
// file), the plots taken into the estimates as they stream past, and what is made of them at
// the end: the text block, the stand summary CSV and the stand chart.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/plot_outcome.h"
#include "field/strata_table.h"
#include "stand/stand_chart_series.h"
#include "stand/stand_estimate.h"

namespace quorvel {

class StandOutput {
 public:
  // Reads the strata file when one is given (throws Refused). With `keep_plot_values`, each
  // plot's model 1 carbon is kept for the dots of the stand chart: one number a plot.
  StandOutput(const BatchOptions& options, bool keep_plot_values);

  enum class Assigned {
    listed,          // the stratum from the strata file, or from the tally without one
    unlisted,        // not in the strata file: it stays out of the estimates
    tally_over_file  // the tally's stratum column, though a strata file was given too
  };
  // Gives the plot its stratum from the strata file when its tally named none. A file is found
  // under its path as given, its name within a folder given, or as the same file as a row's
  // path taken from the strata file's folder or from the working folder.
  // Only looks up: the workers call it side by side.
  Assigned assign_stratum(PlotOutcome& outcome) const;
  // The plot was given, whatever its stratum: called in order, once a plot.
  void mark_given(const PlotOutcome& outcome);
  // The plots the strata file lists that no tally gave, in the file's order.
  std::vector<std::string> plots_not_given() const;
  // True when a strata file was given and none of the plots given had a stratum.
  bool none_found() const { return strata_ && found_ == 0; }
  // A refused plot counts in its stratum's plots, not in n.
  void add(const PlotOutcome& outcome);

  StandEstimate estimate() const { return accumulator_.estimate(); }
  // Model 1's carbon by stratum, with the plots' values when kept.
  StandChartSeries chart_series(const StandEstimate& estimate) const;
  const std::string& strata_path() const { return strata_path_; }

 private:
  std::string strata_path_;
  std::optional<StrataTable> strata_;
  std::map<std::string, std::string, std::less<>> folder_names_;  // as in BatchOptions
  // Canonical path to row, made the first time a plot is not found by name: resolving every
  // row's path costs more than the whole batch when the rows name the plots as given.
  mutable std::map<std::string, std::size_t, std::less<>> row_of_file_;
  mutable std::once_flag row_of_file_made_;
  std::size_t found_ = 0;  // plots given with a stratum
  // The strata file's row that lists the plot, or none.
  std::optional<std::size_t> row_of(const PlotOutcome& outcome) const;
  StandAccumulator accumulator_;
  bool keep_plot_values_;
  bool runs_;  // model 2 is run, not only its expectation
  std::map<std::string, std::vector<double>, std::less<>> plot_values_;
  std::vector<bool> rows_given_;  // by the strata file's row
};

// The block printed after the plots: carbon and pieces of each estimate, by stratum and for
// the stand, with the words for what cannot be estimated.
std::string stand_text(const StandEstimate& estimate, char decimal_separator);

// One row per stratum and one for the stand: kind, stratum, n, area_ha, weight, then for each
// estimate and figure its mean, sd, se, df, ci95_low and ci95_high (the stand without sd).
std::string stand_summary_csv(const StandEstimate& estimate);

}  // namespace quorvel
