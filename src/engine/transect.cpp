#include "engine/transect.h"

namespace quorvel {

void exchange_ends(Placement& p, RandomSource& random) {
  if (!(random.draw() > 0.5f)) return;
  const float far_x = static_cast<float>(p.x2);
  const float far_y = static_cast<float>(p.y2);
  p.x2 = p.x1;
  p.y2 = p.y1;
  p.x1 = far_x;
  p.y1 = far_y;
}

bool crosses_transect(const Placement& p, double transect_length) {
  const double middle = transect_length / 2.0;
  const double x1 = p.x1;
  return (x1 < middle && p.x2 > middle) || (x1 > middle && p.x2 < middle);
}

}  // namespace quorvel
