#include "batch/output_clashes.h"

#include <deque>
#include <optional>
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

// The files of the run in one list, found by path and by inode as they are seen: the
// inventories first, as given, with the identities a first look found, then `others`. The
// inventories are not copied and the keys are views of the identities, as a run may name a
// hundred thousand files.
class RunFiles {
 public:
  RunFiles(const std::vector<std::string>& inventories, const std::vector<FileIdentity>& identities,
           std::vector<RunFile> others)
      : inventories_(inventories), identities_(identities), others_(std::move(others)) {}

  std::size_t size() const { return inventories_.size() + others_.size(); }
  bool is_inventory(std::size_t i) const { return i < inventories_.size(); }
  const std::string& path(std::size_t i) const {
    return is_inventory(i) ? inventories_[i] : others_[i - inventories_.size()].path;
  }
  // "--summary s.csv", "the inventory a.txt".
  std::string said(std::size_t i) const {
    return (is_inventory(i) ? std::string("the inventory")
                            : others_[i - inventories_.size()].role) +
           " " + path(i);
  }

  // The file seen before that is the same as file i, or none; file i is seen from now on.
  std::optional<std::size_t> see(std::size_t i) {
    const FileIdentity& identity =
        is_inventory(i) ? identities_[i] : found_.emplace_back(looked_up_.of(path(i)));
    for (const std::string* key : {&identity.path, &identity.inode}) {
      if (key->empty()) continue;
      const auto [at, added] = seen_.try_emplace(std::string_view(*key), i);
      if (!added) return at->second;
    }
    return std::nullopt;
  }

 private:
  const std::vector<std::string>& inventories_;
  const std::vector<FileIdentity>& identities_;
  std::vector<RunFile> others_;
  FileIdentities looked_up_;
  std::deque<FileIdentity> found_;  // of the others seen
  std::unordered_map<std::string_view, std::size_t> seen_;
};

// Every file the run reads but the inventories.
std::vector<RunFile> side_inputs(const BatchOptions& o) {
  std::vector<RunFile> inputs;
  for (const auto& [role, path] : {std::pair{"the strata file", &o.strata_path},
                                   {"the species map", &o.species_map_path},
                                   {"the coefficients table", &o.coefficients_path},
                                   {"the lines file", &o.lines_path},
                                   {"the inventory list", &o.inventories_from}})
    if (!path->empty() && *path != "-") inputs.push_back({role, *path});
  return inputs;
}

}  // namespace

std::vector<RunFile> run_inputs(const BatchOptions& o) {
  std::vector<RunFile> inputs;
  inputs.reserve(o.inventories.size() + 5);
  for (const std::string& inventory : o.inventories) inputs.push_back({"the inventory", inventory});
  for (RunFile& input : side_inputs(o)) inputs.push_back(std::move(input));
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
  std::vector<RunFile> others = side_inputs(options);
  const std::size_t inputs = options.inventories.size() + others.size();
  // The reports of each NAME.txt keep their names, so no option may take them. One that leads to
  // an input is refused with its plot instead.
  if (!options.no_reports && !options.expected_only) {
    for (const std::string& inventory : options.inventories) {
      if (!txt_inventory(inventory)) continue;
      const ReportPaths reports = report_paths_for(inventory);
      others.push_back({"the report", reports.stock});
      others.push_back({"the report", reports.estimate});
    }
  }
  const std::size_t outputs = options.inventories.size() + others.size();
  for (RunFile& output : output_option_files(options)) others.push_back(std::move(output));

  RunFiles files(options.inventories, inventories, std::move(others));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::optional<std::size_t> before = files.see(i);
    // The same file among the inputs only matters when it would be counted twice.
    if (i < inputs && before && files.is_inventory(*before) && files.is_inventory(i))
      return files.path(i) + " and " + files.path(*before) +
             " are the same inventory: give each inventory once";
    if (i < outputs) continue;
    if (before)
      return files.said(i) + " names the same file as " + files.said(*before) +
             "; nothing was written";
    if (!options.force && !replaceable_output(files.path(i)))
      return files.said(i) +
             " is a file that Quorvel did not write: give another name, or --force to replace "
             "it; nothing was written";
  }
  return "";
}

}  // namespace quorvel
