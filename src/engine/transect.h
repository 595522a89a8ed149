#pragma once
// The transect x = L/2 and the exchange of a piece's ends before it is drawn and tested.

#include "engine/placement.h"
#include "engine/random_source.h"

namespace quorvel {

// One draw; above one half the ends change places. The start point is single precision, so
// the far end that moves into it is rounded to single.
void exchange_ends(Placement& placement, RandomSource& random);

// Strictly on opposite sides of x = L/2; an end lying on the transect crosses nothing.
bool crosses_transect(const Placement& placement, double transect_length);

}  // namespace quorvel
