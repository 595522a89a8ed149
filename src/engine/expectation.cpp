#include "engine/expectation.h"

#include <cmath>
#include <string>
#include <utility>

#include "engine/crossing_probability.h"
#include "engine/model1.h"
#include "engine/piece_measures.h"
#include "engine/refusal.h"

namespace quorvel {

namespace {

Refusal about_record(RefusalKind kind, const Inventory& inventory, const DebrisPiece& piece,
                     std::int64_t record) {
  return {.kind = kind, .file = inventory.source, .line = piece.line, .record = record};
}

// The stage indexes the density table and the group the per-group sums; a record read by the
// inventory reader always passes, one built by hand might not.
void check_record(const Inventory& inventory, const DebrisPiece& piece, std::int64_t record) {
  const bool group_fits = piece.group >= first_group && piece.group <= last_group;
  if (group_fits && piece.stage >= 0 && piece.stage <= last_stage) return;
  Refusal refusal = about_record(RefusalKind::field_not_valid, inventory, piece, record);
  refusal.field = group_fits ? InventoryField::stage : InventoryField::species_code;
  refusal.found = std::to_string(group_fits ? piece.stage : piece.group);
  throw Refused(std::move(refusal));
}

// Per plot and run: the means and variances that the records add up to.
struct PlotSums {
  double carbon = 0;
  double carbon_variance = 0;
  double pieces = 0;
  double pieces_variance = 0;
  std::array<double, last_group + 1> volume{};
  std::array<double, last_group + 1> surface{};
  StageGroupTable<double> carbon_table{};
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
  sums.carbon_table.at(piece.stage, piece.group) += m.carbon * attempts;
  sums.carbon_variance += m.carbon * m.carbon * attempts_variance;
  sums.volume[piece.group] += m.volume * attempts;
  sums.surface[piece.group] += m.surface * attempts;
}

double per_hectare(double per_plot, double transect_length) {
  const double side = transect_length;
  return per_plot * 10000 / (side * side);
}

}  // namespace

Model2Expectation expected_model2(const Inventory& inventory,
                                  const SimulationParameters& parameters, WindButton wind) {
  check_transect_length(parameters.transect_length);
  const double side = transect_length_of(inventory, parameters);
  Model2Expectation expectation;
  PlotSums sums;
  std::int64_t record = 0;
  for (const DebrisPiece& piece : inventory.pieces) {
    check_record(inventory, piece, ++record);
    const double p = crossing_probability(piece.piece_length, side, wind, parameters.wind_force);
    if (!(p > 0)) {
      Refusal refusal = about_record(RefusalKind::piece_cannot_cross, inventory, piece, record);
      refusal.length = piece.piece_length;
      throw Refused(std::move(refusal));
    }
    expectation.crossing_probability.push_back(p);
    add_record(sums, piece, p, parameters);
  }
  expectation.carbon_per_ha = per_hectare(sums.carbon, side);
  expectation.pieces_per_ha = per_hectare(sums.pieces, side);
  for (int g = first_group; g <= last_group; ++g) {
    expectation.volume_per_ha[g] = per_hectare(sums.volume[g], side);
    expectation.surface_per_ha[g] = per_hectare(sums.surface[g], side);
  }
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      expectation.carbon_by_stage_group.at(s, g) = per_hectare(sums.carbon_table.at(s, g), side);
  // Records are placed independently, so their variances add.
  expectation.carbon_per_ha_stderr_per_run = per_hectare(std::sqrt(sums.carbon_variance), side);
  expectation.pieces_per_ha_stderr_per_run = per_hectare(std::sqrt(sums.pieces_variance), side);
  return expectation;
}

}  // namespace quorvel
