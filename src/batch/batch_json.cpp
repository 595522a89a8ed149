#include "batch/batch_json.h"

#include <cmath>

#include "field/text_encoding.h"
#include "start/refusal_words.h"
#include "start/warning_words.h"

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

json whole_number(double value) {
  // Counts as integers while the doubles hold every integer; beyond, as the number it is.
  constexpr double exact_integers = 9007199254740992.0;  // 2^53
  if (std::abs(value) < exact_integers) return static_cast<std::int64_t>(value);
  return value;
}

json model1_json(const Model1Result& m) {
  return {{"carbon_t_per_ha", m.model1_total},
          {"pieces_per_ha", std::isnan(m.pieces_per_ha)
                                ? json()  // not computed: the plot's outcome says why
                                : whole_number(m.pieces_per_ha)},
          {"carbon_by_stage_group", stage_group_rows(m.model1_carbon)},
          {"volume_m3_per_ha", by_group(m.volume_per_ha)},
          {"surface_m2_per_ha", by_group(m.surface_per_ha)}};
}

json model2_json(const StartResult& start) {
  const Model2Estimates& m = start.model2;
  json out = {{"carbon_t_per_ha", m.carbon_per_ha},
              {"pieces_per_ha", whole_number(m.pieces_per_ha)},
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
          {"crossing_probability", e.crossing_probability},
          {"carbon_by_stage_group", stage_group_rows(e.carbon_by_stage_group)}};
}

// Five rows (stages 1..5) of three densities (groups S, H, C), as given in single precision.
json density_rows(const DensityTable& density) {
  json rows = json::array();
  for (int s = first_stage; s <= last_stage; ++s) {
    json row = json::array();
    for (int g = first_group; g <= last_group; ++g)
      row.push_back(static_cast<double>(density.at(s, g)));
    rows.push_back(row);
  }
  return rows;
}

json optional_number(const std::optional<double>& value) { return value ? json(*value) : json(); }

json figure_json(const FigureEstimate& f, bool with_sd) {
  json out = {{"mean", f.mean}};
  if (with_sd) out["sd"] = optional_number(f.sd);
  out["se"] = optional_number(f.se);
  out["df"] = optional_number(f.df);
  out["ci95_low"] = optional_number(f.ci95_low);
  out["ci95_high"] = optional_number(f.ci95_high);
  if (f.no_interval) out["no_interval"] = no_interval_text(*f.no_interval);
  return out;
}

// The figures under the keys of the plot lines: volume and surface as three groups, carbon by
// stage and group as five rows of three.
json figures_json(const FigureEstimates& figures, bool with_sd) {
  json out = json::object();
  for_each_figure(
      [&](const FigureKey& key, const FigureEstimate& f) {
        json& slot = out[figure_key(key.name)];
        if (key.name == FigureName::carbon_by_stage_group) {
          if (slot.is_null()) slot = json::array();
          if (key.group == first_group) slot.push_back(json::array());
          slot.back().push_back(figure_json(f, with_sd));
        } else if (key.group != 0) {
          slot.push_back(figure_json(f, with_sd));
        } else {
          slot = figure_json(f, with_sd);
        }
      },
      figures);
  return out;
}

// Every text of a line as UTF-8: names come from the file system and the files as bytes, and a
// line must parse whatever they hold.
void texts_as_utf8(json& value) {
  if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    if (!is_valid_utf8(text)) value = name_as_utf8(text);
  } else if (value.is_structured()) {
    for (json& item : value) texts_as_utf8(item);
  }
}

}  // namespace

std::string outcome_status(const PlotOutcome& o) {
  if (o.refused) return "refused: " + refusal_text(*o.refused);
  // The figures stand; what could not be written is said beside them.
  if (o.unwritten) return "done, not written: " + refusal_text(*o.unwritten);
  return "done";
}

json plot_outcome_json(const PlotOutcome& o, const BatchSettings& settings) {
  const SimulationParameters& p = settings.parameters;
  json out = {{"inventory", o.inventory},
              {"record_count", o.record_count},
              {"seed", o.seed},
              {"transect_length", p.transect_length},
              {"runs", p.run_count},
              {"wind", wind_button_name(settings.wind)},
              {"wind_force", p.wind_force},
              {"carbon_fraction", static_cast<double>(p.carbon_fraction)}};
  if (!o.refused) out["model1"] = model1_json(o.model1);
  if (o.start) out["model2"] = model2_json(*o.start);
  if (o.expectation) out["model2_expected"] = expectation_json(*o.expectation);
  if (o.not_computed) {
    out["model2"] = json();
    out["model2_expected"] = json();
    out["not_computed"] = {{"reason", not_computed_name(o.not_computed->reason)},
                           {"count", o.not_computed->count},
                           {"text", not_computed_text(*o.not_computed)}};
  }
  // Keys that a file without a plot column and a clean tally do not have, so their lines stay
  // as they always were.
  if (!o.plot.empty()) out["plot"] = o.plot;
  if (!o.stratum.empty()) out["stratum"] = o.stratum;
  if (o.dropped_rows > 0) out["dropped_rows"] = o.dropped_rows;
  if (o.line_count > 0) {  // from a lines file: the plot's own L
    out["line_count"] = o.line_count;
    out["lines_length_m"] = o.lines_length;
  }
  if (settings.coefficients) out["coefficients"] = settings.coefficients_path;
  if (!o.warnings.empty()) {
    json warnings = json::array();
    for (const Warning& w : o.warnings) {
      warnings.push_back({{"kind", warning_kind_name(w.kind)},
                          {"line", w.line},
                          {"record", w.record},
                          {"value", w.value},
                          {"limit", w.limit},
                          {"count", w.count}});
      if (!w.lines.empty()) warnings.back()["lines"] = w.lines;
    }
    out["warnings"] = std::move(warnings);
  }
  if (o.reports) out["reports"] = {{"stock", o.reports->stock}, {"estimate", o.reports->estimate}};
  out["densities"] = density_rows(p.density);
  out["status"] = outcome_status(o);
  texts_as_utf8(out);
  return out;
}

std::vector<json> stand_json_lines(const StandEstimate& estimate) {
  std::vector<json> lines;
  for (const StratumEstimate& s : estimate.strata) {
    json line = {{"kind", "stratum"}, {"stratum", s.name}, {"plots", s.plots}};
    const auto& first = s.of(Estimate::model1);
    line["n"] = first ? first->n : 0;
    if (s.area_ha) line["area_ha"] = *s.area_ha;
    line["weight"] = first ? first->weight : 0.0;
    for (const Estimate e : all_estimates)
      if (const auto& summary = s.of(e))
        line[estimate_key(e)] = figures_json(summary->figures, true);
    lines.push_back(std::move(line));
  }
  json stand = {{"kind", "stand"},
                {"strata", estimate.strata.size()},
                {"weights", estimate.weights_from_area ? "area" : "plots"}};
  const auto& first = estimate.of(Estimate::model1);
  stand["n"] = first ? first->n : 0;
  stand["strata_without_variance"] = first ? first->strata_without_variance : 0;
  if (!estimate.strata_without_plots.empty())
    stand["strata_without_plots"] = estimate.strata_without_plots;
  if (!estimate.strata_without_area.empty())
    stand["strata_without_area"] = estimate.strata_without_area;
  for (const Estimate e : all_estimates)
    if (const auto& summary = estimate.of(e))
      stand[estimate_key(e)] = figures_json(summary->figures, false);
  lines.push_back(std::move(stand));
  for (json& line : lines) texts_as_utf8(line);
  return lines;
}

}  // namespace quorvel
