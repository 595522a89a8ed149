#pragma once
// A value as a message shows it, the same for every message: a text found in a file cut to what
// is enough to recognise it, and numbers.

#include <cstddef>
#include <string>
#include <string_view>

#include "start/voice.h"

namespace quorvel {

// The length of the UTF-8 character that starts text[i], or 0 when no valid one starts there.
std::size_t utf8_character_length(std::string_view text, std::size_t i);

// For a terminal: in straight quotes, control characters, quotes and bytes that are no UTF-8
// escaped ("\x22"), cut after 40 characters with "...".
std::string quoted_for_terminal(std::string_view text);

// For the window: in the language's quotes («» or “”), cut after 40 characters with "…" and
// without the blanks before the cut.
std::string quoted_for_window(std::string_view text, Language language);

// The shortest text that reads back to the same number: 0.05, 1e-300.
std::string shortest_number_text(double value);

// To a tenth, without a trailing tenth of 0, halves away from zero as the window has always
// written them: 450, 141,4, and 0,3 for 0.25.
std::string tenth_number_text(double value, char decimal_separator);

}  // namespace quorvel
