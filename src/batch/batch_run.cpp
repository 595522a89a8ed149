#include "batch/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <ostream>
#include <unordered_set>
#include <utility>
#include <vector>

#include "batch/batch_host.h"
#include "batch/batch_json.h"
#include "batch/chart_files.h"
#include "batch/detail_csv.h"
#include "batch/inventory_survey.h"
#include "batch/output_clashes.h"
#include "batch/plot_output_names.h"
#include "batch/plot_workers.h"
#include "batch/replaceable_output.h"
#include "batch/stand_output.h"
#include "batch/summary_csv.h"
#include "engine/inventory_reader.h"
#include "engine/number_text.h"
#include "engine/transect_tally.h"
#include "field/plausibility.h"
#include "reports/chart_svg.h"
#include "reports/report_file.h"
#include "stand/convergence.h"
#include "start/plot_start.h"
#include "start/refusal_words.h"
#include "start/warning_words.h"

namespace quorvel {

namespace {

// The trace goes to a side file that takes its name only when the Start succeeds.
class TraceFile {
 public:
  TraceFile(const PlotFileNames& names, bool force)
      : path_(names.trace), partial_(path_ + ".partial") {
    if (path_.empty()) return;
    if (names.trace_refused) throw Refused(*names.trace_refused);
    refuse_unless_replaceable(path_, Output::trace, force);
    file_ = std::fopen(partial_.c_str(), "wb");
    if (!file_) refuse(errno);
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  }
  ~TraceFile() {
    if (!file_) return;
    std::fclose(file_);
    std::remove(partial_.c_str());
  }
  std::FILE* get() const { return file_; }
  // `write_error`: the errno of the first write that failed, where the writer kept it.
  void commit(int write_error) {
    if (!file_) return;
    int error = std::ferror(file_) ? (write_error != 0 ? write_error : EIO) : 0;
    if (std::fclose(file_) != 0 && error == 0) error = errno;
    file_ = nullptr;
    if (error == 0 && std::rename(partial_.c_str(), path_.c_str()) != 0) error = errno;
    if (error == 0) return;
    std::remove(partial_.c_str());
    refuse(error);
  }

 private:
  [[noreturn]] void refuse(int error) const {
    throw Refused({.kind = RefusalKind::output_unwritable,
                   .file = path_,
                   .reason = std::strerror(error),
                   .output = Output::trace,
                   .system_error = error});
  }

  std::string path_, partial_;
  std::FILE* file_ = nullptr;
};

// A name on one line: a line break or another control character in a file name or a plot
// written as an escape, \n say, so that it cannot split a heading.
std::string on_one_line(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
    } else if (c == '\n' || c == '\r' || c == '\t') {
      out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
    } else {
      constexpr char digits[] = "0123456789ABCDEF";
      out += {'\\', 'x', digits[byte >> 4], digits[byte & 15]};
    }
  }
  return out;
}

// "tally.csv, plot P07": the file and, where it has a plot column, the plot.
std::string heading(const PlotOutcome& o) {
  const std::string file = on_one_line(o.inventory);
  return o.plot.empty() ? file : file + ", plot " + on_one_line(o.plot);
}

// The reports where the plot's names put them, unless a file Quorvel did not write stands
// there: then none is written, and the outcome says why.
bool reports_placed(const BatchOptions& options, PlotOutcome& outcome, StartRequest& request) {
  request.report_paths = outcome.names.reports
                             ? *outcome.names.reports
                             : report_paths_for_plot(outcome.inventory, outcome.plot);
  try {
    if (outcome.names.reports_refused) throw Refused(*outcome.names.reports_refused);
    for (const std::string& path : {request.report_paths.stock, request.report_paths.estimate})
      refuse_unless_replaceable(path, Output::report, options.force);
  } catch (const Refused& refused) {
    outcome.unwritten = refused.refusal();
    return false;
  }
  return true;
}

