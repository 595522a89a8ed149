#include "ui/form_label.h"

namespace quorvel {

QLabel* make_label(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setGeometry(at);
  return label;
}

}  // namespace quorvel
