// The result fields: which number lands where, in what text, and the comparison with the
// expectation under them.

#include "results_display.h"

#include <gtest/gtest.h>

#include <QLabel>

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

}  // namespace
}  // namespace quorvel
