#pragma once
// The general number text of the result fields and reports: up to 15 significant digits,
// trailing zeros of the fraction dropped, no thousands separators, "-" for negatives.
// Magnitudes from 1e-5 up to (but not including) 1e15 are written in plain positional form;
// beyond them the exponent form "d,dddE+XX" / "d,dddE-XX" (at least two exponent digits).

#include <string>

namespace quorvel {

std::string general_number_text(double value, char decimal_separator);

}  // namespace quorvel
