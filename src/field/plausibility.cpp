#include "field/plausibility.h"

#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

// Counts the pieces for which `value_of` exceeds `limit`, naming the first of them.
template <typename ValueOf>
void warn_pieces(std::vector<Warning>& warnings, WarningKind kind, const Inventory& inventory,
                 std::string_view plot, double limit, ValueOf value_of) {
  Warning warning;
  for (std::size_t i = 0; i < inventory.pieces.size(); ++i) {
    const double value = value_of(inventory.pieces[i]);
    if (!(value > limit)) continue;
    if (warning.count++ == 0) {
      warning.line = inventory.pieces[i].line;
      warning.record = static_cast<std::int64_t>(i) + 1;
      warning.value = value;
    }
  }
  if (warning.count == 0) return;
  warning.kind = kind;
  warning.file = inventory.source;
  warning.plot = std::string(plot);
  warning.limit = limit;
  warnings.push_back(std::move(warning));
}

}  // namespace

std::vector<Warning> plausibility_warnings(const Inventory& inventory, std::string_view plot,
                                           const SimulationParameters& parameters,
                                           const Model1Result& model1) {
  std::vector<Warning> warnings;
  warn_pieces(warnings, WarningKind::diameter_above_limit, inventory, plot,
              largest_plausible_diameter,
              [](const DebrisPiece& p) { return std::max(p.diameter1, p.diameter2); });
  const double diagonal = parameters.transect_length * std::sqrt(2.0);
  warn_pieces(warnings, WarningKind::longer_than_diagonal, inventory, plot, diagonal,
              [](const DebrisPiece& p) { return p.piece_length; });
  // A figure beyond the range of numbers is refused on its own; it is no warning.
  if (model1.model1_total > largest_plausible_carbon && std::isfinite(model1.model1_total)) {
    Warning warning;
    warning.kind = WarningKind::carbon_above_limit;
    warning.file = inventory.source;
    warning.plot = std::string(plot);
    warning.value = model1.model1_total;
    warning.limit = largest_plausible_carbon;
    warning.count = 1;
    warnings.push_back(std::move(warning));
  }
  if (inventory.pieces.empty()) {
    Warning warning;
    warning.kind = WarningKind::no_pieces;
    warning.file = inventory.source;
    warning.plot = std::string(plot);
    warning.count = 1;
    warnings.push_back(std::move(warning));
  }
  return warnings;
}

std::vector<Warning> plausibility_warnings(const Inventory& inventory, std::string_view plot,
                                           const SimulationParameters& parameters) {
  return plausibility_warnings(inventory, plot, parameters, compute_model1(inventory, parameters));
}

}  // namespace quorvel
