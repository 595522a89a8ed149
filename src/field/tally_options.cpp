#include "field/tally_options.h"

namespace quorvel {

std::optional<FieldSeparator> field_separator_named(std::string_view name) {
  if (name == "," || name == "comma") return FieldSeparator::comma;
  if (name == ";" || name == "semicolon") return FieldSeparator::semicolon;
  if (name == "tab" || name == "\t" || name == "\\t") return FieldSeparator::tab;
  if (name == "auto") return FieldSeparator::detect;
  return std::nullopt;
}

std::optional<DecimalMark> decimal_mark_named(std::string_view name) {
  if (name == "." || name == "point") return DecimalMark::point;
  if (name == "," || name == "comma") return DecimalMark::comma;
  if (name == "auto") return DecimalMark::detect;
  return std::nullopt;
}

std::optional<InventoryField> column_role_named(std::string_view role) {
  static constexpr std::pair<std::string_view, InventoryField> roles[] = {
      {"species", InventoryField::species_code},
      {"d1", InventoryField::diameter1},
      {"d2", InventoryField::diameter2},
      {"diameter", InventoryField::diameter},
      {"length", InventoryField::length},
      {"stage", InventoryField::stage},
      {"plot", InventoryField::plot},
      {"stratum", InventoryField::stratum},
      {"line", InventoryField::line},
      {"horizontal", InventoryField::horizontal},
      {"slope_distance", InventoryField::slope_distance},
      {"slope", InventoryField::slope},
  };
  for (const auto& [name, field] : roles)
    if (role == name) return field;
  return std::nullopt;
}

}  // namespace quorvel
