// A Start from the window: the checks before it, the result fields and reports it leaves, the
// plot it draws, and what the window does while it runs.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <cmath>

#include "inventory_reader.h"
#include "model1.h"
#include "stock_report.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::during_start;
using testing::read_file;
using testing::slow_inventory;
using testing::WindowInFolder;
using testing::write_file;

const char* const result_names[] = {"Text10", "Text6", "Text11", "Text7", "Text12", "Text28",
                                    "Text4",  "Text13", "Text29", "Text14", "Text9"};

std::vector<QString> result_texts(const WindowInFolder& w) {
  std::vector<QString> texts;
  for (const char* name : result_names) texts.push_back(w.field(name)->text());
  return texts;
}

QPushButton* start_button(const WindowInFolder& w) {
  return w.window->findChild<QPushButton*>("Command1");
}

int line_count(const std::string& text) {
  int lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  return lines;
}

TEST(StartResults, ModelOneFieldsHoldTheExactTextsAndBothReportsAreWritten) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  start_button(w)->click();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed) << w.messages.join("\n").toStdString();
  EXPECT_TRUE(w.messages.isEmpty());
  // Carbon 0.8804156167419418 t/ha in fifteen digits with the decimal comma; 15.7 pieces cut to 15.
  EXPECT_EQ(w.field("Text10")->text(), "0,880415616741942");
  EXPECT_EQ(w.field("Text11")->text(), "15");
  EXPECT_EQ(w.field("Text9")->text(), "1");
  // Only the soft-leaved group has a piece; the others show a single 0.
  EXPECT_FALSE(w.field("Text6")->text().isEmpty());
  EXPECT_NE(w.field("Text12")->text(), "0");
  EXPECT_EQ(w.field("Text28")->text(), "0");
  EXPECT_EQ(w.field("Text4")->text(), "0");
  EXPECT_EQ(w.field("Text29")->text(), "0");
  EXPECT_EQ(w.field("Text14")->text(), "0");
  EXPECT_GE(w.field("Text7")->text().toLongLong(), 1);  // at least one attempt per piece and run

  // The stock report is the model-1 table of this inventory, the estimate report its 17 lines.
  const Inventory inventory = read_inventory(w.path("plot.txt").toStdString());
  const std::string stock = read_file(w.path("plotm_results.txt"));
  EXPECT_EQ(stock, stock_report_text(compute_model1(inventory, SimulationParameters{}), ','));
  EXPECT_EQ(line_count(read_file(w.path("plots_results.txt"))), 17);
  // Nothing else is left in the folder (no temporary files).
  EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files).size(), 3);
  // The new reports show in the file list.
  EXPECT_EQ(w.window->chooser().file_list().count(), 3);
}

TEST(StartResults, ModelOneFollowsTheTransectLengthField) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"C\",30,10,4,5\n");
  w.field("Text1")->setText("50");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_EQ(w.field("Text10")->text(), "0,534332558460239");
  EXPECT_EQ(w.field("Text11")->text(), "78");
  EXPECT_EQ(w.window->plot_window().scale_width(), 52.0f);
  EXPECT_EQ(w.window->plot_window().scale_height(), 52.0f);
}

TEST(StartResults, TheUntickedReportBoxWritesNoFilesButFillsTheFields) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  w.window->findChild<QCheckBox*>("Check1")->setChecked(false);
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_EQ(w.field("Text10")->text(), "0,880415616741942");
  EXPECT_FALSE(w.field("Text6")->text().isEmpty());
  EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files), QStringList{"plot.txt"});
}

TEST(StartResults, TheUntickedBoxLeavesEarlierReportsAsTheyWere) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  write_file(w.path("plotm_results.txt"), "earlier stock\r\n");
  write_file(w.path("plots_results.txt"), "earlier estimate\r\n");
  w.window->findChild<QCheckBox*>("Check1")->setChecked(false);
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_EQ(read_file(w.path("plotm_results.txt")), "earlier stock\r\n");
  EXPECT_EQ(read_file(w.path("plots_results.txt")), "earlier estimate\r\n");
}

