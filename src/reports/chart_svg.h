#pragma once
// The batch's charts as SVG text: the convergence of model 2's carbon on one plot, and the
// strata of a stand with their 95% intervals. Plain SVG 1.1 without scripts, the same bytes
// for the same series, numbers written with a period whatever the locale. The series come
// from the engine, which the window's charts draw too.

#include <string>

#include "stand/convergence.h"
#include "stand/stand_chart_series.h"

namespace quorvel {

// Drawn with at most this many points; longer series keep every k-th run and the last.
inline constexpr std::size_t chart_max_points = 1000;

// Runs 1..R across, carbon up: the running mean as a line, the band of two standard errors as
// a shaded area from run 2 on, the exact expectation as a dashed line.
std::string convergence_chart_svg(const ConvergenceSeries& series, const std::string& plot_name);

// One column per stratum: its mean as a point with its 95% interval as an error bar, the plots'
// own values as small dots beside it; the stand's mean as a line across, its interval shaded.
std::string stand_chart_svg(const StandChartSeries& series, const std::string& title,
                            const std::string& value_label = "carbon (t C/ha)");

}  // namespace quorvel
