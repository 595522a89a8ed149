#include "batch/summary_csv.h"

#include <charconv>
#include <cmath>

#include "batch/batch_json.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

std::string number(double value) { return csv_number(value); }

// A single-precision setting as it was given: "0.357", not the digits of its double.
std::string single(float value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string quoted(const std::string& text) { return csv_quoted(text); }

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

// One column per stage 1..5 and group S, H, C: "<prefix>_<stage>_<group>".
std::string stage_group_columns(const std::string& prefix) {
  std::string out;
  for (int s = first_stage; s <= last_stage; ++s)
    for (const char* group : {"S", "H", "C"})
      cell(out, prefix + "_" + std::to_string(s) + "_" + group);
  return out;
}

void by_stage_group(std::string& row, const StageGroupTable<double>* table) {
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      cell(row, table ? number(table->at(s, g)) : std::string());
}

}  // namespace

std::string csv_number(double value) {
  if (!std::isfinite(value)) return "";
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string csv_quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : name_as_utf8(text)) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string summary_csv_header(bool coefficients) {
  return "inventory,records,seed,runs,model1_carbon_t_per_ha,model1_pieces_per_ha" +
         group_columns("model1") +
         ",model2_carbon_t_per_ha,model2_carbon_stderr,model2_pieces_per_ha,model2_pieces_stderr" +
         group_columns("model2") +
         ",expected_carbon_t_per_ha,expected_carbon_stderr_one_run,"
         "expected_carbon_stderr_mean_of_runs,expected_pieces_per_ha" +
         group_columns("expected") +
         ",status,plot,stratum,transect_length,wind,wind_force,carbon_fraction" +
         stage_group_columns("density") + stage_group_columns("model1_carbon") +
         stage_group_columns("model2_carbon") + stage_group_columns("expected_carbon") +
         (coefficients ? ",coefficients\n" : "\n");
}

std::string summary_csv_row(const PlotOutcome& o, const BatchSettings& settings) {
  const std::int64_t runs = o.start ? static_cast<std::int64_t>(o.start->tally.runs.size()) : 0;
  const Model1Result* m1 = o.refused ? nullptr : &o.model1;
  std::string row = quoted(o.inventory);
  cell(row, std::to_string(o.record_count));
  cell(row, std::to_string(o.seed));
  cell(row, std::to_string(runs));
  cell(row, m1 ? number(m1->model1_total) : "");
  cell(row, m1 ? number(m1->pieces_per_ha) : "");
  by_group(row, m1 ? &m1->volume_per_ha : nullptr);
  by_group(row, m1 ? &m1->surface_per_ha : nullptr);

  const Model2Estimates* m = o.start ? &o.start->model2 : nullptr;
  const Model2Spread* spread = m && m->standard_error ? &*m->standard_error : nullptr;
  cell(row, m ? number(m->carbon_per_ha) : "");
  cell(row, spread ? number(spread->carbon_per_ha) : "");
  cell(row, m ? number(m->pieces_per_ha) : "");
  cell(row, spread ? number(spread->pieces_per_ha) : "");
  by_group(row, m ? &m->volume_per_ha : nullptr);
  by_group(row, m ? &m->surface_per_ha : nullptr);

  const Model2Expectation* e = o.expectation ? &*o.expectation : nullptr;
  // The spread model 2 has about the expectation: of one run, and of the mean of the runs made.
  cell(row, e ? number(e->carbon_per_ha) : "");
  cell(row, e ? number(e->carbon_per_ha_stderr_per_run) : "");
  cell(row, e && runs > 0
                ? number(e->carbon_per_ha_stderr_per_run / std::sqrt(static_cast<double>(runs)))
                : "");
  cell(row, e ? number(e->pieces_per_ha) : "");
  by_group(row, e ? &e->volume_per_ha : nullptr);
  by_group(row, e ? &e->surface_per_ha : nullptr);

  const SimulationParameters& p = settings.parameters;
  cell(row, quoted(outcome_status(o)));
  cell(row, o.plot.empty() ? "" : quoted(o.plot));
  cell(row, o.stratum.empty() ? "" : quoted(o.stratum));
  // A plot of a lines file: its own L, the summed horizontal length of its lines.
  cell(row, o.line_count > 0 ? csv_number(o.lines_length) : std::to_string(p.transect_length));
  cell(row, wind_button_name(settings.wind));
  cell(row, std::to_string(p.wind_force));
  cell(row, single(p.carbon_fraction));
  // A coefficients table leaves the grid unused: its cells stay empty.
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      cell(row, settings.coefficients ? "" : single(p.density.at(s, g)));
  by_stage_group(row, m1 ? &m1->model1_carbon : nullptr);
  by_stage_group(row, m ? &m->carbon_table : nullptr);
  by_stage_group(row, e ? &e->carbon_by_stage_group : nullptr);
  if (settings.coefficients) cell(row, quoted(settings.coefficients_path));
  row += '\n';
  return row;
}

}  // namespace quorvel
