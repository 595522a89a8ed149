#include "ui/start_status_line.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

namespace quorvel {

// A one-line label that shows as much of its text as fits, cut in the middle, and asks for no
// width of its own, so that a long path can never make the window wider.
class StartStatusLine::ElidedLabel : public QLabel {
 public:
  explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
  }
  void set_whole_text(const QString& text) {
    whole_ = text;
    fit();
  }
  const QString& whole_text() const { return whole_; }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    fit();
  }

 private:
  void fit() {
    const QString shown = elided_at_words(whole_, std::max(0, contentsRect().width()));
    setText(shown);
    setToolTip(shown == whole_ ? QString() : whole_);
  }
  // Whole words taken out of the middle until the rest fits, so that no word is cut; a text
  // whose first and last words alone do not fit is cut where it must be.
  QString elided_at_words(const QString& text, int width) const {
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(text) <= width) return text;
    const QStringList words = text.split(QLatin1Char(' '));
    const auto n = words.size();
    for (qsizetype removed = 1; removed <= n - 2; ++removed) {
      const qsizetype kept_before = (n - removed) / 2;
      const QString shown = words.mid(0, kept_before).join(QLatin1Char(' ')) +
                            QStringLiteral(" … ") +
                            words.mid(kept_before + removed).join(QLatin1Char(' '));
      if (metrics.horizontalAdvance(shown) <= width) return shown;
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
  }
  QString whole_;
};

namespace {
QString file_name(const QString& path) { return QFileInfo(path).fileName(); }
}  // namespace

StartStatusLine::StartStatusLine(QWidget* parent)
    : QStatusBar(parent), label_(new ElidedLabel(this)), bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("status_line"));
  setSizeGripEnabled(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setMaximumWidth(160);
  bar_->setVisible(false);
  addWidget(label_, 1);
  addPermanentWidget(bar_);
  set_text(tr("Выберите файл данных и нажмите «Старт»"));
}

QString StartStatusLine::text() const { return label_->whole_text(); }

QString StartStatusLine::shown_text() const { return label_->text(); }

void StartStatusLine::set_text(const QString& text) { label_->set_whole_text(text); }

void StartStatusLine::begin_start(const QString& inventory_path) { running_ = inventory_path; }

void StartStatusLine::show_progress(const RunProgress& progress, double expected_attempts_per_run) {
  const QString runs = running_.isEmpty()
                           ? tr("Прогон %1 из %2").arg(progress.run).arg(progress.run_count)
                           : tr("Прогон %1 из %2 по %3")
                                 .arg(progress.run)
                                 .arg(progress.run_count)
                                 .arg(file_name(running_));
  set_text(tr("%1, попыток: %2   (Esc — отмена)").arg(runs).arg(progress.placement_count));
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

void StartStatusLine::show_results_of(const QString& inventory_path, const QString& text) {
  running_.clear();
  results_of_ = inventory_path;
  set_text(tr("Результаты: %1 — %2").arg(file_name(inventory_path), text));
  bar_->setVisible(false);
}

void StartStatusLine::show_chosen(const QString& inventory_path) {
  if (!running_.isEmpty()) return;  // the progress keeps naming the file being run
  if (results_of_.isEmpty() || results_of_ == inventory_path) {
    set_text(tr("Файл данных: %1").arg(inventory_path));
  } else {
    set_text(tr("Файл данных: %1 (результаты на экране — %2)")
                 .arg(inventory_path, file_name(results_of_)));
  }
}

void StartStatusLine::show_message(const QString& text) {
  running_.clear();
  // Whatever the message, the user must not take the figures for those of another file.
  if (results_of_.isEmpty())
    set_text(text);
  else
    set_text(tr("%1; на экране — результаты %2").arg(text, file_name(results_of_)));
  bar_->setVisible(false);
}

}  // namespace quorvel
