#include "plot_window.h"

#include <QKeyEvent>
#include <QPainter>

namespace quorvel {

namespace {
// Lines wait here until the next repaint or until this many have gathered, so that a painter
// is opened once for many lines rather than once for each.
constexpr std::size_t pending_limit = 8192;
}  // namespace

PlotWindow::PlotWindow(const TwipScale& scale, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Debris window"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setGeometry(scale.rect(12120, 1455, 7320, 7080));
  fit_image();
}

void PlotWindow::set_scale_height(float height) {
  flush();
  scale_height_ = height;
  update();
}

void PlotWindow::set_scale_width(float width) {
  flush();
  scale_width_ = width;
  update();
}

void PlotWindow::clear() {
  pending_.clear();
  fit_image();
  image_.fill(Qt::white);
  outline_.reset();
  transect_.reset();
  lines_drawn_ = 0;
  boxes_drawn_ = 0;
  update();
}

void PlotWindow::draw_line(QPointF from, QPointF to, QColor colour) {
  pending_.push_back({QLineF(from, to), colour.rgb()});
  ++lines_drawn_;
  if (pending_.size() >= pending_limit) flush();
}

void PlotWindow::draw_box(QPointF corner1, QPointF corner2, QColor colour) {
  const QPointF corner3(corner2.x(), corner1.y());
  const QPointF corner4(corner1.x(), corner2.y());
  const QRgb rgb = colour.rgb();
  pending_.push_back({QLineF(corner1, corner3), rgb});
  pending_.push_back({QLineF(corner3, corner2), rgb});
  pending_.push_back({QLineF(corner2, corner4), rgb});
  pending_.push_back({QLineF(corner4, corner1), rgb});
  ++boxes_drawn_;
  if (pending_.size() >= pending_limit) flush();
}

void PlotWindow::set_outline(QPointF corner1, QPointF corner2, QColor colour) {
  const QLineF diagonal(corner1, corner2);
  ++boxes_drawn_;
  if (outline_ == diagonal && outline_colour_ == colour) return;
  // A different outline replaces the standing one; the old one stays in the drawing.
  if (outline_) {
    draw_box(outline_->p1(), outline_->p2(), outline_colour_);
    --boxes_drawn_;  // it was counted when it was set
  }
  outline_ = diagonal;
  outline_colour_ = colour;
  update();
}

void PlotWindow::set_transect(QPointF from, QPointF to, QColor colour) {
  const QLineF line(from, to);
  ++lines_drawn_;
  if (transect_ == line && transect_colour_ == colour) return;
  if (transect_) {
    draw_line(transect_->p1(), transect_->p2(), transect_colour_);
    --lines_drawn_;  // it was counted when it was set
  }
  transect_ = line;
  transect_colour_ = colour;
  update();
}

QSize PlotWindow::image_size() const {
  const qreal ratio = devicePixelRatioF();
  return QSize(qMax(1, qRound(width() * ratio)), qMax(1, qRound(height() * ratio)));
}

void PlotWindow::fit_image() {
  const QSize wanted = image_size();
  if (image_.size() == wanted) return;
  QImage fitted(wanted, QImage::Format_RGB32);
  fitted.fill(Qt::white);
  if (!image_.isNull()) {
    // Lines still waiting are drawn at the old size first, so they are carried over as well.
    flush();
    QPainter painter(&fitted);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), wanted), image_);
  }
  image_ = fitted;
}

QPointF PlotWindow::to_image(QPointF user) const {
  return QPointF((user.x() + 1.0) * image_.width() / scale_width_,
                 (user.y() + 1.0) * image_.height() / scale_height_);
}

QPointF PlotWindow::to_window(QPointF user) const {
  return QPointF((user.x() + 1.0) * width() / scale_width_,
                 (user.y() + 1.0) * height() / scale_height_);
}

void PlotWindow::flush() {
  if (pending_.empty() || image_.isNull()) return;
  QPainter painter(&image_);
  std::vector<QLineF> batch;
  batch.reserve(pending_.size());
  std::size_t first = 0;
  while (first < pending_.size()) {
    const QRgb colour = pending_[first].colour;
    batch.clear();
    std::size_t next = first;
    for (; next < pending_.size() && pending_[next].colour == colour; ++next) {
      batch.emplace_back(to_image(pending_[next].line.p1()), to_image(pending_[next].line.p2()));
    }
    painter.setPen(QPen(QColor::fromRgb(colour), 0));
    painter.drawLines(batch.data(), static_cast<int>(batch.size()));
    first = next;
  }
  pending_.clear();
}

void PlotWindow::paint_standing(QPainter& painter) const {
  if (outline_) {
    painter.setPen(QPen(outline_colour_, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(to_image(outline_->p1()), to_image(outline_->p2())).normalized());
  }
  if (transect_) {
    painter.setPen(QPen(transect_colour_, 0));
    painter.drawLine(QLineF(to_image(transect_->p1()), to_image(transect_->p2())));
  }
}

QImage PlotWindow::picture() {
  fit_image();
  flush();
  QImage shown = image_.copy();
  QPainter painter(&shown);
  paint_standing(painter);
  return shown;
}

PlotWindow::Contents PlotWindow::contents() {
  flush();
  return {image_,          scale_height_,    scale_width_, outline_,    transect_,
          outline_colour_, transect_colour_, lines_drawn_, boxes_drawn_};
}

void PlotWindow::restore(const Contents& contents) {
  pending_.clear();
  image_ = contents.image;
  scale_height_ = contents.scale_height;
  scale_width_ = contents.scale_width;
  outline_ = contents.outline;
  transect_ = contents.transect;
  outline_colour_ = contents.outline_colour;
  transect_colour_ = contents.transect_colour;
  lines_drawn_ = contents.lines_drawn;
  boxes_drawn_ = contents.boxes_drawn;
  fit_image();
  update();
}

void PlotWindow::paintEvent(QPaintEvent*) {
  fit_image();
  flush();
  QPainter painter(this);
  painter.drawImage(rect(), image_);
  // The standing shapes in image pixels, exactly where drawing them into the image would put them.
  painter.scale(qreal(width()) / image_.width(), qreal(height()) / image_.height());
  paint_standing(painter);
}

void PlotWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    emit cancel_requested();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace quorvel
