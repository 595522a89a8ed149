#pragma once
// One text in both languages side by side, its values named in braces: "{place}: поле пустое."
// A table of them per kind is the one place where a message is worded; the window's English is
// the batch's unless a row gives its own, where the batch's would name a command-line option or
// a window says it otherwise.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "start/voice.h"

namespace quorvel {

struct Words {
  const char* russian = nullptr;
  const char* english = nullptr;         // the batch's, and the window's unless given below
  const char* window_english = nullptr;  // the window's own English; "" for none
};

// The text for the voice, or nullptr where the row has none for it (none, or an empty one): in a
// table the next row that matches then says it.
const char* words_for(const Words& words, const Voice& voice);

// The value of a name in braces; nothing for a name it does not know.
using WordValue = std::function<std::optional<std::string>(std::string_view name)>;

// The text with each {name} replaced by its value, values taken as they are: a brace, a quote or
// a per cent sign inside a value is never read as anything. In the window's English the straight
// quotes of the text become curly ones.
std::string fill_words(std::string_view text, const Voice& voice, const WordValue& value);

// The same for the voice's text of `words`; empty where they have none for it.
std::string fill_words(const Words& words, const Voice& voice, const WordValue& value);

// The window's English reads in sentences, the batch's lines do not: a capital first letter
// where the text starts with a word of its own rather than a value, and a full stop.
std::string as_window_sentence(std::string_view text, std::string filled);

// A table's row for one key, or `otherwise` when it has none.
template <class Row, std::size_t n, class Key>
const Words& words_of(const Row (&rows)[n], Key key, const Words& otherwise) {
  for (const Row& row : rows)
    if (row.key == key) return row.words;
  return otherwise;
}

}  // namespace quorvel
