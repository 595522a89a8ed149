#include "engine/transect_tally.h"

#include <cmath>
#include <string>

#include "engine/border.h"
#include "engine/model1.h"
#include "engine/pi_value.h"
#include "engine/piece_measures.h"
#include "engine/placement.h"
#include "engine/refusal.h"
#include "engine/transect.h"

namespace quorvel {

namespace {

// Everything one Start's runs share: fixed inputs, the generator, the host and the sums.
struct RunContext {
  const Inventory& inventory;
  const SimulationParameters& parameters;
  RandomSource& random;
  RunHost& host;
  std::int64_t max_attempts;
  bool draws;
  bool traces;
  Tally& tally;
  RunProgress progress;
  PlotFrame frame;
};

// Only a host that draws pays for the mark's cosine and sine.
PieceDrawing piece_drawing(const Placement& p) {
  const double across = p.angle - pi_value / 2;
  return {{p.x1, p.y1, static_cast<float>(p.x1 + p.diameter1_m * std::cos(across)),
           static_cast<float>(p.y1 + p.diameter1_m * std::sin(across))},
          {p.x1, p.y1, static_cast<float>(p.x2), static_cast<float>(p.y2)}};
}

void add_attempt(Tally& tally, const DebrisPiece& piece, const PieceMeasures& m) {
  tally.sim_carbon.at(piece.stage, piece.group) += m.carbon;
  tally.sim_volume.at(piece.stage, piece.group) += m.volume;
  tally.sim_surface.at(piece.stage, piece.group) += m.surface;
}

[[noreturn]] void refuse_endless_piece(const RunContext& c, std::int64_t record,
                                       const DebrisPiece& piece) {
  throw Refused({.kind = RefusalKind::piece_never_crossed,
                 .file = c.inventory.source,
                 .line = piece.line,
                 .record = record,
                 .length = piece.piece_length,
                 .limit = c.max_attempts,
                 .run = c.progress.run});
}

// Places the piece until it crosses the transect; every attempt, the crossing one included,
// adds the whole piece to the sums of its cell.
void place_until_crossing(RunContext& c, std::int64_t record, const DebrisPiece& piece) {
  const double L = transect_length_of(c.inventory, c.parameters);
  const PieceMeasures measures = piece_measures(piece, c.parameters);
  for (std::int64_t attempt = 1;; ++attempt) {
    c.progress.placement_count = c.tally.placement_count;
    if (!c.host.yield(c.progress)) throw StartCancelled();
    ++c.tally.placement_count;
    if (c.draws) c.host.draw_plot_frame(c.frame);
    Placement p = place_piece(piece, L, c.host.wind_choice(), c.parameters.wind_force, c.random);
    border(p, L);
    add_attempt(c.tally, piece, measures);
    exchange_ends(p, c.random);
    if (c.draws) c.host.draw_piece(piece_drawing(p));
    const bool crossed = crosses_transect(p, L);
    if (c.traces) c.host.trace_attempt({c.progress.run, record, attempt, p, crossed});
    if (crossed) {
      c.tally.attempts_by_record[static_cast<std::size_t>(record - 1)].add(
          static_cast<double>(attempt));
      return;
    }
    if (attempt >= c.max_attempts) refuse_endless_piece(c, record, piece);
  }
}

// What the run added to the sums, by difference, for the spread over the runs.
RunTotals run_totals(const Tally& before, const Tally& after) {
  RunTotals t;
  t.attempts = after.placement_count - before.placement_count;
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) {
      t.carbon += after.sim_carbon.at(s, g) - before.sim_carbon.at(s, g);
      t.volume[g] += after.sim_volume.at(s, g) - before.sim_volume.at(s, g);
      t.surface[g] += after.sim_surface.at(s, g) - before.sim_surface.at(s, g);
    }
  return t;
}

void perform_run(RunContext& c) {
  if (c.draws) c.host.clear_plot();
  const Tally before = {
      c.tally.placement_count, c.tally.sim_carbon, c.tally.sim_volume, c.tally.sim_surface, {}, {}};
  std::int64_t record = 0;
  for (const DebrisPiece& piece : c.inventory.pieces) place_until_crossing(c, ++record, piece);
  c.tally.runs.push_back(run_totals(before, c.tally));
}

}  // namespace

PlotFrame plot_frame(double L) {
  const float side = static_cast<float>(L);
  const float middle = static_cast<float>(L / 2.0);
  return {{0, 0, side, side}, {middle, 0, middle, side}};
}

Tally perform_runs(const Inventory& inventory, const SimulationParameters& parameters,
                   RandomSource& random, RunHost& host, std::int64_t max_attempts_per_record) {
  Tally tally;
  RunContext c{inventory,
               parameters,
               random,
               host,
               max_attempts_per_record,
               host.draws(),
               host.traces(),
               tally,
               {},
               plot_frame(transect_length_of(inventory, parameters))};
  c.progress.run_count = parameters.run_count;
  tally.runs.reserve(parameters.run_count > 0 ? parameters.run_count : 0);
  tally.attempts_by_record.resize(inventory.pieces.size());
  for (int run = 1; run <= parameters.run_count; ++run) {
    c.progress.run = run;
    perform_run(c);
  }
  return tally;
}

}  // namespace quorvel
