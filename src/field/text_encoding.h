#pragma once
// The text of an input file as UTF-8, whatever encoding it was saved in: UTF-8 with or without
// a byte-order mark, UTF-16 LE or BE with one ("Unicode text" of a spreadsheet), or
// Windows-1251 (a spreadsheet in a Russian locale) when the bytes are no valid UTF-8.
// The conversion is the C library's iconv.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

enum class TextEncoding { detect, utf8, utf16le, utf16be, windows1251 };

// "utf-8", "utf8", "utf-16le", "utf-16be", "windows-1251", "cp1251" in any letter case.
std::optional<TextEncoding> text_encoding_named(std::string_view name);
// The usual name: "UTF-8", "UTF-16LE", "UTF-16BE", "Windows-1251" ("" for detect).
const char* text_encoding_name(TextEncoding encoding);

// UTF-8 text without a byte-order mark: the input bytes themselves where they were UTF-8
// already (so the bytes must outlive it), else their conversion.
struct DecodedText {
  TextEncoding encoding = TextEncoding::utf8;
  bool converted = false;
  std::string_view original;  // the UTF-8 input after its byte-order mark
  std::string storage;        // the conversion

  std::string_view text() const { return converted ? std::string_view(storage) : original; }
};

// With TextEncoding::detect: a byte-order mark names the encoding, else valid UTF-8 is taken as
// it is and anything else as Windows-1251. Bytes that are no text in the encoding throw Refused
// (text_not_decodable) naming `source`, the line and the encoding.
DecodedText decode_text(std::string_view bytes, TextEncoding encoding, std::string_view source);

bool is_valid_utf8(std::string_view text);

// A name from the file system or a file (a path, a plot, a stratum) as UTF-8 for the outputs:
// as it is when valid UTF-8, else read as Windows-1251, as the tallies are; a byte that is no
// text even then becomes U+FFFD. Never throws on the bytes.
std::string name_as_utf8(std::string_view bytes);

// The longest start of `text` of at most `max_bytes` bytes that ends between two characters.
std::string_view utf8_prefix(std::string_view text, std::size_t max_bytes);

}  // namespace quorvel
