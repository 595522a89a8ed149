#pragma once
// A check box whose caption wraps over several lines inside its box, as the report switch
// `Check1` needs: its caption is longer than the box is wide.

#include <QCheckBox>

namespace quorvel {

class WrappedCheckBox : public QCheckBox {
 public:
  WrappedCheckBox(const QString& caption, QWidget* parent);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& position) const override;

 private:
  QRect caption_rect() const;
};

}  // namespace quorvel
