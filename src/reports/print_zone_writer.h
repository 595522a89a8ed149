#pragma once
// Lines in print-zone layout: zones of 14 columns starting at columns 1, 15, 29, ...; a number
// item is a sign position, the general number text and one blank; a text item stands bare;
// every line ends with carriage return and line feed.

#include <string>
#include <string_view>

namespace quorvel {

class PrintZoneWriter {
 public:
  static constexpr int zone_width = 14;

  explicit PrintZoneWriter(char decimal_separator) : decimal_separator_(decimal_separator) {}

  void text(std::string_view item);
  // A blank or "-", the general number text of the magnitude, and a blank.
  void number(double value);
  // The `,` separator: blanks up to the first zone start beyond the current column, so it
  // always writes at least one blank, a full zone's worth when the column is a zone start.
  void next_zone();
  // Blanks up to `column`; nothing when the line has already reached it.
  void tab(int column);
  void end_line();

  const std::string& contents() const { return contents_; }
  int column() const { return column_; }

 private:
  char decimal_separator_;
  std::string contents_;
  int column_ = 1;  // where the next character goes, counted from 1
};

}  // namespace quorvel
