#include "report_paths.h"

#include "refusal.h"

namespace quorvel {

namespace {

constexpr int dropped_characters = 4;

bool starts_character(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

ReportPaths report_paths_for(const std::string& inventory_path) {
  // Walk back over whole characters: a continuation byte goes with the character it ends.
  std::string::size_type stem_length = inventory_path.size();
  int dropped = 0;
  while (dropped < dropped_characters && stem_length > 0) {
    --stem_length;
    if (starts_character(inventory_path[stem_length])) ++dropped;
  }
  if (dropped < dropped_characters)
    throw Refused({.kind = RefusalKind::reports_unnamed, .file = inventory_path});
  const std::string stem = inventory_path.substr(0, stem_length);
  return ReportPaths{stem + "m_results.txt", stem + "s_results.txt"};
}

}  // namespace quorvel
