// Feeds arbitrary bytes to the rules that read a parameter field. A text is either refused
// (Refused) or read as the number it writes; the reading is checked against the C library's
// own conversion of the same text, so a wrong rounding is a finding as much as a crash or a
// sanitizer report is.

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "refusal.h"
#include "text_to_number.h"

namespace {

using namespace quorvel;

using fuzzing::require;

// The text with blanks trimmed and the decimal comma turned into a period, as strtod reads it
// in the "C" locale; empty when the text has a byte strtod would read differently (hex
// floats, "inf", "nan", more than one separator or sign).
std::string as_c_number(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  std::string out;
  for (char c : text) {
    if (c == ',') c = '.';
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
      return {};
    out.push_back(c);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::setlocale(LC_NUMERIC, "C");
  const std::string plain = as_c_number(text);

  try {
    const std::int16_t value = text_to_int16(text);
    require(!plain.empty());
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(plain.c_str(), &end);
    require(end == plain.c_str() + plain.size());
    require(std::fabs(read - value) <= 0.5);
    // A half goes to the even neighbour.
    if (std::fabs(read - value) == 0.5) require(value % 2 == 0);
  } catch (const Refused&) {
  }

  try {
    const float value = text_to_single(text);
    require(std::isfinite(value));
    require(!plain.empty());
    char* end = nullptr;
    const float read = std::strtof(plain.c_str(), &end);
    require(end == plain.c_str() + plain.size());
    require(read == value || (read == 0 && value == 0));
  } catch (const Refused&) {
  }
  return 0;
}
