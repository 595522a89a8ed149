#include "stand/plot_figures.h"

namespace quorvel {

const char* estimate_key(Estimate estimate) {
  switch (estimate) {
    case Estimate::model1:
      return "model1";
    case Estimate::model2:
      return "model2";
    case Estimate::model2_expected:
      return "model2_expected";
  }
  return "";
}

const char* figure_key(FigureName name) {
  switch (name) {
    case FigureName::carbon_t_per_ha:
      return "carbon_t_per_ha";
    case FigureName::pieces_per_ha:
      return "pieces_per_ha";
    case FigureName::volume_m3_per_ha:
      return "volume_m3_per_ha";
    case FigureName::surface_m2_per_ha:
      return "surface_m2_per_ha";
    case FigureName::carbon_by_stage_group:
      return "carbon_by_stage_group";
  }
  return "";
}

std::optional<EstimateFigures>& PlotFigures::of(Estimate estimate) {
  switch (estimate) {
    case Estimate::model1:
      return model1;
    case Estimate::model2:
      return model2;
    case Estimate::model2_expected:
      break;
  }
  return model2_expected;
}

const std::optional<EstimateFigures>& PlotFigures::of(Estimate estimate) const {
  return const_cast<PlotFigures*>(this)->of(estimate);
}

EstimateFigures figures_of(const Model1Result& m) {
  EstimateFigures f;
  f.carbon_t_per_ha = m.model1_total;
  f.pieces_per_ha = m.pieces_per_ha;
  f.volume_m3_per_ha = m.volume_per_ha;
  f.surface_m2_per_ha = m.surface_per_ha;
  f.carbon_by_stage_group = m.model1_carbon;
  return f;
}

EstimateFigures figures_of(const Model2Estimates& m) {
  EstimateFigures f;
  f.carbon_t_per_ha = m.carbon_per_ha;
  f.pieces_per_ha = m.pieces_per_ha;
  f.volume_m3_per_ha = m.volume_per_ha;
  f.surface_m2_per_ha = m.surface_per_ha;
  f.carbon_by_stage_group = m.carbon_table;
  return f;
}

EstimateFigures figures_of(const Model2Expectation& e) {
  EstimateFigures f;
  f.carbon_t_per_ha = e.carbon_per_ha;
  f.pieces_per_ha = e.pieces_per_ha;
  f.volume_m3_per_ha = e.volume_per_ha;
  f.surface_m2_per_ha = e.surface_per_ha;
  f.carbon_by_stage_group = e.carbon_by_stage_group;
  return f;
}

}  // namespace quorvel
