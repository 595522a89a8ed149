#include "field/coefficients_table.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "../support/refusal_of.h"
#include "engine/refusal.h"
#include "field/tally_reader.h"

namespace quorvel {
namespace {

using testing::refusal_of;

Inventory tally_of(std::string_view text, const TallyOptions& options = {}) {
  return parse_tally(text, "plot.csv", options).plots.at(0).inventory;
}

TEST(CoefficientsTable, FindsTheSpeciesRowBeforeItsGroupsInEitherCase) {
  const CoefficientsTable table = parse_coefficients(
      "Stage;Carbon;SPECIES;density\n"
      "II;0,45;c;0,4\n"
      "2;;  pl ;0,5\n"
      "3;;Sx;1.5\n",
      "k.csv");
  const struct {
    const char* code;
    int group, stage;
    double density;  // 0: no row
  } cases[] = {{"Pl", 3, 2, 0.5}, {" PL ", 3, 2, 0.5}, {"Sx", 3, 2, 0.4},
               {"", 3, 2, 0.4},   {"Pl", 3, 3, 0},     {"sx", 3, 3, 1.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " stage " + std::to_string(c.stage));
    const CoefficientRow* row = table.row_for(c.code, c.group, c.stage);
    EXPECT_EQ(row ? row->density : 0.0, c.density);
  }
  EXPECT_EQ(table.row_for("c", 3, 2)->carbon, 0.45);
  EXPECT_FALSE(table.row_for("pl", 3, 2)->carbon);
}

TEST(CoefficientsTable, NamesEveryPieceWithoutARowAtOnceAndLeavesThePiecesAlone) {
  const CoefficientsTable table = parse_coefficients("species,stage,density\nH,1,0.5\n", "k.csv");
  TallyOptions options;
  options.species_map.add("At", 1);
  Inventory inventory = tally_of(
      "species,d1,d2,length,stage\nH,9,9,2,1\nAt,9,9,2,4\nS,9,9,2,0\nat,9,9,2,4\nC,9,9,2,2\n",
      options);
  const Refusal r = refusal_of([&] { apply_coefficients(table, "k.csv", 0.5, inventory); });
  EXPECT_EQ(r.kind, RefusalKind::coefficients_missing);
  EXPECT_EQ(r.file, "plot.csv");
  EXPECT_EQ(r.table, "k.csv");
  EXPECT_EQ(r.found, "At 4, C 2");  // stage 0 carries no carbon and needs no row
  EXPECT_FALSE(inventory.pieces[0].carbon_factor);
}

TEST(CoefficientsTable, RefusesWithLineAndColumn) {
  using K = RefusalKind;
  using F = InventoryField;
  const struct {
    const char* name;
    const char* text;
    K kind;
    std::int64_t line;
    F field;
    std::string column, found;
  } cases[] = {
      {"empty", "\n\n", K::no_records, 0, F::none, "", ""},
      {"no density column", "species,stage,carbon\nS,1,0.5\n", K::column_missing, 1, F::density,
       "density", ""},
      {"column twice", "species,Stage,density,STAGE\n", K::column_repeated, 1, F::coefficient_stage,
       "STAGE", ""},
      {"density zero", "species,stage,Density\nS,1,0\n", K::field_not_valid, 2, F::density,
       "Density", "0"},
      {"density above 1.5", "species,stage,density\nS,1,0.5\n\nS,2,1.51\n", K::field_not_valid, 4,
       F::density, "density", "1.51"},
      {"density missing", "species,stage,density\nS,1\n", K::field_not_valid, 2, F::density,
       "density", ""},
      {"decimal comma in a comma file", "species,stage,density\n\"S\",1,\"0,5\"\n",
       K::field_not_valid, 2, F::density, "density", "0,5"},
      {"reduction above 1", "species,stage,density,reduction\nS,5,0.3,1.2\n", K::field_not_valid, 2,
       F::reduction, "reduction", "1.2"},
      {"carbon negative", "species;stage;density;carbon\nS;5;0,3;-0,5\n", K::field_not_valid, 2,
       F::carbon_share, "carbon", "-0,5"},
      {"stage 0", "species,stage,density\nS,0,0.3\n", K::field_not_valid, 2, F::coefficient_stage,
       "stage", "0"},
      {"no species", "species,stage,density\n ,1,0.3\n", K::field_not_valid, 2,
       F::coefficient_species, "species", ""},
      {"row twice", "species,stage,density\nPl,4,0.3\nS,4,0.3\nPL,IV,0.2\n",
       K::coefficient_repeated, 4, F::none, "", "PL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Refusal r = refusal_of([&] { parse_coefficients(c.text, "k.csv"); });
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.file, "k.csv");
    EXPECT_EQ(r.line, c.line);
    EXPECT_EQ(r.field, c.field);
    EXPECT_EQ(r.column, c.column);
    EXPECT_EQ(r.found, c.found);
  }
}

}  // namespace
}  // namespace quorvel
