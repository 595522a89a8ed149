#pragma once
// Text typed into a parameter field, turned into the number the engine works with.
// The decimal grammar of engine/decimal_text.h with either the comma or the period as the
// decimal separator (the defaults are written with the comma, and a point locale must not break
// them), an optional sign and blanks around the number ignored. Failures throw Refused
// (parameter_not_valid) with the problem and the text found; the caller names the parameter.

#include <cstdint>
#include <string_view>

namespace quorvel {

// A 16-bit integer field: the number rounded to the nearest integer, halves to the even
// neighbour ("2,5" gives 2, "3,5" gives 4), then required to lie in -32768..32767. A mark
// before exactly three digits ("1,000") is refused as ambiguous (digit_group).
std::int16_t text_to_int16(std::string_view text);

// A single-precision field: the decimal number rounded once to the nearest float.
float text_to_single(std::string_view text);

}  // namespace quorvel
