// The window's host of a Start: what the engine's drawing calls become on the plot window,
// the wind it reads, and stopping.

#include <gtest/gtest.h>

#include <QTimer>

#include "window_run_host.h"

namespace quorvel {
namespace {

struct Host {
  PlotWindow plot{TwipScale(96)};
  WindButton wind = WindButton::none;
  WindowRunHost host{plot, {[this] { return wind; }, {}, {}}};
  Host() {
    plot.resize(520, 520);
    host.set_scale(104, 104);
    host.clear_plot();
  }
  // One attempt as the engine draws it.
  void attempt(float y) {
    host.draw_box(0, 0, 100, 100, foreground_colour);
    host.draw_line(50, 0, 50, 100, transect_colour);
    host.draw_line(40, y, 40, y + 1, foreground_colour);
    host.draw_line(40, y, 60, y, foreground_colour);
  }
};

TEST(WindowRunHostDrawing, TheTransectStaysOnTopOfEveryPiece) {
  Host h;
  h.attempt(60);
  h.attempt(20);
  const QImage picture = h.plot.picture();
  EXPECT_EQ(picture.pixelColor(255, 305), QColor(200, 0, 0));  // over the first piece
  EXPECT_EQ(picture.pixelColor(255, 105), QColor(200, 0, 0));  // over the second
  EXPECT_EQ(picture.pixelColor(230, 305), QColor(0, 0, 0));
  EXPECT_EQ(picture.pixelColor(230, 105), QColor(0, 0, 0));
  EXPECT_EQ(h.plot.boxes_drawn(), 2);
  EXPECT_EQ(h.plot.lines_drawn(), 6);
}

TEST(WindowRunHostDrawing, ClearingForTheNextRunStartsAFreshDrawing) {
  Host h;
  h.attempt(60);
  h.host.clear_plot();
  h.attempt(20);
  const QImage picture = h.plot.picture();
  EXPECT_EQ(picture.pixelColor(230, 305), QColor(Qt::white));  // the first run is gone
  EXPECT_EQ(picture.pixelColor(230, 105), QColor(0, 0, 0));
  EXPECT_EQ(h.plot.lines_drawn(), 3);
}

TEST(WindowRunHostWind, CountsTheAttemptsUnderEachButton) {
  Host h;
  h.host.wind_choice();
  h.wind = WindButton::e;
  h.host.wind_choice();
  h.host.wind_choice();
  EXPECT_EQ(h.host.attempts_by_wind()[0], 1);
  EXPECT_EQ(h.host.attempts_by_wind()[static_cast<int>(WindButton::e)], 2);
  EXPECT_TRUE(h.host.wind_changed());
}

TEST(WindowRunHostYield, GoesOnUntilAStopIsAskedFor) {
  Host h;
  RunProgress progress{1, 1, 0};
  for (int attempt = 1; attempt <= 100; ++attempt) {
    progress.placement_count = attempt;
    ASSERT_TRUE(h.host.yield(progress));
  }
  h.host.request_stop();
  EXPECT_FALSE(h.host.yield(progress));
}

TEST(WindowRunHostYield, AStopAskedForWhileEventsAreHandledEndsThatVeryAttempt) {
  Host h;
  // The first yield handles events once the first millisecond is over; the stop comes then.
  QTimer::singleShot(0, [&] { h.host.request_stop(); });
  RunProgress progress{1, 1, 0};
  bool going = true;
  for (int attempt = 1; going && attempt < 100'000'000; ++attempt) {
    progress.placement_count = attempt;
    going = h.host.yield(progress);
  }
  EXPECT_FALSE(going);
  EXPECT_TRUE(h.host.stop_requested());
}

}  // namespace
}  // namespace quorvel
