// The window meeting files it cannot use. Every fault must end with one message in Russian that
// names the file, the earlier reports byte for byte as they were, no temporary file left in the
// folder, and Start ready for the next try. A fault in the inventory leaves the fields and the
// plot as they were; a fault in a report leaves the new figures shown and says so.
// At the edges of its numbers the window shows plain figures (exponent form for enormous
// ones, never Inf or NaN), or turns the Start away in the same way.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
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
    ASSERT_EQ(w.start_on("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n"),
              StartSummary::Outcome::completed);
    ASSERT_TRUE(fs::exists(folder() / "plotm_results.txt"));
    model1_text_ = w.field("Text10")->text();
    // The figures of the next Start must be its own.
    for (QLineEdit* edit : w.window->findChildren<QLineEdit*>())
      if (edit->isReadOnly()) edit->clear();
  }
  void TearDown() override { fs::permissions(folder(), fs::perms::owner_all); }

  fs::path folder() const { return fs::path(w.folder.path().toStdString()); }

  testing::WindowInFolder w;
  QString model1_text_;
};

TEST_P(WindowFileFaults, OneMessageNamingTheFileAndTheReportsAsTheyWere) {
  const FileFault& fault = GetParam();
  fault.make(folder());
  const testing::WindowTraces before = w.traces();
  const std::string cannot = testing::run_under(fault.needs, [&] { w.start(); });
  if (!cannot.empty()) GTEST_SKIP() << cannot;
  ASSERT_EQ(w.messages.size(), 1) << w.messages.join("\n").toStdString();
  const std::string message = w.messages[0].toStdString();
  EXPECT_NE(message.find((folder() / fault.named).string()), std::string::npos) << message;
  EXPECT_NE(message.find(fault.russian), std::string::npos) << message;
  EXPECT_EQ(testing::folder_snapshot(folder()), before.folder);
  if (fault.in_a_report) {
    EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::reports_unwritten);
    EXPECT_TRUE(message.starts_with("Результаты показаны, но отчёты не записаны.")) << message;
    EXPECT_NE(message.find("снимите флажок «Выводить результаты в файлы»"), std::string::npos);
    EXPECT_EQ(w.field("Text10")->text(), model1_text_);
    EXPECT_EQ(w.field("Text9")->text(), "2");
  } else {
    EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::refused);
    EXPECT_TRUE(w.traces() == before);
  }
  EXPECT_TRUE(w.button("Command1")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, WindowFileFaults, ::testing::ValuesIn(testing::file_faults()),
                         testing::fault_name);

struct WindowEdge {
  const char* field;  // set to `text` for this Start, or nullptr
  const char* text;
  std::string inventory;
  bool refused;
  const char* shown;  // in the message, or in the model-1 carbon when the Start completes
};

std::vector<WindowEdge> window_edges() {
  const std::string plain = "\"S\",20,20,40,1\n\"C\",30,10,400,5\n";
  std::vector<WindowEdge> edges = {
      {"Text1", "1", plain, false, ""},
      {"Text1", "32767", plain, false, ""},
      {nullptr, "", "\"C\",20,20,1e6,1\n\"S\",10,5,5e4,2\n", false, ""},
      {nullptr, "", "\"S\",1e30,1e30,10,1\n", false, "E+"},
      // Carbon beyond double precision, and a surface beyond the single precision that the
      // window's surface figures are kept in.
      {nullptr, "", "\"S\",1e200,1e200,10,1\n", true, "слишком велики"},
      {nullptr, "", "\"S\",1e40,1e40,10,1\n", true, "слишком велики"},
      {nullptr, "", plain + "\"X\",20,20,10,1\n", true, "строка 3, запись 3"},
      {"Text1", "сто", plain, true, "«Длина трансекты»: «сто» — не число"},
      {"Text1", "40000", plain, true, "«Длина трансекты»"},
      {"Text24", "", plain, true, "(стадия разложения 2, «Хвойные»): поле пустое"},
      {"Text5", "0,4", plain, true, "целое число от 1 до 32767"},  // rounds to no run at all
  };
  for (const char* field : {"Text1", "Text5", "Text30", "Text8", "Text3", "Text2", "Text23",
                            "Text15", "Text16", "Text24", "Text17", "Text18", "Text25", "Text19",
                            "Text20", "Text26", "Text21", "Text22", "Text27"})
    for (const char* text : {"1e400", "nan", "inf", "-inf"})
      edges.push_back({field, text, plain, true, ""});
  return edges;
}

TEST(WindowEdgeNumbers, ShowPlainFiguresOrTurnTheStartAwayChangingNothing) {
  testing::WindowInFolder w;
  ASSERT_EQ(w.start_on("plot.txt", "\"S\",20,20,10,1\n"), StartSummary::Outcome::completed);
  for (const WindowEdge& edge : window_edges()) {
    SCOPED_TRACE(std::string(edge.field ? edge.field : "") + " " + edge.text + " " +
                 edge.inventory);
    testing::write_file(w.path("plot.txt"), edge.inventory);
    const QString kept = edge.field ? w.field(edge.field)->text() : QString();
    if (edge.field) w.field(edge.field)->setText(QString::fromUtf8(edge.text));
    const testing::WindowTraces before = w.traces();
    const StartSummary::Outcome outcome = w.start();
    if (edge.refused) {
      EXPECT_TRUE(outcome == StartSummary::Outcome::refused ||
                  outcome == StartSummary::Outcome::failed);
      ASSERT_EQ(w.messages.size(), 1);
      EXPECT_TRUE(w.messages[0].contains(QString::fromUtf8(edge.shown)))
          << w.messages[0].toStdString();
      EXPECT_TRUE(edge.field || w.messages[0].contains(w.path("plot.txt")));
      EXPECT_TRUE(w.traces() == before);
      EXPECT_TRUE(w.button("Command1")->isEnabled());
    } else {
      ASSERT_EQ(outcome, StartSummary::Outcome::completed) << w.messages.join("\n").toStdString();
      EXPECT_TRUE(w.field("Text10")->text().contains(edge.shown));
      for (const QString& text : w.field_texts())
        EXPECT_FALSE(text.contains("inf", Qt::CaseInsensitive) ||
                     text.contains("nan", Qt::CaseInsensitive))
            << text.toStdString();
    }
    if (edge.field) w.field(edge.field)->setText(kept);
  }
}

}  // namespace
}  // namespace quorvel