TEST(StartResults, TheExpectationShowsInTooltipsAndTheDeviationLine) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"H\",30,25,3,2\n\"C\",12,8,6,4\n");
  w.field("Text5")->setText("20");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_TRUE(w.field("Text6")->toolTip().startsWith(QStringLiteral("Ожидаемое значение: ")));
  EXPECT_TRUE(w.field("Text6")->toolTip().contains(QStringLiteral("Стандартная ошибка")));
  EXPECT_TRUE(w.field("Text12")->toolTip().startsWith(QStringLiteral("Ожидаемое значение: ")));
  const QString line = w.window->findChild<QLabel*>("deviation_line")->text();
  const QRegularExpression distance(QStringLiteral("([+-]\\d+),(\\d\\d) ст\\. ош\\."));
  const QRegularExpressionMatch match = distance.match(line);
  ASSERT_TRUE(match.hasMatch()) << line.toStdString();
  // Twenty runs of a simulation that is right lie within six standard errors of the
  // expectation but for a chance of about one in five hundred million.
  const double z = (match.captured(1) + "." + match.captured(2)).toDouble();
  EXPECT_LT(std::abs(z), 6.0);
}

TEST(StartPlot, ShowsTheScaleOfLAndTheLinesOfTheLastRun) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n\"H\",30,25,3,2\n");
  PlotWindow& plot = w.window->plot_window();
  EXPECT_FALSE(plot.isVisible());  // hidden until the first Start
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_TRUE(plot.isVisible());
  EXPECT_EQ(plot.scale_height(), 102.0f);
  EXPECT_EQ(plot.scale_width(), 102.0f);
  // One run: every attempt drew the outline, then the transect, the mark and the piece.
  const std::int64_t attempts = w.window->last_start().placement_count;
  ASSERT_GE(attempts, 2);
  EXPECT_EQ(plot.boxes_drawn(), attempts);
  EXPECT_EQ(plot.lines_drawn(), 3 * attempts);
  // The transect runs down x = 50 in dark red, the outline along x = 0 in black.
  const QImage picture = plot.picture();
  const int transect_x = static_cast<int>(plot.to_window({50, 0}).x());
  const int outline_x = static_cast<int>(plot.to_window({0, 0}).x());
  const int middle_y = static_cast<int>(plot.to_window({0, 50}).y());
  EXPECT_EQ(picture.pixelColor(transect_x, middle_y), QColor(200, 0, 0));
  EXPECT_EQ(picture.pixelColor(outline_x, middle_y), QColor(0, 0, 0));
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(Qt::white));  // the margin outside the plot
}

TEST(StartPlot, EveryRunClearsTheDrawingOfTheRunBefore) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  w.field("Text5")->setText("30");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  // Thirty runs made many more attempts than the last run alone drew.
  EXPECT_LT(w.window->plot_window().boxes_drawn(), w.window->last_start().placement_count);
}

// Each refusal names the field (or the file) and changes nothing: results, plot and reports.
class RefusedStart : public ::testing::Test {
 protected:
  void SetUp() override {
    w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
    w.window->start();
    ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
    results = result_texts(w);
    picture = w.window->plot_window().picture();
    stock = read_file(w.path("plotm_results.txt"));
    estimate = read_file(w.path("plots_results.txt"));
  }

  void expect_refused_naming(const QString& name) {
    w.messages.clear();
    w.window->start();
    EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::refused);
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_TRUE(w.messages[0].contains(name))
        << w.messages[0].toStdString() << " does not name " << name.toStdString();
    EXPECT_EQ(result_texts(w), results);
    EXPECT_EQ(w.window->plot_window().picture(), picture);
    EXPECT_EQ(read_file(w.path("plotm_results.txt")), stock);
    EXPECT_EQ(read_file(w.path("plots_results.txt")), estimate);
    EXPECT_TRUE(start_button(w)->isEnabled());
  }

  WindowInFolder w;
  std::vector<QString> results;
  QImage picture;
  std::string stock, estimate;
};

TEST_F(RefusedStart, ATransectLengthThatIsNotANumber) {
  w.field("Text1")->setText("сто");
  expect_refused_naming(QStringLiteral("«Длина трансекты»"));
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("не число")));
}

TEST_F(RefusedStart, ATransectLengthOutsideTheSixteenBitRange) {
  w.field("Text1")->setText("40000");
  expect_refused_naming(QStringLiteral("«Длина трансекты»"));
}

