#include "engine/estimators.h"

#include <cmath>

namespace quorvel {

namespace {

double plot_area(double transect_length) { return transect_length * transect_length; }

// cell + sum, rounded to single precision. The rounded value is stored to and read back from a
// volatile float, an access no optimiser may elide, so the rounding happens after every
// addition wherever the call is inlined: GCC 12 at -O3 vectorised the S and H sums and
// dropped the narrowing between their additions. The standard guarantees volatile accesses,
// where a flag or pragma would only hold for the compiler it names.
float add_in_single(double cell, float sum) {
  volatile float rounded = static_cast<float>(cell + static_cast<double>(sum));
  return rounded;
}

void fold_sums(const Tally& tally, Model2Estimates& e) {
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      e.stage_carbon[s] = tally.sim_carbon.at(s, g) + e.stage_carbon[s];
  for (int s = first_stage; s <= last_stage; ++s)
    e.total_carbon = e.stage_carbon[s] + e.total_carbon;
  for (int g = first_group; g <= last_group; ++g)
    for (int s = first_stage; s <= last_stage; ++s)
      e.group_volume[g] = tally.sim_volume.at(s, g) + e.group_volume[g];
  // The surface per group is summed in single precision, rounded after every addition.
  for (int g = first_group; g <= last_group; ++g)
    for (int s = first_stage; s <= last_stage; ++s)
      e.group_surface[g] = add_in_single(tally.sim_surface.at(s, g), e.group_surface[g]);
}

StageGroupTable<double> per_hectare_table(const StageGroupTable<double>& sums, double L, int R) {
  StageGroupTable<double> table;
  for (int s = first_stage; s <= last_stage; ++s)
    for (int g = first_group; g <= last_group; ++g)
      table.at(s, g) = per_hectare_average(sums.at(s, g), L, R);
  return table;
}

// The sample standard deviation of the per-run values divided by sqrt(R).
double standard_error(const std::vector<double>& values) {
  const double n = static_cast<double>(values.size());
  double mean = 0;
  for (double v : values) mean += v;
  mean /= n;
  double squares = 0;
  for (double v : values) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / (n - 1) / n);
}

Model2Spread spread_over_runs(const std::vector<RunTotals>& runs, double L) {
  const double per_ha = 10000 / plot_area(L);
  const auto error_of = [&](auto value_of) {
    std::vector<double> values;
    values.reserve(runs.size());
    for (const RunTotals& run : runs) values.push_back(value_of(run) * per_ha);
    return standard_error(values);
  };
  Model2Spread spread;
  spread.carbon_per_ha = error_of([](const RunTotals& r) { return r.carbon; });
  spread.pieces_per_ha =
      error_of([](const RunTotals& r) { return static_cast<double>(r.attempts); });
  for (int g = first_group; g <= last_group; ++g) {
    spread.volume_per_ha[g] = error_of([g](const RunTotals& r) { return r.volume[g]; });
    spread.surface_per_ha[g] = error_of([g](const RunTotals& r) { return r.surface[g]; });
  }
  return spread;
}

}  // namespace

double per_hectare_average(double numerator, double transect_length, int run_count) {
  return (numerator * 10000) / (plot_area(transect_length) * run_count);
}

Model2Estimates estimate_model2(const Tally& tally, double L, int R) {
  Model2Estimates e;
  const double placements_per_ha =
      (static_cast<double>(tally.placement_count) * 10000) / plot_area(L);
  fold_sums(tally, e);
  e.pieces_per_ha_total = placements_per_ha + e.pieces_per_ha_total;

  e.carbon_per_ha = per_hectare_average(e.total_carbon, L, R);
  for (int g = first_group; g <= last_group; ++g)
    e.volume_per_ha[g] = per_hectare_average(e.group_volume[g], L, R);
  for (int g = first_group; g <= last_group; ++g) {
    const float numerator = e.group_surface[g] * 10000.0f;
    e.surface_per_ha[g] = static_cast<double>(numerator) / (plot_area(L) * R);
  }
  e.pieces_per_ha = std::floor(e.pieces_per_ha_total / R);

  e.carbon_table = per_hectare_table(tally.sim_carbon, L, R);
  e.volume_table = per_hectare_table(tally.sim_volume, L, R);
  e.surface_table = per_hectare_table(tally.sim_surface, L, R);
  if (tally.runs.size() >= 2) e.standard_error = spread_over_runs(tally.runs, L);
  return e;
}

}  // namespace quorvel
