#include "ui/coefficients_choice.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "engine/refusal.h"
#include "field/coefficients_table.h"
#include "ui/form_label.h"
#include "ui/window_words.h"

namespace quorvel {

namespace {

std::filesystem::path path_of(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

CoefficientsChoice::CoefficientsChoice(QWidget* frame, const TwipScale& scale) : QObject(frame) {
  choose_ = new QPushButton(tr("Коэффициенты…"), frame);
  choose_->setObjectName(QStringLiteral("coefficients_button"));
  choose_->setGeometry(scale.rect(120, 2940, 1455, 345));
  choose_->setToolTip(
      tr("Таблица плотности, коэффициента редукции и доли углерода по породам "
         "и стадиям разложения вместо сетки плотностей"));
  drop_ = new QPushButton(tr("Без таблицы"), frame);
  drop_->setObjectName(QStringLiteral("coefficients_drop"));
  drop_->setGeometry(scale.rect(1680, 2940, 1455, 345));
  drop_->setEnabled(false);
  label_ = make_label(frame, "coefficients_label", QString(), scale.rect(120, 3330, 3015, 255));
  file_dialog_ = [frame] {
    return QFileDialog::getOpenFileName(frame, tr("Таблица коэффициентов"), QString(),
                                        tr("Таблицы (*.csv *.txt *.tsv);;Все файлы (*)"));
  };
  connect(drop_, &QPushButton::clicked, this, &CoefficientsChoice::drop);
}

std::optional<QString> CoefficientsChoice::choose(char decimal_separator) {
  const QString path = file_dialog_();
  if (path.isEmpty()) return std::nullopt;
  return take(path, decimal_separator);
}

std::optional<QString> CoefficientsChoice::take(const QString& path, char decimal_separator) {
  try {
    read_coefficients(path_of(path));
  } catch (const Refused& refused) {
    return refusal_text(refused.refusal(), decimal_separator);
  }
  path_ = path;
  label_->setText(tr("Углерод по таблице «%1»").arg(QFileInfo(path).fileName()));
  label_->setToolTip(path);
  drop_->setEnabled(true);
  emit changed(true);
  return std::nullopt;
}

void CoefficientsChoice::drop() {
  if (path_.isEmpty()) return;
  path_.clear();
  label_->clear();
  label_->setToolTip(QString());
  drop_->setEnabled(false);
  emit changed(false);
}

void CoefficientsChoice::apply_to(Inventory& inventory, float carbon_fraction) const {
  if (path_.isEmpty()) return;
  const std::filesystem::path path = path_of(path_);
  apply_coefficients(read_coefficients(path), path.string(), carbon_fraction, inventory);
}

void CoefficientsChoice::lock(bool locked) {
  choose_->setEnabled(!locked);
  drop_->setEnabled(!locked && in_use());
}

}  // namespace quorvel
