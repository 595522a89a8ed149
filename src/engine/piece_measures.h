#pragma once
// What one placement attempt of a piece adds to the sums of its stage and group: its carbon
// (t), volume (m3) and lateral surface (m2), always of the whole piece, however much of it the
// plot border cut away. The same for every attempt of the record, so computed once.

#include "engine/debris_piece.h"
#include "engine/simulation_parameters.h"

namespace quorvel {

struct PieceMeasures {
  double carbon = 0;
  double volume = 0;
  double surface = 0;
};

// With d1, d2 the diameters in metres, l the length and pi = pi_value, left to right:
// S = (d1/2)^2 + d1*d2/4 + (d2/2)^2; carbon = pi*S*l*carbon_fraction*density/3;
// volume = pi*S*l/3; surface = pi*((d1+d2)/2)*l. A piece with a carbon factor of its own has
// carbon = pi*S*l*factor/3.
PieceMeasures piece_measures(const DebrisPiece& piece, const SimulationParameters& parameters);

}  // namespace quorvel
