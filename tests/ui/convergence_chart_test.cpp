// The convergence chart: the points and lines it holds for a series, and the chart a Start
// leaves behind, opened from the keyboard.

#include "convergence_chart.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ui_test_support.h"

namespace quorvel {
namespace {

QList<QPointF> points(std::initializer_list<QPointF> list) { return QList<QPointF>(list); }

TEST(ConvergenceChart, HoldsTheRunningMeanTheBandFromRunTwoAndTheExpectation) {
  const struct {
    const char* name;
    std::vector<double> carbon_by_run;
    std::optional<double> expected;
    QList<QPointF> mean, low, high, level;
  } cases[] = {
      // Runs of 10, 14 and 12 t C/ha: standard errors 2 after two runs, 2/sqrt(3) after three.
      {"three runs",
       {10, 14, 12},
       11.5,
       points({{1, 10}, {2, 12}, {3, 12}}),
       points({{2, 8}, {3, 9.690598923241497}}),
       points({{2, 16}, {3, 14.309401076758503}}),
       points({{1, 11.5}, {3, 11.5}})},
      {"one run, no expectation", {7}, std::nullopt, points({{1, 7}}), {}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConvergenceChart chart(TwipScale(96));
    chart.show_series(convergence_series(c.carbon_by_run, c.expected), "plot7.txt");
    EXPECT_EQ(chart.running_mean().points(), c.mean);
    ASSERT_EQ(chart.band_low().count(), c.low.size());
    for (qsizetype i = 0; i < c.low.size(); ++i) {
      EXPECT_EQ(chart.band_low().at(i).x(), c.low[i].x());
      EXPECT_DOUBLE_EQ(chart.band_low().at(i).y(), c.low[i].y());
      EXPECT_DOUBLE_EQ(chart.band_high().at(i).y(), c.high[i].y());
    }
    EXPECT_EQ(chart.expectation().points(), c.level);
    EXPECT_EQ(chart.expectation().isVisible(), c.expected.has_value());
    EXPECT_EQ(chart.chart().series().at(0)->isVisible(), !c.low.isEmpty());  // the band
    EXPECT_TRUE(chart.chart().title().endsWith("plot7.txt"));
    // Every point and the level line lie inside the axes.
    for (const QPointF& p : c.mean + c.low + c.high + c.level) {
      EXPECT_LE(chart.run_axis().min(), p.x());
      EXPECT_GE(chart.run_axis().max(), p.x());
      EXPECT_LT(chart.carbon_axis().min(), p.y());
      EXPECT_GT(chart.carbon_axis().max(), p.y());
    }
  }
}

// After a Start of five runs the chart ends on model 2's carbon and levels at the expectation
// the results show; Ctrl+G opens it.
TEST(ConvergenceChart, FollowsTheStartAndOpensWithCtrlG) {
  testing::WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
  w.field("Text5")->setText("5");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  const ConvergenceChart& chart = w.window->convergence_chart();
  const auto number = [](QString text) { return text.replace(',', '.').toDouble(); };
  ASSERT_EQ(chart.running_mean().count(), 5);
  EXPECT_NEAR(chart.running_mean().at(4).y(), number(w.field("Text6")->text()),
              1e-12 * number(w.field("Text6")->text()));
  const QRegularExpressionMatch expected =
      QRegularExpression("Ожидаемое значение: ([0-9,E+-]+)").match(w.field("Text6")->toolTip());
  ASSERT_TRUE(expected.hasMatch());
  ASSERT_EQ(chart.expectation().count(), 2);
  EXPECT_NEAR(chart.expectation().at(1).y(), number(expected.captured(1)),
              1e-12 * number(expected.captured(1)));
  EXPECT_EQ(chart.band_low().count(), 4);

  EXPECT_FALSE(chart.isVisible());
  EXPECT_EQ(w.window->chart_action().shortcut(), QKeySequence("Ctrl+G"));
  w.window->chart_action().trigger();
  EXPECT_TRUE(chart.isVisible());
  EXPECT_TRUE(w.window->plot_window().actions().contains(&w.window->chart_action()));
}

}  // namespace
}  // namespace quorvel
