#include "batch/stand_output.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "batch/summary_csv.h"
#include "engine/number_text.h"
#include "field/strata_reader.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

StandAccumulator accumulator_for(const std::optional<StrataTable>& strata) {
  if (strata) {
    const std::vector<StratumArea> areas = strata->areas();
    if (!areas.empty()) return StandAccumulator(areas);
  }
  return StandAccumulator();
}

std::optional<StrataTable> strata_from(const std::string& path) {
  if (path.empty()) return std::nullopt;
  return read_strata(path);
}

// The path with ".", ".." and links resolved as far as it exists; "" when it cannot be.
std::string canonical_text(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? std::string() : resolved.string();
}

// Each row's path, from the strata file's folder and from the working folder, to the row:
// "p1.txt" beside the strata file and "examples/stand/p1.txt" run from above both find the file
// however it is named on the command line.
std::map<std::string, std::size_t, std::less<>> strata_files(
    const std::optional<StrataTable>& strata, const std::string& strata_path) {
  std::map<std::string, std::size_t, std::less<>> files;
  if (!strata) return files;
  const std::filesystem::path folder = std::filesystem::path(strata_path).parent_path();
  for (std::size_t row = 0; row < strata->plots().size(); ++row) {
    const std::string& plot = strata->plots()[row];
    for (const std::filesystem::path& path : {folder / plot, std::filesystem::path(plot)})
      if (const std::string key = canonical_text(path); !key.empty()) files.emplace(key, row);
  }
  return files;
}

// A plot whose model 2 and expectation are not computed gives them as NaN, which makes the
// stand's not computed either, rather than taken over the other plots alone.
PlotFigures figures_of_outcome(const PlotOutcome& o, bool runs) {
  PlotFigures f;
  if (o.refused) return f;
  f.model1 = figures_of(o.model1);
  if (o.start) f.model2 = figures_of(o.start->model2);
  if (o.expectation) f.model2_expected = figures_of(*o.expectation);
  if (o.not_computed) {
    EstimateFigures none;
    for_each_figure([](const FigureKey&, double& value) { value = std::nan(""); }, none);
    if (runs) f.model2 = none;
    f.model2_expected = none;
  }
  return f;
}

const char* estimate_label(Estimate e) {
  switch (e) {
    case Estimate::model1:
      return "model 1: ";
    case Estimate::model2:
      return "model 2: ";
    case Estimate::model2_expected:
      break;
  }
  return "expected:";
}

std::string plural(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "3.2 (sd 1.1, standard error 0.8, 95% interval 1.5 .. 4.9 on 2.6 df)", or the mean alone.
// The degrees of freedom are n - 1 in a stratum and Satterthwaite's for the stand.
std::string figure_text(const FigureEstimate& f, bool with_sd, char separator) {
  const auto text = [separator](double v) { return general_number_text(v, separator); };
  std::string out = text(f.mean);
  if (f.no_interval) return out + " (no interval: " + no_interval_text(*f.no_interval) + ")";
  if (!f.se) return out;
  out += " (";
  if (with_sd && f.sd) out += "sd " + text(*f.sd) + ", ";
  out += "standard error " + text(*f.se) + ", 95% interval " + text(*f.ci95_low) + " .. " +
         text(*f.ci95_high);
  if (f.df) out += " on " + text(*f.df) + " df";
  return out + ")";
}

// NaN: a plot could not give the figure (pieces without a length, several lines).
std::string estimate_lines(const FigureEstimates& f, Estimate e, bool with_sd, char separator) {
  const std::string label = std::string("    ") + estimate_label(e);
  if (std::isnan(f.carbon_t_per_ha.mean)) return label + " not computed for every plot\n";
  const std::string pieces = std::isnan(f.pieces_per_ha.mean)
                                 ? "pieces/ha not computed for every plot"
                                 : figure_text(f.pieces_per_ha, with_sd, separator) + " pieces/ha";
  return label + " carbon " + figure_text(f.carbon_t_per_ha, with_sd, separator) + " t C/ha, " +
         pieces + "\n";
}

std::string stratum_name(const std::string& name) {
  return name.empty() ? "all plots" : "stratum \"" + name + "\"";
}

void cell(std::string& row, const std::string& value) {
  row += ',';
  row += value;
}

std::string optional_cell(const std::optional<double>& value) {
  return value ? csv_number(*value) : std::string();
}

const char* const group_letters[] = {"", "S", "H", "C"};
const FigureEstimates no_figures{};

std::string figure_column(const FigureKey& key) {
  std::string name = figure_key(key.name);
  if (key.stage != 0) name += "_" + std::to_string(key.stage);
  if (key.group != 0) name += std::string("_") + group_letters[key.group];
  return name;
}

}  // namespace

