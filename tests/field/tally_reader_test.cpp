#include "field/tally_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <tuple>

#include "../support/encoded_text.h"
#include "../support/refusal_of.h"
#include "../support/temporary_folder.h"
#include "engine/input_file.h"
#include "engine/inventory_reader.h"
#include "engine/refusal.h"

namespace quorvel {
namespace {

using testing::encoded;
using testing::refusal_of;

struct Piece {
  int group;
  double diameter1, diameter2, length;
  int stage, line;
  friend bool operator==(const Piece&, const Piece&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Piece& p) {
    return out << p.group << "," << p.diameter1 << "," << p.diameter2 << "," << p.length << ","
               << p.stage << " line " << p.line;
  }
};

std::vector<Piece> pieces_of(const Inventory& inventory) {
  std::vector<Piece> pieces;
  for (const DebrisPiece& p : inventory.pieces)
    pieces.push_back({p.group, p.diameter1, p.diameter2, p.piece_length, p.stage, p.line});
  return pieces;
}

// The tally every form below writes: in the inventory format
//   S,20.5,18,10,1 / H,12,9.25,0.5,2 / C,5,5,3,5
std::vector<Piece> the_tally(int line1, int line2, int line3) {
  return {{1, 20.5, 18, 10, 1, line1}, {2, 12, 9.25, 0.5, 2, line2}, {3, 5, 5, 3, 5, line3}};
}

const std::string cyrillic_semicolons =
    "Порода;Д1 (см);Д2 (см);Длина (м);Стадия разложения\r\n"
    "S;20,5;18;10;1\r\nH;12;9,25;0,5;2\r\nC;5;5;3;5\r\n";

struct Form {
  const char* name;
  std::string bytes;
  std::array<int, 3> lines;
  std::string species_map = {};
  TallyOptions options = {};
};

TallyOptions in_units(MeasureUnit diameter, MeasureUnit length) {
  TallyOptions options;
  options.diameter_unit = diameter;
  options.length_unit = length;
  return options;
}

TallyOptions with_columns(std::vector<std::pair<InventoryField, std::string>> columns) {
  TallyOptions options;
  options.columns = std::move(columns);
  return options;
}

TEST(TallyReader, EveryFormGivesTheSamePieces) {
  const Form forms[] = {
      {"inventory_format", "S,20.5,18,10,1\nH,12,9.25,0.5,2\nC,5,5,3,5\n", {1, 2, 3}},
      {"header",
       "species,d1_cm,d2_cm,length_m,stage\nS,20.5,18,10,1\nH,12,9.25,0.5,2\nC,5,5,3,5",
       {2, 3, 4}},
      {"header_in_another_order_with_units",
       "Stage,Length (m),Diameter 2 (cm),Diam. 1 [cm],SPECIES\n1,10,18,20.5,S\n2,0.5,9.25,12,H\n"
       "5,3,5,5,C\n",
       {2, 3, 4}},
      {"cyrillic_header_semicolons_decimal_commas", cyrillic_semicolons, {2, 3, 4}},
      {"same_in_windows_1251", encoded(cyrillic_semicolons, "CP1251"), {2, 3, 4}},
      {"same_in_utf16le", encoded(cyrillic_semicolons, "UTF-16LE"), {2, 3, 4}},
      {"same_in_utf16be", encoded(cyrillic_semicolons, "UTF-16BE"), {2, 3, 4}},
      {"semicolons_without_header", "S;20,5;18;10;1\nH;12;9,25;0,5;2\nC;5;5;3;5\n", {1, 2, 3}},
      {"tabs_with_header",
       "sp\td1\td2\tlen\tdecay class\nS\t20.5\t18\t10\t1\nH\t12\t9.25\t0.5\t2\n"
       "C\t5\t5\t3\t5\n",
       {2, 3, 4}},
      {"tabs_without_header",
       "S\t20,5\t18\t10\t1\nH\t12\t9,25\t0,5\t2\nC\t5\t5\t3\t5\n",
       {1, 2, 3}},
      {"small_codes_and_roman_stages", "s,20.5,18,10,I\nh,12,9.25,0.5,ii\nc,5,5,3,V\n", {1, 2, 3}},
      {"species_words_and_numbers_by_map",
       "вид;d1;d2;l;класс\nБерёза;20,5;18;10;1\nДУБ;12;9,25;0,5;2\n12;5;5;3;5\n",
       {2, 3, 4},
       "name,code\nбереза,S\nдуб,h\n12,C\n"},
      {"notes_column_and_empty_rows",
       "species,d1,d2,length,stage,notes\nS,20.5,18,10,1,\"rotten, hollow\"\n,,,,,\n"
       "H,12,9.25,0.5,2,\n\nC,5,5,3,5,\"on two\nlines\"\n,,,,,\n",
       {2, 4, 6}},
      {"quoted_decimal_commas",
       "\"S\",\"20,5\",18,10,1\nH,12,\"9,25\",\"0,5\",2\nC,5,5,3,5\n",
       {1, 2, 3}},
      {"units_in_the_header",
       "species,d1_mm,D2 (mm),Length_cm,stage\nS,205,180,1000,1\n"
       "H,120,92.5,50,2\nC,50,50,300,5\n",
       {2, 3, 4}},
      {"units_given_by_the_user",
       "S,205,180,1000,1\nH,120,92.5,50,2\nC,50,50,300,5\n",
       {1, 2, 3},
       {},
       in_units(MeasureUnit::mm, MeasureUnit::cm)},
      {"headers_in_another_language_named_by_the_user",
       "Gatunek;Śr1;Śr2;Długość;Rozkład;Stage\nS;20,5;18;10;1;9\nH;12;9,25;0,5;2;9\n"
       "C;5;5;3;5;9\n",
       {2, 3, 4},
       {},
       with_columns({{InventoryField::species_code, "Gatunek"},
                     {InventoryField::diameter1, "Śr1"},
                     {InventoryField::diameter2, "Śr2"},
                     {InventoryField::length, "Długość"},
                     {InventoryField::stage, "Rozkład"}})},
      {"byte_order_mark_and_empty_rows",
       "\xEF\xBB\xBFS;20,5;18;10;1\n;;;;\nH;12;9,25;0,5;2\n"
       "C;5;5;3;5\n;;;;\n;;;;\n",
       {1, 3, 4}},
  };
  for (const Form& form : forms) {
    SCOPED_TRACE(form.name);
    TallyOptions options = form.options;
    if (!form.species_map.empty())
      options.species_map = parse_species_map(form.species_map, "species.csv");
    const TallyFile tally = parse_tally(form.bytes, "tally.csv", options);
    ASSERT_EQ(tally.plots.size(), 1u);
    EXPECT_EQ(tally.plots[0].plot, "");
    EXPECT_EQ(tally.plots[0].inventory.source, "tally.csv");
    EXPECT_EQ(pieces_of(tally.plots[0].inventory),
              the_tally(form.lines[0], form.lines[1], form.lines[2]));
  }
}

// One diameter where the piece crosses the line: a cylinder, d1 = d2, in centimetres whatever
// unit the header names.
TEST(TallyReader, ACrossingDiameterIsBothEndDiameters) {
  const struct {
    const char* text;
    double diameter1, diameter2, length;
  } cases[] = {
      {"species;diameter (cm);length;stage\nS;20,5;10;1\n", 20.5, 20.5, 10},
      {"SPECIES\tTRANSDIA\tLEN\tDECAY\nS\t20.5\t10\t1\n", 20.5, 20.5, 10},
      {"порода;диаметр;длина;стадия\nS;20,5;10;1\n", 20.5, 20.5, 10},
      {"species,d_mm,length,stage\nS,205,10,1\n", 20.5, 20.5, 10},
      {"species,dia (m),length,stage\nS,0.2,10,1\n", 20, 20, 10},
      {"species,diameter (in),Length_ft,stage\nS,8,10,1\n", 20.32, 20.32, 3.048},
      // Both end diameters say more than one at the crossing.
      {"species,d1,d2,diameter,length,stage\nS,20.5,18,99,10,1\n", 20.5, 18, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Inventory inventory = parse_tally(c.text, "tally.csv").plots.at(0).inventory;
    ASSERT_EQ(inventory.pieces.size(), 1u);
    const DebrisPiece& piece = inventory.pieces[0];
    EXPECT_EQ(std::tie(piece.diameter1, piece.diameter2, piece.piece_length),
              std::tie(c.diameter1, c.diameter2, c.length));
  }
}

TEST(TallyReader, APlotColumnSplitsTheFileInTheOrderPlotsFirstAppear) {
  const TallyFile tally = parse_tally(
      "Участок;Страта;species;d1;d2;length;stage\nP2;A;S;20,5;18;10;1\nP1;B;H;12;9,25;0,5;2\n"
      "P2;A;C;5;5;3;5\n",
      "tally.csv");
  ASSERT_EQ(tally.plots.size(), 2u);
  EXPECT_EQ(tally.plots[0].plot, "P2");
  EXPECT_EQ(tally.plots[0].stratum, "A");
  EXPECT_EQ(tally.plots[1].plot, "P1");
  EXPECT_EQ(tally.plots[1].stratum, "B");
  const auto all = the_tally(2, 3, 4);
  EXPECT_EQ(pieces_of(tally.plots[0].inventory), (std::vector{all[0], all[2]}));
  EXPECT_EQ(pieces_of(tally.plots[1].inventory), std::vector{all[1]});

  TallyOptions by_name;
  by_name.plot_column = "Site No.";
  const TallyFile named =
      parse_tally("site no,plot,species,d1,d2,length,stage\n7,x,S,1,1,1,1\n", "t", by_name);
  ASSERT_EQ(named.plots.size(), 1u);
  EXPECT_EQ(named.plots[0].plot, "7");
}

// A bad row refuses its own plot, naming it; with drop_incomplete a row missing a value is left
// out of its plot, counted there, and warned of once for the file.
TEST(TallyReader, ARowMissingAValueRefusesItsPlotOrIsLeftOut) {
  const std::string text =
      "plot,species,d,length,stage\nA,S,20,10,1\nB,S,NA,10,1\nA,S,-,1,1\nB,H,12,2,2\n"
      "C,C,5,3,5\nA,S,,1,1\n";
  const TallyFile strict = parse_tally(text, "t.csv");
  ASSERT_EQ(strict.plots.size(), 3u);
  ASSERT_TRUE(strict.plots[0].refused && strict.plots[1].refused);
  EXPECT_FALSE(strict.plots[2].refused);
  const Refusal& a = *strict.plots[0].refused;
  EXPECT_EQ(std::tie(a.kind, a.plot, a.line, a.column, a.found),
            std::make_tuple(RefusalKind::value_missing, "A", 4, "d", "-"));
  EXPECT_EQ(strict.plots[1].refused->line, 3);
  EXPECT_EQ(pieces_of(strict.plots[2].inventory), (std::vector<Piece>{{3, 5, 5, 3, 5, 6}}));

  TallyOptions dropping;
  dropping.drop_incomplete = true;
  const TallyFile tally = parse_tally(text, "t.csv", dropping);
  ASSERT_EQ(tally.plots.size(), 3u);
  EXPECT_EQ(std::vector({tally.plots[0].dropped_rows, tally.plots[1].dropped_rows,
                         tally.plots[2].dropped_rows}),
            std::vector<std::int64_t>({2, 1, 0}));
  EXPECT_EQ(pieces_of(tally.plots[1].inventory), (std::vector<Piece>{{2, 12, 12, 2, 2, 5}}));
  ASSERT_EQ(tally.plots[0].warnings.size(), 1u);
  const Warning& w = tally.plots[0].warnings[0];
  EXPECT_EQ(std::tie(w.kind, w.count, w.lines),
            std::make_tuple(WarningKind::rows_dropped, 3, std::vector<std::int64_t>{3, 4, 7}));
  EXPECT_TRUE(tally.plots[1].warnings.empty());
}

TEST(TallyReader, TheExampleReadsAsTheInventoryReaderReadsIt) {
  const auto path = std::filesystem::path(QUORVEL_SOURCE_DIR) / "examples" / "plot7.txt";
  const Inventory expected = read_inventory(path);
  const TallyFile tally = read_tally(path);
  ASSERT_EQ(tally.plots.size(), 1u);
  EXPECT_TRUE(tally.form.inventory_format);
  EXPECT_EQ(tally.plots[0].inventory.source, expected.source);
  EXPECT_EQ(pieces_of(tally.plots[0].inventory), pieces_of(expected));
}

struct RefusalCase {
  const char* name;
  std::string bytes;
  RefusalKind kind;
  std::int64_t line, record;
  InventoryField field;
  std::string column, found;
  FormHint hint = FormHint::none;
  int hint_fields = 0;
  std::int64_t hint_line = 0;
  TallyOptions options = {};
};

TallyOptions forced(FieldSeparator separator, DecimalMark decimal, std::string plot = {}) {
  TallyOptions options;
  options.separator = separator;
  options.decimal = decimal;
  options.plot_column = std::move(plot);
  return options;
}

TEST(TallyReader, RefusalsNameFileLineColumnAndWhatWasFound) {
  using K = RefusalKind;
  using F = InventoryField;
  const std::string header = "species;d1;d2;length;stage\n";
  const RefusalCase cases[] = {
      {"missing_value", header + "S;20;;10;1\n", K::value_missing, 2, 1, F::diameter2, "d2", ""},
      {"value_written_na", header + "S;20;18;10;1\nS;20;n/A;10;1\n", K::value_missing, 3, 2,
       F::diameter2, "d2", "n/A"},
      {"short_row", header + "S;20\n", K::value_missing, 2, 1, F::diameter2, "d2", ""},
      {"cyrillic_value_from_windows_1251",
       encoded("Порода;Д1;Д2;Длина;Стадия\nS;20;18;1;1\nS;20;18;десять;1\n", "CP1251"),
       K::field_not_valid, 3, 2, F::length, "Длина", "десять"},
      {"every_unknown_code_once",
       "Порода\tД1\tД2\tДлина\tСтадия\nS\t1\t1\t1\t1\nдуб\t20\t18\t1\t1\n"
       "U\t1\t1\t1\t1\n ДУБ \t1\t1\t1\t1\nPl\t1\t1\t1\t1\n",
       K::species_unknown, 3, 2, F::species_code, "Порода", "дуб, U, Pl"},
      {"stage_beyond_five", "S;20;18;1;VI\n", K::field_not_valid, 1, 1, F::stage, "", "VI"},
      {"decimal_point_where_comma_asked", "S;20.5;18;1;1\n", K::field_not_valid, 1, 1, F::diameter1,
       "", "20.5", FormHint::none, 0, 0, forced(FieldSeparator::detect, DecimalMark::comma)},
      {"column_missing", "species,d1,d2,length\nS,1,1,1\n", K::column_missing, 1, 0, F::stage, "",
       "species, d1, d2, length"},
      {"plot_column_missing", header + "S;1;1;1;1\n", K::column_missing, 1, 0, F::plot, "Участок",
       "species, d1, d2, length, stage", FormHint::none, 0, 0,
       forced(FieldSeparator::detect, DecimalMark::detect, "Участок")},
      {"column_named_by_the_user_missing", "Gatunek;d;length;stage\nS;1;1;1\n", K::column_missing,
       1, 0, F::species_code, "Gatunku", "Gatunek, d, length, stage", FormHint::none, 0, 0,
       with_columns({{F::species_code, "Gatunku"}})},
      {"diameter_in_feet", "species,Diam_ft,length,stage\nS,1,1,1\n", K::unit_not_fitting, 1, 0,
       F::diameter, "Diam_ft", "ft"},
      {"length_in_inches", "species;d1;d2;length (in);stage\nS;1;1;1;1\n", K::unit_not_fitting, 1,
       0, F::length, "length (in)", "in"},
      {"header_of_four_unknown_words", "Gatunek;Średnica (cm);Długość;Rozkład\nS;20;1;1\n",
       K::column_missing, 1, 0, F::species_code, "", "Gatunek, Średnica (cm), Długość, Rozkład"},
      {"header_in_unknown_words", "Tree;Top;Bottom;Size;Rot\nS;20;18;10;1\n",
       K::header_not_recognised, 1, 1, F::none, "", "Tree"},
      {"decimal_commas_in_a_comma_file_with_header", "species,d1,d2,length,stage\nS,20,5,18,10,1\n",
       K::too_many_fields, 2, 1, F::none, "", "", FormHint::decimal_comma, 6, 2},
      // Which of two columns of one name is meant cannot be told: both are named.
      {"species_column_twice", "Порода;code;d1;d2;length;stage\nдуб;S;1;1;1;1\n",
       K::column_repeated, 1, 0, F::species_code, "code", "Порода"},
      {"plot_column_twice",
       "plot;" + header.substr(0, 8) + "Участок;" + header.substr(8) + "p1;S;p2;1;1;1;1\n",
       K::column_repeated, 1, 0, F::plot, "Участок", "plot"},
      {"plot_without_id", "plot;" + header + ";S;1;1;1;1\n", K::field_not_valid, 2, 1, F::plot,
       "plot", ""},
      {"unclosed_quote", header + "S;1;1;1;\"1\n", K::unclosed_quote, 2, 0, F::none, "", ""},
      // Where the spreadsheet forms do not apply: the inventory format's refusal, with a hint.
      {"inventory_format_as_ever", "S,20,20,10,1\nX,1,1,1,1\n", K::field_not_valid, 2, 2,
       F::species_code, "", "X"},
      {"cyrillic_code_as_text", "П,1,1,1,1\n", K::field_not_valid, 1, 1, F::species_code, "", "П"},
      {"text_cut_between_letters", "\"S\"xабвгд,1,1,1,1\n", K::text_after_quote, 1, 0, F::none, "",
       "xабвг"},
      {"fields_separated_by_blanks", "S 20 20 10 1\n", K::record_incomplete, 1, 1, F::species_code,
       "", "", FormHint::space_separated, 5, 1},
      {"semicolons_but_a_short_row", "S;20;18;10;1\nH;12;9;1\n", K::record_incomplete, 2, 1,
       F::diameter1, "", "", FormHint::semicolon_separated, 5, 1},
      {"decimal_commas_in_a_comma_file", "S,20,5,18,10,1\n", K::field_not_valid, 1, 1, F::stage, "",
       "10", FormHint::decimal_comma, 6, 1},
      {"quoted_decimal_comma_where_points_asked", "\"S\",\"20,5\",18,10,1\n", K::field_not_valid, 1,
       1, F::diameter1, "", "20,5", FormHint::decimal_comma, 0, 1,
       forced(FieldSeparator::detect, DecimalMark::point)},
      {"no_text_in_windows_1251", "S;1;1;1;1\n\x98;1;1;1;1\n", K::text_not_decodable, 2, 0, F::none,
       "", ""},
      {"utf16_cut_short",
       std::string("\xFF\xFE"
                   "S\0\n\0X",
                   7),
       K::text_not_decodable, 2, 0, F::none, "", ""},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Refusal r = refusal_of([&] { parse_tally(c.bytes, "tally.csv", c.options); });
    EXPECT_EQ(std::tie(r.kind, r.file, r.line, r.record, r.field, r.column, r.found),
              std::tie(c.kind, "tally.csv", c.line, c.record, c.field, c.column, c.found));
    EXPECT_EQ(std::tie(r.hint, r.hint_fields, r.hint_line),
              std::tie(c.hint, c.hint_fields, c.hint_line));
  }
}

TEST(TallyReader, SpeciesMapRefusesBadCodesAndNamesGivenTwoCodes) {
  const struct {
    const char* text;
    RefusalKind kind;
    std::int64_t line;
    std::string found;
  } cases[] = {
      {"name;code\nдуб;H\nель;X\n", RefusalKind::field_not_valid, 3, "X"},
      {"Дуб,H\nдуб,h\nДУБ,C\n", RefusalKind::species_listed_twice, 3, "ДУБ"},
  };
  for (const auto& c : cases) {
    const Refusal r = refusal_of([&] { parse_species_map(c.text, "species.csv"); });
    EXPECT_EQ(std::tie(r.kind, r.line, r.found), std::tie(c.kind, c.line, c.found)) << c.text;
  }
}

TEST(TallyReader, FilesThatCannotBeReadAreRefusedByKind) {
  const testing::TemporaryFolder folder;
  ASSERT_EQ(::mkfifo(folder.in("pipe.csv").c_str(), 0644), 0);
  std::filesystem::resize_file(folder.write("huge.csv", ""), tally_file_limit + 1);  // sparse
  const struct {
    std::string path;
    RefusalKind kind;
    std::int64_t limit;
  } cases[] = {
      {folder.in("no-such-tally.csv"), RefusalKind::file_missing, 0},
      {folder.path().string(), RefusalKind::file_is_folder, 0},
      {folder.in("pipe.csv"), RefusalKind::file_not_regular, 0},
      {folder.in("huge.csv"), RefusalKind::file_too_large, tally_file_limit},
  };
  for (const auto& c : cases) {
    const Refusal r = refusal_of([&] { read_tally(c.path); });
    EXPECT_EQ(std::tie(r.kind, r.file, r.limit), std::tie(c.kind, c.path, c.limit));
  }
}

}  // namespace
}  // namespace quorvel
