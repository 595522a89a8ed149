#include "field/own_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool is_own_table(const std::filesystem::path& path) {
  // The first columns of each table, which no tally a crew brings begins with.
  constexpr std::array<std::string_view, 5> headers = {
      "inventory,records,seed,runs,",          // the summary
      "kind,stratum,n,",                       // the stand summary
      "inventory,plot,record,species,stage,",  // the pieces
      "inventory,plot,run,carbon_t_per_ha,",   // the runs
      "run,record,attempt,x1,y1,x2,y2,angle,"  // the trace
  };
  // Opened without blocking and read only when regular: a pipe among the inventories must
  // reach the reader, which refuses it, rather than hang here.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  char start[64] = {};
  ssize_t got = 0;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) got = ::read(fd, start, sizeof start);
  ::close(fd);
  const std::string_view first(start, got > 0 ? static_cast<std::size_t>(got) : 0);
  for (const std::string_view header : headers)
    if (first.starts_with(header)) return true;
  return false;
}

}  // namespace quorvel
