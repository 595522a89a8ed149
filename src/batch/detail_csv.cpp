#include "batch/detail_csv.h"

#include <cmath>

#include "batch/summary_csv.h"
#include "engine/estimators.h"
#include "engine/model1.h"
#include "stand/convergence.h"

namespace quorvel {

namespace {

void cell(std::string& row, const std::string& value) {
  row += ',';
  row += value;
}

// The inventory and plot columns that start every row.
std::string row_start(const PlotOutcome& o) {
  return csv_quoted(o.inventory) + "," + (o.plot.empty() ? "" : csv_quoted(o.plot));
}

}  // namespace

std::string piece_csv_header() {
  return "inventory,plot,record,species,stage,length_m,model1_weight,crossing_probability,"
         "expected_attempts,mean_attempts,mean_attempts_se\n";
}

// A plot whose expectation is not computed (pieces without a length, several lines) still has
// its rows: what is not known is left empty.
std::string piece_csv_rows(const Inventory& inventory, const PlotOutcome& o, double L) {
  if (o.refused) return "";
  const std::vector<RunningMoments>* attempts =
      o.start ? &o.start->tally.attempts_by_record : nullptr;
  const std::string start = row_start(o);
  std::string rows;
  for (std::size_t i = 0; i < inventory.pieces.size(); ++i) {
    const DebrisPiece& piece = inventory.pieces[i];
    rows += start;
    cell(rows, std::to_string(i + 1));
    cell(rows, std::string(1, "SHC"[piece.group - 1]));
    cell(rows, std::to_string(piece.stage));
    cell(rows, piece.length_known ? csv_number(piece.piece_length) : "");
    cell(rows, piece.length_known ? csv_number(model1_weight(piece, L)) : "");
    if (o.expectation) {
      const double p = o.expectation->crossing_probability[i];
      cell(rows, csv_number(p));
      cell(rows, csv_number(1 / p));
    } else {
      cell(rows, "");
      cell(rows, "");
    }
    const RunningMoments* a = attempts && i < attempts->size() ? &(*attempts)[i] : nullptr;
    cell(rows, a && a->count() > 0 ? csv_number(a->mean()) : "");
    const auto variance = a ? a->sample_variance() : std::nullopt;
    cell(rows, variance ? csv_number(std::sqrt(*variance / static_cast<double>(a->count()))) : "");
    rows += '\n';
  }
  return rows;
}

std::string run_csv_header() {
  return "inventory,plot,run,carbon_t_per_ha,pieces_per_ha,attempts\n";
}

std::string run_csv_rows(const PlotOutcome& o, double L) {
  if (!o.start) return "";
  const std::vector<RunTotals>& runs = o.start->tally.runs;
  const std::vector<double> carbon = carbon_t_per_ha_by_run(o.start->tally, L);
  const std::string start = row_start(o);
  std::string rows;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    rows += start;
    cell(rows, std::to_string(r + 1));
    cell(rows, csv_number(carbon[r]));
    cell(rows, csv_number(per_hectare_average(static_cast<double>(runs[r].attempts), L, 1)));
    cell(rows, std::to_string(runs[r].attempts));
    rows += '\n';
  }
  return rows;
}

}  // namespace quorvel
