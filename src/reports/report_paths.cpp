#include "reports/report_paths.h"

#include <string_view>

#include "engine/refusal.h"

namespace quorvel {

namespace {

constexpr int dropped_characters = 4;

bool starts_character(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

bool unsafe_in_file_name(char byte) {
  const auto c = static_cast<unsigned char>(byte);
  return c < 0x20 || c == 0x7F ||
         std::string_view("/\\:*?\"<>|").find(byte) != std::string_view::npos;
}

}  // namespace

// Every unsafe byte is ASCII, so the bytes of a UTF-8 letter are never replaced.
std::string file_name_safe(const std::string& plot_id) {
  std::string safe = plot_id;
  for (char& c : safe)
    if (unsafe_in_file_name(c)) c = '_';
  return safe;
}

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

ReportPaths report_paths_for_plot(const std::string& inventory_path, const std::string& plot_id) {
  ReportPaths paths = report_paths_for(inventory_path);
  if (plot_id.empty()) return paths;
  const std::string_view ending = "m_results.txt";  // as long as "s_results.txt"
  std::string stem = paths.stock.substr(0, paths.stock.size() - ending.size());
  stem += '-';
  stem += file_name_safe(plot_id);
  return ReportPaths{stem + "m_results.txt", stem + "s_results.txt"};
}

}  // namespace quorvel
