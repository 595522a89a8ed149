#include "reports/chart_svg.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {
namespace {

// The chart read back as a reader reads it: elements by class, pixels turned into values
// through the axis tick labels printed on the chart.
class ChartReader {
 public:
  explicit ChartReader(std::string svg) : svg_(std::move(svg)) {
    for (const char* axis : {"x", "y"}) {
      const auto ticks = elements(std::string(axis) + "-tick");
      const auto labels = elements(std::string(axis) + "-tick-label");
      if (ticks.size() < 2) continue;
      const char* at = axis[0] == 'y' ? "y1" : "x1";
      axes_[axis] = {std::stod(ticks.front().at(at)), std::stod(labels.front().at("#text")),
                     std::stod(ticks.back().at(at)), std::stod(labels.back().at("#text"))};
    }
  }

  // The attributes (and the text content, as "#text") of each element of a class, in order.
  // Scanned by hand: a regular expression recurses once a character over a long list of points.
  std::vector<std::map<std::string, std::string>> elements(const std::string& cls) const {
    std::vector<std::map<std::string, std::string>> out;
    const std::string marker = " class=\"" + cls + "\"";
    for (auto at = svg_.find(marker); at != std::string::npos; at = svg_.find(marker, at + 1)) {
      const std::size_t close = svg_.find('>', at);
      std::map<std::string, std::string> fields{
          {"#text", svg_.substr(close + 1, svg_.find('<', close) - close - 1)}};
      std::string_view rest(svg_.data() + at + marker.size(), close - at - marker.size());
      for (std::size_t eq; (eq = rest.find("=\"")) != std::string_view::npos;) {
        const std::size_t name = rest.rfind(' ', eq) + 1, end = rest.find('"', eq + 2);
        fields[std::string(rest.substr(name, eq - name))] = rest.substr(eq + 2, end - eq - 2);
        rest.remove_prefix(end + 1);
      }
      out.push_back(fields);
    }
    return out;
  }

  // Pixel to value along an axis, from its first and last tick and their labels.
  double value(const std::string& axis, double pixel) const {
    const auto [p0, v0, p1, v1] = axes_.at(axis);
    return v0 + (pixel - p0) * (v1 - v0) / (p1 - p0);
  }

  // The points of a polyline or polygon as (x value, y value).
  std::vector<std::pair<double, double>> points(const std::string& cls) const {
    std::vector<std::pair<double, double>> out;
    const std::string text = elements(cls).at(0).at("points");
    const std::regex pair("(-?[0-9.]+),(-?[0-9.]+)");
    for (std::sregex_iterator p(text.begin(), text.end(), pair), end; p != end; ++p)
      out.emplace_back(value("x", std::stod((*p)[1])), value("y", std::stod((*p)[2])));
    return out;
  }

  double y(const std::map<std::string, std::string>& element, const char* attribute) const {
    return value("y", std::stod(element.at(attribute)));
  }

 private:
  std::string svg_;
  std::map<std::string, std::array<double, 4>> axes_;  // pixel and value of two ticks
};

// Points read from the chart: runs to a hundredth, values to `px` (a hundredth of a pixel, with
// room).
void expect_points(const std::vector<std::pair<double, double>>& got,
                   const std::vector<std::pair<double, double>>& expected, double px) {
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].first, expected[i].first, 0.01) << i;
    EXPECT_NEAR(got[i].second, expected[i].second, px) << i;
  }
}

