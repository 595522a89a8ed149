// How long the tally reader takes for a file of a million records: semicolon-separated with
// decimal commas and a header, as a spreadsheet in a Russian locale saves it, and the same in
// the inventory format; from memory and from a file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/inventory_reader.h"
#include "field/tally_reader.h"

namespace {

using namespace quorvel;

constexpr int record_count = 1'000'000;

// Codes, diameters, lengths and stages that vary from record to record like a real tally.
std::string made_up_tally(bool spreadsheet) {
  const char separator = spreadsheet ? ';' : ',';
  const char decimal = spreadsheet ? ',' : '.';
  std::string text = spreadsheet ? "species;d1_cm;d2_cm;length_m;stage\n" : "";
  text.reserve(static_cast<std::size_t>(record_count) * 24);
  for (int i = 0; i < record_count; ++i) {
    text += "SHC"[i % 3];
    text += separator;
    text += std::to_string(5 + i % 60) + decimal + std::to_string(i % 10);
    text += separator;
    text += std::to_string(4 + i % 50) + decimal + std::to_string(i % 7) + "5";
    text += separator;
    text += std::to_string(1 + i % 20) + decimal + std::to_string(i % 100);
    text += separator;
    text += std::to_string(1 + i % 5);
    text += '\n';
  }
  return text;
}

const std::string& tally_text(bool spreadsheet) {
  static const std::string texts[2] = {made_up_tally(false), made_up_tally(true)};
  return texts[spreadsheet ? 1 : 0];
}

// The text written once to a file in the temporary folder, removed at exit.
const std::filesystem::path& tally_file(bool spreadsheet) {
  struct TempFile {
    std::filesystem::path path;
    explicit TempFile(bool spreadsheet)
        : path(std::filesystem::temp_directory_path() /
               (std::string("quorvel_bench_tally_") +
                (spreadsheet ? "semicolons.csv" : "plain.txt"))) {
      std::ofstream(path, std::ios::binary) << tally_text(spreadsheet);
    }
    ~TempFile() { std::filesystem::remove(path); }
  };
  static const TempFile files[2] = {TempFile(false), TempFile(true)};
  return files[spreadsheet ? 1 : 0].path;
}

void report(benchmark::State& state, const TallyFile& tally, bool spreadsheet) {
  if (tally.plots.size() != 1 || tally.plots[0].inventory.pieces.size() != record_count)
    state.SkipWithError("the made-up tally did not read whole");
  state.SetItemsProcessed(state.iterations() * record_count);
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(tally_text(spreadsheet).size()));
}

void from_memory(benchmark::State& state, bool spreadsheet) {
  const std::string& text = tally_text(spreadsheet);
  TallyFile tally;
  for (auto _ : state) {
    tally = parse_tally(text, "bench.csv");
    benchmark::DoNotOptimize(tally);
  }
  report(state, tally, spreadsheet);
}

void from_file(benchmark::State& state, bool spreadsheet) {
  const std::filesystem::path& path = tally_file(spreadsheet);
  TallyFile tally;
  for (auto _ : state) {
    tally = read_tally(path);
    benchmark::DoNotOptimize(tally);
  }
  report(state, tally, spreadsheet);
}

void BM_tally_semicolons_decimal_commas_memory(benchmark::State& state) {
  from_memory(state, true);
}
void BM_tally_semicolons_decimal_commas_file(benchmark::State& state) { from_file(state, true); }
void BM_tally_inventory_format_memory(benchmark::State& state) { from_memory(state, false); }
void BM_tally_inventory_format_file(benchmark::State& state) { from_file(state, false); }

// The inventory reader alone on the same text, for comparison.
void BM_inventory_reader_memory(benchmark::State& state) {
  const std::string& text = tally_text(false);
  for (auto _ : state) benchmark::DoNotOptimize(parse_inventory(text, "bench.txt"));
  state.SetItemsProcessed(state.iterations() * record_count);
}

BENCHMARK(BM_tally_semicolons_decimal_commas_memory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_tally_semicolons_decimal_commas_file)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_tally_inventory_format_memory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_tally_inventory_format_file)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_inventory_reader_memory)->Unit(benchmark::kMillisecond);

}  // namespace
