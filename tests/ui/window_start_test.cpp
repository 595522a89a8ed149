// A Start from the window: the result fields and reports it leaves, the plot it draws, the
// Starts it turns away, what the window does while it runs, and ending the program.
// The batch makes the same Start: with the window's seed and fields it writes the same reports.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLocale>
#include <QRadioButton>
#include <QRegularExpression>
#include <cmath>
#include <optional>
#include <string>

#include "../support/batch_in_process.h"
#include "../support/folder_snapshot.h"
#include "../support/temporary_folder.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::during_start;
using testing::press;
using testing::read_file;
using testing::slow_inventory;
using testing::WindowInFolder;
using testing::write_file;

using Outcome = StartSummary::Outcome;

const std::string one_piece = "\"S\",20,20,10,1\n";

class WindowStart : public ::testing::Test {
 protected:
  QStringList files() const { return QDir(w.folder.path()).entryList(QDir::Files); }

  WindowInFolder w;
};

TEST_F(WindowStart, WorkedExampleFillsTheExactTextsAndWritesBothReports) {
  w.choose_inventory("plot.txt", one_piece);
  w.button("Command1")->click();
  ASSERT_EQ(w.window->last_start().outcome, Outcome::completed)
      << w.messages.join("\n").toStdString();
  EXPECT_TRUE(w.messages.isEmpty());
  // Carbon 0.8804156167419418 t/ha in fifteen digits with the decimal comma; 15.7 pieces cut to 15.
  EXPECT_EQ(w.field("Text10")->text(), "0,880415616741942");
  EXPECT_EQ(w.field("Text11")->text(), "15");
  EXPECT_EQ(w.field("Text9")->text(), "1");
  EXPECT_GE(w.field("Text7")->text().toLongLong(), 1);  // at least one attempt per piece and run
  EXPECT_NE(w.field("Text12")->text(), "0");
  // Groups without a piece show a single 0.
  for (const char* name : {"Text28", "Text4", "Text29", "Text14"})
    EXPECT_EQ(w.field(name)->text(), "0") << name;
  // The reports' contents are the batch's (shared_start_test); nothing else is left in the
  // folder, and the file list offers the reports as no data files.
  EXPECT_EQ(files(), (QStringList{"plot.txt", "plotm_results.txt", "plots_results.txt"}));
  EXPECT_EQ(w.window->chooser().file_list().count(), 1);
}

// A table read greys the grid; one refused by line and column leaves the table in use.
TEST_F(WindowStart, ACoefficientsTableTakesTheGridsPlaceUntilDropped) {
  QString offered = w.path("k.csv");
  w.window->coefficients().set_file_dialog([&offered] { return offered; });
  write_file(offered, "species,stage,density\nS,1,0.4\n");
  write_file(w.path("bad.csv"), "species,stage,density\nS,1,1.6\n");
  w.button("coefficients_button")->click();
  offered = w.path("bad.csv");
  w.button("coefficients_button")->click();
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains("bad.csv», строка 2, столбец «density»"))
      << w.messages[0].toStdString();
  EXPECT_FALSE(w.field("Text15")->isEnabled());
  w.field("Text15")->setText("x");  // a greyed grid is not read
  EXPECT_TRUE(w.window->coefficients().label().text().contains("«k.csv»"));
  // 0.1 x pi m3 x 0.4 t/m3 x 0.5, weighted 15.7 on a hectare: 0.98646...
  ASSERT_EQ(w.start_on("plot.txt", one_piece), Outcome::completed);
  EXPECT_TRUE(w.field("Text10")->text().startsWith("0,98646"))
      << w.field("Text10")->text().toStdString();
  EXPECT_EQ(w.start_on("plot2.txt", "\"H\",20,20,10,3\n"), Outcome::refused);
  EXPECT_TRUE(w.messages.value(0).endsWith("нет строк для пород и стадий: H 3."));
  w.button("coefficients_drop")->click();
  EXPECT_TRUE(w.field("Text15")->isEnabled());
  w.field("Text15")->setText("0,275");
  ASSERT_EQ(w.start_on("plot.txt", one_piece), Outcome::completed);
  EXPECT_EQ(w.field("Text10")->text(), "0,880415616741942");
}

