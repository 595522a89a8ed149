#include "ui/shown_from_first_character.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace quorvel {

namespace {

class FirstCharacterShown : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      // Switching to another window or opening the field's menu keeps the place of editing.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        static_cast<QLineEdit*>(watched)->setCursorPosition(0);
      }
    }
    return false;
  }
};

}  // namespace

void show_fields_from_first_character(QWidget* form) {
  auto* keeper = new FirstCharacterShown(form);
  for (QLineEdit* field : form->findChildren<QLineEdit*>()) {
    field->installEventFilter(keeper);
    // setText leaves the cursor at the end, which scrolls a long value to its last digits.
    QObject::connect(field, &QLineEdit::textChanged, keeper, [field] {
      if (!field->hasFocus()) field->setCursorPosition(0);
    });
  }
}

}  // namespace quorvel
