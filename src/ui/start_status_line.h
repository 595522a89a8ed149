#pragma once
// The status line under the main window's controls: during a Start the inventory, the run, the
// number of runs and the attempts so far with a progress bar; afterwards what the Start came to
// and which inventory the result fields belong to. A text too long for the line is cut in the
// middle, where a path has its least telling part, and never widens the window.

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "engine/run_host.h"

namespace quorvel {

class StartStatusLine : public QStatusBar {
  Q_OBJECT

 public:
  explicit StartStatusLine(QWidget* parent = nullptr);

  // The runs of a Start on `inventory_path` begin: the progress names that file.
  void begin_start(const QString& inventory_path);
  // `expected_attempts_per_run` (0 when unknown) lets the bar move within a run as well.
  void show_progress(const RunProgress& progress, double expected_attempts_per_run);
  // A Start on `inventory_path` completed: from now on the result fields are that file's.
  void show_results_of(const QString& inventory_path, const QString& text);
  // A file chosen in the file list; while a Start runs, or while the fields show the results of
  // another file, the line keeps naming the file the results belong to.
  void show_chosen(const QString& inventory_path);
  // Any other message; the results shown stay those of the file named last, and the line says
  // so.
  void show_message(const QString& text);

  // The whole text, however much of it fits.
  QString text() const;
  // What the line shows now, cut to its width.
  QString shown_text() const;
  // The inventory whose results the fields show (empty before the first completed Start).
  const QString& results_of() const { return results_of_; }
  int percent() const { return bar_->value(); }

 private:
  void set_text(const QString& text);

  class ElidedLabel;
  ElidedLabel* label_;
  QProgressBar* bar_;
  QString running_;     // the inventory of the Start under way, empty when idle
  QString results_of_;  // the inventory of the results shown
};

}  // namespace quorvel
