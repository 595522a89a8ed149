#pragma once
// The one value of pi that the whole engine uses: the double nearest to the decimal
// 3.14159265358979, a few units in the last place below the true pi. Every volume,
// surface and angle goes through it; the model-1 weight uses 1.57 instead.

namespace quorvel {

inline constexpr double pi_value = 3.14159265358979;

}  // namespace quorvel
