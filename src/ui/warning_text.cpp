#include "ui/warning_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace quorvel {

namespace {

class WarningWords {
  Q_DECLARE_TR_FUNCTIONS(WarningText)

 public:
  static QString text(const Warning& w, char separator) {
    QString said;
    switch (w.kind) {
      case WarningKind::diameter_above_limit:
        said = tr("диаметр %1 см больше %2 см (введён в мм?) — строка %3")
                   .arg(number(w.value, separator), number(w.limit, separator))
                   .arg(w.line);
        break;
      case WarningKind::longer_than_diagonal:
        said = tr("фрагмент длиной %1 м длиннее диагонали участка (%2 м) — строка %3")
                   .arg(number(w.value, separator), number(w.limit, separator))
                   .arg(w.line);
        break;
      case WarningKind::carbon_above_limit:
        return tr("углерод модели 1 %1 тС/га больше %2 тС/га")
            .arg(number(w.value, separator), number(w.limit, separator));
      case WarningKind::no_pieces:
        return tr("в файле нет ни одного фрагмента");
    }
    if (w.count > 1) said += tr(", таких фрагментов %1").arg(w.count);
    return said;
  }

  static QString all(const std::vector<Warning>& warnings, char separator) {
    if (warnings.empty()) return {};
    QStringList said;
    for (const Warning& w : warnings) said << text(w, separator);
    return tr("Внимание: %1").arg(said.join(QStringLiteral("; ")));
  }

 private:
  // To a tenth, without a trailing ",0": 450, 141,4.
  static QString number(double value, char separator) {
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text.replace(QLatin1Char('.'), QLatin1Char(separator));
  }
};

}  // namespace

QString warnings_text(const std::vector<Warning>& warnings, char decimal_separator) {
  return WarningWords::all(warnings, decimal_separator);
}

}  // namespace quorvel
