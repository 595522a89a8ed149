#include "engine/run_driver.h"

#include "engine/figure_range.h"

namespace quorvel {

namespace {

// The plot window spans -1 .. L + 1 on both axes: the plot with a margin of one metre.
void prepare_plot(RunHost& host, double transect_length) {
  const float extent = static_cast<float>(transect_length + 2);
  host.set_scale(extent, extent);
  host.show_plot();
  host.clear_plot();
}

}  // namespace

StartResult run_start(const Inventory& inventory, const StartInputs& inputs, RunHost& host) {
  const SimulationParameters& parameters = inputs.parameters;
  check_parameters(parameters);
  StartResult result;
  result.seed = inputs.seed;
  RandomSource random(inputs.seed);
  if (host.draws()) prepare_plot(host, transect_length_of(inventory, parameters));

  result.model1 = compute_model1(inventory, parameters);
  check_figure_range(result.model1, inventory.source);
  host.model1_ready(result.model1);

  result.tally = perform_runs(inventory, parameters, random, host, inputs.max_attempts_per_record);
  result.model2 = estimate_model2(result.tally, transect_length_of(inventory, parameters),
                                  parameters.run_count);
  check_figure_range(result.model2, inventory.source);
  return result;
}

}  // namespace quorvel
