#include "reports/print_zone_writer.h"

#include "engine/number_text.h"

namespace quorvel {

namespace {

// Columns are characters: a UTF-8 continuation byte does not start a new one.
int character_count(std::string_view item) {
  int count = 0;
  for (unsigned char byte : item) {
    if ((byte & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace

void PrintZoneWriter::text(std::string_view item) {
  contents_.append(item);
  column_ += character_count(item);
}

void PrintZoneWriter::number(double value) {
  // Minus zero is zero and gets the blank sign like any other zero.
  const bool negative = value < 0;
  const double magnitude = negative ? -value : (value == 0 ? 0.0 : value);
  text(negative ? "-" : " ");
  text(general_number_text(magnitude, decimal_separator_));
  text(" ");
}

void PrintZoneWriter::next_zone() {
  const int next_start = ((column_ - 1) / zone_width + 1) * zone_width + 1;
  tab(next_start);
}

void PrintZoneWriter::tab(int column) {
  if (column <= column_) return;
  contents_.append(static_cast<std::string::size_type>(column - column_), ' ');
  column_ = column;
}

void PrintZoneWriter::end_line() {
  contents_.append("\r\n");
  column_ = 1;
}

}  // namespace quorvel
