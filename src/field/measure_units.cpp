#include "field/measure_units.h"

#include <string>

#include "field/name_folding.h"

namespace quorvel {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<MeasureUnit> measure_unit_named(std::string_view word) {
  const std::string name = folded(trimmed(word));
  if (name == "mm" || name == "мм") return MeasureUnit::mm;
  if (name == "cm" || name == "см") return MeasureUnit::cm;
  if (name == "m" || name == "м") return MeasureUnit::m;
  if (name == "in" || name == "inch" || name == "inches") return MeasureUnit::in;
  if (name == "ft" || name == "feet" || name == "foot") return MeasureUnit::ft;
  return std::nullopt;
}

MeasureUnit unit_in_header(std::string_view cell) {
  const std::size_t open = cell.find_first_of("([");
  if (open != std::string_view::npos) {
    const std::size_t close = cell.find_first_of(")]", open);
    const std::string_view inside = cell.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    return measure_unit_named(inside).value_or(MeasureUnit::none);
  }
  const std::string_view text = trimmed(cell);
  const std::size_t cut = text.find_last_of("_ ");
  if (cut == std::string_view::npos || cut == 0) return MeasureUnit::none;
  return measure_unit_named(text.substr(cut + 1)).value_or(MeasureUnit::none);
}

bool fits_diameter(MeasureUnit unit) { return unit != MeasureUnit::ft; }

bool fits_length(MeasureUnit unit) { return unit != MeasureUnit::mm && unit != MeasureUnit::in; }

std::optional<MeasureUnit> diameter_unit_named(std::string_view word) {
  const auto unit = measure_unit_named(word);
  if (!unit || !fits_diameter(*unit)) return std::nullopt;
  return unit;
}

std::optional<MeasureUnit> length_unit_named(std::string_view word) {
  const auto unit = measure_unit_named(word);
  if (!unit || !fits_length(*unit)) return std::nullopt;
  return unit;
}

double diameter_in_cm(double value, MeasureUnit unit) {
  switch (unit) {
    case MeasureUnit::mm:
      return value / 10;
    case MeasureUnit::m:
      return value * 100;
    case MeasureUnit::in:
      return value * 2.54;
    default:
      return value;
  }
}

double length_in_m(double value, MeasureUnit unit) {
  switch (unit) {
    case MeasureUnit::cm:
      return value / 100;
    case MeasureUnit::ft:
      return value * 0.3048;
    default:
      return value;
  }
}

}  // namespace quorvel
