#include "ui/twip_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quorvel {

TwipScale TwipScale::of_primary_screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return TwipScale(screen != nullptr ? screen->logicalDotsPerInch() : 96.0);
}

int TwipScale::pixels(int twips) const {
  return static_cast<int>(std::lround(twips * pixels_per_twip_));
}

QRect TwipScale::rect(int left, int top, int width, int height) const {
  const int x = pixels(left);
  const int y = pixels(top);
  return QRect(x, y, pixels(left + width) - x, pixels(top + height) - y);
}

}  // namespace quorvel
