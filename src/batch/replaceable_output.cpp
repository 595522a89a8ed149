#include "batch/replaceable_output.h"

#include <sys/stat.h>

#include <array>
#include <fstream>
#include <string>
#include <string_view>

#include "reports/estimate_report.h"
#include "reports/stock_report.h"

namespace quorvel {

namespace {

std::string first_line(const std::string& text) { return text.substr(0, text.find('\n') + 1); }

// How each of Quorvel's outputs begins, whatever its figures: the heading of each report, the
// first columns of each CSV table (later versions add columns at the end) and the chart's
// opening.
const std::array<std::string, 8>& beginnings() {
  static const std::array<std::string, 8> texts = {
      first_line(stock_report_text(Model1Result{}, ',')),
      first_line(estimate_report_text(Model2Estimates{}, ',')),
      "inventory,records,seed,",    // the summary
      "inventory,plot,record,",     // the pieces
      "inventory,plot,run,",        // the runs
      "kind,stratum,n,",            // the stand summary
      "run,record,attempt,x1,y1,",  // the trace
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "version=\"1.1\" width=\"",  // a chart
  };
  return texts;
}

}  // namespace

bool replaceable_output(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0)
    return true;
  std::ifstream file(path, std::ios::binary);
  std::string start(256, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(file.gcount()));
  for (const std::string& beginning : beginnings())
    if (start.starts_with(beginning)) return true;
  return false;
}

void refuse_unless_replaceable(const std::filesystem::path& path, Output output, bool force) {
  if (force || replaceable_output(path)) return;
  throw Refused({.kind = RefusalKind::output_not_ours, .file = path.string(), .output = output});
}

}  // namespace quorvel
