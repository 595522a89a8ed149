// The window meeting files it cannot use. Every fault must end with one message in Russian that
// names the file, the earlier reports byte for byte as they were, no temporary file left in the
// folder, and Start ready for the next try. A fault in the inventory leaves the fields and the
// plot as they were; a fault in a report leaves the new figures shown and says so.

#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <vector>

#include "../support/file_faults.h"
#include "../support/folder_snapshot.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::FileFault;

class WindowFileFaults : public ::testing::TestWithParam<FileFault> {
 protected:
  void SetUp() override {
    w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
    w.window->start();
    ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
    ASSERT_TRUE(fs::exists(folder() / "plotm_results.txt"));
    model1_text_ = w.field("Text10")->text();
    // The figures of the next Start must be its own.
    for (QLineEdit* edit : w.window->findChildren<QLineEdit*>())
      if (edit->isReadOnly()) edit->clear();
    w.messages.clear();
  }
  void TearDown() override { fs::permissions(folder(), fs::perms::owner_all); }

  fs::path folder() const { return fs::path(w.folder.path().toStdString()); }

  testing::WindowInFolder w;
  QString model1_text_;
};

TEST_P(WindowFileFaults, OneMessageNamingTheFileAndTheReportsAsTheyWere) {
  const FileFault& fault = GetParam();
  fault.make(folder());
  const std::vector<QString> texts = w.field_texts();
  const QImage picture = w.window->plot_window().picture();
  const auto before = testing::folder_snapshot(folder());
  const std::string cannot = testing::run_under(fault.needs, [&] { w.window->start(); });
  if (!cannot.empty()) GTEST_SKIP() << cannot;
  ASSERT_EQ(w.messages.size(), 1) << w.messages.join("\n").toStdString();
  const std::string message = w.messages[0].toStdString();
  EXPECT_NE(message.find((folder() / fault.named).string()), std::string::npos) << message;
  EXPECT_NE(message.find(fault.russian), std::string::npos) << message;
  EXPECT_EQ(testing::folder_snapshot(folder()), before);
  if (fault.in_a_report) {
    EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::reports_unwritten);
    EXPECT_TRUE(message.starts_with("Результаты показаны, но отчёты не записаны.")) << message;
    EXPECT_NE(message.find("снимите флажок «Выводить результаты в файлы»"), std::string::npos);
    EXPECT_EQ(w.field("Text10")->text(), model1_text_);
    EXPECT_EQ(w.field("Text9")->text(), "2");
  } else {
    EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::refused);
    EXPECT_EQ(w.field_texts(), texts);
    EXPECT_EQ(w.window->plot_window().picture(), picture);
  }
  EXPECT_TRUE(w.window->findChild<QPushButton*>("Command1")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, WindowFileFaults, ::testing::ValuesIn(testing::file_faults()),
                         testing::fault_name);

}  // namespace
}  // namespace quorvel
