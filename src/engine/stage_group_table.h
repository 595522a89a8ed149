#pragma once
// A table of values by decomposition stage (rows 0..5) and species group (columns 0..3).
// Row 0 and column 0 exist but only stages 1..5 and groups 1..3 are filled, summed or shown.

#include <array>

namespace quorvel {

inline constexpr int first_stage = 1;
inline constexpr int last_stage = 5;
inline constexpr int first_group = 1;
inline constexpr int last_group = 3;

template <typename T>
struct StageGroupTable {
  std::array<std::array<T, last_group + 1>, last_stage + 1> cells{};

  T& at(int stage, int group) { return cells[stage][group]; }
  const T& at(int stage, int group) const { return cells[stage][group]; }

  friend bool operator==(const StageGroupTable&, const StageGroupTable&) = default;
};

// Wood densities in tonnes per cubic metre, kept in single precision.
using DensityTable = StageGroupTable<float>;

}  // namespace quorvel
