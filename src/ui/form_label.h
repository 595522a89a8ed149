#pragma once
// A caption of the designed form: a label at its place in the layout, its text from the top left
// and wrapped as the form's two-line captions were.

#include <QLabel>
#include <QRect>
#include <QString>

namespace quorvel {

QLabel* make_label(QWidget* parent, const char* name, const QString& caption, const QRect& at);

}  // namespace quorvel
