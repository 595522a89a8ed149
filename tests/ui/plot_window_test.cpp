// The plot window: its user scale, what the drawing calls leave on it, and that the drawing
// survives clearing, resizing and hiding as it should: drawn again sharply at a new size.
// The window's host of a Start turns the engine's drawing calls into these, and stops.

#include "ui/plot_window.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "ui/window_run_host.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

const QColor black(0, 0, 0);
const QColor dark_red(200, 0, 0);
const QColor white(Qt::white);

// A window of 520 x 520 pixels with the scale of L = 100: five pixels to the metre, x = 9 m
// at pixel 50.
class PlotWindowOf100 : public ::testing::Test {
 protected:
  PlotWindowOf100() {
    plot.resize(520, 520);
    plot.set_scale_height(104);
    plot.set_scale_width(104);
    plot.clear();
  }
  PlotWindow plot{TwipScale(96)};
};

TEST(PlotWindow, OpensHiddenWhiteAndNamedAndScalesEachAxisFromMinusOneToLPlusOne) {
  PlotWindow plot(TwipScale(96));
  EXPECT_EQ(plot.windowTitle(), "Debris window");
  EXPECT_FALSE(plot.isVisible());
  EXPECT_EQ(plot.size(), QSize(488, 472));  // 7320 x 7080 twips
  EXPECT_EQ(plot.picture().pixelColor(10, 10), white);
  EXPECT_EQ(plot.picture().pixelColor(480, 460), white);

  plot.resize(510, 408);
  plot.set_scale_height(102);
  plot.set_scale_width(102);
  EXPECT_EQ(plot.to_window({-1, -1}), QPointF(0, 0));
  EXPECT_EQ(plot.to_window({101, 101}), QPointF(510, 408));
  EXPECT_EQ(plot.to_window({0, 0}), QPointF(5, 4));
  EXPECT_EQ(plot.to_window({50, 100}), QPointF(255, 404));
}

TEST_F(PlotWindowOf100, LinesAndBoxOutlinesLandWhereTheScalePutsThem) {
  plot.draw_line({9, 9}, {9, 99}, black);
  plot.draw_box({19, 19}, {39, 39}, dark_red);  // pixels 100 .. 200
  const QImage picture = plot.picture();
  EXPECT_EQ(picture.pixelColor(50, 300), black);
  EXPECT_EQ(picture.pixelColor(51, 300), white);
  EXPECT_EQ(picture.pixelColor(100, 150), dark_red);
  EXPECT_EQ(picture.pixelColor(200, 150), dark_red);
  EXPECT_EQ(picture.pixelColor(150, 100), dark_red);
  EXPECT_EQ(picture.pixelColor(150, 150), white);  // an outline, not filled
  EXPECT_EQ(plot.lines_drawn(), 1);
  EXPECT_EQ(plot.boxes_drawn(), 1);
}

TEST_F(PlotWindowOf100, ClearWipesTheDrawingANewScaleAlsoThePlotAndAppliesToNewLines) {
  plot.set_transect({50, 0}, {50, 100}, dark_red);
  plot.draw_line({0, 0}, {100, 100}, black);
  plot.set_scale_height(52);
  plot.set_scale_width(52);
  plot.clear();
  EXPECT_EQ(plot.lines_drawn(), 0);
  EXPECT_EQ(plot.picture().pixelColor(255, 300), white);  // the transect is gone,
  EXPECT_EQ(plot.picture().pixelColor(105, 105), white);  // and the drawing
  plot.set_transect({25, 0}, {25, 50}, dark_red);         // ten pixels to the metre now
  plot.set_outline({0, 0}, {50, 50}, black);
  plot.draw_line({0, 0}, {50, 50}, black);
  plot.clear();  // a new run: the plot stays, so it shows before the run's first attempt
  EXPECT_EQ(plot.picture().pixelColor(260, 200), dark_red);
  EXPECT_EQ(plot.picture().pixelColor(10, 200), black);
  EXPECT_EQ(plot.picture().pixelColor(110, 110), white);
}

TEST_F(PlotWindowOf100, TheDrawingIsKeptWhileHiddenAndScaledWithTheWindow) {
  plot.show();
  plot.close();  // closing only hides it
  EXPECT_FALSE(plot.isVisible());
  plot.draw_line({9, 9}, {9, 99}, black);
  plot.draw_line({9, 9}, {99, 9}, black);  // a horizontal line at pixel row 50
  plot.show();
  EXPECT_EQ(plot.picture().pixelColor(50, 300), black);
  EXPECT_EQ(plot.grab().toImage().pixelColor(50, 300), black);  // the screen shows the image

  plot.resize(1040, 1040);
  const QImage picture = plot.picture();
  ASSERT_EQ(picture.size(), QSize(1040, 1040));
  // Drawn again at the new size, not stretched: the horizontal line lies on row 100, one
  // pixel thick.
  EXPECT_EQ(picture.pixelColor(500, 100), black);
  EXPECT_EQ(picture.pixelColor(500, 99), white);
  EXPECT_EQ(picture.pixelColor(500, 101), white);
  EXPECT_EQ(picture.pixelColor(500, 300), white);
}

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

TEST_F(WindowRunHostOn100, TheTransectStaysOnTopOfEveryPiece) {
  attempt(60);
  attempt(20);
  const QImage picture = plot.picture();
  EXPECT_EQ(picture.pixelColor(255, 305), QColor(200, 0, 0));  // over the first piece
  EXPECT_EQ(picture.pixelColor(255, 105), QColor(200, 0, 0));  // over the second
  EXPECT_EQ(picture.pixelColor(230, 305), QColor(0, 0, 0));
  EXPECT_EQ(picture.pixelColor(230, 105), QColor(0, 0, 0));
  EXPECT_EQ(plot.boxes_drawn(), 2);
  EXPECT_EQ(plot.lines_drawn(), 6);
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
