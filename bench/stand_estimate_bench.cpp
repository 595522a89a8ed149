// How long the stand estimates take per plot as 1,000 to 100,000 plots stream into 10 strata,
// and that the heap they hold stays the same whatever the number of plots (heap_bytes, from
// glibc's allocator statistics). Then the estimate itself, t quantiles included.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <random>
#include <string>
#include <vector>

#include "stand/stand_estimate.h"

namespace {

using namespace quorvel;

// 64 made-up plots with all three estimates and every figure filled, cycled through.
const std::vector<PlotFigures>& plot_pool() {
  static const std::vector<PlotFigures> pool = [] {
    std::mt19937_64 random(13);
    std::uniform_real_distribution<double> value(0, 50);
    std::vector<PlotFigures> plots(64);
    for (PlotFigures& plot : plots)
      for (const Estimate e : all_estimates) {
        EstimateFigures f;
        for_each_figure([&](const FigureKey&, double& v) { v = value(random); }, f);
        plot.of(e) = f;
      }
    return plots;
  }();
  return pool;
}

const std::vector<std::string>& stratum_names() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (int h = 0; h < 10; ++h) out.push_back("stratum " + std::to_string(h));
    return out;
  }();
  return names;
}

void BM_accumulate_plots_in_ten_strata(benchmark::State& state) {
  const auto plots = static_cast<std::size_t>(state.range(0));
  const std::vector<PlotFigures>& pool = plot_pool();
  const std::vector<std::string>& names = stratum_names();
  double heap_bytes = 0;
  for (auto _ : state) {
    const std::size_t before = mallinfo2().uordblks;
    StandAccumulator stand;
    for (std::size_t i = 0; i < plots; ++i) stand.add(names[i % 10], pool[i % pool.size()]);
    heap_bytes = static_cast<double>(mallinfo2().uordblks - before);
    benchmark::DoNotOptimize(stand);
  }
  state.counters["time_per_plot"] =
      benchmark::Counter(static_cast<double>(plots), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  state.counters["heap_bytes"] = heap_bytes;
}
BENCHMARK(BM_accumulate_plots_in_ten_strata)
    ->Arg(1'000)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

void BM_estimate_of_ten_strata(benchmark::State& state) {
  StandAccumulator stand;
  for (std::size_t i = 0; i < 1000; ++i)
    stand.add(stratum_names()[i % 10], plot_pool()[i % plot_pool().size()]);
  for (auto _ : state) benchmark::DoNotOptimize(stand.estimate());
}
BENCHMARK(BM_estimate_of_ten_strata)->Unit(benchmark::kMicrosecond);

}  // namespace
