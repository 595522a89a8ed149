#include "engine/placement.h"

#include <cmath>

namespace quorvel {

Placement place_piece(const DebrisPiece& piece, double transect_length, WindButton wind,
                      int wind_force, RandomSource& random) {
  Placement p;
  // The product of a 24-bit draw and a 16-bit length is exact before its one rounding to
  // single, so the start point never reaches L; the decimal length of a plot's one line is
  // rounded to single first, and the product of a draw below 1 stays below it.
  const float side = static_cast<float>(transect_length);
  p.x1 = random.draw() * side;
  p.y1 = random.draw() * side;
  p.angle = wind_direction(wind, wind_force, random);
  const double angle = p.angle;
  p.x2 = p.x1 + piece.piece_length * std::cos(angle);
  p.y2 = p.y1 + piece.piece_length * std::sin(angle);
  p.diameter1_m = piece.diameter1 / 100;
  p.diameter2_m = piece.diameter2 / 100;
  return p;
}

}  // namespace quorvel
