// The window and the batch front end make one and the same Start: with the window's seed and
// fields, the batch writes the window's two reports byte for byte.

#include <gtest/gtest.h>

#include <QLocale>
#include <string>

#include "../support/batch_in_process.h"
#include "../support/folder_snapshot.h"
#include "../support/temporary_folder.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

TEST(SharedStart, TheBatchWritesTheWindowsReportsFromTheWindowsSeed) {
  const std::string inventory = "\"S\",20,20,10,1\n\"H\",30,25,3,2\n\"C\",12,8,6,4\n";
  testing::WindowInFolder w;
  w.choose_inventory("plot.txt", inventory);
  w.field("Text5")->setText("7");
  w.field("Text1")->setText("40");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);

  const testing::TemporaryFolder folder;
  const std::string separator = QLocale().decimalPoint() == QStringLiteral(".") ? "." : ",";
  const testing::BatchResult batch = testing::run_batch_in_process(
      {"--seed", std::to_string(w.window->last_start().seed), "--runs", "7", "--transect-length",
       "40", "--decimal-separator", separator, folder.write("plot.txt", inventory)});
  ASSERT_EQ(batch.status, 0) << batch.err;
  for (const char* report : {"plotm_results.txt", "plots_results.txt"})
    EXPECT_EQ(testing::read_file(w.path(report)), testing::file_bytes(folder.in(report))) << report;
}

}  // namespace
}  // namespace quorvel
