#pragma once
// The plot window `Form2` "Debris window": a white surface with its own user scale (top-left
// corner at (-1, -1), height and width set by the run) on which a Start draws the plot, the
// transect and every placement attempt. Every line is kept in user units, so covering,
// minimising or resizing the window redraws it sharply at any size; closing the window only
// hides it.

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "ui/twip_scale.h"

namespace quorvel {

class PlotWindow : public QWidget {
  Q_OBJECT

 public:
  explicit PlotWindow(const TwipScale& scale, QWidget* parent = nullptr);

  // The user scale: the visible area spans -1 .. -1 + width across and -1 .. -1 + height down.
  // A new scale also ends the standing outline and transect, which belong to the old plot.
  void set_scale_height(float height);
  void set_scale_width(float width);
  float scale_height() const { return scale_height_; }
  float scale_width() const { return scale_width_; }

  // Wipes the drawing to the background colour; the standing outline and transect remain.
  void clear();
  // Lines and boxes (outline of the rectangle with the two points as opposite corners) that
  // stay on the drawing until the next clear. Coordinates are in user units.
  void draw_line(QPointF from, QPointF to, QColor colour);
  void draw_box(QPointF corner1, QPointF corner2, QColor colour);

  // The plot outline and the transect, drawn again identically at every attempt: they are kept
  // as one shape each and painted over the drawing, which shows the same picture as painting
  // them into it every time (each attempt's piece lies under the next attempt's transect). Set
  // at the beginning of a Start, they show the plot before the first attempt, and stay through
  // the clearing at every run.
  void set_outline(QPointF corner1, QPointF corner2, QColor colour);
  void set_transect(QPointF from, QPointF to, QColor colour);

  // Lines and boxes drawn since the last clear, the standing outline and transect counted at
  // every drawing.
  std::int64_t lines_drawn() const { return lines_drawn_; }
  std::int64_t boxes_drawn() const { return boxes_drawn_; }

  // Where a point in user units lands on the window, in pixels of the client area.
  QPointF to_window(QPointF user) const;
  // What the window shows now, at its current size, whether or not it is visible.
  QImage picture();

  // A line of the drawing in user units; its colour is that of the colour run it falls in.
  struct Line {
    float x1, y1, x2, y2;
  };
  struct ColourRun {
    qsizetype first;  // the first line of this colour
    QRgb colour;
  };
  // Everything drawn, to put back when a Start does not complete. The lines are shared, not
  // copied, until one of the two sides changes.
  struct Contents {
    QList<Line> lines;
    std::vector<ColourRun> colours;
    QImage folded;
    float scale_height = 0, scale_width = 0;
    std::optional<QLineF> outline, transect;
    QColor outline_colour, transect_colour;
    std::int64_t lines_drawn = 0, boxes_drawn = 0;
  };
  Contents contents() const;
  void restore(const Contents& contents);

  // Beyond this many lines in one drawing (32 MiB of them) the oldest are kept as pixels only,
  // and a resize scales that part of the picture instead of redrawing it.
  static constexpr qsizetype max_kept_lines = qsizetype{1} << 21;

 signals:
  void cancel_requested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void add_line(QPointF from, QPointF to, QRgb colour);
  void set_scale(float height, float width);
  QSize image_size() const;
  // Keeps the picture the size of the window: at a new size it is drawn again from the lines.
  void fit_image();
  // Draws the lines not yet in the picture.
  void flush();
  void fold();
  QPointF to_image(QPointF user) const;
  void paint_standing(QPainter& painter) const;

  QList<Line> lines_;
  std::vector<ColourRun> colours_;
  QImage folded_;  // lines no longer kept, as drawn at the size of that moment
  QImage image_;   // the picture of `folded_` and the first `drawn_` lines, at the window's size
  qsizetype drawn_ = 0;
  float scale_height_ = 102, scale_width_ = 102;
  std::optional<QLineF> outline_, transect_;  // user units
  QColor outline_colour_, transect_colour_;
  std::int64_t lines_drawn_ = 0, boxes_drawn_ = 0;
};

}  // namespace quorvel
