#include "inventory_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "input_error.h"

namespace quorvel {
namespace {

std::string refusal(std::string_view text) {
  try {
    parse_inventory(text, "plot.txt");
  } catch (const InputError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(InventoryReader, ReadsQuotedAndBareFieldsWithBlanksInFront) {
  const Inventory inv =
      parse_inventory("\"S\",20,18.5,10,1\n H, 12 ,\"9\",0.5,2\nC,5,5,3e1,5\n", "p");
  ASSERT_EQ(inv.pieces.size(), 3u);
  EXPECT_EQ(inv.pieces[0].group, 1);
  EXPECT_EQ(inv.pieces[0].diameter2, 18.5);
  EXPECT_EQ(inv.pieces[0].piece_length, 10);
  EXPECT_EQ(inv.pieces[1].group, 2);
  EXPECT_EQ(inv.pieces[1].diameter1, 12);
  EXPECT_EQ(inv.pieces[1].diameter2, 9);
  EXPECT_EQ(inv.pieces[1].stage, 2);
  EXPECT_EQ(inv.pieces[1].line, 2);
  EXPECT_EQ(inv.pieces[2].group, 3);
  EXPECT_EQ(inv.pieces[2].piece_length, 30);
}

TEST(InventoryReader, ARecordMaySpanLinesAndLineEndsMayBeCrLf) {
  const Inventory a = parse_inventory("S,20\r\n20,10\r\n1\r\nH,1,2,3,4", "p");
  ASSERT_EQ(a.pieces.size(), 2u);
  EXPECT_EQ(a.pieces[0].stage, 1);
  EXPECT_EQ(a.pieces[1].line, 4);
}

TEST(InventoryReader, SkipsByteOrderMarkAndBlankLines) {
  const Inventory inv =
      parse_inventory("\xEF\xBB\xBF\nS,20,20,10,1\n\n  \n\r\nC,1,1,1,1\n\n\n", "p");
  ASSERT_EQ(inv.pieces.size(), 2u);
  EXPECT_EQ(inv.pieces[1].line, 6);
  EXPECT_TRUE(parse_inventory("", "p").pieces.empty());
  EXPECT_TRUE(parse_inventory("\n\n", "p").pieces.empty());
}

TEST(InventoryReader, StageZeroAndZeroDiameterAreAccepted) {
  const Inventory inv = parse_inventory("S,0,0,1,0\n", "p");
  EXPECT_EQ(inv.pieces[0].stage, 0);
  EXPECT_EQ(inv.pieces[0].diameter1, 0);
}

TEST(InventoryReader, RefusalNamesFileLineRecordAndField) {
  EXPECT_EQ(refusal("S,20,20,10,1\ns,20,20,10,1\n"),
            "plot.txt, line 2, record 2, field 1 (species code): expected the species code "
            "\"S\", \"H\" or \"C\", found \"s\"");
  EXPECT_EQ(refusal("S,20,20,10,1\n\nH,abc,20,10,1\n"),
            "plot.txt, line 3, record 2, field 2 (diameter 1): expected a diameter in cm, a "
            "number not below 0 (period as decimal point), found \"abc\"");
}

TEST(InventoryReader, RefusesEveryRecordThatCannotBeProcessed) {
  const struct {
    const char* text;
    const char* field;
  } cases[] = {
      {"X,20,20,10,1", "field 1 (species code)"},
      {"\"SH\",20,20,10,1", "field 1 (species code)"},
      {",20,20,10,1", "field 1 (species code)"},
      {"S,-1,20,10,1", "field 2 (diameter 1)"},
      {"S,20,nan,10,1", "field 3 (diameter 2)"},
      {"S,20,20,0,1", "field 4 (length)"},
      {"S,20,20,-3,1", "field 4 (length)"},
      {"S,20,20,inf,1", "field 4 (length)"},
      {"S,20,20,1e400,1", "field 4 (length)"},
      {"S,20,20,10,6", "field 5 (stage)"},
      {"S,20,20,10,1.5", "field 5 (stage)"},
      {"S,20,20,10,-1", "field 5 (stage)"},
      {"S,20,20,10,", "field 5 (stage)"},
      {"S,20,20,10,1 extra", "field 5 (stage)"},
      {"S,2 0,20,10,1", "field 2 (diameter 1)"},
      {"S,20,20,10,1,", "ends inside the record"},
      {"S,20,20", "ends inside the record after field 3 (diameter 2)"},
      {"\"S,20,20,10,1", "no closing quote"},
      {"\"S\"x,20,20,10,1", "after a quoted field"},
  };
  for (const auto& c : cases)
    EXPECT_NE(refusal(c.text).find(c.field), std::string::npos)
        << c.text << " -> " << refusal(c.text);
}

TEST(InventoryReader, MessagesEscapeBytesThatAreNotPlainText) {
  const std::string message = refusal(std::string("S,2\0x\x01\xff,20,10,1", 16));
  EXPECT_NE(message.find("\\x00"), std::string::npos) << message;
  EXPECT_NE(message.find("\\xFF"), std::string::npos) << message;
}

class InventoryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("quorvel_inventory_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(InventoryFileTest, ReadsAFileAndNamesItInMessages) {
  const auto path = dir_ / "plot.txt";
  std::ofstream(path) << "S,20,20,10,1\nQ,1,1,1,1\n";
  try {
    read_inventory(path);
    FAIL();
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(path.string() + ", line 2, record 2", 0), 0u) << e.what();
  }
}

TEST_F(InventoryFileTest, MissingFileAndDirectoryAreRefused) {
  EXPECT_THROW(read_inventory(dir_ / "missing.txt"), InputError);
  try {
    read_inventory(dir_);
    FAIL();
  } catch (const InputError& e) {
    EXPECT_NE(std::string(e.what()).find("directory"), std::string::npos);
  }
}

}  // namespace
}  // namespace quorvel
