#include "batch/plot_output_names.h"

#include <cctype>
#include <filesystem>

#include "batch/chart_files.h"
#include "batch/output_clashes.h"

namespace quorvel {

namespace {

constexpr std::size_t report_ending_length = 13;  // "m_results.txt", as long as "s_results.txt"

}  // namespace

bool txt_inventory(const std::string& file) {
  if (file.size() < 4) return false;
  std::string suffix = file.substr(file.size() - 4);
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return suffix == ".txt";
}

PlotOutputNames::PlotOutputNames(const BatchOptions& options,
                                 const std::vector<FileIdentity>& inventories)
    : options_(options),
      reports_(!options.no_reports && !options.expected_only),
      charts_(!options.chart_path.empty() && !options.expected_only),
      several_(options.inventories.size() > 1) {
  // Plots that name no file of their own need neither the inputs nor the reports kept.
  if (!reports_ && !charts_ && options.trace_path.empty()) return;
  const std::vector<RunFile> inputs = run_inputs(options);  // the inventories first
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const RunFile& input = inputs[i];
    FileIdentity identity = i < inventories.size() ? inventories[i] : identities_.of(input.path);
    inputs_.emplace(std::move(identity.path), input.path);
    if (!identity.inode.empty()) inputs_.emplace(std::move(identity.inode), input.path);
  }
  // The reports of each NAME.txt are its own, whatever comes before it.
  if (reports_) {
    for (const std::string& inventory : options.inventories) {
      if (!txt_inventory(inventory)) continue;
      const ReportPaths paths = report_paths_for(inventory);
      hold(paths.stock, inventory);
      hold(paths.estimate, inventory);
    }
  }
  for (const RunFile& output : output_option_files(options)) hold(output.path);
}

bool PlotOutputNames::free(const std::string& path, const std::string& file) {
  const FileIdentity identity = identities_.of(path);
  for (const std::string* key : {&identity.path, &identity.inode}) {
    if (key->empty()) continue;
    const auto held = held_.find(*key);
    if (held != held_.end() && (held->second.empty() || held->second != file)) return false;
  }
  return true;
}

void PlotOutputNames::hold(const std::string& path, const std::string& file) {
  FileIdentity identity = identities_.of(path);
  for (std::string* key : {&identity.path, &identity.inode}) {
    if (key->empty()) continue;
    // A name is kept for a file only where nothing holds it yet.
    if (file.empty())
      held_.insert_or_assign(std::move(*key), file);
    else
      held_.try_emplace(std::move(*key), file);
  }
}

std::string PlotOutputNames::distinct_stem(const std::string& stem,
                                           std::initializer_list<const char*> endings,
                                           const std::string& file) {
  std::string candidate = stem;
  for (std::size_t n = 2;; ++n) {
    bool all_free = true;
    for (const char* ending : endings) all_free = all_free && free(candidate + ending, file);
    if (all_free) break;
    candidate = stem + "-" + std::to_string(n);
  }
  for (const char* ending : endings) hold(candidate + ending);
  return candidate;
}

std::optional<Refusal> PlotOutputNames::into_input(const std::string& path, Output output) {
  const FileIdentity identity = identities_.of(path);
  for (const std::string* key : {&identity.path, &identity.inode}) {
    const auto input = key->empty() ? inputs_.end() : inputs_.find(*key);
    if (input != inputs_.end())
      return Refusal{.kind = RefusalKind::output_is_input,
                     .file = path,
                     .found = input->second,
                     .output = output};
  }
  return std::nullopt;
}

PlotFileNames PlotOutputNames::name(const std::string& file, const std::string& plot,
                                    std::size_t number) {
  PlotFileNames names;
  if (reports_) {
    try {
      const ReportPaths wanted = report_paths_for_plot(file, plot);
      const std::string stem =
          distinct_stem(wanted.stock.substr(0, wanted.stock.size() - report_ending_length),
                        {"m_results.txt", "s_results.txt"}, plot.empty() ? file : "");
      names.reports = ReportPaths{stem + "m_results.txt", stem + "s_results.txt"};
      names.reports_refused = into_input(names.reports->stock, Output::report);
      if (!names.reports_refused)
        names.reports_refused = into_input(names.reports->estimate, Output::report);
    } catch (const Refused&) {
      // Named by none: the plot's Start refuses the path when it comes to the reports.
    }
  }
  if (charts_) {
    const bool several = several_ || !plot.empty();
    const std::string chart = plot_chart_path(options_.chart_path, plot, number, several);
    // A single plot's chart is the name given, checked with the other outputs beforehand.
    names.chart =
        several ? distinct_stem(chart.substr(0, chart.size() - 4), {".svg"}, "") + ".svg" : chart;
    names.chart_refused = into_input(names.chart, Output::chart);
  }
  if (!options_.trace_path.empty()) {
    names.trace = options_.trace_path;
    if (!plot.empty()) {
      std::filesystem::path named(options_.trace_path);
      const std::string extension = named.extension().string();
      named.replace_filename(named.stem().string() + "-" + file_name_safe(plot));
      names.trace = distinct_stem(named.string(), {extension.c_str()}, "") + extension;
    }
    names.trace_refused = into_input(names.trace, Output::trace);
  }
  return names;
}

}  // namespace quorvel
