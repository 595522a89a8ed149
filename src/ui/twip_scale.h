#pragma once
// Turns the window's design measures, given in twips (1/1440 inch), into pixels through the
// screen's logical resolution: 15 twips to a pixel at 96 dots per inch.

#include <QRect>

namespace quorvel {

class TwipScale {
 public:
  explicit TwipScale(double logical_dpi) : pixels_per_twip_(logical_dpi / 1440.0) {}

  // The scale of the primary screen (96 dpi when there is none).
  static TwipScale of_primary_screen();

  int pixels(int twips) const;
  // Each edge is converted on its own, so neighbouring controls that touch in twips still
  // touch in pixels.
  QRect rect(int left, int top, int width, int height) const;
  QPoint point(int x, int y) const { return {pixels(x), pixels(y)}; }

 private:
  double pixels_per_twip_;
};

}  // namespace quorvel
