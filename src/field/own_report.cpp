#include "field/own_report.h"

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

}  // namespace quorvel
