#pragma once
// The three species groups of the tally and the codes that name them in an inventory.

#include <optional>
#include <string_view>

namespace quorvel {

enum class SpeciesGroup : int {
  soft_broadleaf = 1,  // code "S", reported as "Softwood"
  hard_broadleaf = 2,  // code "H", reported as "Hardwood"
  conifer = 3,         // code "C", reported as "Coniferouse"
};

// "S", "H" or "C" exactly, letter case included; anything else names no group.
std::optional<SpeciesGroup> species_group_from_code(std::string_view code);

// The one-letter code of a group index 1..3.
char species_code_of(int group);

}  // namespace quorvel
