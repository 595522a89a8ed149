#include "engine/inventory_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>

#include "../support/refusal_of.h"
#include "../support/temporary_folder.h"
#include "engine/input_file.h"

namespace quorvel {
namespace {

using testing::refusal_of;

Refusal refusal(std::string_view text) {
  return refusal_of([&] { parse_inventory(text, "plot.txt"); });
}

// Each record as "group d1 d2 length stage @line", records joined by "; ".
std::string records(std::string_view text) {
  std::ostringstream out;
  for (const DebrisPiece& p : parse_inventory(text, "p").pieces)
    out << (out.tellp() > 0 ? "; " : "") << p.group << ' ' << p.diameter1 << ' ' << p.diameter2
        << ' ' << p.piece_length << ' ' << p.stage << " @" << p.line;
  return out.str();
}

TEST(InventoryReader, ReadsEveryRecordAsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"S\",20,18.5,10,1\n H, 12 ,\"9\",0.5,2\nC,5,5,3e1,5\n",
       "1 20 18.5 10 1 @1; 2 12 9 0.5 2 @2; 3 5 5 30 5 @3"},
      // A record may span lines, and lines may end in CR LF.
      {"S,20\r\n20,10\r\n1\r\nH,1,2,3,4", "1 20 20 10 1 @1; 2 1 2 3 4 @4"},
      {"\xEF\xBB\xBF\nS,20,20,10,1\n\n  \n\r\nC,1,1,1,1\n\n\n", "1 20 20 10 1 @2; 3 1 1 1 1 @6"},
      {"S,0,0,1,0\n", "1 0 0 1 0 @1"},
      {"", ""},
      {"\n\n", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(records(text), expected) << text;
}

// Every refusal names the file, where the reader stopped and what it found there; the front
// ends word it.
TEST(InventoryReader, RefusesEveryRecordThatCannotBeProcessedNamingWhereAndWhat) {
  using enum InventoryField;
  using enum RefusalKind;
  const struct {
    const char* text;
    RefusalKind kind;
    int line, record;
    InventoryField field;
    const char* found;
  } cases[] = {
      {"S,20,20,10,1\ns,20,20,10,1\n", field_not_valid, 2, 2, species_code, "s"},
      {"S,20,20,10,1\n\nH,abc,20,10,1\n", field_not_valid, 3, 2, diameter1, "abc"},
      {"\"SH\",20,20,10,1", field_not_valid, 1, 1, species_code, "SH"},
      {",20,20,10,1", field_not_valid, 1, 1, species_code, ""},
      {"S,-1,20,10,1", field_not_valid, 1, 1, diameter1, "-1"},
      {"S,2 0,20,10,1", field_not_valid, 1, 1, diameter1, "2 0"},
      {"S,20,nan,10,1", field_not_valid, 1, 1, diameter2, "nan"},
      {"S,20,20,0,1", field_not_valid, 1, 1, length, "0"},
      {"S,20,20,-3,1", field_not_valid, 1, 1, length, "-3"},
      {"S,20,20,inf,1", field_not_valid, 1, 1, length, "inf"},
      {"S,20,20,1e400,1", field_not_valid, 1, 1, length, "1e400"},
      {"S,20,20,10,6", field_not_valid, 1, 1, stage, "6"},
      {"S,20,20,10,1.5", field_not_valid, 1, 1, stage, "1.5"},
      {"S,20,20,10,-1", field_not_valid, 1, 1, stage, "-1"},
      {"S,20,20,10,", field_not_valid, 1, 1, stage, ""},
      {"S,20,20,10,1 extra", field_not_valid, 1, 1, stage, "1 extra"},
      {"S,20,20,10,1,", record_incomplete, 1, 2, species_code, ""},
      {"S,20\n\n20", record_incomplete, 3, 1, diameter2, ""},
      {"\"S,20,20,10,1", unclosed_quote, 1, 0, none, ""},
      {"S,1,1,1,1\n\"S\"x,20,20,10,1", text_after_quote, 2, 0, none, "x,20,20,10"},
  };
  for (const auto& c : cases) {
    const Refusal r = refusal(c.text);
    EXPECT_EQ(std::tie(r.kind, r.file, r.line, r.record, r.field, r.found),
              std::make_tuple(c.kind, "plot.txt", c.line, c.record, c.field, c.found))
        << c.text;
  }
  // The bytes found are kept as they are; each front end shows them its own way.
  EXPECT_EQ(refusal(std::string("S,2\0x\x01\xff,20,10,1", 16)).found,
            std::string("2\0x\x01\xff", 5));
}

TEST(InventoryReader, AFileIsNamedAsGivenAndOneThatCannotBeReadIsRefusedAsAWhole) {
  const testing::TemporaryFolder folder;
  const std::string path = folder.write("plot.txt", "S,20,20,10,1\nQ,1,1,1,1\n");
  EXPECT_EQ(refusal_of([&] { read_inventory(path); }).file, path);
  const Refusal missing = refusal_of([&] { read_inventory(folder.in("missing.txt")); });
  EXPECT_EQ(std::tie(missing.kind, missing.file, missing.system_error),
            std::make_tuple(RefusalKind::file_missing, folder.in("missing.txt"), ENOENT));
  EXPECT_EQ(refusal_of([&] { read_inventory(folder.path()); }).kind, RefusalKind::file_is_folder);
  // Refused by its kind, before a read that would wait for a writer.
  ASSERT_EQ(::mkfifo(folder.in("pipe.txt").c_str(), 0644), 0);
  EXPECT_EQ(refusal_of([&] { read_inventory(folder.in("pipe.txt")); }).kind,
            RefusalKind::file_not_regular);
}

// The limit is the most bytes a file may hold; a larger one is refused by its size, unread.
TEST(InputFile, AFileAtItsLimitIsReadAndOneByteMoreIsRefusedNamingTheLimit) {
  const testing::TemporaryFolder folder;
  const std::string path = folder.write("plot.txt", "S,20,20,10,1\n");
  EXPECT_EQ(read_input_file(path, 13), "S,20,20,10,1\n");
  const Refusal over = refusal_of([&] { read_input_file(path, 12); });
  EXPECT_EQ(std::tie(over.kind, over.file, over.limit),
            std::make_tuple(RefusalKind::file_too_large, path, 12));
  std::filesystem::resize_file(path, tally_file_limit + 1);  // sparse: takes no room
  EXPECT_EQ(refusal_of([&] { read_inventory(path); }).limit, tally_file_limit);
}

}  // namespace
}  // namespace quorvel
