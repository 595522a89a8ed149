#include "batch/output_clashes.h"

#include <deque>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "batch/chart_files.h"
#include "batch/plot_output_names.h"
#include "batch/replaceable_output.h"
#include "reports/file_identity.h"
#include "reports/report_paths.h"

namespace quorvel {

namespace {

// "--summary s.csv", "the inventory a.txt".
std::string said(const RunFile& file) { return file.role + " " + file.path; }

// The files seen so far, found by path and by inode: indices into `files`, which outlives it,
// as do the identities `known` of its first files. The keys are views of the identities, as a
// run may name a hundred thousand files.
class SeenFiles {
 public:
  SeenFiles(const std::vector<RunFile>& files, const std::vector<FileIdentity>& known)
      : files_(files), known_(known) {}

  // The file seen before that is the same as files[i], or null; files[i] is seen from now on.
  const RunFile* see(std::size_t i) {
    const FileIdentity& identity =
        i < known_.size() ? known_[i] : found_.emplace_back(identities_.of(files_[i].path));
    for (const std::string* key : {&identity.path, &identity.inode}) {
      if (key->empty()) continue;
      const auto [at, added] = seen_.try_emplace(std::string_view(*key), i);
      if (!added) return &files_[at->second];
    }
    return nullptr;
  }

 private:
  const std::vector<RunFile>& files_;
  const std::vector<FileIdentity>& known_;
  FileIdentities identities_;
  std::deque<FileIdentity> found_;  // of the files after the known ones
  std::unordered_map<std::string_view, std::size_t> seen_;
};

}  // namespace

std::vector<RunFile> run_inputs(const BatchOptions& o) {
  std::vector<RunFile> inputs;
  inputs.reserve(o.inventories.size() + 5);
  for (const std::string& inventory : o.inventories) inputs.push_back({"the inventory", inventory});
  for (const auto& [role, path] : {std::pair{"the strata file", &o.strata_path},
                                   {"the species map", &o.species_map_path},
                                   {"the coefficients table", &o.coefficients_path},
                                   {"the lines file", &o.lines_path},
                                   {"the inventory list", &o.inventories_from}})
    if (!path->empty() && *path != "-") inputs.push_back({role, *path});
  return inputs;
}

std::vector<RunFile> output_option_files(const BatchOptions& o) {
  std::vector<RunFile> outputs;
  for (const auto& [role, path] : {std::pair{"--summary", &o.summary_path},
                                   {"--stand-summary", &o.stand_summary_path},
                                   {"--pieces", &o.pieces_path},
                                   {"--runs-csv", &o.runs_csv_path},
                                   {"--trace", &o.trace_path},
                                   {"--chart", &o.chart_path}})
    if (!path->empty()) outputs.push_back({role, *path});
  if (!o.chart_path.empty()) outputs.push_back({"the stand chart", stand_chart_path(o.chart_path)});
  return outputs;
}

std::string output_clash(const BatchOptions& options,
                         const std::vector<FileIdentity>& inventories) {
  std::vector<RunFile> files = run_inputs(options);
  const std::size_t inputs = files.size();
  // The reports of each NAME.txt keep their names, so no option may take them. One that leads to
  // an input is refused with its plot instead.
  if (!options.no_reports && !options.expected_only) {
    for (const std::string& inventory : options.inventories) {
      if (!txt_inventory(inventory)) continue;
      const ReportPaths reports = report_paths_for(inventory);
      files.push_back({"the report", reports.stock});
      files.push_back({"the report", reports.estimate});
    }
  }
  const std::size_t outputs = files.size();
  for (RunFile& output : output_option_files(options)) files.push_back(std::move(output));

  SeenFiles seen(files, inventories);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const RunFile* before = seen.see(i);
    const RunFile& file = files[i];
    // The same file among the inputs only matters when it would be counted twice.
    if (i < inputs && before && before->role == "the inventory" && file.role == "the inventory")
      return file.path + " and " + before->path +
             " are the same inventory: give each inventory once";
    if (i < outputs) continue;
    if (before)
      return said(file) + " names the same file as " + said(*before) + "; nothing was written";
    if (!options.force && !replaceable_output(file.path))
      return said(file) +
             " is a file that Quorvel did not write: give another name, or --force to replace "
             "it; nothing was written";
  }
  return "";
}

}  // namespace quorvel
