#pragma once
// One placement attempt of a piece on the plot: a random start point inside the square,
// an orientation under the wind, the far end at the piece's length.

#include "engine/debris_piece.h"
#include "engine/random_source.h"
#include "engine/wind.h"

namespace quorvel {

// The piece as laid down (and, after border, as cut back to the plot). The start point and
// the angle are single precision, the far end double, as the drawing and the crossing test
// expect them.
struct Placement {
  float x1 = 0, y1 = 0;   // start point, inside the plot
  float angle = 0;        // radians, pointing along (cos, sin), y growing downward
  double x2 = 0, y2 = 0;  // far end
  double diameter1_m = 0, diameter2_m = 0;
};

// Draws x, y and the orientation (in that order) and computes the far end and the diameters
// in metres. The far end may lie outside the plot until border() moves it back.
Placement place_piece(const DebrisPiece& piece, double transect_length, WindButton wind,
                      int wind_force, RandomSource& random);

}  // namespace quorvel
