#pragma once
// The status line under the main window's controls: during a Start the run, the number of runs
// and the attempts so far with a progress bar; afterwards what the Start came to.

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "run_host.h"

namespace quorvel {

class StartStatusLine : public QStatusBar {
 public:
  explicit StartStatusLine(QWidget* parent = nullptr);

  // `expected_attempts_per_run` (0 when unknown) lets the bar move within a run as well.
  void show_progress(const RunProgress& progress, double expected_attempts_per_run);
  void show_message(const QString& text);

  QString text() const { return label_->text(); }
  int percent() const { return bar_->value(); }

 private:
  QLabel* label_;
  QProgressBar* bar_;
};

}  // namespace quorvel