TEST_F(RefusedStart, ATransectLengthOfZero) {
  w.field("Text1")->setText("0");
  expect_refused_naming(QStringLiteral("«Длина трансекты»"));
}

TEST_F(RefusedStart, AnEmptyDensityField) {
  w.field("Text24")->setText("");
  expect_refused_naming(QStringLiteral("стадия разложения 2, «Хвойные»"));
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("пустое")));
}

TEST_F(RefusedStart, ANegativeCarbonFactor) {
  w.field("Text8")->setText("-0,5");
  expect_refused_naming(QStringLiteral("коэффициент пересчета"));
}

TEST_F(RefusedStart, NoRunAtAll) {
  w.field("Text5")->setText("0,4");  // rounds to 0 runs
  expect_refused_naming(QStringLiteral("«Количество прогонов»"));
}

TEST_F(RefusedStart, AWindForceThatIsNotANumber) {
  w.field("Text30")->setText("сильный");
  expect_refused_naming(QStringLiteral("«Сила ветра (1-5)»"));
}

TEST_F(RefusedStart, ABrokenRecordNamesTheFileLineAndRecord) {
  write_file(w.path("plot.txt"), "\"S\",20,20,10,1\n\"X\",20,20,10,1\n");
  expect_refused_naming(QStringLiteral("строка 2, запись 2"));
  EXPECT_TRUE(w.messages[0].contains(w.path("plot.txt")));
}

TEST_F(RefusedStart, AnInventoryThatHasGone) {
  QFile::remove(w.path("plot.txt"));
  expect_refused_naming(w.path("plot.txt"));
}

TEST(RefusedStartAtFirst, NoFileChosenYet) {
  WindowInFolder w;
  w.window->start();
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::refused);
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("«Файл данных:»")));
  EXPECT_FALSE(w.window->plot_window().isVisible());
  for (const QString& text : result_texts(w)) EXPECT_TRUE(text.isEmpty());
}

TEST(DuringAStart, StartIsDisabledAndTheParametersAreReadOnly) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(20));
  w.window->show();
  w.window->activateWindow();
  start_button(w)->setFocus();
  bool checked = false;
  during_start(w.window.get(), [&] {
    checked = true;
    EXPECT_TRUE(w.window->running());
    EXPECT_FALSE(start_button(w)->isEnabled());
    for (const char* name : {"Text1", "Text5", "Text8", "Text30", "Text3", "Text27"}) {
      EXPECT_TRUE(w.field(name)->isReadOnly()) << name;
    }
    // The wind, the report box and Finish stay live.
    EXPECT_TRUE(w.window->findChild<QRadioButton*>("Option1")->isEnabled());
    EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isEnabled());
    EXPECT_TRUE(w.window->findChild<QPushButton*>("Command2")->isEnabled());
    EXPECT_NE(w.window->focusWidget(), start_button(w));
    EXPECT_TRUE(w.window->status_line().text().contains(QStringLiteral("Прогон 1 из 1")));
    // A second Start inside the first is not begun.
    start_button(w)->click();
    w.window->start();
    // Model 1 is already shown, the rest waits for the end of the runs.
    EXPECT_FALSE(w.field("Text10")->text().isEmpty());
    EXPECT_TRUE(w.field("Text6")->text().isEmpty());
  });
  w.window->start();
  EXPECT_TRUE(checked);
  EXPECT_EQ(w.window->last_start().starts, 1);
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_TRUE(start_button(w)->isEnabled());
  EXPECT_EQ(w.window->focusWidget(), start_button(w));  // the focus is back on Start
  EXPECT_FALSE(w.field("Text1")->isReadOnly());
  EXPECT_FALSE(w.field("Text6")->text().isEmpty());
}

TEST(DuringAStart, ChangedWindButtonsActFromTheNextAttempt) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(20));
  w.field("Text30")->setText("5");  // every piece follows the wind
  w.window->findChild<QRadioButton*>("Option8")->click();
  during_start(w.window.get(), [&] { w.window->findChild<QRadioButton*>("Option6")->click(); });
  w.window->start();
  const StartSummary& start = w.window->last_start();
  ASSERT_EQ(start.outcome, StartSummary::Outcome::completed);
  const auto& by_wind = start.attempts_by_wind;
  EXPECT_GT(by_wind[8], 0);  // north before the click
  EXPECT_GT(by_wind[6], 0);  // east after it
  EXPECT_EQ(by_wind[8] + by_wind[6], start.placement_count);
  // No single expectation holds for a Start under two winds.
  EXPECT_TRUE(w.window->findChild<QLabel*>("deviation_line")->text().contains(
      QStringLiteral("Ветер менялся")));
  EXPECT_TRUE(w.field("Text6")->toolTip().isEmpty());
}

