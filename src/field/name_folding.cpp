#include "field/name_folding.h"

namespace quorvel {

void append_folded(std::string_view text, std::string& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'A' && c <= 'Z') {
      out.push_back(static_cast<char>(c - 'A' + 'a'));
      continue;
    }
    // U+0400..U+047F take two bytes, D0 or D1 and a continuation byte.
    const bool cyrillic = (c == 0xD0 || c == 0xD1) && i + 1 < text.size() &&
                          (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80;
    if (!cyrillic) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
    if (code >= 0x410 && code <= 0x42F) {
      code += 0x20;  // А..Я -> а..я
    } else if (code >= 0x400 && code <= 0x40F) {
      code += 0x50;  // Ѐ..Џ (Ё among them) -> ѐ..џ
    }
    if (code == 0x451) code = 0x435;  // ё -> е
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::string folded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  append_folded(text, out);
  return out;
}

}  // namespace quorvel
