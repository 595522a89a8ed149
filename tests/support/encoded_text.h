#pragma once
// A UTF-8 text in another encoding, as a spreadsheet saves it: UTF-16 with its byte-order mark.

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <string_view>

namespace quorvel::testing {

// `encoding` as iconv names it: "CP1251", "UTF-16LE", "UTF-16BE".
inline std::string encoded(std::string_view utf8, const char* encoding) {
  iconv_t cd = iconv_open(encoding, "UTF-8");
  std::string out(utf8.size() * 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* next = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  EXPECT_NE(iconv(cd, &in, &in_left, &next, &out_left), static_cast<std::size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - out_left);
  const std::string_view name(encoding);
  if (name == "UTF-16LE") return "\xFF\xFE" + out;
  if (name == "UTF-16BE") return "\xFE\xFF" + out;
  return out;
}

}  // namespace quorvel::testing
