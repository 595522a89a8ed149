// The result fields: which number lands where, in what text, and the comparison with the
// expectation under them.
// The convergence chart holds the running mean of a series, and the chart a Start leaves.

#include "ui/results_display.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>

#include "ui/convergence_chart.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

class ResultsDisplayTest : public ::testing::Test {
 protected:
  std::array<QLineEdit, 11> edits;
  QLabel deviation;
  ResultFields fields{&edits[0], &edits[1], &edits[2], &edits[3], &edits[4],  &edits[5],
                      &edits[6], &edits[7], &edits[8], &edits[9], &edits[10], &deviation};
  ResultsDisplay display{fields, ','};
};

TEST_F(ResultsDisplayTest, EachNumberGoesToItsFieldShownFromItsFirstDigit) {
  Model1Result model1;
  model1.model1_total = 1.0 / 3.0;
  model1.pieces_per_ha = 15;
  display.show_model1_total(model1);
  display.show_model1_pieces(model1);
  EXPECT_EQ(fields.text10->text(), "0,333333333333333");
  EXPECT_EQ(fields.text10->cursorPosition(), 0);
  EXPECT_EQ(fields.text11->text(), "15");
  EXPECT_TRUE(fields.text6->text().isEmpty());  // model 2 waits for the end of the runs

  Model2Estimates model2;
  model2.carbon_per_ha = 12.5;
  model2.pieces_per_ha = 3811;
  model2.volume_per_ha = {0, 1.25, 2.5, 0};
  model2.surface_per_ha = {0, 10.5, 20.25, 0};
  display.show_model2(model2, 42);
  const std::pair<QLineEdit*, const char*> expected[] = {
      {fields.text6, "12,5"},   {fields.text7, "3811"}, {fields.text12, "1,25"},
      {fields.text28, "2,5"},   {fields.text4, "0"},    {fields.text13, "10,5"},
      {fields.text29, "20,25"}, {fields.text14, "0"},   {fields.text9, "42"}};
  for (const auto& [field, text] : expected) EXPECT_EQ(field->text(), text) << text;
}

TEST_F(ResultsDisplayTest, TheDistanceIsInStandardErrorsOfTheRunAverage) {
  Model2Expectation expected;
  expected.carbon_per_ha = 10;
  expected.carbon_per_ha_stderr_per_run = 2;  // four runs: 1 for their average
  expected.pieces_per_ha = 100;
  expected.pieces_per_ha_stderr_per_run = 8;
  Model2Estimates model2;
  model2.carbon_per_ha = 11.5;
  display.show_expectation(expected, model2, 4);
  EXPECT_EQ(deviation.text(), QStringLiteral("Модель2 от ожидания: +1,50 ст. ош."));
  EXPECT_TRUE(fields.text6->toolTip().contains(QStringLiteral("Ожидаемое значение: 10")));
  EXPECT_TRUE(fields.text7->toolTip().contains(QStringLiteral("Стандартная ошибка")));
  EXPECT_TRUE(fields.text7->toolTip().endsWith(QStringLiteral(": 4")));
  // Without a spread of the runs, volumes show only their expectation.
  EXPECT_FALSE(fields.text12->toolTip().contains(QStringLiteral("Стандартная ошибка")));
  model2.carbon_per_ha = 9.25;
  display.show_expectation(expected, model2, 4);
  EXPECT_EQ(deviation.text(), QStringLiteral("Модель2 от ожидания: -0,75 ст. ош."));
}

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
      // A single run is a marked point; the level line spans the axis, not a run of no length.
      {"one run", {5}, 6.0, points({{1, 5}}), {}, {}, points({{1, 6}, {2, 6}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConvergenceChart chart(TwipScale(96));
    // Before a Start: a short text, no axes.
    EXPECT_FALSE(chart.has_series());
    chart.show_series(convergence_series(c.carbon_by_run, c.expected), "plot7.txt");
    EXPECT_TRUE(chart.has_series());
    EXPECT_EQ(chart.running_mean().pointsVisible(), c.mean.size() == 1);
    EXPECT_EQ(chart.chart().locale().decimalPoint(), ",");
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
  w.field("Text5")->setText("5");
  ASSERT_EQ(w.start_on("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n"),
            StartSummary::Outcome::completed);
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
