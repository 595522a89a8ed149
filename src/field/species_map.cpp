#include "field/species_map.h"

#include "engine/input_file.h"
#include "engine/refusal.h"
#include "engine/species_group.h"
#include "field/delimited_rows.h"
#include "field/name_folding.h"

namespace quorvel {

namespace {

std::optional<int> group_of_code(std::string_view code) {
  if (code.size() != 1) return std::nullopt;
  const char upper = (code[0] >= 'a' && code[0] <= 'z') ? static_cast<char>(code[0] - 32) : code[0];
  const auto group = species_group_from_code(std::string_view(&upper, 1));
  if (!group) return std::nullopt;
  return static_cast<int>(*group);
}

// The separator of the first row that holds one: tab, semicolon or comma.
char separator_of(std::string_view text) {
  const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  for (char separator : {'\t', ';', ','})
    if (first.find(separator) != std::string_view::npos) return separator;
  return ',';
}

}  // namespace

std::optional<int> SpeciesMap::group_of(std::string_view name) const {
  if (groups_.empty()) return std::nullopt;
  std::string key;
  key.reserve(name.size());
  append_folded(name, key);
  const auto found = groups_.find(key);
  if (found == groups_.end()) return std::nullopt;
  return found->second;
}

bool SpeciesMap::add(std::string_view name, int group) {
  const auto [where, inserted] = groups_.emplace(folded(name), group);
  return inserted || where->second == group;
}

SpeciesMap parse_species_map(std::string_view bytes, std::string_view source,
                             TextEncoding encoding) {
  const DecodedText decoded = decode_text(bytes, encoding, source);
  RowScanner rows(decoded.text(), separator_of(decoded.text()), source);
  SpeciesMap map;
  bool first = true;
  while (rows.next()) {
    if (rows.empty()) continue;
    const auto& fields = rows.fields();
    const std::string code = fields.size() > 1 ? fields[1].value() : std::string();
    const auto group = group_of_code(code);
    const bool header = first && !group;
    first = false;
    if (header) continue;
    Refusal refusal;
    refusal.file = std::string(source);
    refusal.line = rows.line();
    if (!group || fields[0].text.empty()) {
      // A bad code names the code column; a row without a name names no column.
      refusal.kind = RefusalKind::field_not_valid;
      if (!group) refusal.field = InventoryField::species_code;
      refusal.found = std::string(utf8_prefix(group ? std::string_view() : code, 200));
      throw Refused(std::move(refusal));
    }
    const std::string name = fields[0].value();
    if (!map.add(name, *group)) {
      refusal.kind = RefusalKind::species_listed_twice;
      refusal.field = InventoryField::species_code;
      refusal.found = std::string(utf8_prefix(name, 200));
      throw Refused(std::move(refusal));
    }
  }
  return map;
}

SpeciesMap read_species_map(const std::filesystem::path& path, TextEncoding encoding) {
  const std::string bytes = read_input_file(path, side_file_limit);
  return parse_species_map(bytes, path.string(), encoding);
}

}  // namespace quorvel
