#include "field/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "engine/refusal.h"

namespace quorvel {

namespace {

// One conversion descriptor of iconv, into UTF-8, closed when it goes out of scope.
class ToUtf8 {
 public:
  explicit ToUtf8(const char* from) : descriptor_(iconv_open("UTF-8", from)) {}
  ~ToUtf8() {
    if (ok()) iconv_close(descriptor_);
  }
  ToUtf8(const ToUtf8&) = delete;
  ToUtf8& operator=(const ToUtf8&) = delete;

  bool ok() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in` into `out` and returns how many bytes of `in` it took: all of them, unless
  // a sequence is not valid in the encoding or is cut short by the end.
  std::size_t convert(std::string_view in, std::string& out) {
    char* next_in = const_cast<char*>(in.data());  // iconv's interface; it does not write there
    std::size_t left_in = in.size();
    std::size_t used = 0;
    out.resize(in.size() * 2 + 16);
    while (left_in > 0) {
      char* next_out = out.data() + used;
      std::size_t left_out = out.size() - used;
      const std::size_t result = iconv(descriptor_, &next_in, &left_in, &next_out, &left_out);
      used = static_cast<std::size_t>(next_out - out.data());
      if (result != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) break;
      out.resize(out.size() * 2);
    }
    out.resize(used);
    return in.size() - left_in;
  }

 private:
  iconv_t descriptor_;
};

// How many bytes at the start of `text` are whole, well-formed UTF-8 characters: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
std::size_t valid_utf8_length(std::string_view text) {
  const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = begin + text.size();
  const auto* p = begin;
  while (p < end) {
    // Plain ASCII eight bytes at a time: the common case by far.
    if (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, 8);
      if ((block & 0x8080808080808080ULL) == 0) {
        p += 8;
        continue;
      }
    }
    const unsigned lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    int continuation = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      continuation = 1, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      continuation = 2, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      continuation = 3, code = lead & 0x07;
    } else {
      break;
    }
    if (end - p <= continuation) break;
    bool well_formed = true;
    for (int i = 1; i <= continuation; ++i) {
      if ((p[i] & 0xC0) != 0x80) well_formed = false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (!well_formed) break;
    if (continuation == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) break;
    if (continuation == 3 && (code < 0x10000 || code > 0x10FFFF)) break;
    p += continuation + 1;
  }
  return static_cast<std::size_t>(p - begin);
}

// The line on which byte `offset` of `text` lies; CR LF, LF and a lone CR each end a line.
std::int64_t line_at(std::string_view text, std::size_t offset) {
  std::int64_t line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
      ++line;
  return line;
}

[[noreturn]] void refuse(std::string_view source, std::int64_t line, TextEncoding encoding,
                         std::string reason = {}) {
  Refusal refusal;
  refusal.kind = RefusalKind::text_not_decodable;
  refusal.file = std::string(source);
  refusal.line = line;
  refusal.encoding = text_encoding_name(encoding);
  refusal.reason = std::move(reason);
  throw Refused(std::move(refusal));
}

const char* iconv_name(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf16le:
      return "UTF-16LE";
    case TextEncoding::utf16be:
      return "UTF-16BE";
    case TextEncoding::windows1251:
      return "CP1251";
    default:
      return "UTF-8";
  }
}

std::string_view byte_order_mark(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf8:
      return "\xEF\xBB\xBF";
    case TextEncoding::utf16le:
      return "\xFF\xFE";
    case TextEncoding::utf16be:
      return "\xFE\xFF";
    default:
      return {};
  }
}

}  // namespace

std::optional<TextEncoding> text_encoding_named(std::string_view name) {
  std::string key;
  for (char c : name)
    if (c != '-' && c != '_' && c != ' ')
      key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  if (key == "utf8") return TextEncoding::utf8;
  if (key == "utf16le") return TextEncoding::utf16le;
  if (key == "utf16be") return TextEncoding::utf16be;
  if (key == "windows1251" || key == "cp1251") return TextEncoding::windows1251;
  if (key == "auto" || key == "detect") return TextEncoding::detect;
  return std::nullopt;
}

const char* text_encoding_name(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf8:
      return "UTF-8";
    case TextEncoding::utf16le:
      return "UTF-16LE";
    case TextEncoding::utf16be:
      return "UTF-16BE";
    case TextEncoding::windows1251:
      return "Windows-1251";
    default:
      return "";
  }
}

bool is_valid_utf8(std::string_view text) { return valid_utf8_length(text) == text.size(); }

std::string name_as_utf8(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  ToUtf8 converter(iconv_name(TextEncoding::windows1251));
  std::string out;
  while (!bytes.empty()) {
    std::string piece;
    const std::size_t used = converter.ok() ? converter.convert(bytes, piece) : 0;
    out += piece;
    bytes.remove_prefix(used);
    if (bytes.empty()) break;
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte Windows-1251 leaves out (0x98)
    bytes.remove_prefix(1);
  }
  return out;
}

std::string_view utf8_prefix(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t cut = max_bytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

DecodedText decode_text(std::string_view bytes, TextEncoding encoding, std::string_view source) {
  if (encoding == TextEncoding::detect) {
    for (TextEncoding marked : {TextEncoding::utf8, TextEncoding::utf16le, TextEncoding::utf16be})
      if (bytes.substr(0, byte_order_mark(marked).size()) == byte_order_mark(marked)) {
        encoding = marked;
        break;
      }
    if (encoding == TextEncoding::detect)
      encoding = is_valid_utf8(bytes) ? TextEncoding::utf8 : TextEncoding::windows1251;
  }
  const std::string_view mark = byte_order_mark(encoding);
  if (!mark.empty() && bytes.substr(0, mark.size()) == mark) bytes.remove_prefix(mark.size());

  DecodedText decoded;
  decoded.encoding = encoding;
  if (encoding == TextEncoding::utf8) {
    const std::size_t valid = valid_utf8_length(bytes);
    if (valid != bytes.size()) refuse(source, line_at(bytes, valid), encoding);
    decoded.original = bytes;
    return decoded;
  }
  ToUtf8 converter(iconv_name(encoding));
  if (!converter.ok()) refuse(source, 0, encoding, std::strerror(errno));
  decoded.converted = true;
  if (converter.convert(bytes, decoded.storage) != bytes.size())
    refuse(source, line_at(decoded.storage, decoded.storage.size()), encoding);
  return decoded;
}

}  // namespace quorvel
