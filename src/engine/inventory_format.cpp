#include "inventory_format.h"

#include <charconv>
#include <string>

#include "input_error.h"
#include "inventory_reader.h"
#include "text_encoding.h"

namespace quorvel {

namespace {

bool take(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool take_number(std::string_view& text, std::int64_t& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc{}) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return true;
}

// The text of a quoted field as the reader shows it: \xNN for bytes that are not plain ASCII,
// "..." after the first 40 bytes. The bytes come back; a character cut by the 40 is dropped.
std::string shown_text(std::string_view quoted) {
  std::string text;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    unsigned byte = 0;
    if (quoted[i] == '\\' && i + 4 <= quoted.size() && quoted[i + 1] == 'x' &&
        std::from_chars(quoted.data() + i + 2, quoted.data() + i + 4, byte, 16).ptr ==
            quoted.data() + i + 4) {
      text.push_back(static_cast<char>(byte));
      i += 3;
    } else {
      text.push_back(quoted[i]);
    }
  }
  if (text.size() == 43 && text.substr(40) == "...") text.resize(40);
  while (!text.empty() && !is_valid_utf8(text)) text.pop_back();
  return text;
}

// Between the first quote after `marker` and the last quote of the message.
std::string found_after(std::string_view message, std::string_view marker) {
  const auto at = message.rfind(marker);
  const auto last = message.rfind('"');
  if (at == std::string_view::npos || last == std::string_view::npos) return {};
  const auto first = at + marker.size();
  if (last < first) return {};
  return shown_text(message.substr(first, last - first));
}

Refusal refusal_from_words(std::string_view message, std::string_view source) {
  Refusal refusal;
  refusal.kind = RefusalKind::field_not_valid;
  refusal.file = std::string(source);
  std::string_view rest = message;
  std::int64_t field = 0;
  if (!take(rest, source) || !take(rest, ", line ") || !take_number(rest, refusal.line)) {
    refusal.reason = std::string(message);
  } else if (take(rest, ": a quoted field has no closing quote")) {
    refusal.kind = RefusalKind::unclosed_quote;
  } else if (take(rest, ": unexpected text ")) {
    refusal.kind = RefusalKind::text_after_quote;
    const auto end = message.rfind("\" after a quoted field");
    if (end != std::string_view::npos && rest.size() > 1 && rest[0] == '"')
      refusal.found = shown_text(message.substr(message.size() - rest.size() + 1,
                                                end - (message.size() - rest.size() + 1)));
  } else if (take(rest, ", record ") && take_number(rest, refusal.record)) {
    if (take(rest, ", field ") && take_number(rest, field)) {
      refusal.found = found_after(message, ", found \"");
    } else if (take(rest, ": the file ends inside the record after field ") &&
               take_number(rest, field)) {
      refusal.kind = RefusalKind::record_incomplete;
    } else {
      refusal.reason = std::string(message);
    }
  } else {
    refusal.reason = std::string(message);
  }
  if (field >= 1 && field <= 5) refusal.field = static_cast<InventoryField>(field);
  return refusal;
}

}  // namespace

InventoryReading read_inventory_format(std::string_view text, std::string_view source) {
  InventoryReading reading;
  try {
    reading.inventory = parse_inventory(text, source);
  } catch (const Refused& refused) {
    reading.refusal = refused.refusal();
  } catch (const InputError& error) {
    reading.refusal = refusal_from_words(error.what(), source);
  }
  return reading;
}

}  // namespace quorvel