// One inventory through the Start both front ends share.
void start_inventory(const Inventory& inventory, const BatchOptions& options,
                     const BatchSettings& settings, const BatchEnvironment& environment,
                     const BatchStop& stop, PlotOutcome& outcome) {
  StartRequest request;
  request.parameters = settings.parameters;
  request.wind = settings.wind;
  request.seed = outcome.seed;
  request.max_attempts_per_record = options.max_attempts;
  request.runs = !options.expected_only;
  request.decimal_separator = settings.decimal_separator;
  const bool reports =
      request.runs && !options.no_reports && reports_placed(options, outcome, request);
  TraceFile trace(request.runs ? outcome.names : PlotFileNames{}, options.force);
  const bool progress = environment.progress && options.jobs == 1 && request.runs;
  BatchHost::Setup setup;
  setup.wind = settings.wind;
  setup.stop = &stop;
  setup.progress = progress ? environment.progress : nullptr;
  setup.trace = trace.get();
  setup.label = heading(outcome);
  setup.reports = reports;
  BatchHost host(std::move(setup));
  StartOutcome start = perform_start(inventory, request, host);
  if (progress) std::fputs("\r\033[K", environment.progress);

  outcome.model1 = start.model1;
  outcome.not_computed = start.not_computed;
  if (!outcome.not_computed) outcome.expectation = std::move(start.expectation);
  outcome.start = std::move(start.runs);
  if (start.reports_written) outcome.reports = request.report_paths;
  if (start.reports_refused) outcome.unwritten = std::move(start.reports_refused);
  try {
    trace.commit(host.trace_error());
  } catch (const Refused& refused) {
    if (!outcome.unwritten) outcome.unwritten = refused.refusal();
  }
}

std::string text(double value, const BatchSettings& settings) {
  return general_number_text(value, settings.decimal_separator);
}

template <typename Number>
std::string by_group(const std::array<Number, last_group + 1>& values, const BatchSettings& s) {
  return text(values[1], s) + " / " + text(values[2], s) + " / " + text(values[3], s);
}

