// The window at the edges of its numbers: what it owns is what it shows. A Start shows plain
// figures (exponent form for enormous ones, never Inf or NaN), or is turned away with one
// message and every field, the plot and the folder as they were.

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "../support/folder_snapshot.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

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
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  const std::filesystem::path folder = w.folder.path().toStdString();
  for (const WindowEdge& edge : window_edges()) {
    SCOPED_TRACE(std::string(edge.field ? edge.field : "") + " " + edge.text + " " +
                 edge.inventory);
    testing::write_file(w.path("plot.txt"), edge.inventory);
    const QString kept = edge.field ? w.field(edge.field)->text() : QString();
    if (edge.field) w.field(edge.field)->setText(QString::fromLatin1(edge.text));
    const std::vector<QString> texts = w.field_texts();
    const QImage picture = w.window->plot_window().picture();
    const auto before = testing::folder_snapshot(folder);
    w.messages.clear();
    w.window->start();
    const StartSummary::Outcome outcome = w.window->last_start().outcome;
    if (edge.refused) {
      EXPECT_TRUE(outcome == StartSummary::Outcome::refused ||
                  outcome == StartSummary::Outcome::failed);
      ASSERT_EQ(w.messages.size(), 1);
      EXPECT_TRUE(w.messages[0].contains(QString::fromUtf8(edge.shown)))
          << w.messages[0].toStdString();
      EXPECT_TRUE(edge.field || w.messages[0].contains(w.path("plot.txt")));
      EXPECT_EQ(w.field_texts(), texts);
      EXPECT_EQ(w.window->plot_window().picture(), picture);
      EXPECT_EQ(testing::folder_snapshot(folder), before);
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
