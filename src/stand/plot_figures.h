#pragma once
// The per-hectare figures of one plot that the stand estimates average over plots, for model 1,
// model 2 and model 2's exact expectation: carbon, pieces, volume and surface by group, and
// carbon by stage and group. FigureSet<T> gives every figure the same shape, so the estimates
// across plots (FigureSet<FigureEstimate>) mirror the plot's own figures.

#include <array>
#include <optional>

#include "engine/estimators.h"
#include "engine/expectation.h"
#include "engine/model1.h"
#include "engine/stage_group_table.h"

namespace quorvel {

enum class Estimate { model1, model2, model2_expected };
inline constexpr int estimate_count = 3;
inline constexpr std::array<Estimate, estimate_count> all_estimates{
    Estimate::model1, Estimate::model2, Estimate::model2_expected};

// "model1", "model2", "model2_expected": the keys of the plot lines.
const char* estimate_key(Estimate estimate);

template <typename T>
struct FigureSet {
  T carbon_t_per_ha{};
  T pieces_per_ha{};
  std::array<T, last_group + 1> volume_m3_per_ha{};   // groups 1..3; [0] unused
  std::array<T, last_group + 1> surface_m2_per_ha{};  // groups 1..3; [0] unused
  StageGroupTable<T> carbon_by_stage_group{};         // t C per hectare, stages 1..5 x groups 1..3
};

enum class FigureName {
  carbon_t_per_ha,
  pieces_per_ha,
  volume_m3_per_ha,
  surface_m2_per_ha,
  carbon_by_stage_group,
};
inline constexpr int figure_count = 1 + 1 + 3 + 3 + 15;

// The key of the plot lines, e.g. "volume_m3_per_ha".
const char* figure_key(FigureName name);

// One figure of a set: the name, with the group (volume, surface) and the stage (carbon by stage
// and group) it belongs to; 0 where it has none.
struct FigureKey {
  FigureName name = FigureName::carbon_t_per_ha;
  int stage = 0;
  int group = 0;
};

// Calls visit(key, sets.member...) for each of the figure_count figures, member by member of
// all the sets together, in the order of the plot lines: carbon, pieces, volume by group,
// surface by group, carbon by stage (rows) and group (columns).
template <typename Visit, typename... Sets>
void for_each_figure(Visit&& visit, Sets&... sets) {
  visit(FigureKey{FigureName::carbon_t_per_ha}, sets.carbon_t_per_ha...);
  visit(FigureKey{FigureName::pieces_per_ha}, sets.pieces_per_ha...);
  for (int g = first_group; g <= last_group; ++g)
    visit(FigureKey{FigureName::volume_m3_per_ha, 0, g}, sets.volume_m3_per_ha[g]...);
  for (int g = first_group; g <= last_group; ++g)
    visit(FigureKey{FigureName::surface_m2_per_ha, 0, g}, sets.surface_m2_per_ha[g]...);
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      visit(FigureKey{FigureName::carbon_by_stage_group, s, g},
            sets.carbon_by_stage_group.at(s, g)...);
}

// The member of a set that a key names.
template <typename T>
T& figure_at(FigureSet<T>& set, const FigureKey& key) {
  switch (key.name) {
    case FigureName::carbon_t_per_ha:
      return set.carbon_t_per_ha;
    case FigureName::pieces_per_ha:
      return set.pieces_per_ha;
    case FigureName::volume_m3_per_ha:
      return set.volume_m3_per_ha[key.group];
    case FigureName::surface_m2_per_ha:
      return set.surface_m2_per_ha[key.group];
    case FigureName::carbon_by_stage_group:
      break;
  }
  return set.carbon_by_stage_group.at(key.stage, key.group);
}

template <typename T>
const T& figure_at(const FigureSet<T>& set, const FigureKey& key) {
  return figure_at(const_cast<FigureSet<T>&>(set), key);
}

using EstimateFigures = FigureSet<double>;

// One plot's figures as the stand estimates take them; an estimate the plot does not have
// (no runs made, a refused plot) stays absent.
struct PlotFigures {
  std::optional<EstimateFigures> model1;
  std::optional<EstimateFigures> model2;
  std::optional<EstimateFigures> model2_expected;

  std::optional<EstimateFigures>& of(Estimate estimate);
  const std::optional<EstimateFigures>& of(Estimate estimate) const;
};

// The figures of the plot lines taken from the engine's results.
EstimateFigures figures_of(const Model1Result& model1);
EstimateFigures figures_of(const Model2Estimates& model2);
EstimateFigures figures_of(const Model2Expectation& expectation);

}  // namespace quorvel
