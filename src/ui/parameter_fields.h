#pragma once
// The parameter fields of the main window and the reading of their texts into the numbers of
// one Start, in the window's reading order: `Text1`, `Text30`, the density grid row by row,
// `Text8`, `Text5`. A text that cannot be used refuses the Start with a message in Russian
// that names the field.

#include <QLineEdit>
#include <QString>
#include <array>
#include <stdexcept>

#include "simulation_parameters.h"
#include "stage_group_table.h"

namespace quorvel {

struct ParameterFields {
  QLineEdit* transect_length = nullptr;   // Text1
  QLineEdit* wind_force = nullptr;        // Text30
  StageGroupTable<QLineEdit*> density{};  // the grid, stages 1..5 by groups 1..3
  QLineEdit* carbon_fraction = nullptr;   // Text8
  QLineEdit* run_count = nullptr;         // Text5

  // All of them, for locking them while a Start runs.
  std::array<QLineEdit*, 19> all() const;
};

// A field whose text the Start cannot use. `field` is null when the fault lies in no single
// field.
class FieldRefused : public std::runtime_error {
 public:
  FieldRefused(QLineEdit* field, const QString& message)
      : std::runtime_error(message.toStdString()), field_(field), message_(message) {}
  QLineEdit* field() const { return field_; }
  const QString& message() const { return message_; }

 private:
  QLineEdit* field_;
  QString message_;
};

// Throws FieldRefused for the first field, in reading order, that cannot be used.
SimulationParameters read_parameters(const ParameterFields& fields);

// The column headings of the density grid, group 1..3 (index 0 unused).
inline const std::array<QString, 4> group_captions{QString(), QStringLiteral("Мягко листв"),
                                                   QStringLiteral("Твердо листв"),
                                                   QStringLiteral("Хвойные")};

}  // namespace quorvel
