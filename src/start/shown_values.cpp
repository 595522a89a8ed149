#include "start/shown_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quorvel {

namespace {

constexpr int shown_characters = 40;

// Where the first `count` characters of `text` end; a byte that starts no character counts as
// one.
std::size_t end_of_characters(std::string_view text, int count) {
  std::size_t i = 0;
  for (int characters = 0; i < text.size() && characters < count; ++characters) {
    const std::size_t length = utf8_character_length(text, i);
    i += length == 0 ? 1 : length;
  }
  return i;
}

}  // namespace

std::size_t utf8_character_length(std::string_view text, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return 1;
  std::size_t length = 0;
  if (c >= 0xC2 && c < 0xE0) length = 2;
  if (c >= 0xE0 && c < 0xF0) length = 3;
  if (c >= 0xF0 && c < 0xF5) length = 4;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  const unsigned char d = static_cast<unsigned char>(text[i + 1]);
  if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0) || (c == 0xF0 && d < 0x90) ||
      (c == 0xF4 && d >= 0x90))
    return 0;
  return length;
}

std::string quoted_for_terminal(std::string_view text) {
  const std::size_t end = end_of_characters(text, shown_characters);
  std::string out = "\"";
  for (std::size_t i = 0; i < end;) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8_character_length(text, i);
    if (length > 1 || (length == 1 && c >= 0x20 && c != 0x7f && c != '"')) {
      out.append(text, i, length);
      i += length;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
      ++i;
    }
  }
  if (end < text.size()) out += "...";
  return out + "\"";
}

std::string quoted_for_window(std::string_view text, Language language) {
  const std::size_t end = end_of_characters(text, shown_characters);
  std::string out(text.substr(0, end));
  if (end < text.size()) {
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += "…";
  }
  return language == Language::russian ? "«" + out + "»" : "“" + out + "”";
}

std::string shortest_number_text(double value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string tenth_number_text(double value, char decimal_separator) {
  // A half-way tenth is exact only for a quarter (x.25, x.75): the next number away from zero
  // rounds it away from zero.
  if (std::fabs(std::fmod(value * 4, 2)) == 1)
    value = std::nextafter(value, std::copysign(std::numeric_limits<double>::infinity(), value));
  char buffer[400];
  std::string text(
      buffer,
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1).ptr);
  if (text.ends_with(".0")) text.resize(text.size() - 2);
  for (char& c : text)
    if (c == '.') c = decimal_separator;
  return text;
}

}  // namespace quorvel
