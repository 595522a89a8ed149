// The documented look of the program: both windows after a Start on the bundled example,
// saved as pictures when QUORVEL_SCREENSHOT_DIR names a folder (tools/screenshot.sh does this
// under a virtual X server, once in Russian and once with QUORVEL_SCREENSHOT_LANGUAGE=en), the
// convergence chart among them.
// Without it the pictures are only checked, not kept. The Start's speed with live drawing is
// printed for the record; it is never asserted.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <iostream>

#include "ui/window_language.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

void let_windows_settle() {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A folder named as a user's would be, examples/ in the temporary folder, for the directory
// list of the pictures; removed afterwards. Where one is there already, a temporary folder.
struct ExampleFolder {
  QString path = QDir::temp().filePath(QStringLiteral("examples"));
  bool made = !QFileInfo::exists(path) && QDir().mkpath(path);
  ~ExampleFolder() {
    if (made) QDir(path).removeRecursively();
  }
};

// The shown window with the bundled example chosen, or null when the example is missing.
struct WindowOnExample {
  ExampleFolder examples;
  testing::WindowInFolder w{examples.made ? examples.path : QString()};
};

std::unique_ptr<WindowOnExample> window_on_the_example() {
  const QString example = QStringLiteral(QUORVEL_SOURCE_DIR "/examples/plot7.txt");
  if (!QFile::exists(example)) return nullptr;
  auto on = std::make_unique<WindowOnExample>();
  testing::WindowInFolder& w = on->w;
  const QString folder = w.window->chooser().directory_list().path();
  EXPECT_TRUE(QFile::copy(example, QDir(folder).filePath("plot7.txt")));
  w.window->chooser().refresh_files();
  w.window->chooser().choose_file("plot7.txt");
  w.window->show();
  let_windows_settle();
  return on;
}

TEST(Screenshot, BothWindowsAfterAStartOnTheExample) {
  const QString language = qEnvironmentVariable("QUORVEL_SCREENSHOT_LANGUAGE");
  const WindowLanguage chosen = window_language_named(language).value_or(WindowLanguage::russian);
  const auto translator = install_window_language(chosen);
  const QString suffix = chosen == WindowLanguage::english ? QStringLiteral("_en") : QString();
  const auto on = window_on_the_example();
  if (!on) GTEST_SKIP() << "no example inventory";
  testing::WindowInFolder* w = &on->w;
  w->field("Text5")->setText("100");  // as the README suggests for a first try
  w->window->start();
  ASSERT_EQ(w->window->last_start().outcome, StartSummary::Outcome::completed)
      << w->messages.join("\n").toStdString();
  w->window->chart_action().trigger();
  let_windows_settle();
  const QImage main_picture = w->window->grab().toImage();
  const QImage chart_picture = w->window->convergence_chart().grab().toImage();
  PlotWindow& plot = w->window->plot_window();
  const QImage plot_picture = plot.grab().toImage();
  EXPECT_FALSE(w->field("Text6")->text().isEmpty());

  const QByteArray folder = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(folder)));
  const QString base = QString::fromLocal8Bit(folder) + QLatin1Char('/');
  EXPECT_TRUE(main_picture.save(base + "main_window" + suffix + ".png"));
  EXPECT_TRUE(plot_picture.save(base + "plot_window" + suffix + ".png"));
  EXPECT_TRUE(chart_picture.save(base + "convergence_chart" + suffix + ".png"));
  // On a real display the screen shows both windows side by side as the user sees them.
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QRect both = w->window->frameGeometry().united(plot.frameGeometry());
    EXPECT_TRUE(
        screen.copy(both.adjusted(-8, -8, 8, 8)).save(base + "both_windows" + suffix + ".png"));
  }
}

TEST(WindowSpeed, AttemptsPerSecondWithLiveDrawing) {
  const auto on = window_on_the_example();
  if (!on) GTEST_SKIP() << "no example inventory";
  testing::WindowInFolder* w = &on->w;
  w->field("Text5")->setText(qEnvironmentVariable("QUORVEL_SPEED_RUNS", "20"));
  QElapsedTimer whole;
  whole.start();
  w->window->start();
  const double whole_seconds = whole.nsecsElapsed() / 1e9;
  const StartSummary& start = w->window->last_start();
  ASSERT_EQ(start.outcome, StartSummary::Outcome::completed);
  std::cout << "[ speed    ] " << start.run_count << " runs, " << start.placement_count
            << " attempts in " << start.seconds
            << " s: " << static_cast<long long>(start.placement_count / start.seconds)
            << " attempts per second with live drawing; the whole Start took " << whole_seconds
            << " s\n";
}

}  // namespace
}  // namespace quorvel
