#include "ui/plot_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace quorvel {

namespace {
// Lines wait until the next repaint or until this many have gathered, so that a painter is
// opened once for many lines rather than once for each.
constexpr qsizetype pending_limit = 8192;
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

void PlotWindow::set_scale_height(float height) { set_scale(height, scale_width_); }

void PlotWindow::set_scale_width(float width) { set_scale(scale_height_, width); }

void PlotWindow::set_scale(float height, float width) {
  if (height == scale_height_ && width == scale_width_) return;
  // The lines drawn so far stay where they are on the window, as pixels: their user units
  // were those of the old scale. The outline and transect of the old plot go.
  fold();
  scale_height_ = height;
  scale_width_ = width;
  outline_.reset();
  transect_.reset();
  update();
}

void PlotWindow::clear() {
  lines_ = {};
  colours_.clear();
  folded_ = QImage();
  if (!image_.isNull()) image_.fill(Qt::white);
  drawn_ = 0;
  lines_drawn_ = 0;
  boxes_drawn_ = 0;
  update();
}

void PlotWindow::add_line(QPointF from, QPointF to, QRgb colour) {
  if (lines_.size() >= max_kept_lines) fold();
  if (colours_.empty() || colours_.back().colour != colour) {
    colours_.push_back({lines_.size(), colour});
  }
  lines_.append({static_cast<float>(from.x()), static_cast<float>(from.y()),
                 static_cast<float>(to.x()), static_cast<float>(to.y())});
  if (lines_.size() - drawn_ >= pending_limit) flush();
}

void PlotWindow::draw_line(QPointF from, QPointF to, QColor colour) {
  add_line(from, to, colour.rgb());
  ++lines_drawn_;
}

void PlotWindow::draw_box(QPointF corner1, QPointF corner2, QColor colour) {
  const QPointF corner3(corner2.x(), corner1.y());
  const QPointF corner4(corner1.x(), corner2.y());
  const QRgb rgb = colour.rgb();
  add_line(corner1, corner3, rgb);
  add_line(corner3, corner2, rgb);
  add_line(corner2, corner4, rgb);
  add_line(corner4, corner1, rgb);
  ++boxes_drawn_;
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
  image_ = QImage(wanted, QImage::Format_RGB32);
  image_.fill(Qt::white);
  if (!folded_.isNull()) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), wanted), folded_);
  }
  drawn_ = 0;  // every kept line is drawn again at the new size
}

void PlotWindow::flush() {
  fit_image();
  if (drawn_ == lines_.size()) return;
  QPainter painter(&image_);
  std::vector<QLineF> batch;
  batch.reserve(std::min(lines_.size() - drawn_, pending_limit));
  // The colour runs that meet the lines from `drawn_` on, each drawn in one call.
  auto run = std::upper_bound(colours_.begin(), colours_.end(), drawn_,
                              [](qsizetype line, const ColourRun& r) { return line < r.first; });
  --run;
  for (; run != colours_.end(); ++run) {
    const qsizetype end = std::next(run) == colours_.end() ? lines_.size() : std::next(run)->first;
    batch.clear();
    for (qsizetype i = std::max(drawn_, run->first); i < end; ++i) {
      const Line& line = lines_[i];
      batch.emplace_back(to_image({line.x1, line.y1}), to_image({line.x2, line.y2}));
    }
    painter.setPen(QPen(QColor::fromRgb(run->colour), 0));
    painter.drawLines(batch.data(), static_cast<int>(batch.size()));
  }
  drawn_ = lines_.size();
}

void PlotWindow::fold() {
  if (lines_.isEmpty()) return;
  flush();
  folded_ = image_;
  lines_ = {};
  colours_.clear();
  drawn_ = 0;
}

QPointF PlotWindow::to_image(QPointF user) const {
  return QPointF((user.x() + 1.0) * image_.width() / scale_width_,
                 (user.y() + 1.0) * image_.height() / scale_height_);
}

QPointF PlotWindow::to_window(QPointF user) const {
  return QPointF((user.x() + 1.0) * width() / scale_width_,
                 (user.y() + 1.0) * height() / scale_height_);
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
  flush();
  QImage shown = image_.copy();
  QPainter painter(&shown);
  paint_standing(painter);
  return shown;
}

PlotWindow::Contents PlotWindow::contents() const {
  return {lines_,    colours_,        folded_,          scale_height_, scale_width_, outline_,
          transect_, outline_colour_, transect_colour_, lines_drawn_,  boxes_drawn_};
}

void PlotWindow::restore(const Contents& contents) {
  lines_ = contents.lines;
  colours_ = contents.colours;
  folded_ = contents.folded;
  scale_height_ = contents.scale_height;
  scale_width_ = contents.scale_width;
  outline_ = contents.outline;
  transect_ = contents.transect;
  outline_colour_ = contents.outline_colour;
  transect_colour_ = contents.transect_colour;
  lines_drawn_ = contents.lines_drawn;
  boxes_drawn_ = contents.boxes_drawn;
  image_ = QImage();  // drawn again from what was put back
  update();
}

void PlotWindow::paintEvent(QPaintEvent*) {
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
