#include "reports/report_paths.h"

#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(std::tie(paths.stock, paths.estimate), std::tie(c.stock, c.estimate)) << c.inventory;
  }
}

TEST(ReportPaths, APlotsReportsAddItsIdMadeSafeForAFileName) {
  const struct {
    const char *inventory, *plot, *stock;
  } cases[] = {
      {"/data/tally.csv", "P07", "/data/tally-P07m_results.txt"},
      {"/data/tally.csv", "", "/data/tallym_results.txt"},
      {"/данные/опись.csv", "участок 3", "/данные/опись-участок 3m_results.txt"},
      {"/data/t.tsv", "a/b\\c:d*e?f\"g<h>i|j", "/data/t-a_b_c_d_e_f_g_h_i_jm_results.txt"},
      {"/data/t.tsv", "..\t1", "/data/t-.._1m_results.txt"},
  };
  for (const auto& c : cases) {
    const ReportPaths paths = report_paths_for_plot(c.inventory, c.plot);
    EXPECT_EQ(paths.stock, c.stock) << c.plot;
    const std::string stem = paths.stock.substr(0, paths.stock.size() - 13);
    EXPECT_EQ(paths.estimate, stem + "s_results.txt") << c.plot;
  }
}

TEST(ReportPaths, AShorterPathNamesNoInventory) {
  for (const char* path : {"", "txt", "дат"}) {  // the last: six bytes, three letters
    const Refusal refusal = testing::refusal_of([&] { report_paths_for(path); });
    EXPECT_EQ(std::tie(refusal.kind, refusal.file), std::tuple(RefusalKind::reports_unnamed, path));
  }
}

}  // namespace
}  // namespace quorvel