std::string count_of(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The expectation with the standard errors model 2 would have: of one run, and of the mean of
// the runs made when there were several.
std::string expected_text(const PlotOutcome& o, const BatchSettings& s) {
  const double per_run = o.expectation->carbon_per_ha_stderr_per_run;
  std::string out = "  expected: carbon " + text(o.expectation->carbon_per_ha, s) +
                    " t C/ha (standard error of one run " + text(per_run, s);
  if (o.start && s.parameters.run_count > 1) {
    const int runs = s.parameters.run_count;
    out +=
        ", of the mean of " + std::to_string(runs) + " runs " + text(per_run / std::sqrt(runs), s);
  }
  return out + "), " + text(o.expectation->pieces_per_ha, s) + " pieces/ha\n";
}

// The side of the plot model 2 was simulated on: the one line a lines file gives the plot (the
// only lines that are simulated), else L.
double simulated_side(const PlotOutcome& o, const BatchSettings& s) {
  return o.line_count == 1 ? o.lines_length : s.parameters.transect_length;
}

std::string plot_text(const PlotOutcome& o, const BatchSettings& s) {
  using std::to_string;
  const SimulationParameters& p = s.parameters;
  // A plot of a lines file: L is the summed horizontal length of its lines.
  const std::string length = o.line_count > 0
                                 ? text(o.lines_length, s) + " m (" + to_string(o.line_count) +
                                       (o.line_count == 1 ? " line)" : " lines)")
                                 : to_string(p.transect_length) + " m";
  std::string out = heading(o) + ": " + count_of(o.record_count, "record", "records") +
                    ", L = " + length + ", seed " + to_string(o.seed) + "\n";
  if (o.dropped_rows > 0)
    out += "  dropped:  " + to_string(o.dropped_rows) + " rows missing a required value\n";
  const std::string not_computed = o.not_computed ? not_computed_text(*o.not_computed) : "";
  if (s.coefficients) out += "  carbon from the coefficients table " + s.coefficients_path + "\n";
  out += "  model 1:  carbon " + text(o.model1.model1_total, s) + " t C/ha, " +
         (o.not_computed && !o.not_computed->pieces_known()
              ? "pieces/ha " + not_computed
              : text(o.model1.pieces_per_ha, s) + " pieces/ha") +
         "\n";
  out += "            volume S/H/C " + by_group(o.model1.volume_per_ha, s) + " m3/ha, surface " +
         by_group(o.model1.surface_per_ha, s) + " m2/ha\n";
  if (o.start) {
    const Model2Estimates& m = o.start->model2;
    out += "  model 2:  carbon " + text(m.carbon_per_ha, s) + " t C/ha";
    if (m.standard_error)
      out += " (standard error " + text(m.standard_error->carbon_per_ha, s) + ")";
    out += ", " + text(m.pieces_per_ha, s) + " pieces/ha, " + count_of(p.run_count, "run", "runs") +
           ", " + count_of(o.start->tally.placement_count, "attempt", "attempts") + "\n";
    out += "            volume S/H/C " + by_group(m.volume_per_ha, s) + " m3/ha, surface " +
           by_group(m.surface_per_ha, s) + " m2/ha\n";
  }
  if (o.expectation) out += expected_text(o, s);
  if (o.not_computed) {
    out += "  model 2:  " + not_computed + "\n";
    out += "  expected: " + not_computed + "\n";
  }
  if (o.reports) out += "  reports:  " + o.reports->stock + ", " + o.reports->estimate + "\n";
  return out;
}

// The plot's stratum, its lines and its rows, made by the worker that computed it: handing the
// plots on in order then only writes them out.
void prepare_output(PlotOutcome& o, const StandOutput& stand, const BatchOptions& options,
                    const BatchSettings& settings) {
  const StandOutput::Assigned assigned = stand.assign_stratum(o);
  o.listed = assigned != StandOutput::Assigned::unlisted;
  o.stratum_from_tally = assigned == StandOutput::Assigned::tally_over_file;
  // A script reading the JSON lines sees every plot, the refused ones with their status.
  if (options.json)
    o.printed = plot_outcome_json(o, settings).dump() + "\n";
  else if (!o.refused)
    o.printed = plot_text(o, settings);
  if (!options.summary_path.empty()) o.summary_row = summary_csv_row(o, settings);
  if (!options.runs_csv_path.empty()) o.run_rows = run_csv_rows(o, simulated_side(o, settings));
}

Refusal internal_error(const std::string& file, const std::exception& fault) {
  return Refusal{.kind = RefusalKind::internal_error, .file = file, .reason = fault.what()};
}

void print_refusal(std::ostream& err, const Refusal& refusal) {
  err << "quorvel-batch: " << refusal_text(refusal) << "\n";
}

void print_warnings(std::ostream& err, const PlotOutcome& o) {
  for (const Warning& warning : o.warnings)
    err << "quorvel-batch: warning: " << warning_text(warning) << "\n";
}

// Where the plot's reports go, or would go without --no-reports: the names the run gave them,
// else their own; none for a path too short to name them after.
std::optional<ReportPaths> plot_report_paths(const PlotOutcome& o) {
  if (o.names.reports) return o.names.reports;
  try {
    return report_paths_for_plot(o.inventory, o.plot);
  } catch (const Refused&) {
    return std::nullopt;
  }
}

// The plot's reports, where a run killed while replacing them had left the two of different runs.
void print_recovered(std::ostream& err, const PlotOutcome& o) {
  const std::optional<ReportPaths> paths = plot_report_paths(o);
  if (o.recovered == InterruptedCommit::none || !paths) return;
  err << "quorvel-batch: " << on_one_line(paths->stock) << " and " << on_one_line(paths->estimate)
      << " were left half replaced by a run that was killed; "
      << (o.recovered == InterruptedCommit::completed
              ? "the replacement was completed\n"
              : "the earlier reports were kept and the new ones removed\n");
}

// The figures, and beside them what could not be written.
void print_outcome(std::ostream& out, std::ostream& err, const PlotOutcome& o) {
  print_recovered(err, o);
  print_warnings(err, o);
  // The output is flushed only before a message, which then stands after the lines it concerns
  // also when both go to one file; a write per plot would cost more than the plot's figures.
  if (o.refused) {
    out.flush();
    print_refusal(err, *o.refused);
    out << o.printed;
    return;
  }
  out << o.printed;
  if (o.unwritten) {
    out.flush();
    print_refusal(err, *o.unwritten);
  }
}

// The files Quorvel wrote itself among the inventories, which a second run over a folder finds
// beside them (its reports and its tables), skipped: one note names them.
void print_skipped(std::ostream& err, const std::vector<std::string>& skipped) {
  if (skipped.empty()) return;
  constexpr std::size_t named = 3;
  err << "quorvel-batch: skipped " << skipped.size() << " file" << (skipped.size() == 1 ? "" : "s")
      << " Quorvel wrote itself (";
  for (std::size_t i = 0; i < skipped.size() && i < named; ++i)
    err << (i > 0 ? ", " : "") << skipped[i];
  err << (skipped.size() > named ? ", ...)\n" : ")\n");
}

// The CSV files that grow with the plots: the summary, the pieces and the runs. Each is written
// to its side file as the plots pass and takes its place at the end; one that cannot be
// opened or written is refused and the batch goes on without it.
class BatchTables {
 public:
  using Refuse = std::function<void(const Refused&, Output)>;

  BatchTables(const BatchOptions& options, Refuse refuse) : refuse_(std::move(refuse)) {
    open(summary_, options.summary_path, summary_csv_header(!options.coefficients_path.empty()),
         Output::summary);
    open(pieces_, options.pieces_path, piece_csv_header(), Output::table);
    open(runs_, options.runs_csv_path, run_csv_header(), Output::table);
  }

  void add(const PlotOutcome& o) {
    if (summary_) summary_->append(o.summary_row);
    if (pieces_) pieces_->append(o.piece_rows);
    if (runs_) runs_->append(o.run_rows);
  }

  void finish() {
    for (auto [table, output] :
         {std::pair{&summary_, Output::summary}, std::pair{&pieces_, Output::table},
          std::pair{&runs_, Output::table}}) {
      if (!*table) continue;
      try {
        (*table)->finish().commit();
      } catch (const Refused& refused) {
        refuse_(refused, output);
      }
      table->reset();
    }
  }

 private:
  void open(std::optional<GrowingReport>& table, const std::string& path, const std::string& header,
            Output output) {
    if (path.empty()) return;
    try {
      table.emplace(path);
      table->append(header);
    } catch (const Refused& refused) {
      refuse_(refused, output);
    }
  }

  Refuse refuse_;
  std::optional<GrowingReport> summary_, pieces_, runs_;
};

void print_unlisted(std::ostream& err, const PlotOutcome& o, const std::string& strata) {
  err << "quorvel-batch: " << (o.plot.empty() ? o.inventory : o.plot)
      << " is not listed in the strata file " << strata << "; left out of the stand estimates\n";
}

void print_no_plot_found(std::ostream& err, const std::string& strata) {
  err << "quorvel-batch: no plot was found in the strata file " << strata
      << ", so there is no stand estimate; its plot column names each inventory file by its path "
         "from the strata file's folder or from the working folder, or by its name within a "
         "folder given, or a plot id of a long file\n";
}

void print_tally_strata(std::ostream& err, const PlotOutcome& o, const std::string& strata) {
  err << "quorvel-batch: warning: " << o.inventory
      << " has a stratum column, which is taken for its plots instead of the strata file " << strata
      << "\n";
}

// The plots the strata file lists but no tally gave: the first few by name.
void print_not_given(std::ostream& err, const std::vector<std::string>& plots,
                     const std::string& strata) {
  if (plots.empty()) return;
  constexpr std::size_t named = 3;
  err << "quorvel-batch: warning: " << plots.size() << (plots.size() == 1 ? " plot" : " plots")
      << " listed in the strata file " << strata << (plots.size() == 1 ? " was" : " were")
      << " not given (";
  for (std::size_t i = 0; i < plots.size() && i < named; ++i)
    err << (i > 0 ? ", " : "") << plots[i];
  err << (plots.size() > named ? ", ...)" : ")") << "; left out of the stand estimates\n";
}

// Model 2's convergence on the plot, when runs were made.
void write_plot_chart(const PlotOutcome& o, const BatchOptions& options,
                      const BatchSettings& settings) {
  if (o.names.chart.empty() || !o.start) return;
  if (o.names.chart_refused) throw Refused(*o.names.chart_refused);
  refuse_unless_replaceable(o.names.chart, Output::chart, options.force);
  const double L = simulated_side(o, settings);
  const std::vector<double> carbon = carbon_t_per_ha_by_run(o.start->tally, L);
  const ConvergenceSeries series = convergence_series(
      carbon, o.expectation ? std::optional(o.expectation->carbon_per_ha) : std::nullopt);
  const std::string name = o.plot.empty() ? o.inventory : o.inventory + ", plot " + o.plot;
  write_report_file(o.names.chart, convergence_chart_svg(series, name));
}

// After the plots, with two plots or more, or with strata or a stand summary asked for: the
// stand estimates printed. One plot alone is no stand: no block, and no stand chart of a
// single dot.
std::optional<StandEstimate> print_stand(const StandOutput& stand, std::size_t plots,
                                         const BatchOptions& options, const BatchSettings& settings,
                                         std::ostream& out) {
  const bool asked = !options.strata_path.empty() || !options.stand_summary_path.empty();
  if (!asked && plots <= 1) return std::nullopt;
  StandEstimate estimate = stand.estimate();
  if (options.json) {
    for (const nlohmann::json& line : stand_json_lines(estimate)) out << line.dump() << "\n";
  } else {
    out << stand_text(estimate, settings.decimal_separator);
  }
  return estimate;
}

// The stand summary and the stand chart, once the batch is through.
template <typename Refuse>
void write_stand_files(const StandOutput& stand, const StandEstimate& estimate,
                       const BatchOptions& options, Refuse refuse) {
  if (!options.stand_summary_path.empty()) {
    try {
      write_report_file(options.stand_summary_path, stand_summary_csv(estimate));
    } catch (const Refused& refused) {
      refuse(refused, Output::table);
    }
  }
  if (!options.chart_path.empty()) {
    try {
      write_report_file(stand_chart_path(options.chart_path),
                        stand_chart_svg(stand.chart_series(estimate),
                                        "Stand: model 1 carbon by stratum, 95% intervals"));
    } catch (const Refused& refused) {
      refuse(refused, Output::chart);
    }
  }
}

// The plot's lines from the lines file: their number and summed length go with its inventory.
// Without a lines file a tally of several lines cannot be computed: their lengths are unknown.
std::optional<Refusal> take_lines(PlotTally& tally, const std::string& file,
                                  const BatchOptions& options, const BatchSettings& settings) {
  if (!settings.lines) {
    if (tally.lines.size() <= 1) return std::nullopt;
    return Refusal{.kind = RefusalKind::lines_file_needed,
                   .file = file,
                   .plot = tally.plot,
                   .column = tally.line_column,
                   .limit = std::ssize(tally.lines)};
  }
  const PlotLines* lines = settings.lines->of(tally.plot.empty() ? file : tally.plot);
  if (!lines)
    return Refusal{.kind = RefusalKind::plot_without_lines,
                   .file = file,
                   .plot = tally.plot,
                   .found = options.lines_path};
  for (const TallyLine& line : tally.lines)
    if (std::find(lines->names.begin(), lines->names.end(), line.name) == lines->names.end())
      return Refusal{.kind = RefusalKind::line_not_listed,
                     .file = file,
                     .plot = tally.plot,
                     .line = line.line,
                     .record = line.record,
                     .field = InventoryField::line,
                     .column = tally.line_column,
                     .found = line.name};
  tally.inventory.line_count = static_cast<int>(lines->names.size());
  tally.inventory.lines_length = lines->horizontal_m;
  return std::nullopt;
}

// The plots of the lines file that no tally gave, when a refused file may have held them.
void print_lines_left_out(std::ostream& err, const std::vector<std::string>& plots,
                          const std::string& lines) {
  if (plots.empty()) return;
  constexpr std::size_t named = 3;
  err << "quorvel-batch: warning: " << plots.size() << (plots.size() == 1 ? " plot" : " plots")
      << " of the lines file " << lines << " had no tally (";
  for (std::size_t i = 0; i < plots.size() && i < named; ++i)
    err << (i > 0 ? ", " : "") << plots[i];
  err << (plots.size() > named ? ", ...)" : ")")
      << "; left out of the stand estimates, as a refused file may hold them\n";
}

// The plots of the lines file that no tally gave: plots without pieces, which the stand
// estimates count (leaving them out would raise the stand's mean), in the file's order.
std::vector<std::string> plots_without_tally(const LinesTable& lines,
                                             const std::unordered_set<std::string>& given) {
  std::vector<std::string> plots;
  for (const std::string& plot : lines.plots)
    if (!given.contains(plot)) plots.push_back(plot);
  return plots;
}

// One batch from its first plot to its end: the plots taken in order, then the stand and the
// files that cover the whole batch, or after a stop one line that says what was left.
class BatchRun {
 public:
  BatchRun(const BatchOptions& options, const BatchSettings& settings,
           const BatchEnvironment& environment, std::ostream& out, std::ostream& err)
      : options_(options),
        settings_(settings),
        out_(out),
        err_(err),
        stand_(options, !options.chart_path.empty()) {
    stop_.interrupted = environment.interrupted;
  }

  // The tables that grow with the plots, opened once the inventories are known.
  void open_tables() {
    tables_.emplace(options_, [this](const Refused& r, Output o) { refuse_output(r, o); });
  }

  const BatchStop& stop() const { return stop_; }
  const StandOutput& stand() const { return stand_; }
  std::size_t taken() const { return number_; }

  // The plots of the lines file that no tally gave; none, with a warning, where a file refused
  // as a whole may have held them.
  std::vector<std::string> plots_of_lines_alone() {
    const std::vector<std::string> plots = plots_without_tally(*settings_.lines, given_);
    if (!tallies_unknown_) return plots;
    print_lines_left_out(err_, plots, options_.lines_path);
    return {};
  }

  void take(PlotOutcome outcome) {
    ++number_;
    try {
      // After a stop only the chart of a plot whose Start came through, as its reports did.
      if (stop_())
        write_chart(outcome);
      else
        take_outcome(outcome);
    } catch (const std::exception& fault) {  // the plot's outputs, not the figures
      print_refusal(err_, internal_error(outcome.inventory, fault));
      status_ = 1;
    }
  }

  // The exit status.
  int finish() {
    // Through: a signal from here on comes too late to change what is written, and is let be.
    bool through = false;
    std::optional<StandEstimate> estimate;
    if (!stop_()) {
      print_not_given(err_, stand_.plots_not_given(), options_.strata_path);
      try {
        estimate = print_stand(stand_, number_, options_, settings_, out_);
      } catch (const std::exception& fault) {
        print_refusal(err_, internal_error({}, fault));
        status_ = 1;
      }
      // The figures are all out before the files that cover them take their names.
      out_.flush();
      through = output_holds() && !stop_();
    }
    if (!through) return stopped();
    try {
      if (estimate)
        write_stand_files(stand_, *estimate, options_,
                          [this](const Refused& r, Output o) { refuse_output(r, o); });
    } catch (const std::exception& fault) {
      print_refusal(err_, internal_error({}, fault));
      status_ = 1;
    }
    tables_->finish();
    if (number_ > 0 && stand_.none_found()) {
      print_no_plot_found(err_, options_.strata_path);
      status_ = 1;
    }
    return status_;
  }

 private:
  void refuse_output(const Refused& refused, Output output) {
    Refusal refusal = refused.refusal();
    refusal.output = output;
    print_refusal(err_, refusal);
    status_ = 1;
  }

  // One finished plot, in order: its lines, its stratum, its rows and its chart.
  void take_outcome(const PlotOutcome& outcome) {
    if (settings_.lines) {
      given_.insert(outcome.plot.empty() ? outcome.inventory : outcome.plot);
      if (outcome.refused && outcome.plot.empty() && !settings_.lines->of(outcome.inventory))
        tallies_unknown_ = true;
    }
    if (outcome.refused || outcome.unwritten) status_ = 1;
    print_outcome(out_, err_, outcome);
    if (output_holds()) ++printed_;
    stand_.mark_given(outcome);
    if (!outcome.listed) {
      print_unlisted(err_, outcome, options_.strata_path);
    } else {
      if (outcome.stratum_from_tally && outcome.inventory != warned_file_)
        print_tally_strata(err_, outcome, options_.strata_path);
      if (outcome.stratum_from_tally) warned_file_ = outcome.inventory;
      stand_.add(outcome);
    }
    tables_->add(outcome);
    write_chart(outcome);
  }

  void write_chart(const PlotOutcome& outcome) {
    try {
      write_plot_chart(outcome, options_, settings_);
    } catch (const Refused& refused) {
      refuse_output(refused, Output::chart);
    }
  }

  // Whether everything written to the output so far reached it; when not, the stop is asked
  // for and the system's reason kept (the stream itself keeps only that it failed).
  bool output_holds() {
    if (out_.good()) return true;
    if (output_error_ == 0) output_error_ = errno != 0 ? errno : EIO;
    stop_.output_failed.store(true);
    return false;
  }

  // The one line a batch stopped early ends with.
  int stopped() {
    out_.flush();
    err_ << "quorvel-batch: ";
    if (stop_.was_interrupted())
      err_ << "interrupted after " << printed_ << (printed_ == 1 ? " plot" : " plots");
    else
      err_ << "cannot write the standard output (" << std::strerror(output_error_) << ")";
    err_ << "; no report of an unfinished plot, no summary, table or stand chart written\n";
    return stop_.was_interrupted() ? interrupted_status : 1;
  }

  const BatchOptions& options_;
  const BatchSettings& settings_;
  std::ostream& out_;
  std::ostream& err_;
  StandOutput stand_;
  std::optional<BatchTables> tables_;
  BatchStop stop_;
  int status_ = 0;
  int output_error_ = 0;
  std::size_t number_ = 0;   // plots taken
  std::size_t printed_ = 0;  // plots whose lines were written
  std::string warned_file_;  // the last file whose stratum column was taken over the strata file
  std::unordered_set<std::string> given_;  // the plots of the tallies, as a lines file names them
  bool tallies_unknown_ = false;  // a long file refused whole: which plots it held is not known
};

}  // namespace

