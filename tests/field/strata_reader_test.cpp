#include "field/strata_reader.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <tuple>

#include "../support/refusal_of.h"
#include "../support/temporary_folder.h"
#include "engine/input_file.h"
#include "engine/refusal.h"

namespace quorvel {
namespace {

using testing::refusal_of;

TEST(StrataReader, ReadsPlotsStrataAndAreas) {
  const StrataTable t = parse_strata(
      "\xEF\xBB\xBFnotes;Area_ha;PLOT;stratum\r\n"
      "wet;12,5;plots/p1.txt;bog\r\n"
      "\r\n"
      ";;\"plots/p;2.txt\";pine\r\n"
      "; 12.50 ; p3 ;bog\n"
      "x;4e1;\"say \"\"p4\"\"\";\"pine\"\r",
      "strata.csv");
  EXPECT_EQ(t.strata(), (std::vector<std::string>{"bog", "pine"}));
  EXPECT_EQ(t.plot_count(), 4u);
  EXPECT_EQ(*t.stratum_of("plots/p1.txt"), "bog");
  EXPECT_EQ(*t.stratum_of("plots/p;2.txt"), "pine");
  EXPECT_EQ(*t.stratum_of("p3"), "bog");
  EXPECT_EQ(*t.stratum_of("say \"p4\""), "pine");
  EXPECT_EQ(t.stratum_of("p5"), nullptr);
  ASSERT_EQ(t.areas().size(), 2u);
  EXPECT_EQ(t.areas()[0].area_ha, 12.5);
  EXPECT_EQ(t.areas()[1].area_ha, 40);

  // Empty fields left out at the end of a row, or added beyond the header, are fine; a quoted
  // field may hold a line break, and a file without UTF-8 is read as Windows-1251.
  const StrataTable plain = parse_strata(
      "stratum,plot\nA,1\nB,2,,,\nA,3,\n\"\xD1\xEE\xF1\xED\xE0\",\"4\n(\xE2\xEE\xE4\xE0)\"",
      "s.csv");
  EXPECT_EQ(plain.strata(), (std::vector<std::string>{"A", "B", "Сосна"}));
  EXPECT_EQ(plain.plots(), (std::deque<std::string>{"1", "2", "3", "4\n(вода)"}));
  EXPECT_FALSE(plain.area_ha(0));
  EXPECT_TRUE(plain.areas().empty());
}

TEST(StrataReader, RefusesWithWhereAndWhat) {
  using K = RefusalKind;
  using F = InventoryField;
  const struct {
    const char* name;
    const char* text;
    K kind;
    std::int64_t line, record, other_line;
    F field;
    std::string found;
  } cases[] = {
      {"empty", "\n \n", K::no_records, 0, 0, 0, F::none, ""},
      {"header only", "plot,stratum\n", K::no_records, 0, 0, 0, F::none, ""},
      {"no header", "p1,A\np2,B\n", K::column_missing, 1, 0, 0, F::plot, ""},
      {"no stratum column", "plot,area_ha\np1,3\n", K::column_missing, 1, 0, 0, F::stratum, ""},
      {"column twice", "plot,stratum,Plot\n", K::column_repeated, 1, 0, 0, F::plot, ""},
      {"row without stratum", "plot,stratum,area_ha\np1,A,2\np2\n", K::record_incomplete, 3, 2, 0,
       F::stratum, ""},
      {"row without plot", "stratum,x,plot\nA,,p1\nB,\n", K::record_incomplete, 3, 2, 0, F::plot,
       ""},
      {"decimal comma in a comma file", "plot,stratum,area_ha\np1,A,2,5\n", K::record_too_long, 2,
       1, 0, F::none, "5"},
      {"empty plot", "plot,stratum\n p1 ,A\n  ,B\n", K::field_not_valid, 3, 2, 0, F::plot, ""},
      {"empty stratum", "plot;stratum\np1;\"\"\n", K::field_not_valid, 2, 1, 0, F::stratum, ""},
      {"plot twice", "plot,stratum\np1,A\n\np2,A\np1,B\n", K::plot_repeated, 5, 3, 2, F::none,
       "p1"},
      {"area zero", "plot,stratum,area_ha\np1,A,0\n", K::field_not_valid, 2, 1, 0, F::area_ha, "0"},
      {"area negative", "plot,stratum,area_ha\np1,A,-3\n", K::field_not_valid, 2, 1, 0, F::area_ha,
       "-3"},
      {"area not a number", "plot,stratum,area_ha\np1,A,inf\n", K::field_not_valid, 2, 1, 0,
       F::area_ha, "inf"},
      {"area with a sign", "plot;stratum;area_ha\np1;A;+3,5\n", K::field_not_valid, 2, 1, 0,
       F::area_ha, "+3,5"},
      {"areas differ", "plot,stratum,area_ha\np1,A,\np2,A,3\np3,B,1\np4,A,3.5\n", K::area_differs,
       5, 4, 3, F::area_ha, "A"},
      {"area missing", "plot,stratum,area_ha\np1,A,3\np2,B,\np3,B,\n", K::area_missing, 3, 0, 0,
       F::area_ha, "B"},
      {"unclosed quote", "plot,stratum\n\"p1,A\n", K::unclosed_quote, 2, 0, 0, F::none, ""},
      {"text after quote", "plot,stratum\n\"p1\"x,A\n", K::text_after_quote, 2, 0, 0, F::none,
       "x,A"},
      {"quote open to the end", "plot,stratum\np1,A\n\"p2,B\np3,C\n", K::unclosed_quote, 3, 0, 0,
       F::none, ""},
  };
  for (const auto& c : cases) {
    const Refusal r = refusal_of([&] { parse_strata(c.text, "strata.csv"); });
    EXPECT_EQ(std::tie(r.kind, r.file, r.line, r.record, r.other_line, r.field, r.found),
              std::tuple(c.kind, "strata.csv", c.line, c.record, c.other_line, c.field, c.found))
        << c.name;
  }
}

TEST(StrataReader, RefusesFilesThatCannotBeRead) {
  const testing::TemporaryFolder folder;
  EXPECT_EQ(*read_strata(folder.write("good.csv", "plot,stratum\np1,A\n")).stratum_of("p1"), "A");
  // A strata file is small: anything above its limit is the wrong file, refused unread.
  std::filesystem::resize_file(folder.write("huge.csv", ""), side_file_limit + 1);  // sparse
  for (const auto& [path, kind, limit] :
       {std::tuple{folder.in("missing.csv"), RefusalKind::file_missing, std::int64_t{0}},
        std::tuple{folder.path().string(), RefusalKind::file_is_folder, std::int64_t{0}},
        std::tuple{folder.in("huge.csv"), RefusalKind::file_too_large, side_file_limit}}) {
    const Refusal r = refusal_of([&] { read_strata(path); });
    // The field names the file a strata file in the message, not an inventory.
    EXPECT_EQ(std::tie(r.kind, r.file, r.limit, r.field),
              std::tuple(kind, path, limit, InventoryField::stratum));
  }
}

}  // namespace
}  // namespace quorvel
