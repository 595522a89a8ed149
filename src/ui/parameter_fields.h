#pragma once
// The parameter fields of the main window and the reading of their texts into the numbers of
// one Start, in the window's reading order: `Text1`, `Text30`, the density grid row by row,
// `Text8`, `Text5`. A text that cannot be used refuses the Start, naming the field.

#include <QLineEdit>
#include <array>
#include <exception>
#include <utility>

#include "engine/refusal.h"
#include "engine/simulation_parameters.h"
#include "engine/stage_group_table.h"

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

// A field whose text the Start cannot use, and why.
class FieldRefused : public std::exception {
 public:
  FieldRefused(QLineEdit* field, Refusal refusal) : field_(field), refusal_(std::move(refusal)) {}
  QLineEdit* field() const { return field_; }
  const Refusal& refusal() const { return refusal_; }
  const char* what() const noexcept override { return "a parameter field was refused"; }

 private:
  QLineEdit* field_;
  Refusal refusal_;
};

// Throws FieldRefused for the first field, in reading order, that cannot be used.
SimulationParameters read_parameters(const ParameterFields& fields);

}  // namespace quorvel
