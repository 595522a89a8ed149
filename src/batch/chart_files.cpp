#include "batch/chart_files.h"

namespace quorvel {

namespace {

// FILE.svg without its ".svg"; any other name whole.
std::string stem_of(const std::string& chart) {
  return chart.ends_with(".svg") ? chart.substr(0, chart.size() - 4) : chart;
}

// A plot id as part of a file name: a slash or a control character would leave the folder or
// upset the shell.
std::string in_file_name(const std::string& plot) {
  std::string out;
  for (const char c : plot)
    out += c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ? '_' : c;
  return out;
}

}  // namespace

std::string plot_chart_path(const std::string& chart, const std::string& plot, std::size_t number,
                            bool several_plots) {
  if (!several_plots) return chart;
  return stem_of(chart) + "-" + (plot.empty() ? std::to_string(number) : in_file_name(plot)) +
         ".svg";
}

std::string stand_chart_path(const std::string& chart) { return stem_of(chart) + "-stand.svg"; }

}  // namespace quorvel