StandOutput::StandOutput(const BatchOptions& options, bool keep_plot_values)
    : strata_path_(options.strata_path),
      strata_(strata_from(options.strata_path)),
      folder_names_(options.folder_names.begin(), options.folder_names.end()),
      accumulator_(accumulator_for(strata_)),
      keep_plot_values_(keep_plot_values),
      runs_(!options.expected_only),
      rows_given_(strata_ ? strata_->plot_count() : 0) {}

std::optional<std::size_t> StandOutput::row_of(const PlotOutcome& o) const {
  const std::string& name = o.plot.empty() ? o.inventory : o.plot;
  if (const auto row = strata_->row_of(name)) return row;
  // The strata file is read as text, a Windows-1251 one made UTF-8; a file name is bytes.
  if (const auto row = strata_->row_of(name_as_utf8(name))) return row;
  if (!o.plot.empty()) return std::nullopt;
  if (const auto named = folder_names_.find(o.inventory); named != folder_names_.end())
    if (const auto row = strata_->row_of(named->second)) return row;
  std::call_once(row_of_file_made_, [this] { row_of_file_ = strata_files(strata_, strata_path_); });
  if (const auto file = row_of_file_.find(canonical_text(o.inventory)); file != row_of_file_.end())
    return file->second;
  return std::nullopt;
}

StandOutput::Assigned StandOutput::assign_stratum(PlotOutcome& o) const {
  if (!strata_) return Assigned::listed;
  if (!o.stratum.empty()) return Assigned::tally_over_file;
  const std::optional<std::size_t> row = row_of(o);
  if (!row) return Assigned::unlisted;
  o.stratum = strata_->stratum_of_row(*row);
  return Assigned::listed;
}

void StandOutput::mark_given(const PlotOutcome& o) {
  if (!strata_) return;
  if (const std::optional<std::size_t> row = row_of(o)) rows_given_[*row] = true;
  if (!o.stratum.empty()) ++found_;
}

std::vector<std::string> StandOutput::plots_not_given() const {
  std::vector<std::string> out;
  if (!strata_) return out;
  for (std::size_t row = 0; row < rows_given_.size(); ++row)
    if (!rows_given_[row]) out.push_back(strata_->plots()[row]);
  return out;
}

void StandOutput::add(const PlotOutcome& o) {
  accumulator_.add(o.stratum, figures_of_outcome(o, runs_));
  if (!keep_plot_values_ || o.refused) return;
  auto found = plot_values_.find(o.stratum);
  if (found == plot_values_.end()) found = plot_values_.emplace(o.stratum, 0).first;
  found->second.push_back(o.model1.model1_total);
}

StandChartSeries StandOutput::chart_series(const StandEstimate& estimate) const {
  StandChartSeries series = stand_chart_series(estimate, Estimate::model1);
  for (StratumChartEntry& entry : series.strata) {
    if (entry.name.empty()) entry.name = "all plots";
    const auto found = plot_values_.find(entry.name == "all plots" ? "" : entry.name);
    if (found != plot_values_.end()) entry.plot_values = found->second;
  }
  return series;
}