PlotOutcome process_inventory(PlotWork work, const BatchOptions& options,
                              const BatchSettings& settings, const BatchEnvironment& environment,
                              const BatchStop& stop, InterruptedCommits& journals) {
  if (!work.refused) work.refused = take_lines(work.tally, work.file, options, settings);
  PlotOutcome outcome;
  outcome.inventory = std::move(work.file);
  outcome.plot = std::move(work.tally.plot);
  outcome.stratum = std::move(work.tally.stratum);
  outcome.seed =
      seed_for_plot(settings.seed, std::filesystem::path(outcome.inventory).filename().string(),
                    outcome.plot, options.inventories.size() == 1 && outcome.plot.empty());
  outcome.dropped_rows = work.tally.dropped_rows;
  // What the reader found about the file as a whole comes before what is found in the plot.
  const auto with_file_warnings = [&work](std::vector<Warning> warnings) {
    warnings.insert(warnings.begin(), work.tally.warnings.begin(), work.tally.warnings.end());
    return warnings;
  };
  outcome.warnings = with_file_warnings({});
  outcome.names = std::move(work.names);
  if (const std::optional<ReportPaths> paths = plot_report_paths(outcome))
    outcome.recovered = journals.recover(paths->stock);
  if (work.refused) {
    outcome.refused = std::move(work.refused);
    return outcome;
  }
  const Inventory& inventory = work.tally.inventory;
  outcome.line_count = inventory.line_count;
  outcome.lines_length = inventory.lines_length;
  outcome.record_count = static_cast<std::int64_t>(inventory.pieces.size());
  try {
    if (settings.coefficients)
      apply_coefficients(*settings.coefficients, settings.coefficients_path,
                         settings.parameters.carbon_fraction, work.tally.inventory);
    start_inventory(inventory, options, settings, environment, stop, outcome);
    outcome.warnings = with_file_warnings(
        plausibility_warnings(inventory, outcome.plot, settings.parameters, outcome.model1));
    if (!options.pieces_path.empty())
      outcome.piece_rows =
          piece_csv_rows(inventory, outcome, transect_length_of(inventory, settings.parameters));
  } catch (const StartCancelled&) {
    outcome.refused = Refusal{.kind = RefusalKind::cancelled, .file = outcome.inventory};
  } catch (const Refused& refused) {
    outcome.refused = refused.refusal();
    outcome.warnings =
        with_file_warnings(plausibility_warnings(inventory, outcome.plot, settings.parameters));
  } catch (const std::exception& fault) {
    // A fault of the program's own ends this plot alone: the other workers go on, and the
    // files it had begun were removed as the stack unwound.
    PlotOutcome named;
    named.inventory = outcome.inventory;
    named.plot = outcome.plot;
    named.stratum = outcome.stratum;
    named.seed = outcome.seed;
    named.record_count = outcome.record_count;
    named.recovered = outcome.recovered;
    named.refused = internal_error(outcome.inventory, fault);
    outcome = std::move(named);
  }
  return outcome;
}

