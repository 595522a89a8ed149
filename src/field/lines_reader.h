#pragma once
// Reads a lines file: the lines (transects) of each plot and their horizontal lengths, which
// take the place of the one transect of L metres. A header row names the columns plot, line
// and either a horizontal length or a slope distance with its slope in percent (horizontal =
// slope distance / sqrt(1 + (slope / 100)^2)); a row may give either where the header has both.
// Several rows of one line are its segments: their lengths add up. A unit in a length's
// header (m, cm, ft) is honoured. Fields are separated by commas, semicolons or tabs, as the
// header has most of; with semicolons or tabs a decimal comma is read too. The bytes are
// decoded as a tally's. Anything else refuses the whole file (Refused, field = line for a file
// that cannot be read, which names it a lines file).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "field/tally_options.h"

namespace quorvel {

struct PlotLines {
  std::vector<std::string> names;  // the plot's lines in the order first met
  double horizontal_m = 0;         // their summed horizontal length, segments in file order
  std::int64_t first_line = 0;     // the file line that first names the plot
};

struct LinesTable {
  std::vector<std::string> plots;  // in the order first met
  std::vector<PlotLines> lines;    // by plot, as `plots`
  std::unordered_map<std::string, std::size_t> index;

  const PlotLines* of(std::string_view plot) const;
};

// `options` gives the columns named by --column (roles plot, line, horizontal, slope_distance,
// slope); the other options of a tally do not apply.
LinesTable read_lines(const std::filesystem::path& path, const TallyOptions& options = {});
LinesTable parse_lines(std::string_view bytes, std::string_view file,
                       const TallyOptions& options = {});

}  // namespace quorvel
