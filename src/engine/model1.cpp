#include "engine/model1.h"

#include <cmath>

#include "engine/pi_value.h"
#include "engine/piece_measures.h"

namespace quorvel {

namespace {

// The weighted carbon of one record, tonnes per plot, in the order the estimate is defined.
double weighted_carbon(const DebrisPiece& piece, double expansion_factor,
                       const SimulationParameters& parameters) {
  const double r1 = piece.diameter1 / 200;
  const double r2 = piece.diameter2 / 200;
  double a = r1 * r1 + (piece.diameter1 * piece.diameter2) / 40000;
  a = a + r2 * r2;
  double c = a * pi_value;
  c = c * expansion_factor;
  c = c * piece.piece_length;
  if (piece.carbon_factor) {
    c = c * *piece.carbon_factor;
  } else {
    c = c * static_cast<double>(parameters.carbon_fraction);
    c = c * static_cast<double>(parameters.density.at(piece.stage, piece.group));
  }
  c = c / 3;
  return c;
}

}  // namespace

double model1_weight(const DebrisPiece& piece, int transect_length) {
  return (transect_length * 1.57) / piece.piece_length;
}

Model1Result compute_model1(const Inventory& inventory, const SimulationParameters& parameters) {
  const int L = parameters.transect_length;
  const double plot_area = static_cast<double>(L) * static_cast<double>(L);
  Model1Result result;
  for (const DebrisPiece& piece : inventory.pieces) {
    ++result.record_count;
    const double factor = model1_weight(piece, L);
    result.model1_carbon.at(piece.stage, piece.group) += weighted_carbon(piece, factor, parameters);
    result.expansion_sum = result.expansion_sum + factor;
    if (piece.stage >= first_stage) {
      const PieceMeasures m = piece_measures(piece, parameters);
      result.volume_per_ha[piece.group] += m.volume * factor;
      result.surface_per_ha[piece.group] += m.surface * factor;
    }
  }
  // The total is taken before each cell is turned into tonnes per hectare.
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) {
      result.model1_total = result.model1_total + result.model1_carbon.at(s, g);
      result.model1_carbon.at(s, g) = (result.model1_carbon.at(s, g) * 10000) / plot_area;
    }
  result.model1_total = (result.model1_total * 10000) / plot_area;
  result.pieces_per_ha = std::floor(result.expansion_sum * (10000 / plot_area));
  for (int g = first_group; g <= last_group; ++g) {
    result.volume_per_ha[g] = (result.volume_per_ha[g] * 10000) / plot_area;
    result.surface_per_ha[g] = (result.surface_per_ha[g] * 10000) / plot_area;
  }
  return result;
}

}  // namespace quorvel
