#include "engine/piece_measures.h"

#include "engine/pi_value.h"

namespace quorvel {

PieceMeasures piece_measures(const DebrisPiece& piece, const SimulationParameters& parameters) {
  const double d1 = piece.diameter1 / 100;
  const double d2 = piece.diameter2 / 100;
  const double l = piece.piece_length;
  const double half1 = d1 / 2;
  const double half2 = d2 / 2;
  const double s = half1 * half1 + d1 * d2 / 4 + half2 * half2;
  PieceMeasures m;
  if (piece.carbon_factor) {
    m.carbon = pi_value * s * l * *piece.carbon_factor / 3;
  } else {
    const double density = parameters.density.at(piece.stage, piece.group);
    m.carbon = pi_value * s * l * static_cast<double>(parameters.carbon_fraction) * density / 3;
  }
  m.volume = pi_value * s * l / 3;
  m.surface = pi_value * ((d1 + d2) / 2) * l;
  return m;
}

}  // namespace quorvel
