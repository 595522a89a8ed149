#include "engine/border.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// The line y = a x + b through both ends, by intercept first and slope second. Usable only
// when the start point is off the left edge and the piece is not vertical.
bool line_through_ends(const Placement& p, double& a, double& b) {
  const double x1 = p.x1, y1 = p.y1;
  if (x1 == 0 || x1 - p.x2 == 0) return false;
  b = (x1 * p.y2 - p.x2 * y1) / (x1 - p.x2);
  a = (y1 - b) / x1;
  return true;
}

// The far end moved along the segment to the point where it leaves the square, for the lines
// that slope and intercept cannot describe (a start on the left edge, a vertical piece) and
// for pieces so long that the formulas overflow.
void move_far_end_to_exit(Placement& p, double x2, double y2, double side) {
  const double x1 = p.x1, y1 = p.y1;
  const double dx = x2 - x1, dy = y2 - y1;
  double t = 1;
  if (dx < 0) t = std::min(t, (0 - x1) / dx);
  if (dx > 0) t = std::min(t, (side - x1) / dx);
  if (dy < 0) t = std::min(t, (0 - y1) / dy);
  if (dy > 0) t = std::min(t, (side - y1) / dy);
  p.x2 = std::clamp(x1 + t * dx, 0.0, side);
  p.y2 = std::clamp(y1 + t * dy, 0.0, side);
  // The coordinate of the edge that is met lands exactly on it.
  if (dx < 0 && t == (0 - x1) / dx) p.x2 = 0;
  if (dx > 0 && t == (side - x1) / dx) p.x2 = side;
  if (dy < 0 && t == (0 - y1) / dy) p.y2 = 0;
  if (dy > 0 && t == (side - y1) / dy) p.y2 = side;
}

// Left and top edges. False when the line cannot be described by slope and intercept.
bool cut_low_sides(Placement& p) {
  if (!(p.x1 < 0 || p.x2 < 0 || p.y1 < 0 || p.y2 < 0)) return true;
  double a = 0, b = 0;
  if (!line_through_ends(p, a, b)) return false;
  if (p.x2 < 0) {
    p.x2 = 0;
    p.y2 = b;
  }
  if (p.y2 < 0) {
    p.y2 = 0;
    p.x2 = -b / a;
  }
  return true;
}

// Right and bottom edges, on what the low sides left.
bool cut_high_sides(Placement& p, double side) {
  if (!(p.x1 > side || p.x2 > side || p.y1 > side || p.y2 > side)) return true;
  double a = 0, b = 0;
  if (!line_through_ends(p, a, b)) return false;
  if (p.x2 > side) {
    p.x2 = side;
    p.y2 = b + a * side;
  }
  if (p.y2 > side) {
    p.y2 = side;
    p.x2 = (side - b) / a;
  }
  return true;
}

}  // namespace

void border(Placement& p, double transect_length) {
  const double x2 = p.x2, y2 = p.y2;
  const double side = transect_length;
  if (cut_low_sides(p) && cut_high_sides(p, transect_length) && std::isfinite(p.x2) &&
      std::isfinite(p.y2))
    return;
  move_far_end_to_exit(p, x2, y2, side);
}

}  // namespace quorvel
