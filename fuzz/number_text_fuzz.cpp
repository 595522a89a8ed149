// Arbitrary doubles as the general number text: the promised form (at most fifteen significant
// digits, no trailing zeros, the given separator, exponent form only at the extremes), the value
// rounded once to fifteen digits, and read back as the same number by the field rules.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/number_text.h"
#include "engine/text_to_number.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

void check_form(const std::string& text, double value, char separator) {
  require(!text.empty());
  const char other = separator == ',' ? '.' : ',';
  require(text.find(other) == std::string::npos);
  const std::size_t exponent = text.find('E');
  const std::string mantissa = text.substr(0, exponent);
  int significant = 0;
  bool leading = true;
  for (char c : mantissa) {
    if (c >= '1' && c <= '9') leading = false;
    if (c >= '0' && c <= '9' && !leading) ++significant;
  }
  require(significant <= 15);
  const std::size_t point = mantissa.find(separator);
  if (point != std::string::npos) {
    require(point + 1 < mantissa.size());
    require(mantissa.back() != '0');
  }
  const double magnitude = std::fabs(value);
  if (exponent == std::string::npos)
    require(magnitude < 1e15);
  else
    require(magnitude >= 9.999999999999995e14 || magnitude < 1.00000000000001e-5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double)) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const char separator = (size > sizeof value && (data[sizeof value] & 1)) ? '.' : ',';

  const std::string text = general_number_text(value, separator);
  if (!std::isfinite(value)) {
    require(text == "NaN" || text == "Inf" || text == "-Inf");
    return 0;
  }
  check_form(text, value, separator);

  // The value rounded once to fifteen significant digits, as the C library writes it.
  char expected_digits[64];
  std::snprintf(expected_digits, sizeof expected_digits, "%.14e", value);
  const double expected = std::strtod(expected_digits, nullptr);
  std::string plain = text;
  for (char& c : plain)
    if (c == separator) c = '.';
  require(std::strtod(plain.c_str(), nullptr) == expected);

  // A shown number typed back into a field is read as the same number.
  try {
    const float single = text_to_single(text);
    require(single == std::strtof(plain.c_str(), nullptr));
  } catch (const Refused&) {
    // Refused only where single precision cannot hold it: overflow, or underflow below the
    // normal range, as the C library also reports.
    errno = 0;
    (void)std::strtof(plain.c_str(), nullptr);
    require(errno == ERANGE);
  }
  return 0;
}
