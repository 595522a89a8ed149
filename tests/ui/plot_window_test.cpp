// The plot window: its user scale, what the drawing calls leave on it, and that the drawing
// survives resizing, hiding and a Start that is put back.

#include <gtest/gtest.h>

#include "plot_window.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

const QColor black(0, 0, 0);
const QColor dark_red(200, 0, 0);

// A window of 520 x 520 pixels with the scale of L = 100: five pixels to the metre.
struct Plot100 {
  PlotWindow plot{TwipScale(96)};
  Plot100() {
    plot.resize(520, 520);
    plot.set_scale_height(104);
    plot.set_scale_width(104);
    plot.clear();
  }
};

TEST(PlotWindowBasics, IsWhiteHiddenAndNamedAtStart) {
  PlotWindow plot(TwipScale(96));
  EXPECT_EQ(plot.windowTitle(), "Debris window");
  EXPECT_FALSE(plot.isVisible());
  EXPECT_EQ(plot.size(), QSize(488, 472));  // 7320 x 7080 twips
  const QImage picture = plot.picture();
  EXPECT_EQ(picture.pixelColor(10, 10), QColor(Qt::white));
  EXPECT_EQ(picture.pixelColor(480, 460), QColor(Qt::white));
}

TEST(PlotWindowScale, TheUserAreaSpansMinusOneToLPlusOne) {
  PlotWindow plot(TwipScale(96));
  plot.resize(510, 408);
  plot.set_scale_height(102);
  plot.set_scale_width(102);
  EXPECT_EQ(plot.to_window({-1, -1}), QPointF(0, 0));
  EXPECT_EQ(plot.to_window({101, 101}), QPointF(510, 408));
  EXPECT_EQ(plot.to_window({0, 0}), QPointF(5, 4));  // the axes are scaled independently
  EXPECT_EQ(plot.to_window({50, 100}), QPointF(255, 404));
}

TEST(PlotWindowDrawing, LinesAndBoxesLandWhereTheScalePutsThem) {
  Plot100 p;
  p.plot.draw_line({9, 9}, {9, 99}, black);     // x = 9 m is pixel 50
  p.plot.draw_box({19, 19}, {39, 39}, dark_red);  // pixels 100 .. 200
  const QImage picture = p.plot.picture();
  EXPECT_EQ(picture.pixelColor(50, 300), black);
  EXPECT_EQ(picture.pixelColor(51, 300), QColor(Qt::white));
  EXPECT_EQ(picture.pixelColor(100, 150), dark_red);
  EXPECT_EQ(picture.pixelColor(200, 150), dark_red);
  EXPECT_EQ(picture.pixelColor(150, 100), dark_red);
  EXPECT_EQ(picture.pixelColor(150, 150), QColor(Qt::white));  // an outline, not filled
  EXPECT_EQ(p.plot.lines_drawn(), 1);
  EXPECT_EQ(p.plot.boxes_drawn(), 1);
}

TEST(PlotWindowDrawing, TheOutlineAndTransectStandOverThePieces) {
  Plot100 p;
  for (int attempt = 0; attempt < 3; ++attempt) {
    p.plot.set_outline({0, 0}, {100, 100}, black);
    p.plot.set_transect({50, 0}, {50, 100}, dark_red);
    p.plot.draw_line({40, 60}, {60, 60}, black);  // a piece across the transect
    p.plot.draw_line({40, 60}, {40, 61}, black);  // its diameter mark
  }
  const QImage picture = p.plot.picture();
  EXPECT_EQ(picture.pixelColor(255, 100), dark_red);   // x = 50
  EXPECT_EQ(picture.pixelColor(255, 305), dark_red);   // the transect over the piece
  EXPECT_EQ(picture.pixelColor(230, 305), black);      // the piece beside it
  EXPECT_EQ(picture.pixelColor(5, 200), black);        // the outline at x = 0
  EXPECT_EQ(picture.pixelColor(505, 200), black);      // and at x = 100
  // Every attempt counts its outline, transect, mark and piece.
  EXPECT_EQ(p.plot.boxes_drawn(), 3);
  EXPECT_EQ(p.plot.lines_drawn(), 9);
}

TEST(PlotWindowDrawing, ClearWipesEverythingAndANewScaleAppliesToNewLines) {
  Plot100 p;
  p.plot.set_transect({50, 0}, {50, 100}, dark_red);
  p.plot.draw_line({0, 0}, {100, 100}, black);
  p.plot.set_scale_height(52);
  p.plot.set_scale_width(52);
  p.plot.clear();
  EXPECT_EQ(p.plot.lines_drawn(), 0);
  QImage picture = p.plot.picture();
  for (int x = 0; x < 520; x += 13) {
    for (int y = 0; y < 520; y += 7) ASSERT_EQ(picture.pixelColor(x, y), QColor(Qt::white));
  }
  p.plot.set_transect({25, 0}, {25, 50}, dark_red);  // ten pixels to the metre now
  picture = p.plot.picture();
  EXPECT_EQ(picture.pixelColor(260, 200), dark_red);
}

TEST(PlotWindowRetainedImage, ResizingKeepsTheDrawing) {
  Plot100 p;
  p.plot.draw_line({9, 9}, {99, 9}, black);  // a horizontal line at pixel row 50
  p.plot.resize(1040, 1040);
  const QImage picture = p.plot.picture();
  ASSERT_EQ(picture.size(), QSize(1040, 1040));
  // Scaled up with the window: the line is now near row 100.
  bool found = false;
  for (int y = 96; y <= 104; ++y) found = found || picture.pixelColor(500, y).value() < 128;
  EXPECT_TRUE(found);
  EXPECT_EQ(picture.pixelColor(500, 300), QColor(Qt::white));
}

TEST(PlotWindowRetainedImage, DrawingGoesOnWhileHiddenAndShowsAgain) {
  Plot100 p;
  p.plot.show();
  p.plot.close();  // closing only hides it
  EXPECT_FALSE(p.plot.isVisible());
  p.plot.draw_line({9, 9}, {9, 99}, black);
  p.plot.show();
  EXPECT_EQ(p.plot.picture().pixelColor(50, 300), black);
  // What is on the screen is the retained image.
  EXPECT_EQ(p.plot.grab().toImage().pixelColor(50, 300), black);
}

TEST(PlotWindowRetainedImage, ContentsPutBackRestoreThePicture) {
  Plot100 p;
  p.plot.set_transect({50, 0}, {50, 100}, dark_red);
  p.plot.draw_line({9, 9}, {9, 99}, black);
  const PlotWindow::Contents before = p.plot.contents();
  p.plot.set_scale_height(52);
  p.plot.set_scale_width(52);
  p.plot.clear();
  p.plot.draw_line({0, 0}, {50, 50}, black);
  p.plot.restore(before);
  EXPECT_EQ(p.plot.scale_width(), 104);
  EXPECT_EQ(p.plot.lines_drawn(), 2);
  const QImage picture = p.plot.picture();
  EXPECT_EQ(picture.pixelColor(50, 300), black);
  EXPECT_EQ(picture.pixelColor(255, 300), dark_red);
  EXPECT_EQ(picture.pixelColor(100, 100), QColor(Qt::white));
}

}  // namespace
}  // namespace quorvel
