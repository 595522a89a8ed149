#pragma once
// The eleven result fields of the results frame and the line under them: which number goes
// into which field, in the general number text, and in what order. Model 1 is shown before
// the runs, the other nine fields after the last run.

#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <array>
#include <optional>

#include "engine/estimators.h"
#include "engine/expectation.h"
#include "engine/model1.h"

namespace quorvel {

struct ResultFields {
  QLineEdit* text10 = nullptr;  // model-1 carbon per hectare
  QLineEdit* text6 = nullptr;   // model-2 carbon per hectare
  QLineEdit* text11 = nullptr;  // model-1 pieces per hectare
  QLineEdit* text7 = nullptr;   // model-2 pieces per hectare
  QLineEdit* text12 = nullptr;  // volume, group 1
  QLineEdit* text28 = nullptr;  // volume, group 2
  QLineEdit* text4 = nullptr;   // volume, group 3
  QLineEdit* text13 = nullptr;  // surface, group 1
  QLineEdit* text29 = nullptr;  // surface, group 2
  QLineEdit* text14 = nullptr;  // surface, group 3
  QLineEdit* text9 = nullptr;   // records of the inventory
  QLabel* deviation = nullptr;  // how far model 2 lies from its expectation

  std::array<QLineEdit*, 11> all() const {
    return {text10, text6, text11, text7, text12, text28, text4, text13, text29, text14, text9};
  }
};

class ResultsDisplay {
 public:
  ResultsDisplay(ResultFields fields, char decimal_separator)
      : fields_(fields), decimal_separator_(decimal_separator) {}

  QString number_text(double value) const;

  void show_model1_total(const Model1Result& model1);   // Text10
  void show_model1_pieces(const Model1Result& model1);  // Text11
  // Text6, Text12, Text28, Text4, Text13, Text29, Text14, Text7, Text9, in this order.
  void show_model2(const Model2Estimates& model2, std::int64_t record_count);

  // The expected values and their standard errors as tooltips of the model-2 fields, and the
  // distance of the simulated carbon from its expectation in standard errors under them.
  // Without an expectation (the wind changed during the runs) they say why there is none.
  void show_expectation(const Model2Expectation& expected, const Model2Estimates& model2,
                        int run_count);
  void show_no_expectation(const QString& why);
  // Model 2, the expectation and the number of pieces of model 1 left out, saying why.
  void show_not_computed(const QString& why, std::int64_t record_count);

  // The texts, tooltips and the line as they stand, to put back after a Start that fails.
  struct Snapshot {
    std::array<QString, 11> texts, tips;
    QString deviation;
  };
  Snapshot snapshot() const;
  void restore(const Snapshot& snapshot);

 private:
  ResultFields fields_;
  char decimal_separator_;
};

}  // namespace quorvel
