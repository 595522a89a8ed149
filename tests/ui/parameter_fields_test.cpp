// Reading the parameter fields into the numbers of a Start: the conversions the run relies on
// and the refusals that name the field.

#include "parameter_fields.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ui_test_support.h"

namespace quorvel {
namespace {

class ReadParameters : public ::testing::Test {
 protected:
  ReadParameters() {
    fields.transect_length = w.field("Text1");
    fields.wind_force = w.field("Text30");
    fields.carbon_fraction = w.field("Text8");
    fields.run_count = w.field("Text5");
    const char* grid[5][3] = {{"Text3", "Text2", "Text23"},
                              {"Text15", "Text16", "Text24"},
                              {"Text17", "Text18", "Text25"},
                              {"Text19", "Text20", "Text26"},
                              {"Text21", "Text22", "Text27"}};
    for (int stage = 1; stage <= 5; ++stage)
      for (int group = 1; group <= 3; ++group)
        fields.density.at(stage, group) = w.field(grid[stage - 1][group - 1]);
  }
  SimulationParameters read_with(const char* name, const char* text) {
    w.field(name)->setText(QString::fromUtf8(text));
    return read_parameters(fields);
  }

  testing::WindowInFolder w;
  ParameterFields fields;
};

TEST_F(ReadParameters, TheDefaultTextsGiveTheDefaultParameters) {
  const SimulationParameters read = read_parameters(fields);
  EXPECT_EQ(read.transect_length, 100);
  EXPECT_EQ(read.wind_force, 0);
  EXPECT_EQ(read.run_count, 1);
  EXPECT_EQ(read.carbon_fraction, 0.5f);
  // Every cell in its place, "0,357" kept as the single nearest to it, not the double.
  EXPECT_EQ(read.density, SimulationParameters{}.density);
  EXPECT_EQ(static_cast<double>(read.density.at(1, 1)), 0.3569999933242798);
  EXPECT_EQ(read.density.at(2, 2), 0.41f);  // Text16 is stage 2, group 2
  EXPECT_EQ(read.density.at(1, 3), 0.3f);   // Text23 is stage 1, group 3
}

TEST_F(ReadParameters, WholeNumbersRoundHalvesToEvenAndAPointIsAccepted) {
  EXPECT_EQ(read_with("Text5", "2,5").run_count, 2);
  EXPECT_EQ(read_with("Text5", "3,5").run_count, 4);
  EXPECT_EQ(read_with("Text1", " 50 ").transect_length, 50);
  EXPECT_EQ(read_with("Text8", "0.47").carbon_fraction, 0.47f);
  // Any wind force is a whole number; the placement clamps it.
  EXPECT_EQ(read_with("Text30", "-3").wind_force, -3);
  EXPECT_EQ(read_with("Text30", "9").wind_force, 9);
}

TEST_F(ReadParameters, RefusesWhatTheRunCannotUseNamingTheFirstBadField) {
  // Texts that convert but lie outside what a run can use; the conversions themselves are the
  // engine's and tested there.
  const struct {
    const char* name;
    const char* text;
    Parameter parameter;
    ValueProblem problem;
  } bad[] = {{"Text1", "-5", Parameter::transect_length, ValueProblem::below_minimum},
             {"Text1", "0", Parameter::transect_length, ValueProblem::below_minimum},
             {"Text5", "-1", Parameter::run_count, ValueProblem::below_minimum},
             {"Text3", "-0,1", Parameter::density, ValueProblem::negative},
             {"Text8", "1e39", Parameter::carbon_fraction, ValueProblem::out_of_range}};
  for (const auto& [name, text, parameter, problem] : bad) {
    const QString kept = w.field(name)->text();
    try {
      read_with(name, text);
      ADD_FAILURE() << name << " = " << text << " was accepted";
    } catch (const FieldRefused& refused) {
      EXPECT_EQ(refused.field(), w.field(name)) << name << " = " << text;
      EXPECT_EQ(
          std::tie(refused.refusal().parameter, refused.refusal().problem, refused.refusal().found),
          std::make_tuple(parameter, problem, text));
    }
    w.field(name)->setText(kept);
  }
  // Text18 is read before Text5: it is the one named.
  w.field("Text5")->setText("x");
  try {
    read_with("Text18", "");
    FAIL() << "refused nothing";
  } catch (const FieldRefused& refused) {
    EXPECT_EQ(refused.field(), w.field("Text18"));
    EXPECT_EQ(std::tie(refused.refusal().stage, refused.refusal().group), std::make_tuple(3, 2));
  }
}

}  // namespace
}  // namespace quorvel
