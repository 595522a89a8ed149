#include "field/lines_reader.h"

#include <gtest/gtest.h>

#include <tuple>

#include "../support/refusal_of.h"
#include "../support/temporary_folder.h"
#include "engine/refusal.h"

namespace quorvel {
namespace {

using testing::refusal_of;

// Horizontal lengths by hand: 25 m at 75 % is 25 / 1.25 = 20 m; 10 ft is 3.048 m.
TEST(LinesReader, SumsEachPlotsLinesAndSegments) {
  TallyOptions named;
  named.columns = {{InventoryField::slope, "Neigung"}, {InventoryField::line, "Linie"}};
  const struct {
    const char* name;
    const char* text;
    TallyOptions options;
    std::vector<std::string> plots, p1_lines;
    double p1_length;
  } cases[] = {
      {"horizontal lengths, a line in two segments",
       "Plot,Line,Horizontal\nP1,1,30\nP2,A,49.55\nP1,2,12.5\nP1,1,7.5\n",
       {},
       {"P1", "P2"},
       {"1", "2"},
       50},
      {"slope distances, a row of either",
       "plot;transect;horizontal;slope_distance;slope (%)\n"
       "P1;A;;25;75\nP1;B;3,5;;\n",
       {},
       {"P1"},
       {"A", "B"},
       23.5},
      {"units in the headers",
       "plot\tline\tslope_distance_ft\tslope\nP1\t1\t10\t0\n",
       {},
       {"P1"},
       {"1"},
       3.048},
      {"columns named by the user",
       "Fläche,Linie,sd,Neigung\nP1,x,\"25\",-75\n",
       named,
       {},
       {"x"},
       20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TallyOptions options = c.options;
    if (c.plots.empty()) options.columns.emplace_back(InventoryField::plot, "Fläche");
    const LinesTable t = parse_lines(c.text, "lines.csv", options);
    if (!c.plots.empty()) EXPECT_EQ(t.plots, c.plots);
    ASSERT_NE(t.of("P1"), nullptr);
    EXPECT_EQ(t.of("P1")->names, c.p1_lines);
    EXPECT_EQ(t.of("P1")->horizontal_m, c.p1_length);
  }
  EXPECT_EQ(parse_lines("plot,line,horizontal\nP1,1,2\n", "l.csv").of("P2"), nullptr);
}

TEST(LinesReader, RefusesWithWhereAndWhat) {
  using K = RefusalKind;
  using F = InventoryField;
  const struct {
    const char* name;
    const char* text;
    K kind;
    std::int64_t line, record;
    F field;
    std::string found;
  } cases[] = {
      {"header only", "plot,line,horizontal\n", K::no_records, 1, 0, F::none, ""},
      {"no line column", "plot,horizontal\nP1,3\n", K::column_missing, 1, 0, F::line, ""},
      {"no length column", "plot,line,slope\nP1,1,3\n", K::column_missing, 1, 0, F::horizontal, ""},
      {"slope distance without slope", "plot,line,slope_distance\n", K::column_missing, 1, 0,
       F::slope, ""},
      {"length twice", "plot,line,hd,horizontal\n", K::column_repeated, 1, 0, F::horizontal, "hd"},
      {"a length in inches", "plot,line,horizontal (in)\n", K::unit_not_fitting, 1, 0,
       F::horizontal, "in"},
      {"no plot", "plot,line,horizontal\nNA,1,3\n", K::field_not_valid, 2, 1, F::plot, "NA"},
      {"no length", "plot,line,horizontal\nP1,1,\n", K::field_not_valid, 2, 1, F::horizontal, ""},
      {"zero length", "plot,line,horizontal\nP1,1,2\nP1,2,0\n", K::field_not_valid, 3, 2,
       F::horizontal, "0"},
      {"decimal comma among commas", "plot,line,horizontal\nP1,1,\"2,5\"\n", K::field_not_valid, 2,
       1, F::horizontal, "2,5"},
      {"slope not a number", "plot;line;sd;slope\nP1;1;20;steep\n", K::field_not_valid, 2, 1,
       F::slope, "steep"},
      {"slope too steep to lie flat", "plot,line,sd,slope\nP1,1,20,1e200\n", K::field_not_valid, 2,
       1, F::slope, "1e200"},
      {"lengths beyond the doubles", "plot,line,horizontal\nP1,1,1e154\nP1,2,1e154\n",
       K::field_not_valid, 3, 2, F::horizontal, "1e154"},
  };
  for (const auto& c : cases) {
    const Refusal r = refusal_of([&] { parse_lines(c.text, "lines.csv"); });
    EXPECT_EQ(std::tie(r.kind, r.file, r.line, r.record, r.field, r.found),
              std::tuple(c.kind, "lines.csv", c.line, c.record, c.field, c.found))
        << c.name;
  }
  // A file that cannot be read is named a lines file.
  const testing::TemporaryFolder folder;
  const Refusal missing = refusal_of([&] { read_lines(folder.in("none.csv")); });
  EXPECT_EQ(std::tie(missing.kind, missing.field),
            std::tuple(RefusalKind::file_missing, InventoryField::line));
}

}  // namespace
}  // namespace quorvel
