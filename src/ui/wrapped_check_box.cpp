#include "ui/wrapped_check_box.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quorvel {

WrappedCheckBox::WrappedCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent) {}

QSize WrappedCheckBox::sizeHint() const { return size(); }

QRect WrappedCheckBox::caption_rect() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
  const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
  return rect().adjusted(indicator + spacing, 0, 0, 0);
}

void WrappedCheckBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  // The indicator is drawn by the style at the height of the first caption line; the caption
  // itself is drawn here so that it can wrap.
  const int indicator_height = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
  const int line_height = fontMetrics().height();
  option.rect =
      QRect(0, std::max(0, (line_height - indicator_height) / 2),
            style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this), indicator_height);
  painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  const QRect text_rect = caption_rect();
  painter.drawText(text_rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect =
        painter.boundingRect(text_rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

bool WrappedCheckBox::hitButton(const QPoint& position) const { return rect().contains(position); }

}  // namespace quorvel
