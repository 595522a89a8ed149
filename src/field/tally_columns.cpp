#include "field/tally_columns.h"

#include <string>

#include "field/name_folding.h"

namespace quorvel {

namespace {

struct ColumnName {
  std::string_view name;  // folded, without blanks, underscores, dots and unit
  InventoryField field;
};

constexpr ColumnName column_names[] = {
    {"species", InventoryField::species_code},
    {"group", InventoryField::species_code},
    {"code", InventoryField::species_code},
    {"sp", InventoryField::species_code},
    {"порода", InventoryField::species_code},
    {"группа", InventoryField::species_code},
    {"вид", InventoryField::species_code},
    {"d1", InventoryField::diameter1},
    {"diameter1", InventoryField::diameter1},
    {"diam1", InventoryField::diameter1},
    {"д1", InventoryField::diameter1},
    {"диаметр1", InventoryField::diameter1},
    {"d2", InventoryField::diameter2},
    {"diameter2", InventoryField::diameter2},
    {"diam2", InventoryField::diameter2},
    {"д2", InventoryField::diameter2},
    {"диаметр2", InventoryField::diameter2},
    {"diameter", InventoryField::diameter},
    {"diam", InventoryField::diameter},
    {"dia", InventoryField::diameter},
    {"d", InventoryField::diameter},
    {"transdia", InventoryField::diameter},
    {"диаметр", InventoryField::diameter},
    {"length", InventoryField::length},
    {"len", InventoryField::length},
    {"l", InventoryField::length},
    {"длина", InventoryField::length},
    {"stage", InventoryField::stage},
    {"decay", InventoryField::stage},
    {"decayclass", InventoryField::stage},
    {"class", InventoryField::stage},
    {"стадия", InventoryField::stage},
    {"класс", InventoryField::stage},
    {"стадияразложения", InventoryField::stage},
    {"plot", InventoryField::plot},
    {"plotid", InventoryField::plot},
    {"участок", InventoryField::plot},
    {"площадка", InventoryField::plot},
    {"stratum", InventoryField::stratum},
    {"страта", InventoryField::stratum},
    {"line", InventoryField::line},
    {"transect", InventoryField::line},
    {"линия", InventoryField::line},
    {"трансекта", InventoryField::line},
};

bool is_set_aside(char c) { return c == ' ' || c == '\t' || c == '_' || c == '.'; }

std::string without_set_aside(std::string_view text) {
  std::string out;
  for (char c : text)
    if (!is_set_aside(c)) out.push_back(c);
  return out;
}

// The ways a cell may be read as a name, most literal first: the whole of it, then without
// what follows its last underscore ("length_m"), then without its last word ("d1 cm").
struct NameReadings {
  std::string readings[3];
  int count = 0;
};

NameReadings readings_of(std::string_view cell) {
  std::string text;
  bool in_brackets = false;
  for (char c : folded(cell)) {
    if (c == '(' || c == '[') in_brackets = true;
    if (!in_brackets) text.push_back(c);
    if (c == ')' || c == ']') in_brackets = false;
  }
  while (!text.empty() && is_set_aside(text.back())) text.pop_back();
  NameReadings result;
  result.readings[result.count++] = without_set_aside(text);
  for (char separator : {'_', ' '}) {
    const auto cut = text.rfind(separator);
    if (cut != std::string::npos && cut > 0)
      result.readings[result.count++] = without_set_aside(text.substr(0, cut));
  }
  return result;
}

}  // namespace

std::optional<InventoryField> tally_column_named(std::string_view header_cell) {
  const NameReadings names = readings_of(header_cell);
  for (int i = 0; i < names.count; ++i)
    for (const ColumnName& known : column_names)
      if (names.readings[i] == known.name) return known.field;
  return std::nullopt;
}

bool names_same_column(std::string_view header_cell, std::string_view name) {
  if (header_cell == name) return true;
  const NameReadings cell = readings_of(header_cell);
  const NameReadings wanted = readings_of(name);
  return !cell.readings[0].empty() && cell.readings[0] == wanted.readings[0];
}

}  // namespace quorvel
