#pragma once
// Reads an inventory file: a stream of fields separated by commas or line ends, five fields
// to a record (species code, two diameters in cm, length in m, stage). Every record is checked;
// the first one that cannot be processed refuses the whole file: Refused names the file, the
// line, the record, the field and the text found there.

#include <filesystem>
#include <string_view>

#include "engine/inventory.h"

namespace quorvel {

Inventory read_inventory(const std::filesystem::path& path);

// The same rules on text already in memory; `source` names it in messages.
Inventory parse_inventory(std::string_view text, std::string_view source);

}  // namespace quorvel
