#pragma once
// The prevailing wind: which of the eight direction buttons is selected, the 45-degree
// sector each one lays wind-driven pieces in, and the orientation draw under the wind.

#include <optional>
#include <string_view>

#include "engine/random_source.h"

namespace quorvel {

// The eight buttons of the wind frame, numbered like the window's option buttons
// (Option1 north-west ... Option8 north); `none` before any is selected.
enum class WindButton : int {
  none = 0,
  nw = 1,
  w = 2,
  sw = 3,
  s = 4,
  se = 5,
  e = 6,
  ne = 7,
  n = 8
};

// k of the sector pi*k/8 .. pi*k/8 + pi/4 of a button (9, 7, 5, 11, 1, 15, 13, 3 for
// buttons 1..8); none has no sector.
int sector_start(WindButton button);

// Compass names N, NE, E, SE, S, SW, W, NW (and "none") to buttons and back.
std::optional<WindButton> wind_button_from_name(std::string_view name);
const char* wind_button_name(WindButton button);

// The orientation of one attempt, in radians, rounded to single precision. Without a button
// it takes one draw (uniform over the circle); with one it takes two: the force draw, then
// the angle, inside the sector when force / 5 exceeds the force draw.
float wind_direction(WindButton button, int wind_force, RandomSource& random);

}  // namespace quorvel
