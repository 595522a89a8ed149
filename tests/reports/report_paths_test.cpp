#include "report_paths.h"

#include <gtest/gtest.h>

#include "../support/refusal_of.h"

namespace quorvel {
namespace {

TEST(ReportPaths, TheLastFourCharactersGiveWayToTheReportEndings) {
  const struct {
    const char* inventory;
    const char* stock;
    const char* estimate;
  } cases[] = {
      {"/data/plot7.txt", "/data/plot7m_results.txt", "/data/plot7s_results.txt"},
      {"//PLOT7.TXT", "//PLOT7m_results.txt", "//PLOT7s_results.txt"},
      // A report chosen as inventory gets longer names, not its own.
      {"/data/plot7m_results.txt", "/data/plot7m_resultsm_results.txt",
       "/data/plot7m_resultss_results.txt"},
      // The four characters go whatever they are.
      {"/data/notes.text", "/data/notes.m_results.txt", "/data/notes.s_results.txt"},
      {"/data/plot7", "/data/pm_results.txt", "/data/ps_results.txt"},
      // Cut between letters: Cyrillic letters of two bytes, and letters beyond them.
      {"/данные/участок7.txt", "/данные/участок7m_results.txt", "/данные/участок7s_results.txt"},
      {"/данные/опись", "/данные/оm_results.txt", "/данные/оs_results.txt"},
      {"/d/a€𝄞€𝄞", "/d/am_results.txt", "/d/as_results.txt"},
      {".txt", "m_results.txt", "s_results.txt"},
      {"дата", "m_results.txt", "s_results.txt"},
  };
  for (const auto& c : cases) {
    const ReportPaths paths = report_paths_for(c.inventory);
    EXPECT_EQ(paths.stock, c.stock) << c.inventory;
    EXPECT_EQ(paths.estimate, c.estimate) << c.inventory;
  }
}

TEST(ReportPaths, AShorterPathNamesNoInventory) {
  for (const char* path : {"", "txt", "дат"}) {  // the last: six bytes, three letters
    const Refusal refusal = testing::refusal_of([&] { report_paths_for(path); });
    EXPECT_EQ(refusal.kind, RefusalKind::reports_unnamed) << path;
    EXPECT_EQ(refusal.file, path);
  }
}

}  // namespace
}  // namespace quorvel
