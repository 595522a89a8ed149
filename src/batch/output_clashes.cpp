#include "batch/output_clashes.h"

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

// The files seen so far, found by path and by inode.
class SeenFiles {
 public:
  // The file seen before that is the same as this one, or null; this one is seen from now on.
  const RunFile* see(const RunFile& file) {
    const FileIdentity identity = identities_.of(file.path);
    const RunFile* before = find(identity.path);
    if (!before && !identity.inode.empty()) before = find(identity.inode);
    if (before) return before;
    seen_.emplace(identity.path, file);
    if (!identity.inode.empty()) seen_.emplace(identity.inode, file);
    return nullptr;
  }

 private:
  const RunFile* find(const std::string& key) const {
    const auto found = seen_.find(key);
    return found == seen_.end() ? nullptr : &found->second;
  }

  FileIdentities identities_;
  std::unordered_map<std::string, RunFile> seen_;
};

}  // namespace

std::vector<RunFile> run_inputs(const BatchOptions& o) {
  std::vector<RunFile> inputs;
  inputs.reserve(o.inventories.size() + 4);
  for (const std::string& inventory : o.inventories) inputs.push_back({"the inventory", inventory});
  for (const auto& [role, path] : {std::pair{"the strata file", &o.strata_path},
                                   {"the species map", &o.species_map_path},
                                   {"the coefficients table", &o.coefficients_path},
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

std::string output_clash(const BatchOptions& options) {
  SeenFiles seen;
  for (const RunFile& input : run_inputs(options)) {
    // The same file among the inputs only matters when it would be counted twice.
    const RunFile* before = seen.see(input);
    if (before && before->role == "the inventory" && input.role == "the inventory")
      return input.path + " and " + before->path +
             " are the same inventory: give each inventory once";
  }
  // The reports of each NAME.txt keep their names, so no option may take them. One that leads to
  // an input is refused with its plot instead.
  if (!options.no_reports && !options.expected_only) {
    for (const std::string& inventory : options.inventories) {
      if (!txt_inventory(inventory)) continue;
      const ReportPaths reports = report_paths_for(inventory);
      for (const std::string& report : {reports.stock, reports.estimate})
        seen.see({"the report", report});
    }
  }
  for (const RunFile& output : output_option_files(options)) {
    if (const RunFile* before = seen.see(output))
      return said(output) + " names the same file as " + said(*before) + "; nothing was written";
    if (!options.force && !replaceable_output(output.path))
      return said(output) +
             " is a file that Quorvel did not write: give another name, or "
             "--force to replace it; nothing was written";
  }
  return "";
}

}  // namespace quorvel
