#include "batch_json.h"

#include <cmath>

#include "warning_text.h"

namespace quorvel {

namespace {

using nlohmann::json;

// Five rows (stages 1..5) of three columns (groups S, H, C).
json stage_group_rows(const StageGroupTable<double>& table) {
  json rows = json::array();
  for (int s = first_stage; s <= last_stage; ++s) {
    json row = json::array();
    for (int g = first_group; g <= last_group; ++g) row.push_back(table.at(s, g));
    rows.push_back(row);
  }
  return rows;
}

template <typename Number>
json by_group(const std::array<Number, last_group + 1>& values) {
  json out = json::array();
  for (int g = first_group; g <= last_group; ++g) out.push_back(static_cast<double>(values[g]));
  return out;
}

json model1_json(const Model1Result& m) {
  return {{"carbon_t_per_ha", m.model1_total},
          {"pieces_per_ha", static_cast<std::int64_t>(m.pieces_per_ha)},
          {"carbon_by_stage_group", stage_group_rows(m.model1_carbon)},
          {"volume_m3_per_ha", by_group(m.volume_per_ha)},
          {"surface_m2_per_ha", by_group(m.surface_per_ha)}};
}

json model2_json(const StartResult& start) {
  const Model2Estimates& m = start.model2;
  json out = {{"carbon_t_per_ha", m.carbon_per_ha},
              {"pieces_per_ha", static_cast<std::int64_t>(m.pieces_per_ha)},
              {"volume_m3_per_ha", by_group(m.volume_per_ha)},
              {"surface_m2_per_ha", by_group(m.surface_per_ha)},
              {"placement_count", start.tally.placement_count},
              {"carbon_by_stage_group", stage_group_rows(m.carbon_table)},
              {"volume_by_stage_group", stage_group_rows(m.volume_table)},
              {"surface_by_stage_group", stage_group_rows(m.surface_table)}};
  out["carbon_t_per_ha_stderr"] = m.standard_error ? json(m.standard_error->carbon_per_ha) : json();
  out["pieces_per_ha_stderr"] = m.standard_error ? json(m.standard_error->pieces_per_ha) : json();
  return out;
}

json expectation_json(const Model2Expectation& e) {
  return {{"carbon_t_per_ha", e.carbon_per_ha},
          {"pieces_per_ha", e.pieces_per_ha},
          {"volume_m3_per_ha", by_group(e.volume_per_ha)},
          {"surface_m2_per_ha", by_group(e.surface_per_ha)},
          {"carbon_t_per_ha_stderr_per_run", e.carbon_per_ha_stderr_per_run},
          {"pieces_per_ha_stderr_per_run", e.pieces_per_ha_stderr_per_run},
          {"crossing_probability", e.crossing_probability}};
}

}  // namespace

json plot_outcome_json(const PlotOutcome& o, const BatchSettings& settings) {
  const SimulationParameters& p = settings.parameters;
  json out = {{"inventory", o.inventory},
              {"record_count", o.record_count},
              {"seed", o.seed},
              {"transect_length", p.transect_length},
              {"runs", p.run_count},
              {"wind", wind_button_name(settings.wind)},
              {"wind_force", p.wind_force},
              {"carbon_fraction", static_cast<double>(p.carbon_fraction)},
              {"model1", model1_json(o.model1)}};
  if (o.start) out["model2"] = model2_json(*o.start);
  if (o.expectation) out["model2_expected"] = expectation_json(*o.expectation);
  // Keys that a file without a plot column and a clean tally do not have, so their lines stay
  // as they always were.
  if (!o.plot.empty()) out["plot"] = o.plot;
  if (!o.stratum.empty()) out["stratum"] = o.stratum;
  if (!o.warnings.empty()) {
    json warnings = json::array();
    for (const Warning& w : o.warnings)
      warnings.push_back({{"kind", warning_kind_name(w.kind)},
                          {"line", w.line},
                          {"record", w.record},
                          {"value", w.value},
                          {"limit", w.limit},
                          {"count", w.count}});
    out["warnings"] = std::move(warnings);
  }
  if (o.reports) out["reports"] = {{"stock", o.reports->stock}, {"estimate", o.reports->estimate}};
  return out;
}

}  // namespace quorvel
