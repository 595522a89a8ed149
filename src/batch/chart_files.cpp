#include "batch/chart_files.h"

#include "reports/report_paths.h"

namespace quorvel {

namespace {

// FILE.svg without its ".svg"; any other name whole.
std::string stem_of(const std::string& chart) {
  return chart.ends_with(".svg") ? chart.substr(0, chart.size() - 4) : chart;
}

}  // namespace

std::string plot_chart_path(const std::string& chart, const std::string& plot, std::size_t number,
                            bool several_plots) {
  if (!several_plots) return chart;
  return stem_of(chart) + "-" + (plot.empty() ? std::to_string(number) : file_name_safe(plot)) +
         ".svg";
}

std::string stand_chart_path(const std::string& chart) { return stem_of(chart) + "-stand.svg"; }

}  // namespace quorvel
