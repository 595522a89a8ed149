#pragma once
// The plots of all inventory files through one or several workers. Each worker reads, decodes
// and computes by itself; a lock guards only the hand-over of files, plots and outcomes, and
// the outcomes still come out in file-then-plot order.

#include <functional>
#include <string>
#include <vector>

#include "batch/plot_outcome.h"
#include "batch/plot_work.h"
#include "field/tally_options.h"

namespace quorvel {

using ProcessPlot = std::function<PlotOutcome(PlotWork)>;
using TakeOutcome = std::function<void(PlotOutcome)>;
using NamePlot = std::function<void(PlotWork&)>;
using StopAsked = std::function<bool()>;

// Runs `process` over every plot of `files` on `jobs` threads, the calling one among them,
// and hands each outcome to `take` in position order as soon as it and all before it are
// finished: one call at a time, from whichever worker finished the one awaited. The workers
// run at most 16 x `jobs` plots ahead of it, so the outcomes held at once stay few whatever the
// number of plots. `name`, where given, sees each plot as it gets its position, in position
// order, before any worker takes it up. An exception from a callback stops the workers and is
// thrown here. Once `stop`, where given, says so, no worker takes up another file or plot:
// those in hand are finished (a Start looks at the same flag and ends early) and handed on,
// and the call returns.
void run_plot_workers(const std::vector<std::string>& files, const TallyOptions& options, int jobs,
                      const ProcessPlot& process, const TakeOutcome& take,
                      const NamePlot& name = nullptr, const StopAsked& stop = nullptr);

}  // namespace quorvel
