// The edges of print-zone layout that the two reports' byte-for-byte tests do not reach.

#include "reports/print_zone_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(PrintZoneWriter, MinusZeroTakesNoSign) {
  PrintZoneWriter out(',');
  out.number(-0.0);
  out.number(-2.5);
  EXPECT_EQ(out.contents(), " 0 -2,5 ");
}

TEST(PrintZoneWriter, NextZoneAlwaysSeparates) {
  PrintZoneWriter out('.');
  out.text("1234567890123");  // ends just before a zone start: one blank
  out.next_zone();
  out.text("12345678901234");  // fills its zone exactly: a whole zone of blanks
  ASSERT_EQ(out.column(), 29);
  out.next_zone();
  EXPECT_EQ(out.column(), 43);
  EXPECT_EQ(out.contents(), "1234567890123 12345678901234" + std::string(14, ' '));

  PrintZoneWriter fresh('.');
  fresh.next_zone();
  EXPECT_EQ(fresh.contents(), std::string(14, ' '));
}

TEST(PrintZoneWriter, CountsCharactersNotBytesAndTabsOnlyForward) {
  PrintZoneWriter out(',');
  out.text("Хвойные");  // seven letters, fourteen bytes
  EXPECT_EQ(out.column(), 8);
  out.tab(5);
  out.next_zone();
  EXPECT_EQ(out.contents(), "Хвойные" + std::string(7, ' '));
}

}  // namespace
}  // namespace quorvel
