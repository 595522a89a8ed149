#pragma once
// What the user may say about the form of a tally file where the file alone does not tell, or
// tells wrongly: its encoding, separator and decimal mark, its plot column and species words.
// These apply to files that the inventory format refuses; a file in that format reads as ever.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/refusal.h"
#include "field/measure_units.h"
#include "field/species_map.h"
#include "field/text_encoding.h"

namespace quorvel {

enum class FieldSeparator : char { detect = 0, comma = ',', semicolon = ';', tab = '\t' };
enum class DecimalMark : char { detect = 0, point = '.', comma = ',' };

struct TallyOptions {
  TextEncoding encoding = TextEncoding::detect;
  FieldSeparator separator = FieldSeparator::detect;
  // detect: a point with any separator, a point or a comma with a semicolon or tab.
  DecimalMark decimal = DecimalMark::detect;
  // The header name of the column that splits the file into plots; empty: a column named as
  // plots are (plot, участок, ...), if any.
  std::string plot_column;
  SpeciesMap species_map;  // species words and numbers besides the codes S, H, C
  // The units of diameters and lengths where a header names none; none: cm and m.
  MeasureUnit diameter_unit = MeasureUnit::none;
  MeasureUnit length_unit = MeasureUnit::none;
  // The header of the column of a role, as written (blanks around it aside), where the
  // reader's own names do not find it: --column ROLE=HEADER.
  std::vector<std::pair<InventoryField, std::string>> columns;
  // Rows missing a required value are left out and counted, rather than refusing their plot.
  bool drop_incomplete = false;
};

// The roles a column may be named for: species, d1, d2, diameter, length, stage, plot, stratum,
// and line, horizontal, slope_distance, slope (the last three of a lines file).
std::optional<InventoryField> column_role_named(std::string_view role);

// ",", ";", "tab" (or a tab character), "comma", "semicolon", "auto".
std::optional<FieldSeparator> field_separator_named(std::string_view name);
// ".", ",", "point", "comma", "auto".
std::optional<DecimalMark> decimal_mark_named(std::string_view name);

}  // namespace quorvel