// The status line says that the reports beside the tally are an earlier Start's, and that a
// wind force without a direction does nothing.
TEST_F(WindowStart, UntickedReportBoxLeavesEarlierReportsTheFieldsShowTheExpectation) {
  w.choose_inventory("plot.txt", one_piece + "\"H\",30,25,3,2\n\"C\",12,8,6,4\n");
  write_file(w.path("plotm_results.txt"), "earlier stock\r\n");
  write_file(w.path("plots_results.txt"), "earlier estimate\r\n");
  w.window->findChild<QCheckBox*>("Check1")->setChecked(false);
  w.field("Text5")->setText("20");
  w.field("Text30")->setText("3");  // a force without a direction: no wind at all
  ASSERT_EQ(w.start(), Outcome::completed);
  EXPECT_EQ(read_file(w.path("plotm_results.txt")), "earlier stock\r\n");
  EXPECT_EQ(read_file(w.path("plots_results.txt")), "earlier estimate\r\n");
  EXPECT_EQ(files().size(), 3);
  EXPECT_TRUE(w.window->status_line().text().startsWith(
      "Результаты: plot.txt — файлы отчётов — от прежнего расчёта; сила ветра без направления не "
      "действует: выберите направление; готово: прогонов 20, "));
  EXPECT_EQ(w.field("Text9")->text(), "3");
  EXPECT_TRUE(w.field("Text6")->toolTip().startsWith(QStringLiteral("Ожидаемое значение: ")));
  const QString line = w.window->findChild<QLabel*>("deviation_line")->text();
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("([+-]\\d+),(\\d\\d) ст\\. ош\\.")).match(line);
  ASSERT_TRUE(match.hasMatch()) << line.toStdString();
  // Twenty runs of a simulation that is right lie within six standard errors of the
  // expectation but for a chance of about one in five hundred million.
  EXPECT_LT(std::abs((match.captured(1) + "." + match.captured(2)).toDouble()), 6.0);
}

// A crossing diameter without a length: model 1's carbon, and a dash with the reason for the rest.
TEST_F(WindowStart, ATallyWithoutLengthsShowsModelOneCarbonAndSaysWhatIsNotComputed) {
  ASSERT_EQ(w.start_on("t.csv", "Species,Diam_cm,Decay\n s ,20,1\n"), Outcome::completed);
  EXPECT_EQ(w.field("Text10")->text(), "0,880415616741942");
  for (const char* name : {"Text11", "Text6", "Text7"}) {
    EXPECT_EQ(w.field(name)->text(), QStringLiteral("—")) << name;
    EXPECT_EQ(w.field(name)->toolTip(), QStringLiteral("не вычислено: фрагментов без длины 1"));
  }
  EXPECT_EQ(files(), QStringList{"t.csv"});  // no report of figures left out
}

TEST_F(WindowStart, ModelOneAndThePlotFollowTheTransectLengthThePlotShowsTheLastRun) {
  w.field("Text1")->setText("50");
  PlotWindow& plot = w.window->plot_window();
  EXPECT_FALSE(plot.isVisible());  // hidden until the first Start
  ASSERT_EQ(w.start_on("plot.txt", "\"C\",30,10,4,5\n"), Outcome::completed);
  EXPECT_EQ(w.field("Text10")->text(), "0,534332558460239");
  EXPECT_EQ(w.field("Text11")->text(), "78");
  EXPECT_TRUE(plot.isVisible());
  EXPECT_EQ(plot.scale_height(), 52.0f);
  EXPECT_EQ(plot.scale_width(), 52.0f);
  // One run: every attempt drew the outline, then the transect, the mark and the piece.
  const std::int64_t attempts = w.window->last_start().placement_count;
  EXPECT_EQ(plot.boxes_drawn(), attempts);
  EXPECT_EQ(plot.lines_drawn(), 3 * attempts);
  // Every run clears the drawing of the run before: thirty runs drew more than is left.
  w.field("Text5")->setText("30");
  ASSERT_EQ(w.start(), Outcome::completed);
  EXPECT_LT(plot.boxes_drawn(), w.window->last_start().placement_count);
}

