#pragma once
// One plot of an inventory file as a worker takes it up: its position among the plots of all
// files (which derives its seed), its tally, or the refusal of the whole file. A file refused
// as a whole takes one position, as a plot would.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/refusal.h"
#include "field/tally_reader.h"
#include "reports/report_paths.h"

namespace quorvel {

// The files of the plot's own, named before it is computed; empty where none is wanted.
struct PlotFileNames {
  std::optional<ReportPaths> reports;  // none also for a path too short to name them after
  std::string chart;
  std::string trace;
  // Where a name leads to an input: that output is refused (output_is_input), the input kept.
  std::optional<Refusal> reports_refused, chart_refused, trace_refused;
};

struct PlotWork {
  std::size_t position = 0;  // among the plots of all files, from 0
  std::string file;          // as given
  PlotTally tally;           // empty when refused
  std::optional<Refusal> refused;
  PlotFileNames names;
};

// The plots of one file in the order their first rows appear, or one work with the file's
// refusal; never empty. Positions are left at 0: they depend on the files before this one.
std::vector<PlotWork> read_plot_works(const std::string& file, const TallyOptions& options);

}  // namespace quorvel
