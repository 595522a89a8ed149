#include "batch/chart_files.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

// A plot id goes into a chart's name as into its reports' names: every character that some file
// system refuses becomes "_".
TEST(ChartFiles, PlotChartsAreNamedAfterThePlotOrItsNumber) {
  const struct {
    const char *chart, *plot;
    std::size_t number;
    bool several;
    const char* path;
  } cases[] = {
      {"out/c.svg", "P07", 1, false, "out/c.svg"},
      {"out/c.svg", "P07", 3, true, "out/c-P07.svg"},
      {"out/c.svg", "", 3, true, "out/c-3.svg"},
      {"out/chart", "", 12, true, "out/chart-12.svg"},
      {"c.svg", "a/b\\c:d*e?f\"g<h>i|j", 1, true, "c-a_b_c_d_e_f_g_h_i_j.svg"},
      {"c.svg", "..\t1\x7F", 1, true, "c-.._1_.svg"},
      {"c.svg", "участок 3", 1, true, "c-участок 3.svg"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(plot_chart_path(c.chart, c.plot, c.number, c.several), c.path) << c.plot;
}

TEST(ChartFiles, TheStandChartTakesTheStemOfTheChartsName) {
  EXPECT_EQ(stand_chart_path("out/c.svg"), "out/c-stand.svg");
  EXPECT_EQ(stand_chart_path("out/c"), "out/c-stand.svg");
  EXPECT_EQ(stand_chart_path("c.SVG"), "c.SVG-stand.svg");
}

}  // namespace
}  // namespace quorvel
