#pragma once
// Names typed by people (column names, species words) compared without regard to letter case.
// The names are Russian and English words, so the folding covers the Basic Latin and Cyrillic
// capitals, whose small letters lie at fixed offsets; it also writes ё as е, as much Russian
// text does ("берёза", "береза"). Other characters are kept as they are.

#include <string>
#include <string_view>

namespace quorvel {

// `text` is UTF-8; the folded form is appended to `out`.
void append_folded(std::string_view text, std::string& out);

std::string folded(std::string_view text);

}  // namespace quorvel
