#include "figure_range.h"

#include <cmath>
#include <string>

#include "input_error.h"

namespace quorvel {

namespace {

void require_finite(double value, std::string_view source, const char* figure) {
  if (std::isfinite(value)) return;
  std::string message(source);
  if (!message.empty()) message += ": ";
  message += "the figures are too large to compute (";
  message += figure;
  message +=
      " is beyond the range of numbers); check the diameters, lengths, densities and "
      "the carbon fraction";
  throw InputError(message);
}

template <typename Table>
void require_finite_cells(const Table& table, std::string_view source, const char* figure) {
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g) require_finite(table.at(s, g), source, figure);
}

template <typename ByGroup>
void require_finite_groups(const ByGroup& values, std::string_view source, const char* figure) {
  for (int g = first_group; g <= last_group; ++g) require_finite(values[g], source, figure);
}

}  // namespace

void check_figure_range(const Model1Result& m, std::string_view source) {
  require_finite(m.expansion_sum, source, "the model 1 number of pieces");
  require_finite(m.model1_total, source, "the model 1 carbon");
  require_finite_cells(m.model1_carbon, source, "the model 1 carbon by stage and group");
  require_finite_groups(m.volume_per_ha, source, "the model 1 volume");
  require_finite_groups(m.surface_per_ha, source, "the model 1 surface");
}

void check_figure_range(const Model2Estimates& m, std::string_view source) {
  require_finite(m.carbon_per_ha, source, "the model 2 carbon");
  require_finite(m.pieces_per_ha, source, "the model 2 number of pieces");
  require_finite_groups(m.volume_per_ha, source, "the model 2 volume");
  require_finite_groups(m.surface_per_ha, source, "the model 2 surface");
  require_finite_cells(m.carbon_table, source, "the model 2 carbon by stage and group");
  require_finite_cells(m.volume_table, source, "the model 2 volume by stage and group");
  require_finite_cells(m.surface_table, source, "the model 2 surface by stage and group");
  if (m.standard_error) {
    require_finite(m.standard_error->carbon_per_ha, source, "the spread of the model 2 carbon");
    require_finite(m.standard_error->pieces_per_ha, source, "the spread of the model 2 pieces");
    require_finite_groups(m.standard_error->volume_per_ha, source,
                          "the spread of the model 2 volume");
    require_finite_groups(m.standard_error->surface_per_ha, source,
                          "the spread of the model 2 surface");
  }
}

void check_figure_range(const Model2Expectation& e, std::string_view source) {
  require_finite(e.carbon_per_ha, source, "the expected carbon");
  require_finite(e.pieces_per_ha, source, "the expected number of pieces");
  require_finite(e.carbon_per_ha_stderr_per_run, source, "the spread of the expected carbon");
  require_finite(e.pieces_per_ha_stderr_per_run, source, "the spread of the expected pieces");
  require_finite_groups(e.volume_per_ha, source, "the expected volume");
  require_finite_groups(e.surface_per_ha, source, "the expected surface");
}

}  // namespace quorvel
