// Arbitrary bytes to the strata reader and to the species-map reader, the side files a batch
// reads beside the tallies: a table that keeps the reader's promises, or a refusal naming the file.

#include <cmath>

#include "field/species_map.h"
#include "field/strata_reader.h"
#include "fuzz_checks.h"

using namespace quorvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = text_of(data, size);
  try {
    const StrataTable table = parse_strata(bytes, "strata.csv");
    // Each plot listed once, in a stratum of the table, both named in UTF-8 and not empty.
    require(table.plot_count() == table.plots().size() && !table.plots().empty());
    for (const std::string& plot : table.plots()) {
      const std::string* stratum = table.stratum_of(plot);
      require(stratum && !plot.empty() && !stratum->empty());
      require(is_valid_utf8(plot) && is_valid_utf8(*stratum));
    }
    // Areas finite and above 0, for every stratum or for none.
    require(table.areas().empty() || table.areas().size() == table.strata().size());
    for (std::size_t s = 0; s < table.strata().size(); ++s)
      if (const auto& area = table.area_ha(s)) require(*area > 0 && std::isfinite(*area));
  } catch (const Refused& refused) {
    require(refused.refusal().file == "strata.csv" && refused.refusal().line >= 0);
  }
  try {
    const SpeciesMap map = parse_species_map(bytes, "species.csv");
    // Whatever it lists lies in one of the three groups.
    const std::string_view first = bytes.substr(0, bytes.find_first_of(",;\t\r\n"));
    if (const auto group = map.group_of(first)) require(*group >= 1 && *group <= 3);
  } catch (const Refused& refused) {
    require(refused.refusal().file == "species.csv" && refused.refusal().line >= 0);
  }
  return 0;
}
