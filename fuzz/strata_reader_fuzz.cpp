// Arbitrary bytes to the strata reader and to the species-map reader, the two side files a
// batch reads beside the tallies: each either gives a table whose entries keep the reader's
// promises, or a refusal naming the file.

#include <cmath>
#include <string>

#include "field/species_map.h"
#include "field/strata_reader.h"
#include "field/text_encoding.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

void check_strata(std::string_view bytes) {
  StrataTable table;
  try {
    table = parse_strata(bytes, "strata.csv");
  } catch (const Refused& refused) {
    require(refused.refusal().file == "strata.csv" && refused.refusal().line >= 0);
    return;
  }
  require(table.plot_count() == table.plots().size() && !table.plots().empty());
  // Every plot listed once, in a stratum of the table, with names in UTF-8 that are not empty.
  for (const std::string& plot : table.plots()) {
    const std::string* stratum = table.stratum_of(plot);
    require(stratum != nullptr && !plot.empty() && !stratum->empty());
    require(is_valid_utf8(plot) && is_valid_utf8(*stratum));
  }
  // Areas above 0 and finite, either for every stratum or for none.
  const std::vector<StratumArea> areas = table.areas();
  require(areas.empty() || areas.size() == table.strata().size());
  for (std::size_t s = 0; s < table.strata().size(); ++s)
    if (const auto& area = table.area_ha(s)) require(*area > 0 && std::isfinite(*area));
}

void check_species_map(std::string_view bytes) {
  SpeciesMap map;
  try {
    map = parse_species_map(bytes, "species.csv");
  } catch (const Refused& refused) {
    require(refused.refusal().file == "species.csv" && refused.refusal().line >= 0);
    return;
  }
  // A name it lists is found again, whatever its case, in one of the three groups.
  const DecodedText text = decode_text(bytes, TextEncoding::detect, "species.csv");
  const std::string_view first = text.text().substr(0, text.text().find_first_of(",;\t\r\n"));
  if (const auto group = map.group_of(first)) require(*group >= 1 && *group <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = text_of(data, size);
  check_strata(bytes);
  check_species_map(bytes);
  return 0;
}