TEST(ChartSvg, ConvergenceShowsRunningMeanBandAndExpectation) {
  // Runs of 4, 8, 6, 2 t/ha: running means 4, 6, 6, 5, two standard errors 4, 2.309, 2.582.
  const ChartReader chart(
      convergence_chart_svg(convergence_series(std::vector<double>{4, 8, 6, 2}, 5.5), "plot <7>"));
  const double px = 0.02;
  expect_points(chart.points("running-mean"), {{1, 4}, {2, 6}, {3, 6}, {4, 5}}, px);
  // The band from run 2 on: its upper edge forwards, then its lower edge back.
  expect_points(chart.points("band"),
                {{2, 10}, {3, 8.309}, {4, 7.582}, {4, 2.418}, {3, 3.691}, {2, 2}}, px);
  const auto expected = chart.elements("expected").at(0);
  EXPECT_NEAR(chart.y(expected, "y1"), 5.5, px);
  EXPECT_EQ(expected.at("y1"), expected.at("y2"));  // level
  EXPECT_EQ(chart.elements("title").at(0).at("#text"),
            "Model 2 carbon over the runs: plot &lt;7&gt;");
}

TEST(ChartSvg, LongSeriesAreThinnedButKeepBothEnds) {
  std::vector<double> runs;
  for (int i = 0; i < 5000; ++i) runs.push_back(i % 2 ? 3.0 : 5.0);
  const ChartReader chart(convergence_chart_svg(convergence_series(runs, std::nullopt), "p"));
  const auto means = chart.points("running-mean");
  EXPECT_LE(means.size(), chart_max_points);
  EXPECT_NEAR(means.front().first, 1, 0.25);  // a hundredth of a pixel is 0.08 runs
  EXPECT_NEAR(means.back().first, 5000, 0.25);
  EXPECT_NEAR(means.back().second, 4, 0.01);
  EXPECT_TRUE(chart.elements("expected").empty());
}

TEST(ChartSvg, StandShowsStrataWithIntervalsPlotsAndTheStandMean) {
  StandChartSeries series;
  series.strata = {{"A & <B>", 2, 3, -9.7, 15.7, {2, 4}}, {"C", 1, 9, {}, {}, {9}}};
  series.stand_mean = 4.5;
  series.stand_ci95_low = -5.03;
  series.stand_ci95_high = 14.03;
  const std::string svg = stand_chart_svg(series, "Model 1 carbon by stratum");
  const ChartReader chart(svg);
  const double px = 0.1;
  const auto means = chart.elements("mean");
  ASSERT_EQ(means.size(), 2u);
  EXPECT_NEAR(chart.y(means[0], "cy"), 3, px);
  EXPECT_NEAR(chart.y(means[1], "cy"), 9, px);
  const auto interval = chart.elements("interval");
  ASSERT_EQ(interval.size(), 1u);  // none for the stratum of one plot
  EXPECT_NEAR(chart.y(interval[0], "y1"), -9.7, px);
  EXPECT_NEAR(chart.y(interval[0], "y2"), 15.7, px);
  EXPECT_EQ(interval[0].at("x1"), means[0].at("cx"));
  const auto plots = chart.elements("plot");
  ASSERT_EQ(plots.size(), 3u);
  EXPECT_NEAR(chart.y(plots[0], "cy"), 2, px);
  EXPECT_NEAR(chart.y(plots[2], "cy"), 9, px);
  EXPECT_NEAR(chart.y(chart.elements("stand-mean").at(0), "y1"), 4.5, px);
  const auto band = chart.elements("stand-interval").at(0);
  EXPECT_NEAR(chart.y(band, "y"), 14.03, px);
  EXPECT_NEAR(chart.value("y", std::stod(band.at("y")) + std::stod(band.at("height"))), -5.03, px);
  const auto labels = chart.elements("stratum-label");
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].at("#text"), "A &amp; &lt;B&gt;");
  EXPECT_EQ(chart.elements("stratum-n").at(1).at("#text"), "n = 1 (no interval)");
  // Same series, same bytes; numbers with a period.
  EXPECT_EQ(stand_chart_svg(series, "Model 1 carbon by stratum"), svg);
  EXPECT_FALSE(std::regex_search(svg, std::regex("=\"-?[0-9]+,[0-9]")));
}

}  // namespace
}  // namespace quorvel
