#pragma once
// The wind frame `Frame3` "Преобладающий ветер": the arrow that shows the transect's direction,
// the eight exclusive direction buttons `Option1`..`Option8` (none selected at start) and the
// force field `Text30`.

#include <QButtonGroup>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <array>

#include "engine/wind.h"
#include "ui/twip_scale.h"

namespace quorvel {

class WindFrame : public QGroupBox {
  Q_OBJECT

 public:
  WindFrame(const TwipScale& scale, QWidget* parent);

  // The button selected now, read afresh at every call.
  WindButton choice() const;
  QRadioButton& option(int number) { return *options_.at(number - 1); }  // 1..8
  QLineEdit& force_field() { return *force_field_; }
  QButtonGroup& buttons() { return *buttons_; }

 private:
  std::array<QRadioButton*, 8> options_{};
  QButtonGroup* buttons_;
  QLineEdit* force_field_;
};

}  // namespace quorvel
