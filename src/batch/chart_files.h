#pragma once
// Where the batch's charts go: --chart FILE.svg names the convergence chart of a single plot
// FILE.svg; with several plots each takes FILE-<plot>.svg (the plot id of a long tally file,
// made safe for a file name as in the plot's reports) or FILE-<n>.svg (n counting the plots from
// 1 in the order of the command line); the stand chart is FILE-stand.svg.

#include <cstddef>
#include <string>

namespace quorvel {

std::string plot_chart_path(const std::string& chart, const std::string& plot, std::size_t number,
                            bool several_plots);
std::string stand_chart_path(const std::string& chart);

}  // namespace quorvel
