#pragma once
// Figures that have left the range of double precision: an absurd diameter, length or density
// can make a sum overflow, and a result shown as Inf or NaN means nothing to the user. These
// checks refuse such a Start instead: Refused (figure_beyond_range) names the inventory and the
// figure.

#include <string_view>

#include "engine/estimators.h"
#include "engine/expectation.h"
#include "engine/model1.h"

namespace quorvel {

void check_figure_range(const Model1Result& model1, std::string_view source);
void check_figure_range(const Model2Estimates& model2, std::string_view source);
void check_figure_range(const Model2Expectation& expectation, std::string_view source);

}  // namespace quorvel
