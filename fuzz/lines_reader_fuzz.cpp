// Arbitrary bytes to the lines reader, the file of each plot's lines and their lengths: a table
// that keeps the reader's promises, or a refusal naming the file.

#include <algorithm>
#include <cmath>

#include "field/lines_reader.h"
#include "fuzz_checks.h"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const LinesTable table = parse_lines(text_of(data, size), "lines.csv");
    // Each plot listed once, with at least one line named once, and a finite length above 0.
    require(!table.plots.empty() && table.plots.size() == table.lines.size());
    require(table.index.size() == table.plots.size());
    for (std::size_t p = 0; p < table.plots.size(); ++p) {
      require(!table.plots[p].empty() && table.of(table.plots[p]) == &table.lines[p]);
      const PlotLines& lines = table.lines[p];
      require(!lines.names.empty() && lines.first_line >= 2);
      for (std::size_t i = 0; i < lines.names.size(); ++i)
        require(!lines.names[i].empty() &&
                std::count(lines.names.begin(), lines.names.end(), lines.names[i]) == 1);
      require(std::isfinite(lines.horizontal_m) && lines.horizontal_m > 0);
    }
  } catch (const Refused& refused) {
    require(refused.refusal().file == "lines.csv" && refused.refusal().line >= 0);
  }
  return 0;
}
