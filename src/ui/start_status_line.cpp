#include "start_status_line.h"

#include <algorithm>

namespace quorvel {

StartStatusLine::StartStatusLine(QWidget* parent)
    : QStatusBar(parent), label_(new QLabel(this)), bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("status_line"));
  setSizeGripEnabled(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setMaximumWidth(160);
  bar_->setVisible(false);
  addWidget(label_, 1);
  addPermanentWidget(bar_);
  label_->setText(QStringLiteral("Выберите файл данных и нажмите «Старт»"));
}

void StartStatusLine::show_progress(const RunProgress& progress, double expected_attempts_per_run) {
  label_->setText(QStringLiteral("Прогон %1 из %2, попыток: %3   (Esc — отмена)")
                      .arg(progress.run)
                      .arg(progress.run_count)
                      .arg(progress.placement_count));
  double done = 0;
  if (progress.run_count > 0) {
    if (expected_attempts_per_run > 0) {
      done = progress.placement_count / (expected_attempts_per_run * progress.run_count);
    } else {
      done = static_cast<double>(progress.run - 1) / progress.run_count;
    }
  }
  // An estimate may overshoot; the bar reaches its end only when the Start does.
  bar_->setValue(std::clamp(static_cast<int>(done * 100), 0, 99));
  bar_->setVisible(true);
}

void StartStatusLine::show_message(const QString& text) {
  label_->setText(text);
  bar_->setVisible(false);
}

}  // namespace quorvel
