#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numeric>
#include <tuple>
#include <vector>

#include "../support/quiet_host.h"
#include "../support/refusal_of.h"
#include "engine/inventory_reader.h"
#include "engine/piece_measures.h"
#include "engine/run_driver.h"

namespace quorvel {
namespace {

using testing::QuietHost;
using testing::refusal_of;

// Records every attempt.
struct Attempt {
  int run;
  std::int64_t record, attempt;
  bool crossed;
};

class TracingHost : public QuietHost {
 public:
  bool traces() const override { return true; }
  void trace_attempt(const AttemptTrace& a) override {
    attempts.push_back({a.run, a.record, a.attempt, a.crossed});
  }
  std::vector<Attempt> attempts;
};

StartResult start(std::string_view inventory, SimulationParameters p, std::uint64_t seed,
                  RunHost& host) {
  return run_start(parse_inventory(inventory, "test.txt"), {p, seed}, host);
}

SimulationParameters with_runs(int runs, int L = 100) {
  SimulationParameters p;
  p.run_count = static_cast<std::int16_t>(runs);
  p.transect_length = static_cast<std::int16_t>(L);
  return p;
}

TEST(Runs, EveryRecordEndsEachRunWithExactlyOneCrossingAttempt) {
  TracingHost host;
  const StartResult r = start("S,20,20,3,1\nH,10,10,1,2\nC,30,20,8,5\n", with_runs(5), 1, host);
  ASSERT_EQ(static_cast<std::int64_t>(host.attempts.size()), r.tally.placement_count);
  std::map<std::pair<int, std::int64_t>, std::int64_t> last_attempt;
  for (std::size_t i = 0; i < host.attempts.size(); ++i) {
    const Attempt& a = host.attempts[i];
    const bool last_of_record = i + 1 == host.attempts.size() || host.attempts[i + 1].attempt == 1;
    EXPECT_EQ(a.crossed, last_of_record) << i;
    last_attempt[{a.run, a.record}] = a.attempt;
  }
  EXPECT_EQ(last_attempt.size(), 15u);  // 5 runs x 3 records, in file order
  EXPECT_EQ(r.tally.runs.size(), 5u);
  // Each record's attempts per run, as the trace saw them, are what its counter holds.
  ASSERT_EQ(r.tally.attempts_by_record.size(), 3u);
  for (std::int64_t record = 1; record <= 3; ++record) {
    std::vector<double> seen;
    for (const auto& [key, attempts] : last_attempt)
      if (key.second == record) seen.push_back(static_cast<double>(attempts));
    const RunningMoments& counter = r.tally.attempts_by_record[record - 1];
    const double mean = std::accumulate(seen.begin(), seen.end(), 0.0) / 5;
    double squares = 0;
    for (const double a : seen) squares += (a - mean) * (a - mean);
    EXPECT_EQ(counter.count(), 5);
    EXPECT_NEAR(counter.mean(), mean, 1e-12 * mean);
    EXPECT_NEAR(counter.squared_deviations(), squares, 1e-9 * (squares + 1));
  }
}

TEST(Runs, EveryAttemptAddsTheWholePieceToItsCell) {
  // One record: its cell must hold its measures added once per attempt, the crossing included.
  const SimulationParameters p = with_runs(7);
  QuietHost host;
  const StartResult r = start("H,24,16,2.5,3\n", p, 99, host);
  DebrisPiece piece{2, 24, 16, 2.5, 3, 1};
  const PieceMeasures m = piece_measures(piece, p);
  double carbon = 0, volume = 0, surface = 0;
  for (std::int64_t i = 0; i < r.tally.placement_count; ++i) {
    carbon += m.carbon;
    volume += m.volume;
    surface += m.surface;
  }
  EXPECT_EQ(r.tally.sim_carbon.at(3, 2), carbon);
  EXPECT_EQ(r.tally.sim_volume.at(3, 2), volume);
  EXPECT_EQ(r.tally.sim_surface.at(3, 2), surface);
  EXPECT_GE(r.tally.placement_count, 7);
}

TEST(Runs, EmptyInventoryMakesNoAttempt) {
  QuietHost host;
  const StartResult r = start("", with_runs(3), 1, host);
  EXPECT_EQ(std::tie(r.tally.placement_count, r.model2.carbon_per_ha, r.model2.pieces_per_ha),
            std::make_tuple(0, 0.0, 0.0));
}

TEST(Runs, SameSeedGivesIdenticalResultsAndOtherSeedsDiffer) {
  const char* inv = "S,20,20,3,1\nH,10,10,1,2\nC,30,20,8,5\n";
  QuietHost host;
  const StartResult a = start(inv, with_runs(20), 5, host);
  const StartResult b = start(inv, with_runs(20), 5, host);
  const StartResult c = start(inv, with_runs(20), 6, host);
  EXPECT_EQ(a.tally.placement_count, b.tally.placement_count);
  EXPECT_EQ(a.tally.sim_carbon, b.tally.sim_carbon);
  EXPECT_EQ(a.model2.carbon_per_ha, b.model2.carbon_per_ha);
  EXPECT_NE(a.tally.placement_count, c.tally.placement_count);
}

TEST(Runs, APieceThatCannotCrossIsRefusedByName) {
  QuietHost host;
  StartInputs inputs{with_runs(1), 1, 1000};
  const Refusal r = refusal_of([&] {
    run_start(parse_inventory("S,20,20,10,1\nH,5,5,0.000001,2\n", "plot.txt"), inputs, host);
  });
  EXPECT_EQ(r.kind, RefusalKind::piece_never_crossed);
  EXPECT_EQ(std::tie(r.file, r.line, r.record, r.length, r.limit, r.run),
            std::make_tuple("plot.txt", 2, 2, 0.000001, 1000, 1));
}

TEST(Runs, ParametersTheRunsCannotUseAreRefusedByName) {
  QuietHost host;
  const std::pair<void (*)(SimulationParameters&), Parameter> cases[] = {
      {[](SimulationParameters& p) { p.transect_length = 0; }, Parameter::transect_length},
      {[](SimulationParameters& p) { p.run_count = 0; }, Parameter::run_count},
      {[](SimulationParameters& p) { p.carbon_fraction = -1; }, Parameter::carbon_fraction},
      {[](SimulationParameters& p) { p.wind_force = 7; }, Parameter::wind_force},
      {[](SimulationParameters& p) { p.density.at(2, 3) = NAN; }, Parameter::density}};
  for (const auto& [change, parameter] : cases) {
    SimulationParameters p;
    change(p);
    EXPECT_EQ(refusal_of([&] { start("S,20,20,10,1\n", p, 1, host); }).parameter, parameter);
  }
}

// Counts what the engine asks of a drawing host and checks every drawing by what it shows.
class DrawingHost : public QuietHost {
 public:
  bool draws() const override { return true; }
  void set_scale(float h, float w) override { height = h, width = w; }
  void show_plot() override { ++shows; }
  void clear_plot() override { ++clears; }
  void draw_plot_frame(const PlotFrame& f) override {
    ++frames;
    EXPECT_EQ(std::tie(f.outline.x1, f.outline.y1, f.outline.x2, f.outline.y2),
              std::make_tuple(0, 0, 100, 100));
    EXPECT_EQ(std::tie(f.transect.x1, f.transect.y1, f.transect.x2, f.transect.y2),
              std::make_tuple(50, 0, 50, 100));
  }
  // The mark starts where the piece does, at right angles to it, as long as the diameter 1
  // of 20 cm.
  void draw_piece(const PieceDrawing& d) override {
    ++pieces;
    const double mx = d.mark.x2 - d.mark.x1, my = d.mark.y2 - d.mark.y1;
    const double px = d.piece.x2 - d.piece.x1, py = d.piece.y2 - d.piece.y1;
    EXPECT_EQ(std::tie(d.mark.x1, d.mark.y1), std::tie(d.piece.x1, d.piece.y1));
    EXPECT_NEAR(std::hypot(mx, my), 0.2, 1e-5);
    EXPECT_NEAR(mx * px + my * py, 0, 1e-4 * std::hypot(px, py));
  }
  bool yield(const RunProgress& progress) override {
    EXPECT_TRUE(model1_seen) << "the runs began before model 1 was handed over";
    last = progress;
    return !cancel_at || progress.placement_count < cancel_at;
  }
  void model1_ready(const Model1Result&) override { model1_seen = true; }

  float height = 0, width = 0;
  int shows = 0, clears = 0, frames = 0, pieces = 0;
  bool model1_seen = false;
  std::int64_t cancel_at = 0;
  RunProgress last;
};

TEST(Runs, DrawingHostGetsScaleClearsAndThePlotAndThePieceAtEveryAttempt) {
  DrawingHost host;
  const StartResult r = start("S,20,20,3,1\nH,20,10,6,2\n", with_runs(3), 4, host);
  // Cleared once at the Start and once per run; the plot and the piece drawn at every attempt.
  const std::int64_t n = r.tally.placement_count;
  EXPECT_EQ(std::tie(host.height, host.width, host.shows, host.clears, host.frames, host.pieces),
            std::make_tuple(102, 102, 1, 1 + 3, n, n));
  EXPECT_EQ(std::tie(host.last.run, host.last.run_count), std::make_tuple(3, 3));
}

TEST(Runs, HostCanCancelTheStart) {
  DrawingHost host;
  host.cancel_at = 50;
  EXPECT_THROW(start("S,20,20,3,1\n", with_runs(100), 4, host), StartCancelled);
  EXPECT_EQ(host.last.placement_count, 50);
}

}  // namespace
}  // namespace quorvel
