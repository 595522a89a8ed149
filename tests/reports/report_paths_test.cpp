#include "report_paths.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace quorvel {
namespace {

TEST(ReportPaths, ReportsStandBesideTheInventory) {
  const ReportPaths paths = report_paths_for("/data/plot7.txt");
  EXPECT_EQ(paths.stock, "/data/plot7m_results.txt");
  EXPECT_EQ(paths.estimate, "/data/plot7s_results.txt");
}

TEST(ReportPaths, DoubledSeparatorAtTheRootIsKept) {
  const ReportPaths paths = report_paths_for("//PLOT7.TXT");
  EXPECT_EQ(paths.stock, "//PLOT7m_results.txt");
  EXPECT_EQ(paths.estimate, "//PLOT7s_results.txt");
}

TEST(ReportPaths, SameInventoryGivesSamePaths) {
  const ReportPaths first = report_paths_for("/data/plot7.txt");
  const ReportPaths second = report_paths_for("/data/plot7.txt");
  EXPECT_EQ(first.stock, second.stock);
  EXPECT_EQ(first.estimate, second.estimate);
}

TEST(ReportPaths, AReportChosenAsInventoryGetsLongerNames) {
  const ReportPaths paths = report_paths_for("/data/plot7m_results.txt");
  EXPECT_EQ(paths.stock, "/data/plot7m_resultsm_results.txt");
  EXPECT_EQ(paths.estimate, "/data/plot7m_resultss_results.txt");
}

TEST(ReportPaths, LastFourCharactersGoWhateverTheyAre) {
  EXPECT_EQ(report_paths_for("/data/plot7.csv").stock, "/data/plot7m_results.txt");
  EXPECT_EQ(report_paths_for("/data/notes.text").stock, "/data/notes.m_results.txt");
  EXPECT_EQ(report_paths_for("/data/plot7").estimate, "/data/ps_results.txt");
}

TEST(ReportPaths, CyrillicNamesAreCutBetweenLetters) {
  EXPECT_EQ(report_paths_for("/данные/участок7.txt").stock, "/данные/участок7m_results.txt");
  // The last four characters are Cyrillic letters of two bytes each: all four go, not two.
  const ReportPaths paths = report_paths_for("/данные/опись");
  EXPECT_EQ(paths.stock, "/данные/оm_results.txt");
  EXPECT_EQ(paths.estimate, "/данные/оs_results.txt");
  // Letters outside the two-byte range count as one character too.
  EXPECT_EQ(report_paths_for("/d/a€𝄞€𝄞").stock, "/d/am_results.txt");
}

TEST(ReportPaths, FourCharactersLeaveAnEmptyStem) {
  EXPECT_EQ(report_paths_for(".txt").stock, "m_results.txt");
  EXPECT_EQ(report_paths_for("дата").estimate, "s_results.txt");
}

TEST(ReportPaths, ShorterPathNamesNoInventory) {
  EXPECT_THROW(report_paths_for(""), std::invalid_argument);
  EXPECT_THROW(report_paths_for("txt"), std::invalid_argument);
  EXPECT_THROW(report_paths_for("дат"), std::invalid_argument);  // six bytes, three letters
}

}  // namespace
}  // namespace quorvel
