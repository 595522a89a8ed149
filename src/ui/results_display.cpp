#include "ui/results_display.h"

#include <QCoreApplication>
#include <cmath>

#include "engine/number_text.h"

namespace quorvel {

namespace {
// A long number shows from its first digit, as it is read.
void put_text(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}
}  // namespace

QString ResultsDisplay::number_text(double value) const {
  return QString::fromStdString(general_number_text(value, decimal_separator_));
}

void ResultsDisplay::show_model1_total(const Model1Result& model1) {
  put_text(fields_.text10, number_text(model1.model1_total));
}

void ResultsDisplay::show_model1_pieces(const Model1Result& model1) {
  // NaN: not computed, which show_not_computed says.
  put_text(fields_.text11, std::isnan(model1.pieces_per_ha) ? QStringLiteral("—")
                                                            : number_text(model1.pieces_per_ha));
}

void ResultsDisplay::show_model2(const Model2Estimates& model2, std::int64_t record_count) {
  put_text(fields_.text6, number_text(model2.carbon_per_ha));
  put_text(fields_.text12, number_text(model2.volume_per_ha[1]));
  put_text(fields_.text28, number_text(model2.volume_per_ha[2]));
  put_text(fields_.text4, number_text(model2.volume_per_ha[3]));
  put_text(fields_.text13, number_text(model2.surface_per_ha[1]));
  put_text(fields_.text29, number_text(model2.surface_per_ha[2]));
  put_text(fields_.text14, number_text(model2.surface_per_ha[3]));
  put_text(fields_.text7, number_text(model2.pieces_per_ha));
  put_text(fields_.text9, number_text(static_cast<double>(record_count)));
}

namespace {

QString tip(const QString& expected, const QString& error, const QString& error_source) {
  QString text = QCoreApplication::translate("quorvel::ResultsDisplay", "Ожидаемое значение: %1")
                     .arg(expected);
  if (!error.isEmpty()) {
    text += QCoreApplication::translate("quorvel::ResultsDisplay", "\nСтандартная ошибка %1: %2")
                .arg(error_source, error);
  }
  return text;
}

}  // namespace

void ResultsDisplay::show_expectation(const Model2Expectation& expected,
                                      const Model2Estimates& model2, int run_count) {
  const double runs = run_count;
  const QString of_average =
      QCoreApplication::translate("quorvel::ResultsDisplay", "среднего (прогонов: %1)")
          .arg(run_count);
  const QString of_spread =
      QCoreApplication::translate("quorvel::ResultsDisplay", "по разбросу прогонов");
  const double carbon_error = expected.carbon_per_ha_stderr_per_run / std::sqrt(runs);
  const double pieces_error = expected.pieces_per_ha_stderr_per_run / std::sqrt(runs);

  fields_.text6->setToolTip(
      tip(number_text(expected.carbon_per_ha), number_text(carbon_error), of_average));
  fields_.text7->setToolTip(
      tip(number_text(expected.pieces_per_ha), number_text(pieces_error), of_average));
  // Volumes and surfaces have no spread of their own in the expectation; the spread of the
  // runs themselves stands in for it when there were two runs or more.
  const std::optional<Model2Spread>& spread = model2.standard_error;
  const std::array<QLineEdit*, 4> volume_fields{nullptr, fields_.text12, fields_.text28,
                                                fields_.text4};
  const std::array<QLineEdit*, 4> surface_fields{nullptr, fields_.text13, fields_.text29,
                                                 fields_.text14};
  for (int group = 1; group <= 3; ++group) {
    volume_fields[group]->setToolTip(
        tip(number_text(expected.volume_per_ha[group]),
            spread ? number_text(spread->volume_per_ha[group]) : QString(), of_spread));
    surface_fields[group]->setToolTip(
        tip(number_text(expected.surface_per_ha[group]),
            spread ? number_text(spread->surface_per_ha[group]) : QString(), of_spread));
  }

  const double difference = model2.carbon_per_ha - expected.carbon_per_ha;
  if (!(carbon_error > 0)) {
    fields_.deviation->setText(
        difference == 0
            ? QCoreApplication::translate("quorvel::ResultsDisplay", "Модель2 равна ожидаемой")
            : QCoreApplication::translate("quorvel::ResultsDisplay",
                                          "Модель2: разброс равен нулю"));
    return;
  }
  QString distance = QString::number(difference / carbon_error, 'f', 2);
  distance.replace(QLatin1Char('.'), QLatin1Char(decimal_separator_));
  if (difference >= 0) distance.prepend(QLatin1Char('+'));
  fields_.deviation->setText(
      QCoreApplication::translate("quorvel::ResultsDisplay", "Модель2 от ожидания: %1 ст. ош.")
          .arg(distance));
}

void ResultsDisplay::show_no_expectation(const QString& why) {
  for (QLineEdit* field : {fields_.text6, fields_.text7, fields_.text12, fields_.text28,
                           fields_.text4, fields_.text13, fields_.text29, fields_.text14}) {
    field->setToolTip(QString());
  }
  fields_.deviation->setText(why);
}

void ResultsDisplay::show_not_computed(const QString& why, std::int64_t record_count) {
  for (QLineEdit* field :
       {fields_.text6, fields_.text12, fields_.text28, fields_.text4, fields_.text13,
        fields_.text29, fields_.text14, fields_.text7, fields_.text11}) {
    put_text(field, QStringLiteral("—"));
    field->setToolTip(why);
  }
  put_text(fields_.text9, number_text(static_cast<double>(record_count)));
  fields_.deviation->setText(why);
}

ResultsDisplay::Snapshot ResultsDisplay::snapshot() const {
  Snapshot shot;
  const auto fields = fields_.all();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    shot.texts[i] = fields[i]->text();
    shot.tips[i] = fields[i]->toolTip();
  }
  shot.deviation = fields_.deviation->text();
  return shot;
}

void ResultsDisplay::restore(const Snapshot& shot) {
  const auto fields = fields_.all();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    put_text(fields[i], shot.texts[i]);
    fields[i]->setToolTip(shot.tips[i]);
  }
  fields_.deviation->setText(shot.deviation);
}

}  // namespace quorvel
