#include "ui/line_shape.h"

#include <QPainter>
#include <algorithm>

namespace quorvel {

LineShape::LineShape(QPoint from, QPoint to, QWidget* parent)
    : QWidget(parent), from_(from), to_(to) {
  // The widget covers just the line's bounding box, both end points included.
  setGeometry(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                    QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  const QPoint origin = pos();
  painter.drawLine(from_ - origin, to_ - origin);
}

}  // namespace quorvel
