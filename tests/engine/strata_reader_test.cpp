#include "strata_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "refusal.h"

namespace quorvel {
namespace {

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

  // Empty fields left out at the end of a row, or added beyond the header, are fine.
  const StrataTable plain = parse_strata("stratum,plot\nA,1\nB,2,,,\nA,3,\n", "s.csv");
  EXPECT_EQ(plain.strata(), (std::vector<std::string>{"A", "B"}));
  EXPECT_FALSE(plain.area_ha(0));
  EXPECT_TRUE(plain.areas().empty());
}

TEST(StrataReader, RefusesWithWhereAndWhat) {
  const struct {
    const char* name;
    const char* text;
    RefusalKind kind;
    std::int64_t line, record, other_line;
    InventoryField field;
    const char* found;
  } cases[] = {
      {"empty", "\n \n", RefusalKind::no_records, 0, 0, 0, InventoryField::none, ""},
      {"header only", "plot,stratum\n", RefusalKind::no_records, 0, 0, 0, InventoryField::none, ""},
      {"no header", "p1,A\np2,B\n", RefusalKind::column_missing, 1, 0, 0, InventoryField::plot, ""},
      {"no stratum column", "plot,area_ha\np1,3\n", RefusalKind::column_missing, 1, 0, 0,
       InventoryField::stratum, ""},
      {"column twice", "plot,stratum,Plot\n", RefusalKind::column_repeated, 1, 0, 0,
       InventoryField::plot, ""},
      {"row without stratum", "plot,stratum,area_ha\np1,A,2\np2\n", RefusalKind::record_incomplete,
       3, 2, 0, InventoryField::stratum, ""},
      {"row without plot", "stratum,x,plot\nA,,p1\nB,\n", RefusalKind::record_incomplete, 3, 2, 0,
       InventoryField::plot, ""},
      {"decimal comma in a comma file", "plot,stratum,area_ha\np1,A,2,5\n",
       RefusalKind::record_too_long, 2, 1, 0, InventoryField::none, "5"},
      {"empty plot", "plot,stratum\n p1 ,A\n  ,B\n", RefusalKind::field_not_valid, 3, 2, 0,
       InventoryField::plot, ""},
      {"empty stratum", "plot;stratum\np1;\"\"\n", RefusalKind::field_not_valid, 2, 1, 0,
       InventoryField::stratum, ""},
      {"plot twice", "plot,stratum\np1,A\n\np2,A\np1,B\n", RefusalKind::plot_repeated, 5, 3, 2,
       InventoryField::none, "p1"},
      {"area zero", "plot,stratum,area_ha\np1,A,0\n", RefusalKind::field_not_valid, 2, 1, 0,
       InventoryField::area_ha, "0"},
      {"area negative", "plot,stratum,area_ha\np1,A,-3\n", RefusalKind::field_not_valid, 2, 1, 0,
       InventoryField::area_ha, "-3"},
      {"area not a number", "plot,stratum,area_ha\np1,A,inf\n", RefusalKind::field_not_valid, 2, 1,
       0, InventoryField::area_ha, "inf"},
      {"areas differ", "plot,stratum,area_ha\np1,A,\np2,A,3\np3,B,1\np4,A,3.5\n",
       RefusalKind::area_differs, 5, 4, 3, InventoryField::area_ha, "A"},
      {"area missing", "plot,stratum,area_ha\np1,A,3\np2,B,\np3,B,\n", RefusalKind::area_missing, 3,
       0, 0, InventoryField::area_ha, "B"},
      {"unclosed quote", "plot,stratum\n\"p1,A\n", RefusalKind::unclosed_quote, 2, 0, 0,
       InventoryField::none, ""},
      {"text after quote", "plot,stratum\n\"p1\"x,A\n", RefusalKind::text_after_quote, 2, 0, 0,
       InventoryField::none, "x"},
  };
  for (const auto& c : cases) {
    try {
      parse_strata(c.text, "strata.csv");
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const Refused& e) {
      const Refusal& r = e.refusal();
      EXPECT_EQ(r.kind, c.kind) << c.name;
      EXPECT_EQ(r.file, "strata.csv") << c.name;
      EXPECT_EQ(r.line, c.line) << c.name;
      EXPECT_EQ(r.record, c.record) << c.name;
      EXPECT_EQ(r.other_line, c.other_line) << c.name;
      EXPECT_EQ(r.field, c.field) << c.name;
      EXPECT_EQ(r.found, c.found) << c.name;
    }
  }
}

TEST(StrataReader, RefusesFilesThatCannotBeRead) {
  const auto folder = std::filesystem::temp_directory_path() / "quorvel_strata_reader_test";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "good.csv") << "plot,stratum\np1,A\n";
  EXPECT_EQ(*read_strata(folder / "good.csv").stratum_of("p1"), "A");
  for (const auto& [path, kind] : {std::pair{folder / "missing.csv", RefusalKind::file_missing},
                                   std::pair{folder, RefusalKind::file_is_folder}}) {
    try {
      read_strata(path);
      ADD_FAILURE() << path;
    } catch (const Refused& e) {
      EXPECT_EQ(e.refusal().kind, kind) << path;
      EXPECT_EQ(e.refusal().file, path.string());
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quorvel
