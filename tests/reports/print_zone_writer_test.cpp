#include "print_zone_writer.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(PrintZoneWriterNumber, CarriesSignPositionAndTrailingBlank) {
  PrintZoneWriter out(',');
  out.number(5);
  out.number(0);
  out.number(-2.5);
  out.number(0.880415616741942);
  EXPECT_EQ(out.contents(), " 5  0 -2,5  0,880415616741942 ");
  EXPECT_EQ(out.column(), 1 + 3 + 3 + 5 + 19);
}

TEST(PrintZoneWriterNumber, MinusZeroIsWrittenAsZero) {
  PrintZoneWriter out('.');
  out.number(-0.0);
  EXPECT_EQ(out.contents(), " 0 ");
}

TEST(PrintZoneWriterNumber, UsesTheGivenDecimalSeparator) {
  PrintZoneWriter comma(',');
  PrintZoneWriter point('.');
  comma.number(-1234.5);
  point.number(-1234.5);
  EXPECT_EQ(comma.contents(), "-1234,5 ");
  EXPECT_EQ(point.contents(), "-1234.5 ");
}

TEST(PrintZoneWriterZones, MovesToTheNextZoneStart) {
  PrintZoneWriter out('.');
  out.text("Softwood");
  out.next_zone();
  EXPECT_EQ(out.column(), 15);
  out.text("x");
  out.next_zone();
  EXPECT_EQ(out.column(), 29);
  EXPECT_EQ(out.contents(), "Softwood      x             ");
}

TEST(PrintZoneWriterZones, ItemEndingJustBeforeAZoneGetsOneBlank) {
  PrintZoneWriter out('.');
  out.text("1234567890123");  // columns 1..13
  out.next_zone();
  out.text("x");
  EXPECT_EQ(out.contents(), "1234567890123 x");
}

TEST(PrintZoneWriterZones, AtAZoneStartTheSeparatorSkipsAWholeZone) {
  // An item filling its zone exactly leaves the column at the next zone start; the separator
  // still separates, so the next item goes one zone further.
  PrintZoneWriter out('.');
  out.text("12345678901234");
  ASSERT_EQ(out.column(), 15);
  out.next_zone();
  EXPECT_EQ(out.column(), 29);
  out.text("x");
  EXPECT_EQ(out.contents(), "12345678901234" + std::string(14, ' ') + "x");

  PrintZoneWriter fresh('.');
  fresh.next_zone();
  EXPECT_EQ(fresh.contents(), std::string(14, ' '));
}

TEST(PrintZoneWriterZones, CountsCharactersNotBytes) {
  PrintZoneWriter out(',');
  out.text("Хвойные");  // seven letters, fourteen bytes
  EXPECT_EQ(out.column(), 8);
  out.next_zone();
  EXPECT_EQ(out.column(), 15);
  EXPECT_EQ(out.contents(), "Хвойные" + std::string(7, ' '));
}

TEST(PrintZoneWriterZones, TabFillsToTheColumnOnlyWhenBehindIt) {
  PrintZoneWriter out('.');
  out.tab(3);
  out.text("Species");
  out.tab(5);
  EXPECT_EQ(out.contents(), "  Species");
  EXPECT_EQ(out.column(), 10);
}

TEST(PrintZoneWriterLines, EndLineWritesCrLfAndRestartsTheColumn) {
  PrintZoneWriter out('.');
  out.text("Total carbon=");
  out.number(1);
  out.end_line();
  EXPECT_EQ(out.column(), 1);
  out.end_line();
  out.text("ab");
  out.next_zone();
  EXPECT_EQ(out.contents(), "Total carbon= 1 \r\n\r\nab            ");
}

}  // namespace
}  // namespace quorvel