std::string stand_text(const StandEstimate& estimate, char separator) {
  std::string out = "stand estimates per hectare: mean (sd, standard error, 95% interval)\n";
  for (const StratumEstimate& s : estimate.strata) {
    const auto& first = s.of(Estimate::model1);
    const std::int64_t n = first ? first->n : 0;
    out += "  " + stratum_name(s.name) + ": " + plural(n, "plot", "plots");
    if (s.plots != n) out += " (" + std::to_string(s.plots - n) + " refused)";
    if (s.area_ha) out += ", " + general_number_text(*s.area_ha, separator) + " ha";
    out += n == 1 ? "; one plot: no standard error can be given\n" : "\n";
    for (const Estimate e : all_estimates)
      if (const auto& summary = s.of(e))
        out += estimate_lines(summary->figures, e, true, separator);
  }
  const auto& first = estimate.of(Estimate::model1);
  out += "  stand: " + plural(std::ssize(estimate.strata), "stratum", "strata") + " weighted by " +
         (estimate.weights_from_area ? "area" : "plots") + ", " +
         plural(first ? first->n : 0, "plot", "plots");
  if (!first) {
    out += "; no stand estimate";
    // Strata without plots stay out of a stand; with none left they are the reason.
    if (!estimate.strata_without_plots.empty() && estimate.strata_without_area.empty())
      out += ": no plot in " +
             plural(std::ssize(estimate.strata_without_plots), "stratum", "strata") +
             " with an area";
    if (!estimate.strata_without_area.empty())
      out += ": no area for " +
             plural(std::ssize(estimate.strata_without_area), "stratum", "strata") + " with plots";
    return out + "\n";
  }
  if (first->strata_without_variance == first->strata)
    out += "; every stratum has one plot: no standard error can be given";
  else if (first->strata_without_variance > 0)
    out += "; " + plural(first->strata_without_variance, "stratum", "strata") +
           " of one plot left out of the standard error, which understates the uncertainty";
  if (!estimate.strata_without_plots.empty())
    out += "; " + plural(std::ssize(estimate.strata_without_plots), "stratum", "strata") +
           " with an area but no plot left out, the stand is that of the others";
  out += "\n";
  for (const Estimate e : all_estimates)
    if (const auto& summary = estimate.of(e))
      out += estimate_lines(summary->figures, e, false, separator);
  return out;
}

std::string stand_summary_csv(const StandEstimate& estimate) {
  std::string out = "kind,stratum,n,area_ha,weight";
  for (const Estimate e : all_estimates)
    for_each_figure(
        [&](const FigureKey& key, const FigureEstimate&) {
          const std::string column = std::string(estimate_key(e)) + "_" + figure_column(key);
          for (const char* stat : {"mean", "sd", "se", "df", "ci95_low", "ci95_high"})
            cell(out, column + "_" + stat);
        },
        no_figures);
  out += '\n';
  const auto row = [&](const char* kind, const std::string& name, std::int64_t n,
                       const std::optional<double>& area_ha, double weight,
                       const auto& summary_of) {
    out += std::string(kind) + "," + csv_quoted(name) + "," + std::to_string(n);
    cell(out, optional_cell(area_ha));
    cell(out, csv_number(weight));
    for (const Estimate e : all_estimates) {
      const FigureEstimates* figures = summary_of(e);
      for_each_figure(
          [&](const FigureKey&, const FigureEstimate& f) {
            if (!figures) {
              out += ",,,,,,";
              return;
            }
            cell(out, csv_number(f.mean));
            cell(out, optional_cell(f.sd));
            cell(out, optional_cell(f.se));
            cell(out, optional_cell(f.df));
            cell(out, optional_cell(f.ci95_low));
            cell(out, optional_cell(f.ci95_high));
          },
          figures ? *figures : no_figures);
    }
    out += '\n';
  };
  std::optional<double> total_area;
  for (const StratumEstimate& s : estimate.strata) {
    const auto& first = s.of(Estimate::model1);
    if (s.area_ha) total_area = total_area.value_or(0) + *s.area_ha;
    row("stratum", s.name, first ? first->n : 0, s.area_ha, first ? first->weight : 0.0,
        [&](Estimate e) -> const FigureEstimates* {
          return s.of(e) ? &s.of(e)->figures : nullptr;
        });
  }
  const auto& first = estimate.of(Estimate::model1);
  row("stand", "", first ? first->n : 0, total_area, 1.0,
      [&](Estimate e) -> const FigureEstimates* {
        return estimate.of(e) ? &estimate.of(e)->figures : nullptr;
      });
  return out;
}

}  // namespace quorvel
