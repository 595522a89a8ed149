#pragma once
// Reads a strata file: which stratum each plot belongs to and, optionally, the area of each
// stratum. The bytes are decoded as a tally's (a byte-order mark, else UTF-8, else
// Windows-1251). A header row names the columns `plot`, `stratum` and optionally `area_ha` (any
// order, any case, other columns ignored); fields are separated by commas, or by semicolons
// when the header holds more semicolons than commas, and may be double-quoted (a quoted field
// may hold line breaks). The area is that of the whole stratum, in hectares, above 0: it may
// stand on every row of the stratum or on some of them, but where it stands it must agree, and
// each stratum needs one. In a semicolon file it may be written with a decimal comma. Rows may
// leave out empty fields at their end or carry empty ones beyond the header. Anything else refuses
// the whole file (Refused); a row without its plot or stratum is record_incomplete naming the first
// of the two it lacks. A file that cannot be read is refused with field = stratum, which names it a
// strata file.

#include <filesystem>
#include <string_view>

#include "field/strata_table.h"

namespace quorvel {

StrataTable read_strata(const std::filesystem::path& path);

// The same rules on bytes already in memory; `file` names it in refusals.
StrataTable parse_strata(std::string_view bytes, std::string_view file);

}  // namespace quorvel
