// The window at the edges of its numbers: texts that are no finite number in every parameter
// field, the smallest and largest plot, many runs, zero densities, enormous diameters and
// pieces far longer than the plot. A Start either shows figures that make sense (no Inf, no
// NaN) or is turned away with one message, leaving the previous results and reports as they
// were.

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "../support/folder_snapshot.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::folder_snapshot;
using testing::WindowInFolder;

const char* const result_names[] = {"Text10", "Text6",  "Text11", "Text7",  "Text12", "Text28",
                                    "Text4",  "Text13", "Text29", "Text14", "Text9"};
const char* const density_names[] = {"Text3",  "Text2",  "Text23", "Text15", "Text16",
                                     "Text24", "Text17", "Text18", "Text25", "Text19",
                                     "Text20", "Text26", "Text21", "Text22", "Text27"};

std::vector<QString> result_texts(const WindowInFolder& w) {
  std::vector<QString> texts;
  for (const char* name : result_names) texts.push_back(w.field(name)->text());
  return texts;
}

// Every result field holds a plain figure.
void expect_plain_results(const WindowInFolder& w) {
  for (const char* name : result_names) {
    const QString text = w.field(name)->text();
    EXPECT_FALSE(text.isEmpty()) << name;
    EXPECT_FALSE(text.contains("Inf") || text.contains("NaN") || text.contains("inf") ||
                 text.contains("nan"))
        << name << ": " << text.toStdString();
  }
}

void expect_completed(const WindowInFolder& w) {
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed)
      << w.messages.join("\n").toStdString();
  EXPECT_TRUE(w.messages.isEmpty()) << w.messages.join("\n").toStdString();
}

fs::path folder_of(const WindowInFolder& w) { return fs::path(w.folder.path().toStdString()); }

TEST(WindowEdgeNumbers, NoFiniteNumberInAnyParameterFieldIsRefused) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  w.window->start();
  expect_completed(w);
  const std::vector<QString> results = result_texts(w);
  const auto before = folder_snapshot(folder_of(w));
  std::vector<const char*> fields = {"Text1", "Text5", "Text30", "Text8"};
  fields.insert(fields.end(), std::begin(density_names), std::end(density_names));
  for (const char* name : fields) {
    const QString kept = w.field(name)->text();
    for (const char* text : {"1e400", "nan", "inf", "-inf", "1e99999"}) {
      w.messages.clear();
      w.field(name)->setText(QString::fromLatin1(text));
      w.window->start();
      EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::refused)
          << name << " = " << text;
      EXPECT_EQ(w.messages.size(), 1) << name << " = " << text;
      EXPECT_EQ(result_texts(w), results) << name << " = " << text;
    }
    w.field(name)->setText(kept);
  }
  EXPECT_EQ(folder_snapshot(folder_of(w)), before);
}

TEST(WindowEdgeNumbers, SmallestAndLargestPlot) {
  for (const char* length : {"1", "32767"}) {
    WindowInFolder w;
    w.choose_inventory("plot.txt", "\"S\",20,20,40,1\n\"C\",30,10,400,5\n");
    w.field("Text1")->setText(QString::fromLatin1(length));
    w.window->start();
    expect_completed(w);
    expect_plain_results(w);
    EXPECT_EQ(w.field("Text9")->text(), "2");
  }
}

TEST(WindowEdgeNumbers, ManyRunsAreMadeAndAveraged) {
  // Pieces longer than a 2 m plot cross in most attempts, so the runs are quick even drawn.
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,5,1\n");
  w.field("Text1")->setText("2");
  w.field("Text5")->setText("3000");
  w.window->start();
  expect_completed(w);
  expect_plain_results(w);
  EXPECT_EQ(w.window->last_start().run_count, 3000);
  EXPECT_GE(w.window->last_start().placement_count, 3000);
}

TEST(WindowEdgeNumbers, ZeroDensitiesShowZeroCarbon) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
  for (const char* name : density_names) w.field(name)->setText("0");
  w.window->start();
  expect_completed(w);
  EXPECT_EQ(w.field("Text10")->text(), "0");
  EXPECT_EQ(w.field("Text6")->text(), "0");
  EXPECT_NE(w.field("Text12")->text(), "0");
  expect_plain_results(w);
}

TEST(WindowEdgeNumbers, EnormousDiametersAreDrawnAndShownInExponentForm) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",1e30,1e30,10,1\n");
  w.window->start();
  expect_completed(w);
  expect_plain_results(w);
  EXPECT_TRUE(w.field("Text10")->text().contains("E+")) << w.field("Text10")->text().toStdString();
  EXPECT_FALSE(w.window->plot_window().picture().isNull());
}

// Carbon beyond double precision (1e200 cm), or a surface sum beyond the single precision the
// window's surface figures are kept in (1e40 cm).
TEST(WindowEdgeNumbers, FiguresBeyondTheRangeOfNumbersAreTurnedAway) {
  for (const char* diameter : {"1e200", "1e40"}) {
    WindowInFolder w;
    w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
    w.window->start();
    expect_completed(w);
    const std::vector<QString> results = result_texts(w);
    const QImage picture = w.window->plot_window().picture();
    testing::write_file(w.path("plot.txt"),
                        std::string("\"S\",") + diameter + "," + diameter + ",10,1\n");
    const auto before = folder_snapshot(folder_of(w));
    w.window->start();
    const StartSummary::Outcome outcome = w.window->last_start().outcome;
    EXPECT_TRUE(outcome == StartSummary::Outcome::refused ||
                outcome == StartSummary::Outcome::failed);
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(w.path("plot.txt"))) << w.messages[0].toStdString();
    EXPECT_TRUE(w.messages[0].contains("too large")) << w.messages[0].toStdString();
    EXPECT_EQ(result_texts(w), results);
    EXPECT_EQ(w.window->plot_window().picture(), picture);
    EXPECT_EQ(folder_snapshot(folder_of(w)), before);
  }
}

TEST(WindowEdgeNumbers, PiecesFarLongerThanThePlot) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"C\",20,20,1e6,1\n\"S\",10,5,5e4,2\n");
  w.field("Text5")->setText("20");
  w.window->start();
  expect_completed(w);
  expect_plain_results(w);
}

}  // namespace
}  // namespace quorvel
