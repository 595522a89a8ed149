#include "start/word_template.h"

namespace quorvel {

const char* words_for(const Words& words, const Voice& voice) {
  const char* text = words.english;
  if (voice.language == Language::russian) text = words.russian;
  if (voice.language == Language::english && voice.reader == Reader::window &&
      words.window_english != nullptr)
    text = words.window_english;
  return text == nullptr || *text == '\0' ? nullptr : text;
}

std::string fill_words(std::string_view text, const Voice& voice, const WordValue& value) {
  const bool curly = voice.reader == Reader::window && voice.language == Language::english;
  std::string out;
  bool opening = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"' && curly) {
      out += opening ? "“" : "”";
      opening = !opening;
      continue;
    }
    const std::size_t end = text[i] == '{' ? text.find('}', i) : std::string_view::npos;
    if (end != std::string_view::npos) {
      if (const auto said = value(text.substr(i + 1, end - i - 1))) {
        out += *said;
        i = end;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string fill_words(const Words& words, const Voice& voice, const WordValue& value) {
  const char* text = words_for(words, voice);
  return text == nullptr ? std::string() : fill_words(std::string_view(text), voice, value);
}

std::string as_window_sentence(std::string_view text, std::string filled) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z' && !filled.empty())
    filled[0] = static_cast<char>(filled[0] - 'a' + 'A');
  if (!filled.empty() && filled.back() != '.') filled += '.';
  return filled;
}

}  // namespace quorvel
