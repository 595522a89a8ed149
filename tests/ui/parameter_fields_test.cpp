// Reading the parameter fields into the numbers of a Start: the conversions the run relies on
// and the refusals that name the field.

#include <gtest/gtest.h>

#include "parameter_fields.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::WindowInFolder;

struct Fields {
  WindowInFolder w;
  ParameterFields fields;
  Fields() {
    fields.transect_length = w.field("Text1");
    fields.wind_force = w.field("Text30");
    fields.carbon_fraction = w.field("Text8");
    fields.run_count = w.field("Text5");
    const char* grid[5][3] = {{"Text3", "Text2", "Text23"},  {"Text15", "Text16", "Text24"},
                              {"Text17", "Text18", "Text25"}, {"Text19", "Text20", "Text26"},
                              {"Text21", "Text22", "Text27"}};
    for (int stage = 1; stage <= 5; ++stage) {
      for (int group = 1; group <= 3; ++group) {
        fields.density.at(stage, group) = w.field(grid[stage - 1][group - 1]);
      }
    }
  }
};

TEST(ReadParameters, TheDefaultTextsGiveTheDefaultParameters) {
  Fields f;
  const SimulationParameters read = read_parameters(f.fields);
  const SimulationParameters defaults;
  EXPECT_EQ(read.transect_length, 100);
  EXPECT_EQ(read.wind_force, 0);
  EXPECT_EQ(read.run_count, 1);
  EXPECT_EQ(read.carbon_fraction, 0.5f);
  EXPECT_EQ(read.density, defaults.density);
  // "0,357" is kept as the single nearest to it, not the double.
  EXPECT_EQ(static_cast<double>(read.density.at(1, 1)), 0.3569999933242798);
  EXPECT_EQ(read.density.at(5, 3), 0.1f);
  EXPECT_EQ(read.density.at(2, 2), 0.41f);  // Text16 is stage 2, group 2
  EXPECT_EQ(read.density.at(1, 3), 0.3f);   // Text23 is stage 1, group 3
}

TEST(ReadParameters, WholeNumberFieldsRoundHalvesToEven) {
  Fields f;
  f.fields.run_count->setText("2,5");
  EXPECT_EQ(read_parameters(f.fields).run_count, 2);
  f.fields.run_count->setText("3,5");
  EXPECT_EQ(read_parameters(f.fields).run_count, 4);
  f.fields.transect_length->setText(" 50 ");
  EXPECT_EQ(read_parameters(f.fields).transect_length, 50);
}

TEST(ReadParameters, APeriodIsAcceptedBesideTheComma) {
  Fields f;
  f.fields.carbon_fraction->setText("0.47");
  EXPECT_EQ(read_parameters(f.fields).carbon_fraction, 0.47f);
}

TEST(ReadParameters, TheFirstBadFieldInReadingOrderIsNamed) {
  Fields f;
  f.fields.run_count->setText("x");       // read last
  f.fields.density.at(3, 2)->setText("");  // Text18, read before it
  try {
    read_parameters(f.fields);
    FAIL() << "refused nothing";
  } catch (const FieldRefused& refusal) {
    EXPECT_EQ(refusal.field(), f.w.field("Text18"));
    EXPECT_TRUE(refusal.message().contains(QStringLiteral("стадия разложения 3, «Твердо листв»")));
  }
}

TEST(ReadParameters, RefusesWhatTheRunCannotUse) {
  const std::vector<std::pair<const char*, const char*>> bad = {
      {"Text1", "-5"}, {"Text1", "32768"}, {"Text5", "-1"}, {"Text30", "1e6"},
      {"Text8", "1e39"}, {"Text3", "-0,1"}, {"Text3", "0,3 т"}, {"Text8", "nan"},
  };
  for (const auto& [name, text] : bad) {
    Fields f;
    f.w.field(name)->setText(QString::fromUtf8(text));
    try {
      read_parameters(f.fields);
      ADD_FAILURE() << name << " = " << text << " was accepted";
    } catch (const FieldRefused& refusal) {
      EXPECT_EQ(refusal.field(), f.w.field(name)) << name << " = " << text;
      EXPECT_TRUE(refusal.message().startsWith(QStringLiteral("Расчёт не начат.")));
    }
  }
}

TEST(ReadParameters, AnyWindForceIsAcceptedAsAWholeNumber) {
  Fields f;
  f.fields.wind_force->setText("-3");
  EXPECT_EQ(read_parameters(f.fields).wind_force, -3);
  f.fields.wind_force->setText("9");
  EXPECT_EQ(read_parameters(f.fields).wind_force, 9);
}

}  // namespace
}  // namespace quorvel
