#pragma once
// The choice of a table of coefficients by species and decay stage beside the density grid: a
// button that opens a file dialog, one that drops the table again, and a line saying which
// table is in use. While a table is in use the grid is greyed, for a Start takes its carbon
// from the table alone.

#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <functional>
#include <optional>

#include "engine/inventory.h"
#include "ui/twip_scale.h"

namespace quorvel {

class CoefficientsChoice : public QObject {
  Q_OBJECT

 public:
  CoefficientsChoice(QWidget* frame, const TwipScale& scale);

  // The file the dialog offers, empty when the user cancels; a native dialog by default.
  void set_file_dialog(std::function<QString()> dialog) { file_dialog_ = std::move(dialog); }

  QPushButton& choose_button() { return *choose_; }
  QPushButton& drop_button() { return *drop_; }
  QLabel& label() { return *label_; }
  const QString& path() const { return path_; }  // empty: the density grid
  bool in_use() const { return !path_.isEmpty(); }

  // Takes the table at `path` when it reads; else keeps the previous choice and returns the
  // refusal in the window's words.
  std::optional<QString> take(const QString& path, char decimal_separator);
  void drop();
  // Reads the table in use again (it may have been edited since) and gives the pieces of
  // `inventory` their carbon from it; nothing without a table. Throws Refused.
  void apply_to(Inventory& inventory, float carbon_fraction) const;
  void lock(bool locked);

 public:
  // The dialog, then take(): the refusal, if any, in the window's words.
  std::optional<QString> choose(char decimal_separator);

 signals:
  void changed(bool in_use);

 private:
  QPushButton* choose_ = nullptr;
  QPushButton* drop_ = nullptr;
  QLabel* label_ = nullptr;
  QString path_;
  std::function<QString()> file_dialog_;
};

}  // namespace quorvel
