// The window meeting files it cannot use: an inventory that cannot be read, is a folder or has
// gone after it was chosen, and reports that cannot be written. Every case must end with one
// message that names the file, the previous results and plot put back, the earlier reports
// byte for byte as they were, and no temporary file left in the folder.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QFile>
#include <QPushButton>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

#include "../support/folder_snapshot.h"
#include "../support/permission_bits.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::folder_snapshot;
using testing::FolderSnapshot;
using testing::PermissionBitsBind;
using testing::WindowInFolder;

const char* const result_names[] = {"Text10", "Text6",  "Text11", "Text7",  "Text12", "Text28",
                                    "Text4",  "Text13", "Text29", "Text14", "Text9"};

class WindowFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
    w.window->start();
    ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed)
        << w.messages.join("\n").toStdString();
    ASSERT_TRUE(fs::exists(folder() / "plotm_results.txt"));
    results_ = result_texts();
    picture_ = w.window->plot_window().picture();
    w.messages.clear();
  }
  void TearDown() override { ::chmod(folder().c_str(), 0700); }

  fs::path folder() const { return fs::path(w.folder.path().toStdString()); }

  std::vector<QString> result_texts() const {
    std::vector<QString> texts;
    for (const char* name : result_names) texts.push_back(w.field(name)->text());
    return texts;
  }

  // One Start that must be turned away: one message naming `path` (and `reason`, if given),
  // the window as it was and the folder as it was.
  void expect_turned_away(const FolderSnapshot& before, const fs::path& path,
                          const std::string& reason) {
    const StartSummary::Outcome outcome = w.window->last_start().outcome;
    EXPECT_TRUE(outcome == StartSummary::Outcome::refused ||
                outcome == StartSummary::Outcome::failed);
    ASSERT_EQ(w.messages.size(), 1) << w.messages.join("\n").toStdString();
    const std::string message = w.messages[0].toStdString();
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_NE(message.find(reason), std::string::npos) << message;
    EXPECT_EQ(result_texts(), results_);
    EXPECT_EQ(w.window->plot_window().picture(), picture_);
    EXPECT_EQ(folder_snapshot(folder()), before);
    EXPECT_TRUE(w.window->findChild<QPushButton*>("Command1")->isEnabled());
  }

  WindowInFolder w;
  std::vector<QString> results_;
  QImage picture_;
};

TEST_F(WindowFileFaults, UnreadableInventory) {
  const fs::path inventory = folder() / "plot.txt";
  ASSERT_EQ(::chmod(inventory.c_str(), 0), 0);
  const FolderSnapshot before = folder_snapshot(folder());
  {
    PermissionBitsBind bits;
    if (!bits.in_force())
      GTEST_SKIP() << "permission bits cannot be made to bind here; "
                      "FolderInPlaceOfTheInventory takes the same path";
    w.window->start();
  }
  expect_turned_away(before, inventory, std::strerror(EACCES));
}

TEST_F(WindowFileFaults, FolderInPlaceOfTheInventory) {
  const fs::path inventory = folder() / "plot.txt";
  fs::remove(inventory);
  fs::create_directory(inventory);
  const FolderSnapshot before = folder_snapshot(folder());
  w.window->start();
  expect_turned_away(before, inventory, "directory");
}

TEST_F(WindowFileFaults, InventoryRemovedAfterItWasChosen) {
  const fs::path inventory = folder() / "plot.txt";
  fs::remove(inventory);
  const FolderSnapshot before = folder_snapshot(folder());
  w.window->start();
  expect_turned_away(before, inventory, std::strerror(ENOENT));
}

TEST_F(WindowFileFaults, ReadOnlyReportFolder) {
  const FolderSnapshot before = folder_snapshot(folder());
  ASSERT_EQ(::chmod(folder().c_str(), 0555), 0);
  {
    PermissionBitsBind bits;
    if (!bits.in_force())
      GTEST_SKIP() << "permission bits cannot be made to bind here; "
                      "ReportPathIsAFolder takes the same path";
    w.window->start();
  }
  ::chmod(folder().c_str(), 0700);
  expect_turned_away(before, folder() / "plotm_results.txt", std::strerror(EACCES));
}

TEST_F(WindowFileFaults, ReportPathIsAFolder) {
  fs::remove(folder() / "plotm_results.txt");
  fs::create_directory(folder() / "plotm_results.txt");
  const FolderSnapshot before = folder_snapshot(folder());
  w.window->start();
  expect_turned_away(before, folder() / "plotm_results.txt", std::strerror(EISDIR));
}

TEST_F(WindowFileFaults, EstimateReportPathIsAFolderKeepsTheStockReportToo) {
  fs::remove(folder() / "plots_results.txt");
  fs::create_directory(folder() / "plots_results.txt");
  const FolderSnapshot before = folder_snapshot(folder());
  w.window->start();
  expect_turned_away(before, folder() / "plots_results.txt", std::strerror(EISDIR));
}

TEST_F(WindowFileFaults, ReportTargetIsTheFullDevice) {
  if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::remove(folder() / "plotm_results.txt");
  fs::create_symlink("/dev/full", folder() / "plotm_results.txt");
  const FolderSnapshot before = folder_snapshot(folder());
  w.window->start();
  expect_turned_away(before, folder() / "plotm_results.txt", "not a regular file");
}

TEST_F(WindowFileFaults, ReportThatRunsOutOfRoom) {
  const FolderSnapshot before = folder_snapshot(folder());
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, not the test
  rlimit low = saved;
  low.rlim_cur = 64;  // a report is some hundreds of bytes
  if (::setrlimit(RLIMIT_FSIZE, &low) != 0) GTEST_SKIP() << "cannot lower the file size limit";
  w.window->start();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, saved_handler);
  expect_turned_away(before, folder() / "plotm_results.txt", std::strerror(EFBIG));
}

}  // namespace
}  // namespace quorvel
