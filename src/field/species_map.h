#pragma once
// Species written in a tally as words ("дуб", "oak") or numbers ("12"), and the group each
// stands for. Read from a CSV file of `name,code` rows, code S, H or C; names are compared
// without regard to letter case, Cyrillic included, and with ё taken as е.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "field/text_encoding.h"

namespace quorvel {

class SpeciesMap {
 public:
  // The group 1..3 of a name, or nothing when the map does not list it.
  std::optional<int> group_of(std::string_view name) const;

  // False when the name is already listed with another group.
  bool add(std::string_view name, int group);

  bool empty() const { return groups_.empty(); }
  std::size_t size() const { return groups_.size(); }

 private:
  std::unordered_map<std::string, int> groups_;  // by folded name
};

// Rows of a name and a code separated by a comma, semicolon or tab; blank rows are skipped, and
// so is a first row whose code is no species code (a header). Throws Refused naming the file
// and the line: a row without a name or with another code (field_not_valid), a name listed with
// two codes (species_listed_twice), and the refusals of a file that cannot be read or decoded.
SpeciesMap read_species_map(const std::filesystem::path& path,
                            TextEncoding encoding = TextEncoding::detect);
SpeciesMap parse_species_map(std::string_view bytes, std::string_view source,
                             TextEncoding encoding = TextEncoding::detect);

}  // namespace quorvel
