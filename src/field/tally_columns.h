#pragma once
// The columns a header row of a tally may name, in English or Russian. A name is compared
// folded to small letters, without blanks, underscores and dots, and without a unit in
// brackets or after an underscore: "d1_cm", "Diameter 1 (cm)", "Длина (м)", "Стадия
// разложения" all name columns.

#include <optional>
#include <string_view>

#include "engine/refusal.h"

namespace quorvel {

// The column a header cell names, if any.
std::optional<InventoryField> tally_column_named(std::string_view header_cell);

// Whether a header cell is the column a user named (e.g. a plot column given as an option):
// the same text, or the same once compared as above.
bool names_same_column(std::string_view header_cell, std::string_view name);

}  // namespace quorvel