// The warnings about a tally are told whole in a message of their own while the status line
// names the inventory of the results, and the plot window shows the plot and its transect from
// the Start on, for a file without pieces too.
TEST_F(WindowStart, ImplausibleTalliesAreWarnedOfWholeAndThePlotAlwaysShows) {
  const struct {
    const char *file, *contents, *status, *message;
  } cases[] = {
      {"empty.txt", "",
       "Результаты: empty.txt — проверьте данные (см. сообщение); готово: прогонов 1, попыток 0 ",
       "Расчёт выполнен, но проверьте данные «empty.txt»:\n• в файле нет ни одного фрагмента"},
      {"mm.txt", "\"S\",450,20,10,1\n\"S\",20,20,10,1\n\"S\",20,380,10,1\n",
       "Результаты: mm.txt — проверьте данные (см. сообщение); готово: прогонов 1, ",
       "Расчёт выполнен, но проверьте данные «mm.txt»:\n• диаметр 450 см больше 300 см (введён в "
       "мм?) — строка 1, таких фрагментов 2"},
      {"plot.txt", "\"S\",20,20,10,1\n", "Результаты: plot.txt — готово: прогонов 1, попыток ",
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_EQ(w.start_on(c.file, c.contents), Outcome::completed);
    EXPECT_TRUE(w.window->status_line().text().startsWith(QString::fromUtf8(c.status)))
        << w.window->status_line().text().toStdString();
    EXPECT_EQ(w.messages, c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{});
    // The transect near the bottom, the outline's side half way up: within a pixel of where
    // they fall.
    PlotWindow& plot = w.window->plot_window();
    const QImage picture = plot.picture();
    const auto shows = [&](QPointF at, QColor colour) {
      const QPoint centre = plot.to_window(at).toPoint();
      for (int dx = -1; dx <= 1; ++dx)
        if (picture.pixelColor(centre + QPoint(dx, 0)) == colour) return true;
      return false;
    };
    EXPECT_TRUE(shows(QPointF(50, 1), QColor(200, 0, 0)));
    EXPECT_TRUE(shows(QPointF(100, 50), QColor(0, 0, 0)));
  }
}

// A file of several plots: the user chooses one of those that can be computed (a plot with a
// bad row is named with its reason instead), its reports are named after the file and the plot,
// and declining the choice starts nothing.
TEST_F(WindowStart, AFileOfSeveralPlotsRunsThePlotChosenWithReportsOfItsOwn) {
  QStringList offered;
  QStringList refused;
  int preselected = -1;
  std::optional<int> answer = 1;
  w.window->set_plot_choice([&](const QString& file, const QStringList& plots, int first,
                                const QStringList& not_offered) {
    EXPECT_EQ(file, "tally.csv");
    offered = plots;
    refused = not_offered;
    preselected = first;
    return answer;
  });
  ASSERT_EQ(w.start_on("tally.csv",
                       "plot;species;d1;d2;length;stage\nP07;S;20;20;10;1\nP9;S;x;20;10;1\n"
                       "P/8;C;30;10;4;5\nP/8;S;20;20;10,5;1\n"),
            Outcome::completed);
  EXPECT_EQ(offered, (QStringList{"P07", "P/8"}));
  ASSERT_EQ(refused.size(), 1);
  EXPECT_TRUE(refused[0].contains(QStringLiteral("tally.csv», участок P9, строка 3, запись 2")))
      << refused[0].toStdString();
  EXPECT_EQ(preselected, 0);
  EXPECT_EQ(w.field("Text9")->text(), "2");
  EXPECT_EQ(files(),
            (QStringList{"tally-P_8m_results.txt", "tally-P_8s_results.txt", "tally.csv"}));
  EXPECT_EQ(w.window->chooser().file_list().count(), 1);  // the plot's reports are no data
  EXPECT_TRUE(w.window->status_line().text().startsWith("Результаты: tally.csv — участок P/8: "));

  answer.reset();
  EXPECT_EQ(w.start(), Outcome::refused);
  EXPECT_EQ(preselected, 1);  // the plot taken last
  EXPECT_EQ(w.window->status_line().text(),
            "Расчёт не начат: участок не выбран; на экране — результаты tally.csv");
  EXPECT_TRUE(w.messages.isEmpty());
  EXPECT_EQ(w.field("Text9")->text(), "2");
}

// The refusals of fields and files are in edge_numbers_ui_test and file_faults_ui_test.
TEST_F(WindowStart, AStartWithoutAFileChosenNamesTheFileListAndShowsNoPlot) {
  EXPECT_EQ(w.start(), Outcome::refused);
  ASSERT_EQ(w.messages.size(), 1);
  EXPECT_TRUE(w.messages[0].contains(QStringLiteral("«Файл данных:»")));
  EXPECT_FALSE(w.window->plot_window().isVisible());
}

TEST_F(WindowStart, DuringAStartOnlyTheWindTheReportBoxAndFinishAreLive) {
  w.choose_inventory("plot.txt", slow_inventory(20));
  w.window->show();
  w.window->activateWindow();
  w.button("Command1")->setFocus();
  bool checked = false;
  during_start(w.window.get(), [&] {
    checked = true;
    EXPECT_TRUE(w.window->running());
    // Start keeps the focus, so that no key press reaches a setting.
    EXPECT_EQ(w.window->focusWidget(), w.button("Command1"));
    for (const char* name : {"Text1", "Text5", "Text8", "Text30", "Text3", "Text27"})
      EXPECT_TRUE(w.field(name)->isReadOnly()) << name;
    EXPECT_TRUE(w.window->findChild<QRadioButton*>("Option1")->isEnabled());
    EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isEnabled());
    EXPECT_TRUE(w.button("Command2")->isEnabled());
    EXPECT_TRUE(w.window->status_line().text().contains(QStringLiteral("Прогон 1 из 1")));
    // A second Start inside the first is not begun, nor do keys reach a setting.
    w.button("Command1")->click();
    w.window->start();
    press(w.window->focusWidget(), Qt::Key_Space, QStringLiteral(" "));
    press(w.window->focusWidget(), Qt::Key_Return);
    // Model 1 is already shown, the rest waits for the end of the runs.
    EXPECT_FALSE(w.field("Text10")->text().isEmpty());
    EXPECT_TRUE(w.field("Text6")->text().isEmpty());
  });
  press(w.button("Command1"), Qt::Key_Enter);  // Enter on the focused Start starts
  EXPECT_TRUE(checked);
  EXPECT_EQ(w.window->last_start().starts, 1);
  EXPECT_EQ(w.window->last_start().outcome, Outcome::completed);
  EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isChecked());
  EXPECT_TRUE(w.button("Command1")->isEnabled());
  EXPECT_EQ(w.window->focusWidget(), w.button("Command1"));  // the focus is back on Start
  EXPECT_FALSE(w.field("Text1")->isReadOnly());
}

