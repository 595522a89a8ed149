#include "engine/species_group.h"

namespace quorvel {

std::optional<SpeciesGroup> species_group_from_code(std::string_view code) {
  if (code == "S") return SpeciesGroup::soft_broadleaf;
  if (code == "H") return SpeciesGroup::hard_broadleaf;
  if (code == "C") return SpeciesGroup::conifer;
  return std::nullopt;
}

char species_code_of(int group) {
  static constexpr char codes[] = {'?', 'S', 'H', 'C'};
  return (group >= 1 && group <= 3) ? codes[group] : '?';
}

}  // namespace quorvel
