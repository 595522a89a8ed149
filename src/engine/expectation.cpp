#include "expectation.h"

#include <cmath>
#include <string>

#include "crossing_probability.h"
#include "input_error.h"
#include "piece_measures.h"

namespace quorvel {

namespace {

std::string record_place(const Inventory& inventory, const DebrisPiece& piece) {
  return inventory.source + ", line " + std::to_string(piece.line);
}

// The stage indexes the density table and the group the per-group sums; a record read by the
// inventory reader always passes, one built by hand might not.
void check_record(const Inventory& inventory, const DebrisPiece& piece) {
  if (piece.group < first_group || piece.group > last_group)
    throw InputError(record_place(inventory, piece) + ": species group must be 1..3, got " +
                     std::to_string(piece.group));
  if (piece.stage < 0 || piece.stage > last_stage)
    throw InputError(record_place(inventory, piece) + ": stage must be 0..5, got " +
                     std::to_string(piece.stage));
}

// Per plot and run: the means and variances that the records add up to.
struct PlotSums {
  double carbon = 0;
  double carbon_variance = 0;
  double pieces = 0;
  double pieces_variance = 0;
  std::array<double, last_group + 1> volume{};
  std::array<double, last_group + 1> surface{};
};

// A record that crosses with chance p needs a geometric number of attempts in a run: mean 1 / p,
// variance (1 - p) / p^2, and every attempt adds the same measures.
void add_record(PlotSums& sums, const DebrisPiece& piece, double p,
                const SimulationParameters& parameters) {
  const double attempts = 1 / p;
  const double attempts_variance = (1 - p) / (p * p);
  sums.pieces += attempts;
  sums.pieces_variance += attempts_variance;
  // A stage-0 piece is counted, but its measures land in a row that no total includes.
  if (piece.stage < first_stage) return;
  const PieceMeasures m = piece_measures(piece, parameters);
  sums.carbon += m.carbon * attempts;
  sums.carbon_variance += m.carbon * m.carbon * attempts_variance;
  sums.volume[piece.group] += m.volume * attempts;
  sums.surface[piece.group] += m.surface * attempts;
}

double per_hectare(double per_plot, int transect_length) {
  const double side = transect_length;
  return per_plot * 10000 / (side * side);
}

}  // namespace

Model2Expectation expected_model2(const Inventory& inventory,
                                  const SimulationParameters& parameters, WindButton wind) {
  const int side = parameters.transect_length;
  if (side < 1) throw InputError("transect length must be 1..32767 m, got " + std::to_string(side));
  Model2Expectation expectation;
  PlotSums sums;
  for (const DebrisPiece& piece : inventory.pieces) {
    check_record(inventory, piece);
    const double p = crossing_probability(piece.piece_length, side, wind, parameters.wind_force);
    if (!(p > 0))
      throw InputError(record_place(inventory, piece) + ": a piece of length " +
                       std::to_string(piece.piece_length) + " m can never cross the transect");
    expectation.crossing_probability.push_back(p);
    add_record(sums, piece, p, parameters);
  }
  expectation.carbon_per_ha = per_hectare(sums.carbon, side);
  expectation.pieces_per_ha = per_hectare(sums.pieces, side);
  for (int g = first_group; g <= last_group; ++g) {
    expectation.volume_per_ha[g] = per_hectare(sums.volume[g], side);
    expectation.surface_per_ha[g] = per_hectare(sums.surface[g], side);
  }
  // Records are placed independently, so their variances add.
  expectation.carbon_per_ha_stderr_per_run = per_hectare(std::sqrt(sums.carbon_variance), side);
  expectation.pieces_per_ha_stderr_per_run = per_hectare(std::sqrt(sums.pieces_variance), side);
  return expectation;
}

}  // namespace quorvel
