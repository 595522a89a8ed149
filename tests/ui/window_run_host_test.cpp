// The window's host of a Start: what the engine's drawing calls become on the plot window,
// and stopping. The wind it reads is followed through a whole Start in the window's tests.

#include "window_run_host.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace quorvel {
namespace {

class WindowRunHostOn100 : public ::testing::Test {
 protected:
  WindowRunHostOn100() {
    plot.resize(520, 520);  // five pixels to the metre
    host.set_scale(104, 104);
    host.clear_plot();
  }
  // One attempt as the engine draws it: the plot, then the piece at height y with its mark.
  void attempt(float y) {
    host.draw_plot_frame({{0, 0, 100, 100}, {50, 0, 50, 100}});
    host.draw_piece({{40, y, 40, y + 1}, {40, y, 60, y}});
  }

  PlotWindow plot{TwipScale(96)};
  WindowRunHost host{plot, {.wind = [] { return WindButton::none; }}};
};

TEST_F(WindowRunHostOn100, TheTransectStaysOnTopAndEachRunStartsAFreshDrawing) {
  attempt(60);
  attempt(20);
  QImage picture = plot.picture();
  EXPECT_EQ(picture.pixelColor(255, 305), QColor(200, 0, 0));  // over the first piece
  EXPECT_EQ(picture.pixelColor(255, 105), QColor(200, 0, 0));  // over the second
  EXPECT_EQ(picture.pixelColor(230, 305), QColor(0, 0, 0));
  EXPECT_EQ(picture.pixelColor(230, 105), QColor(0, 0, 0));
  EXPECT_EQ(plot.boxes_drawn(), 2);
  EXPECT_EQ(plot.lines_drawn(), 6);

  host.clear_plot();
  attempt(20);
  picture = plot.picture();
  EXPECT_EQ(picture.pixelColor(230, 305), QColor(Qt::white));  // the first run is gone
  EXPECT_EQ(picture.pixelColor(230, 105), QColor(0, 0, 0));
  EXPECT_EQ(plot.lines_drawn(), 3);
}

TEST_F(WindowRunHostOn100, AStopAskedForWhileEventsAreHandledEndsThatVeryAttempt) {
  // A yield handles events once a millisecond has passed; the stop comes from one of them.
  QTimer::singleShot(0, [&] { host.request_stop(); });
  RunProgress progress{1, 1, 0};
  bool going = true;
  for (int attempt = 1; going && attempt < 100'000'000; ++attempt) {
    progress.placement_count = attempt;
    going = host.yield(progress);
  }
  EXPECT_FALSE(going);
  EXPECT_TRUE(host.stop_requested());
}

}  // namespace
}  // namespace quorvel
