#pragma once
// Warnings about a tally that reads well but looks wrong: diameters that seem typed in mm,
// pieces longer than the plot's diagonal, a carbon stock beyond any forest, a tally without
// pieces. They never stop a Start; each front end shows them in its own words.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/inventory.h"
#include "engine/model1.h"
#include "engine/simulation_parameters.h"

namespace quorvel {

constexpr double largest_plausible_diameter = 300;  // cm; above it, mm typed as cm?
constexpr double largest_plausible_carbon = 1000;   // t C/ha by model 1

enum class WarningKind {
  diameter_above_limit,  // value: the diameter (cm) of the first such piece
  longer_than_diagonal,  // value: the length (m) of the first such piece; limit: L x sqrt(2)
  carbon_above_limit,    // value: model 1's total carbon (t C/ha)
  no_pieces,             // the tally holds no piece
  rows_dropped,          // count: rows of the file left out for a missing value; lines: the first
};
// The last of them, for tables that must word each one: move it with a new last kind.
inline constexpr WarningKind last_warning_kind = WarningKind::rows_dropped;

// One kind of warning for one plot; pieces of the same kind are counted, the first one named.
struct Warning {
  WarningKind kind = WarningKind::no_pieces;
  std::string file{};       // the inventory's source
  std::string plot{};       // empty for a file without a plot column
  std::int64_t line = 0;    // of the first piece concerned; 0 for the tally as a whole
  std::int64_t record = 0;  // 1-based within the plot's inventory; 0 for the tally as a whole
  double value = 0;         // see WarningKind
  double limit = 0;         // what the value exceeds
  std::int64_t count = 0;   // pieces concerned; 1 for a warning about the whole tally
  std::vector<std::int64_t> lines{};  // the first few lines concerned, where line is 0
};

// In the order of WarningKind. `model1` is the model 1 result of this inventory and parameters.
std::vector<Warning> plausibility_warnings(const Inventory& inventory, std::string_view plot,
                                           const SimulationParameters& parameters,
                                           const Model1Result& model1);

// The same, computing model 1 itself.
std::vector<Warning> plausibility_warnings(const Inventory& inventory, std::string_view plot,
                                           const SimulationParameters& parameters);

}  // namespace quorvel
