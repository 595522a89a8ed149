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

}  // namespace

std::string summary_csv_header() {
  return "inventory,records,seed,model1_carbon_t_per_ha,model1_pieces_per_ha,"
         "model2_carbon_t_per_ha,model2_carbon_stderr,model2_pieces_per_ha,"
         "model2_pieces_stderr,expected_carbon_t_per_ha,expected_carbon_stderr,"
         "expected_pieces_per_ha\n";
}

std::string summary_csv_row(const PlotOutcome& o) {
  std::string row = quoted(o.inventory) + "," + std::to_string(o.record_count) + "," +
                    std::to_string(o.seed) + "," + number(o.model1.model1_total) + "," +
                    number(o.model1.pieces_per_ha) + ",";
  if (o.start) {
    const Model2Estimates& m = o.start->model2;
    row += number(m.carbon_per_ha) + "," +
           (m.standard_error ? number(m.standard_error->carbon_per_ha) : "") + "," +
           number(m.pieces_per_ha) + "," +
           (m.standard_error ? number(m.standard_error->pieces_per_ha) : "") + ",";
  } else {
    row += ",,,,";
  }
  if (o.expectation) {
    const double runs = o.start ? static_cast<double>(o.start->tally.runs.size()) : 1.0;
    row += number(o.expectation->carbon_per_ha) + "," +
           number(o.expectation->carbon_per_ha_stderr_per_run / std::sqrt(runs)) + "," +
           number(o.expectation->pieces_per_ha);
  } else {
    row += ",,";
  }
  return row + "\n";
}

}  // namespace quorvel
