// Arbitrary bytes to the parameter field rules: refused, or read as the C library reads the
// same text, so a wrong rounding is a finding as much as a crash is.

#include <clocale>
#include <string>

#include "engine/text_to_number.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

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
  const std::string_view text = text_of(data, size);
  std::setlocale(LC_NUMERIC, "C");
  const std::string plain = as_c_number(text);

  try {
    const std::int16_t value = text_to_int16(text);
    require(!plain.empty());
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
