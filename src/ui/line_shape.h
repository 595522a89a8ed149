#pragma once
// A fixed straight line on a form (the shafts and strokes of the transect arrow), drawn in
// the text colour, one pixel wide.

#include <QPoint>
#include <QWidget>

namespace quorvel {

class LineShape : public QWidget {
 public:
  // `from` and `to` in the parent's pixel coordinates.
  LineShape(QPoint from, QPoint to, QWidget* parent);

  QPoint from() const { return from_; }
  QPoint to() const { return to_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPoint from_, to_;
};

}  // namespace quorvel
