#pragma once
// Who a message is said to and in which language: the batch's terminal and files in English, or
// the window's message boxes and status line in Russian or English, with the window's decimal
// separator. Each table of words picks its text and fills in its values by it.

namespace quorvel {

enum class Language { russian, english };

// The batch names command-line options and quotes what it shows for a terminal; the window
// names its fields and speaks in sentences.
enum class Reader { batch, window };

struct Voice {
  Reader reader = Reader::batch;
  Language language = Language::english;
  char decimal_separator = '.';
};

constexpr Voice batch_voice{};

constexpr Voice window_voice(Language language, char decimal_separator) {
  return {Reader::window, language, decimal_separator};
}

}  // namespace quorvel
