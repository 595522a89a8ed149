#include "summary_csv.h"

#include <charconv>
#include <cmath>

namespace quorvel {

namespace {

std::string number(double value) {
  if (!std::isfinite(value)) return "";
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// A field that may hold commas or quotes, quoted the CSV way.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

void cell(std::string& row, const std::string& value) {
  row += ',';
  row += value;
}

// One column per group S, H, C; empty columns when the model is absent.
template <typename Values>
void by_group(std::string& row, const Values* values) {
  for (int g = first_group; g <= last_group; ++g)
    cell(row, values ? number(static_cast<double>((*values)[g])) : std::string());
}

std::string group_columns(const std::string& prefix) {
  std::string out;
  for (const char* what : {"volume_m3_per_ha", "surface_m2_per_ha"})
    for (const char* group : {"S", "H", "C"}) cell(out, prefix + "_" + what + "_" + group);
  return out;
}

}  // namespace

std::string summary_csv_header() {
  return "inventory,records,seed,runs,model1_carbon_t_per_ha,model1_pieces_per_ha" +
         group_columns("model1") +
         ",model2_carbon_t_per_ha,model2_carbon_stderr,model2_pieces_per_ha,model2_pieces_stderr" +
         group_columns("model2") +
         ",expected_carbon_t_per_ha,expected_carbon_stderr,expected_pieces_per_ha" +
         group_columns("expected") + "\n";
}

std::string summary_csv_row(const PlotOutcome& o) {
  const std::int64_t runs = o.start ? static_cast<std::int64_t>(o.start->tally.runs.size()) : 0;
  std::string row = quoted(o.inventory);
  cell(row, std::to_string(o.record_count));
  cell(row, std::to_string(o.seed));
  cell(row, std::to_string(runs));
  cell(row, number(o.model1.model1_total));
  cell(row, number(o.model1.pieces_per_ha));
  by_group(row, &o.model1.volume_per_ha);
  by_group(row, &o.model1.surface_per_ha);

  const Model2Estimates* m = o.start ? &o.start->model2 : nullptr;
  const Model2Spread* spread = m && m->standard_error ? &*m->standard_error : nullptr;
  cell(row, m ? number(m->carbon_per_ha) : "");
  cell(row, spread ? number(spread->carbon_per_ha) : "");
  cell(row, m ? number(m->pieces_per_ha) : "");
  cell(row, spread ? number(spread->pieces_per_ha) : "");
  by_group(row, m ? &m->volume_per_ha : nullptr);
  by_group(row, m ? &m->surface_per_ha : nullptr);

  const Model2Expectation* e = o.expectation ? &*o.expectation : nullptr;
  // The expected spread is that of an average over the runs made (of one run without runs).
  const double over_runs = std::sqrt(static_cast<double>(runs > 0 ? runs : 1));
  cell(row, e ? number(e->carbon_per_ha) : "");
  cell(row, e ? number(e->carbon_per_ha_stderr_per_run / over_runs) : "");
  cell(row, e ? number(e->pieces_per_ha) : "");
  by_group(row, e ? &e->volume_per_ha : nullptr);
  by_group(row, e ? &e->surface_per_ha : nullptr);
  row += '\n';
  return row;
}

}  // namespace quorvel
