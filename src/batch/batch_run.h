#pragma once
// The batch front end's work: every inventory in turn (or several at once), each refused or
// carried through the Start the window makes too: the expectation, model 1, the runs, model 2
// and the reports.

#include <atomic>
#include <cstdio>
#include <iosfwd>

#include "batch/batch_options.h"
#include "batch/batch_settings.h"
#include "batch/plot_outcome.h"
#include "batch/plot_work.h"

namespace quorvel {

struct BatchEnvironment {
  char locale_separator = ',';
  const std::atomic<bool>* interrupted = nullptr;
  std::FILE* progress = nullptr;  // a terminal for progress lines, or null
};

// One plot of an inventory file (the whole file when it has no plot column), start to finish.
// Never throws for bad input: the outcome says why.
PlotOutcome process_inventory(PlotWork work, const BatchOptions& options,
                              const BatchSettings& settings, const BatchEnvironment& environment);

// Quorvel's own reports among the inventories are skipped with a note on `err`.
// Exit status: 0 when every inventory went through, 1 when any was refused, its reports could
// not be written or the batch was interrupted; 2, before any tally is read or file written,
// when an output names an input or another output, or a file Quorvel did not write (without
// --force), or an inventory is given twice.
int run_batch(const BatchOptions& options, const BatchEnvironment& environment, std::ostream& out,
              std::ostream& err);

}  // namespace quorvel
