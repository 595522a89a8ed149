#include "engine/model1.h"

#include <cmath>
#include <limits>

#include "engine/pi_value.h"
#include "engine/piece_measures.h"

namespace quorvel {

namespace {

// The sum of the end areas and their mean, r1^2 + d1 d2 / 40000 + r2^2, times pi: the first
// steps of a piece's carbon, in the order the estimate is defined.
double end_areas_times_pi(const DebrisPiece& piece) {
  const double r1 = piece.diameter1 / 200;
  const double r2 = piece.diameter2 / 200;
  double a = r1 * r1 + (piece.diameter1 * piece.diameter2) / 40000;
  a = a + r2 * r2;
  return a * pi_value;
}

// The last steps: the piece's carbon per m3 (its own factor, or the carbon fraction and the
// density of its stage and group), then the third of the cone-frustum volume.
double carbon_of_volume(double c, const DebrisPiece& piece,
                        const SimulationParameters& parameters) {
  if (piece.carbon_factor) {
    c = c * *piece.carbon_factor;
  } else {
    c = c * static_cast<double>(parameters.carbon_fraction);
    c = c * static_cast<double>(parameters.density.at(piece.stage, piece.group));
  }
  c = c / 3;
  return c;
}

// The weighted carbon of one record, tonnes per plot.
double weighted_carbon(const DebrisPiece& piece, double expansion_factor,
                       const SimulationParameters& parameters) {
  double c = end_areas_times_pi(piece);
  c = c * expansion_factor;
  c = c * piece.piece_length;
  return carbon_of_volume(c, piece, parameters);
}

// The same for a piece without a length, the length cancelled: the weight L x 1.57 / length
// times the volume pi x length x S / 3 is (L x 1.57) x pi x S / 3.
double weighted_carbon_without_length(const DebrisPiece& piece, double weight_times_length,
                                      const SimulationParameters& parameters) {
  double c = end_areas_times_pi(piece);
  c = c * weight_times_length;
  return carbon_of_volume(c, piece, parameters);
}

// Carbon, volume and surface of one piece weighted, tonnes, m3 and m2 per plot.
PieceMeasures weighted_measures(const DebrisPiece& piece, double L,
                                const SimulationParameters& parameters) {
  PieceMeasures weighted;
  if (piece.length_known) {
    const double factor = model1_weight(piece, L);
    weighted.carbon = weighted_carbon(piece, factor, parameters);
    if (piece.stage >= first_stage) {
      const PieceMeasures m = piece_measures(piece, parameters);
      weighted.volume = m.volume * factor;
      weighted.surface = m.surface * factor;
    }
    return weighted;
  }
  const double weight_times_length = model1_weight_times_length(L);
  weighted.carbon = weighted_carbon_without_length(piece, weight_times_length, parameters);
  if (piece.stage >= first_stage) {
    DebrisPiece one_metre = piece;
    one_metre.piece_length = 1;
    const PieceMeasures m = piece_measures(one_metre, parameters);
    weighted.volume = m.volume * weight_times_length;
    weighted.surface = m.surface * weight_times_length;
  }
  return weighted;
}

}  // namespace

double model1_weight_times_length(double transect_length) { return transect_length * 1.57; }

double model1_weight(const DebrisPiece& piece, double transect_length) {
  return (transect_length * 1.57) / piece.piece_length;
}

double transect_length_of(const Inventory& inventory, const SimulationParameters& parameters) {
  return inventory.line_count > 0 ? inventory.lines_length
                                  : static_cast<double>(parameters.transect_length);
}

Model1Result compute_model1(const Inventory& inventory, const SimulationParameters& parameters) {
  // A whole L gives the same doubles as the 16-bit L always did: it converts exactly.
  const double L = transect_length_of(inventory, parameters);
  const double plot_area = L * L;
  Model1Result result;
  for (const DebrisPiece& piece : inventory.pieces) {
    ++result.record_count;
    const PieceMeasures weighted = weighted_measures(piece, L, parameters);
    result.model1_carbon.at(piece.stage, piece.group) += weighted.carbon;
    if (piece.length_known)
      result.expansion_sum = result.expansion_sum + model1_weight(piece, L);
    else
      ++result.pieces_without_length;
    if (piece.stage >= first_stage) {
      result.volume_per_ha[piece.group] += weighted.volume;
      result.surface_per_ha[piece.group] += weighted.surface;
    }
  }
  // The total is taken before each cell is turned into tonnes per hectare.
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) {
      result.model1_total = result.model1_total + result.model1_carbon.at(s, g);
      result.model1_carbon.at(s, g) = (result.model1_carbon.at(s, g) * 10000) / plot_area;
    }
  result.model1_total = (result.model1_total * 10000) / plot_area;
  result.pieces_per_ha = result.pieces_without_length > 0
                             ? std::numeric_limits<double>::quiet_NaN()
                             : std::floor(result.expansion_sum * (10000 / plot_area));
  for (int g = first_group; g <= last_group; ++g) {
    result.volume_per_ha[g] = (result.volume_per_ha[g] * 10000) / plot_area;
    result.surface_per_ha[g] = (result.surface_per_ha[g] * 10000) / plot_area;
  }
  return result;
}

}  // namespace quorvel