// A wind button applies from the next attempt, a file clicked from the next Start; closing
// the plot window only hides it until then.
TEST_F(WindowStart, ChangesDuringTheRunsApplyFromTheirNextRead) {
  w.choose_inventory("plot.txt", slow_inventory(20));
  write_file(w.path("other.txt"), one_piece);
  w.window->chooser().refresh_files();
  w.field("Text30")->setText("5");  // every piece follows the wind
  w.window->findChild<QRadioButton*>("Option8")->click();
  during_start(w.window.get(), [&] {
    w.window->findChild<QRadioButton*>("Option6")->click();
    w.window->chooser().choose_file("other.txt");
    w.window->plot_window().close();
  });
  ASSERT_EQ(w.start(), Outcome::completed);
  const StartSummary& start = w.window->last_start();
  EXPECT_GT(start.attempts_by_wind[8], 0);  // north before the click
  EXPECT_GT(start.attempts_by_wind[6], 0);  // east after it
  EXPECT_EQ(start.attempts_by_wind[8] + start.attempts_by_wind[6], start.placement_count);
  // No single expectation holds for a Start under two winds.
  const QString line = w.window->findChild<QLabel*>("deviation_line")->text();
  EXPECT_TRUE(line.contains(QStringLiteral("Ветер менялся"))) << line.toStdString();
  EXPECT_TRUE(w.field("Text6")->toolTip().isEmpty());
  EXPECT_EQ(w.field("Text9")->text(), "20");  // the runs read the file the Start began with
  EXPECT_FALSE(read_file(w.path("plots_results.txt")).empty());
  EXPECT_FALSE(QFile::exists(w.path("others_results.txt")));
  EXPECT_FALSE(w.window->plot_window().isVisible());
  EXPECT_EQ(w.window->plot_window().boxes_drawn(), start.placement_count);

  w.window->start();
  EXPECT_EQ(w.field("Text9")->text(), "1");
  EXPECT_TRUE(w.window->plot_window().isVisible());
}

