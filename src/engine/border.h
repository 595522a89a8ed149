#pragma once
// Cutting a placed piece at the plot border: the far end is moved back along the piece onto
// the edge where the piece leaves the square 0..L x 0..L. The start point never moves.

#include "engine/placement.h"

namespace quorvel {

void border(Placement& placement, double transect_length);

}  // namespace quorvel
