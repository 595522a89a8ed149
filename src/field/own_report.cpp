#include "field/own_report.h"

#include <array>
#include <string>
#include <string_view>
#include <system_error>

namespace quorvel {

namespace {

bool inventory_named(const std::filesystem::path& folder, const std::string& stem) {
  for (const char* extension : {".txt", ".csv", ".tsv"}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / (stem + extension), ec)) return true;
  }
  return false;
}

}  // namespace

bool is_own_report(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  constexpr std::string_view ending = "_results.txt";  // after the "m" or "s"
  if (name.size() <= ending.size() + 1 ||
      name.compare(name.size() - ending.size(), ending.size(), ending.data()) != 0)
    return false;
  const char model = name[name.size() - ending.size() - 1];
  if (model != 'm' && model != 's') return false;
  const std::string stem = name.substr(0, name.size() - ending.size() - 1);
  const std::filesystem::path folder = path.parent_path();
  if (!stem.empty() && inventory_named(folder, stem)) return true;
  // The report of a plot: the stem is the inventory's followed by "-" and the plot.
  for (auto dash = stem.find('-'); dash != std::string::npos; dash = stem.find('-', dash + 1))
    if (dash > 0 && inventory_named(folder, stem.substr(0, dash))) return true;
  return false;
}

bool begins_like_own_table(std::string_view start) {
  // The first columns of each table, which no tally a crew brings begins with.
  constexpr std::array<std::string_view, 5> headers = {
      "inventory,records,seed,runs,",          // the summary
      "kind,stratum,n,",                       // the stand summary
      "inventory,plot,record,species,stage,",  // the pieces
      "inventory,plot,run,carbon_t_per_ha,",   // the runs
      "run,record,attempt,x1,y1,x2,y2,angle,"  // the trace
  };
  for (const std::string_view header : headers)
    if (start.starts_with(header)) return true;
  return false;
}

}  // namespace quorvel
