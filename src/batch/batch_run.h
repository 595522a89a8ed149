#pragma once
// The batch front end's work: every inventory in turn (or several at once), each refused or
// carried through the Start the window makes too: the expectation, model 1, the runs, model 2
// and the reports.

#include <atomic>
#include <cstdio>
#include <iosfwd>

#include "batch/batch_host.h"
#include "batch/batch_options.h"
#include "batch/batch_settings.h"
#include "batch/plot_outcome.h"
#include "batch/plot_work.h"
#include "reports/interrupted_commits.h"

namespace quorvel {

struct BatchEnvironment {
  char locale_separator = ',';
  const std::atomic<bool>* interrupted = nullptr;
  std::FILE* progress = nullptr;  // a terminal for progress lines, or null
};

// The exit status of a batch stopped by a signal, as a shell reports a program that Ctrl+C ended.
constexpr int interrupted_status = 130;

// One plot of an inventory file (the whole file when it has no plot column), start to finish.
// Never throws for bad input: the outcome says why. A stop ends its runs at the next look.
// Reports of the plot that a killed run left half replaced are first made whole (`journals`
// knows where to look).
PlotOutcome process_inventory(PlotWork work, const BatchOptions& options,
                              const BatchSettings& settings, const BatchEnvironment& environment,
                              const BatchStop& stop, InterruptedCommits& journals);

// Quorvel's own reports and tables among the inventories are skipped with a note on `err`.
// The options are taken by value: their list of inventories, perhaps a hundred thousand
// paths, is filtered where it stands rather than copied.
// Exit status: 0 when every inventory went through; 1 when any was refused, an output could
// not be written or `out` failed; 2, before any tally is read or file written, when an output
// names an input or another output, or a file Quorvel did not write (without --force), or an
// inventory is given twice; interrupted_status when a signal stopped the batch. A batch
// stopped early (a signal, `out` failing) prints one line on `err` and writes none of the
// files that cover the whole batch (summary, tables, stand summary and chart): the earlier
// ones stay as they were.
int run_batch(BatchOptions options, const BatchEnvironment& environment, std::ostream& out,
              std::ostream& err);

}  // namespace quorvel
