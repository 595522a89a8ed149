#include "parameter_fields.h"

#include <cmath>

#include "input_error.h"
#include "text_to_number.h"

namespace quorvel {

namespace {

QString refused(const QString& what, const QString& why) {
  return QStringLiteral("Расчёт не начат.\n%1: %2.").arg(what, why);
}

QString field_name(const char* caption) {
  return QStringLiteral("Поле «%1»").arg(QString::fromUtf8(caption));
}

// Why a text is not a number at all, or null when it is one.
QString not_a_number(const QString& text) {
  if (text.trimmed().isEmpty()) return QStringLiteral("поле пустое");
  try {
    (void)text_to_single(text.toStdString());
    return QString();
  } catch (const InputError&) {
    return QStringLiteral("«%1» — не число").arg(text);
  }
}

std::int16_t read_int16(QLineEdit* field, const QString& name) {
  const QString text = field->text();
  try {
    return text_to_int16(text.toStdString());
  } catch (const InputError&) {
    QString why = not_a_number(text);
    if (why.isEmpty()) why = QStringLiteral("число «%1» вне пределов от -32768 до 32767").arg(text);
    throw FieldRefused(field, refused(name, why));
  }
}

float read_single(QLineEdit* field, const QString& name) {
  const QString text = field->text();
  float value = 0;
  try {
    value = text_to_single(text.toStdString());
  } catch (const InputError&) {
    QString why = not_a_number(text);
    if (why.isEmpty()) why = QStringLiteral("«%1» — не число").arg(text);
    throw FieldRefused(field, refused(name, why));
  }
  if (!std::isfinite(value)) {
    throw FieldRefused(field, refused(name, QStringLiteral("число «%1» слишком велико").arg(text)));
  }
  if (value < 0) {
    throw FieldRefused(field,
                       refused(name, QStringLiteral("значение не может быть отрицательным")));
  }
  return value;
}

}  // namespace

std::array<QLineEdit*, 19> ParameterFields::all() const {
  std::array<QLineEdit*, 19> fields{transect_length, wind_force, carbon_fraction, run_count};
  std::size_t next = 4;
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    for (int group = first_group; group <= last_group; ++group) {
      fields[next++] = density.at(stage, group);
    }
  }
  return fields;
}

SimulationParameters read_parameters(const ParameterFields& fields) {
  SimulationParameters parameters;

  const QString length_name = field_name("Длина трансекты");
  parameters.transect_length = read_int16(fields.transect_length, length_name);
  // L is the plot's side and 10000 / L^2 turns plot values into values per hectare.
  if (parameters.transect_length < 1) {
    throw FieldRefused(fields.transect_length,
                       refused(length_name, QStringLiteral("длина должна быть не меньше 1 м")));
  }

  parameters.wind_force = read_int16(fields.wind_force, field_name("Сила ветра (1-5)"));

  for (int stage = first_stage; stage <= last_stage; ++stage) {
    for (int group = first_group; group <= last_group; ++group) {
      const QString name = QStringLiteral("Плотность древесины (стадия разложения %1, «%2»)")
                               .arg(stage)
                               .arg(group_captions[group]);
      parameters.density.at(stage, group) = read_single(fields.density.at(stage, group), name);
    }
  }

  parameters.carbon_fraction = read_single(
      fields.carbon_fraction, field_name("коэффициент пересчета массы древесины в массу углерода"));

  const QString runs_name = field_name("Количество прогонов");
  parameters.run_count = read_int16(fields.run_count, runs_name);
  // Every average divides by the number of runs.
  if (parameters.run_count < 1) {
    throw FieldRefused(fields.run_count,
                       refused(runs_name, QStringLiteral("нужен хотя бы один прогон")));
  }

  try {
    check_parameters(parameters);
  } catch (const InputError& error) {
    throw FieldRefused(nullptr, refused(QStringLiteral("Параметры не приняты"),
                                        QString::fromStdString(error.what())));
  }
  return parameters;
}

}  // namespace quorvel
