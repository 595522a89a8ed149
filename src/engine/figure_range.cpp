#include "engine/figure_range.h"

#include <cmath>
#include <string>

#include "engine/refusal.h"

namespace quorvel {

namespace {

void require_finite(double value, std::string_view source, Figure figure) {
  if (!std::isfinite(value))
    throw Refused(
        {.kind = RefusalKind::figure_beyond_range, .file = std::string(source), .figure = figure});
}

template <typename Table>
void require_finite_cells(const Table& table, std::string_view source, Figure figure) {
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) require_finite(table.at(s, g), source, figure);
}

template <typename ByGroup>
void require_finite_groups(const ByGroup& values, std::string_view source, Figure figure) {
  for (int g = first_group; g <= last_group; ++g) require_finite(values[g], source, figure);
}

}  // namespace

void check_figure_range(const Model1Result& m, std::string_view source) {
  require_finite(m.expansion_sum, source, Figure::model1_pieces);
  require_finite(m.model1_total, source, Figure::model1_carbon);
  require_finite_cells(m.model1_carbon, source, Figure::model1_carbon_table);
  require_finite_groups(m.volume_per_ha, source, Figure::model1_volume);
  require_finite_groups(m.surface_per_ha, source, Figure::model1_surface);
}

void check_figure_range(const Model2Estimates& m, std::string_view source) {
  require_finite(m.carbon_per_ha, source, Figure::model2_carbon);
  require_finite(m.pieces_per_ha, source, Figure::model2_pieces);
  require_finite_groups(m.volume_per_ha, source, Figure::model2_volume);
  require_finite_groups(m.surface_per_ha, source, Figure::model2_surface);
  require_finite_cells(m.carbon_table, source, Figure::model2_carbon_table);
  require_finite_cells(m.volume_table, source, Figure::model2_volume_table);
  require_finite_cells(m.surface_table, source, Figure::model2_surface_table);
  if (m.standard_error) {
    require_finite(m.standard_error->carbon_per_ha, source, Figure::model2_carbon_spread);
    require_finite(m.standard_error->pieces_per_ha, source, Figure::model2_pieces_spread);
    require_finite_groups(m.standard_error->volume_per_ha, source, Figure::model2_volume_spread);
    require_finite_groups(m.standard_error->surface_per_ha, source, Figure::model2_surface_spread);
  }
}

void check_figure_range(const Model2Expectation& e, std::string_view source) {
  require_finite(e.carbon_per_ha, source, Figure::expected_carbon);
  require_finite(e.pieces_per_ha, source, Figure::expected_pieces);
  require_finite(e.carbon_per_ha_stderr_per_run, source, Figure::expected_carbon_spread);
  require_finite(e.pieces_per_ha_stderr_per_run, source, Figure::expected_pieces_spread);
  require_finite_groups(e.volume_per_ha, source, Figure::expected_volume);
  require_finite_groups(e.surface_per_ha, source, Figure::expected_surface);
}

}  // namespace quorvel