TEST_F(WindowStart, EscCancelsAndPutsThePreviousResultsBack) {
  ASSERT_EQ(w.start_on("plot.txt", one_piece), Outcome::completed);
  write_file(w.path("plot.txt"), slow_inventory(20));
  const testing::WindowTraces before = w.traces();
  bool cancelled = false;
  during_start(w.window.get(), [&] {
    cancelled = true;
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(w.field("Text1"), &escape);
  });
  EXPECT_EQ(w.start(), Outcome::cancelled);
  ASSERT_TRUE(cancelled);
  EXPECT_TRUE(w.messages.isEmpty());
  EXPECT_TRUE(w.traces() == before);  // no temporary file left either
  EXPECT_TRUE(w.button("Command1")->isEnabled());
}

// Finish or closing the window ends the program at once, idle or during the runs, and never
// leaves a half-written report.
TEST(WindowEnded, FinishOrClosingEndsTheProgramWithoutHalfWrittenReports) {
  for (const bool running : {false, true}) {
    for (const bool by_finish : {true, false}) {
      SCOPED_TRACE(std::string(by_finish ? "Finish" : "closing") + (running ? " running" : ""));
      WindowInFolder w;
      w.choose_inventory("plot.txt", slow_inventory(20));
      write_file(w.path("plotm_results.txt"), "earlier\r\n");
      w.window->show();
      int ended = 0;
      QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
      const auto end = [&] {
        if (by_finish)
          press(w.button("Command2"), Qt::Key_Return);
        else
          w.window->close();
      };
      if (running) {
        during_start(w.window.get(), end);
        w.window->start();
        EXPECT_EQ(w.window->last_start().outcome, Outcome::ended);
      } else {
        end();
      }
      EXPECT_EQ(ended, 1);
      EXPECT_FALSE(w.window->isVisible());
      EXPECT_FALSE(w.window->plot_window().isVisible());
      EXPECT_EQ(read_file(w.path("plotm_results.txt")), "earlier\r\n");
      EXPECT_EQ(QDir(w.folder.path()).entryList(QDir::Files),
                (QStringList{"plot.txt", "plotm_results.txt"}));
    }
  }
}

TEST(SharedStart, TheBatchWritesTheWindowsReportsFromTheWindowsSeed) {
  const std::string inventory = "\"S\",20,20,10,1\n\"H\",30,25,3,2\n\"C\",12,8,6,4\n";
  testing::WindowInFolder w;
  w.field("Text5")->setText("7");
  w.field("Text1")->setText("40");
  ASSERT_EQ(w.start_on("plot.txt", inventory), StartSummary::Outcome::completed);

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
