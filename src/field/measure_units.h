#pragma once
// The units a tally may give its diameters and lengths in, named in a header ("d_mm",
// "diameter (in)", "Length_ft") or by the user, and the turning of a value into the
// centimetres of a diameter or the metres of a length that the calculator works in.

#include <optional>
#include <string_view>

namespace quorvel {

enum class MeasureUnit { none, mm, cm, m, in, ft };

// "mm", "cm", "m", "in", "ft" in either letter case, or "мм", "см", "м"; nothing otherwise.
std::optional<MeasureUnit> measure_unit_named(std::string_view word);

// The unit a header cell names: the text in its brackets, else the word after its last
// underscore or blank, where that is a unit. none when the cell names no unit.
MeasureUnit unit_in_header(std::string_view cell);

bool fits_diameter(MeasureUnit unit);  // mm, cm, m, in
bool fits_length(MeasureUnit unit);    // m, cm, ft

// A unit as the user names it for diameters or for lengths; nothing for one that does not fit.
std::optional<MeasureUnit> diameter_unit_named(std::string_view word);
std::optional<MeasureUnit> length_unit_named(std::string_view word);

// A value in the unit given, in centimetres (a diameter) or metres (a length). A value in the
// calculator's own unit, or without a unit, is returned as it is, not multiplied by 1.
double diameter_in_cm(double value, MeasureUnit unit);
double length_in_m(double value, MeasureUnit unit);

}  // namespace quorvel