int run_batch(BatchOptions options, const BatchEnvironment& environment, std::ostream& out,
              std::ostream& err) {
  // No tally is read and nothing written before the outputs are known to replace no input.
  std::optional<PlotOutputNames> names;
  {
    // From here on the inventories are those read: Quorvel's own files are left out.
    const InventorySurvey survey = survey_inventories(options.inventories, options.jobs);
    print_skipped(err, survey.skipped);
    if (const std::string clash = output_clash(options, survey.identities); !clash.empty()) {
      err << "quorvel-batch: " << clash << "\n";
      return 2;
    }
    names.emplace(options, survey.identities);
  }  // a hundred thousand identities are let go before the strata and the tallies are read
  BatchSettings settings;
  std::optional<BatchRun> run;
  try {
    settings = batch_settings_from(options, environment.locale_separator);
    run.emplace(options, settings, environment, out, err);
  } catch (const Refused& refused) {
    print_refusal(err, refused.refusal());
    // A parameter the plots cannot have is misuse of the command, like an unknown option.
    return refused.refusal().kind == RefusalKind::parameter_not_valid ? 2 : 1;
  }
  run->open_tables();
  InterruptedCommits journals;
  const auto process = [&](PlotWork work) {
    PlotOutcome outcome =
        process_inventory(std::move(work), options, settings, environment, run->stop(), journals);
    prepare_output(outcome, run->stand(), options, settings);
    return outcome;
  };
  const auto name = [&](PlotWork& work) {
    work.names = names->name(work.file, work.tally.plot, work.position + 1);
  };
  run_plot_workers(
      options.inventories, settings.tally, options.jobs, process,
      [&](PlotOutcome outcome) { run->take(std::move(outcome)); }, name,
      [&] { return run->stop()(); });
  // The plots of the lines file without a tally: plots with no pieces, once the tallies are in.
  if (settings.lines && !run->stop()()) {
    for (const std::string& plot : run->plots_of_lines_alone()) {
      PlotWork work;
      work.position = run->taken();
      work.file = options.lines_path;
      work.tally.plot = plot;
      work.tally.inventory.source = options.lines_path;
      name(work);
      run->take(process(std::move(work)));
    }
  }
  return run->finish();
}

}  // namespace quorvel