TEST(DuringAStart, AFileClickedAppliesToTheNextStart) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(20));
  testing::write_file(w.path("other.txt"), "\"S\",20,20,10,1\n");
  w.window->chooser().refresh_files();
  during_start(w.window.get(), [&] { w.window->chooser().choose_file("other.txt"); });
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_EQ(w.field("Text9")->text(), "20");  // the runs read the file the Start began with
  EXPECT_FALSE(read_file(w.path("plots_results.txt")).empty());
  EXPECT_TRUE(read_file(w.path("others_results.txt")).empty());
  w.window->start();
  EXPECT_EQ(w.field("Text9")->text(), "1");
}

TEST(DuringAStart, EscCancelsAndPutsThePreviousResultsBack) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  const auto results = result_texts(w);
  const QImage picture = w.window->plot_window().picture();
  const std::string stock = read_file(w.path("plotm_results.txt"));
  const std::string estimate = read_file(w.path("plots_results.txt"));

  write_file(w.path("plot.txt"), slow_inventory(20));
  bool cancelled = false;
  during_start(w.window.get(), [&] {
    cancelled = true;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w.field("Text1"), &escape);
  });
  w.window->start();
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::cancelled);
  EXPECT_TRUE(w.messages.isEmpty());
  EXPECT_EQ(result_texts(w), results);
  EXPECT_EQ(w.window->plot_window().picture(), picture);
  EXPECT_EQ(read_file(w.path("plotm_results.txt")), stock);
  EXPECT_EQ(read_file(w.path("plots_results.txt")), estimate);
  EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files).size(), 3);  // no temporary left
  EXPECT_TRUE(start_button(w)->isEnabled());
}

TEST(DuringAStart, FinishEndsTheProgramWithoutHalfWrittenReports) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(20));
  write_file(w.path("plotm_results.txt"), "earlier\r\n");
  w.window->show();
  int ended = 0;
  QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
  during_start(w.window.get(),
               [&] { w.window->findChild<QPushButton*>("Command2")->click(); });
  w.window->start();
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::ended);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_FALSE(w.window->plot_window().isVisible());
  EXPECT_EQ(read_file(w.path("plotm_results.txt")), "earlier\r\n");
  EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files),
            (QStringList{"plot.txt", "plotm_results.txt"}));
}

TEST(DuringAStart, ClosingTheWindowEndsTheProgramAsFinishDoes) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(20));
  w.window->show();
  int ended = 0;
  QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
  during_start(w.window.get(), [&] { w.window->close(); });
  w.window->start();
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::ended);
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files), QStringList{"plot.txt"});
}

TEST(DuringAStart, ClosingThePlotWindowHidesItAndTheNextStartShowsIt) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", slow_inventory(5));
  during_start(w.window.get(), [&] { w.window->plot_window().close(); });
  w.window->start();
  ASSERT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
  EXPECT_FALSE(w.window->plot_window().isVisible());
  EXPECT_EQ(w.window->plot_window().boxes_drawn(), w.window->last_start().placement_count);
  w.window->start();
  EXPECT_TRUE(w.window->plot_window().isVisible());
}

TEST(StartFailure, AReportThatCannotBeWrittenIsNamedAndChangesNothing) {
  WindowInFolder w;
  w.choose_inventory("plot.txt", "\"S\",20,20,10,1\n");
  // A folder in the way of the stock report: it cannot be replaced by a file.
  QDir(w.folder.path()).mkdir("plotm_results.txt");
  w.window->start();
  EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::failed);
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(w.path("plotm_results.txt")));
  for (const QString& text : result_texts(w)) EXPECT_TRUE(text.isEmpty());
  EXPECT_TRUE(read_file(w.path("plots_results.txt")).empty());
}

}  // namespace
}  // namespace quorvel
