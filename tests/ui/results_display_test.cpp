// The result fields: which number lands where, in what text, and the comparison with the
// expectation under them.

#include <gtest/gtest.h>

#include <QLabel>
#include <cmath>

#include "results_display.h"

namespace quorvel {
namespace {

struct Display {
  std::array<QLineEdit, 11> edits;
  QLabel deviation;
  ResultFields fields{&edits[0], &edits[1], &edits[2], &edits[3], &edits[4],  &edits[5],
                      &edits[6], &edits[7], &edits[8], &edits[9], &edits[10], &deviation};
  ResultsDisplay display{fields, ','};
};

TEST(ResultsDisplayTexts, ModelOneGoesToTextTenAndEleven) {
  Display d;
  Model1Result model1;
  model1.model1_total = 1.0 / 3.0;
  model1.pieces_per_ha = 15;
  d.display.show_model1_total(model1);
  d.display.show_model1_pieces(model1);
  EXPECT_EQ(d.fields.text10->text(), "0,333333333333333");
  EXPECT_EQ(d.fields.text11->text(), "15");
  EXPECT_EQ(d.fields.text10->cursorPosition(), 0);  // shown from its first digit
  EXPECT_TRUE(d.fields.text6->text().isEmpty());
}

TEST(ResultsDisplayTexts, ModelTwoFillsTheNineFieldsByGroup) {
  Display d;
  Model2Estimates model2;
  model2.carbon_per_ha = 12.5;
  model2.pieces_per_ha = 3811;
  model2.volume_per_ha = {0, 1.25, 2.5, 0};
  model2.surface_per_ha = {0, 10.5, 20.25, 0};
  d.display.show_model2(model2, 42);
  EXPECT_EQ(d.fields.text6->text(), "12,5");
  EXPECT_EQ(d.fields.text7->text(), "3811");
  EXPECT_EQ(d.fields.text12->text(), "1,25");
  EXPECT_EQ(d.fields.text28->text(), "2,5");
  EXPECT_EQ(d.fields.text4->text(), "0");
  EXPECT_EQ(d.fields.text13->text(), "10,5");
  EXPECT_EQ(d.fields.text29->text(), "20,25");
  EXPECT_EQ(d.fields.text14->text(), "0");
  EXPECT_EQ(d.fields.text9->text(), "42");
  EXPECT_TRUE(d.fields.text10->text().isEmpty());
}

TEST(ResultsDisplayTexts, APointLocaleShowsThePoint) {
  Display d;
  ResultsDisplay point(d.fields, '.');
  Model1Result model1;
  model1.model1_total = 0.25;
  point.show_model1_total(model1);
  EXPECT_EQ(d.fields.text10->text(), "0.25");
}

TEST(ResultsDisplayExpectation, TheDistanceIsInStandardErrorsOfTheRunAverage) {
  Display d;
  Model2Expectation expected;
  expected.carbon_per_ha = 10;
  expected.carbon_per_ha_stderr_per_run = 2;  // four runs: 1 for their average
  expected.pieces_per_ha = 100;
  expected.pieces_per_ha_stderr_per_run = 8;
  Model2Estimates model2;
  model2.carbon_per_ha = 11.5;
  d.display.show_expectation(expected, model2, 4);
  EXPECT_EQ(d.deviation.text(), QStringLiteral("Модель2 от ожидания: +1,50 ст. ош."));
  EXPECT_TRUE(d.fields.text6->toolTip().contains(QStringLiteral("Ожидаемое значение: 10")));
  EXPECT_TRUE(d.fields.text6->toolTip().contains(QStringLiteral(": 1")));
  EXPECT_TRUE(d.fields.text7->toolTip().contains(QStringLiteral("Стандартная ошибка")));
  EXPECT_TRUE(d.fields.text7->toolTip().endsWith(QStringLiteral(": 4")));
  // Without a spread of the runs (one run) volumes show only their expectation.
  EXPECT_FALSE(d.fields.text12->toolTip().contains(QStringLiteral("Стандартная ошибка")));

  model2.carbon_per_ha = 9.25;
  d.display.show_expectation(expected, model2, 4);
  EXPECT_EQ(d.deviation.text(), QStringLiteral("Модель2 от ожидания: -0,75 ст. ош."));
}

TEST(ResultsDisplaySnapshot, PutsTextsTooltipsAndTheLineBack) {
  Display d;
  Model2Estimates model2;
  model2.carbon_per_ha = 1;
  d.display.show_model2(model2, 1);
  d.fields.text6->setToolTip("tip");
  d.deviation.setText("line");
  const ResultsDisplay::Snapshot shot = d.display.snapshot();
  model2.carbon_per_ha = 2;
  d.display.show_model2(model2, 2);
  d.display.show_no_expectation("other");
  d.display.restore(shot);
  EXPECT_EQ(d.fields.text6->text(), "1");
  EXPECT_EQ(d.fields.text9->text(), "1");
  EXPECT_EQ(d.fields.text6->toolTip(), "tip");
  EXPECT_EQ(d.deviation.text(), "line");
}

}  // namespace
}  // namespace quorvel
