#pragma once
// The row names of the species groups 1 ("S"), 2 ("H") and 3 ("C") in both reports, spelt as
// the reports have always spelt them. Index 0 names no group.

#include <array>
#include <string_view>

namespace quorvel {

inline constexpr std::array<std::string_view, 4> group_names{"", "Softwood", "Hardwood",
                                                             "Coniferouse"};

}  // namespace quorvel
