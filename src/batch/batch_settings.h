#pragma once
// The batch options turned into what the engine works with, by the rules of the window's
// fields; a text that does not parse refuses the whole batch before any file is touched.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "batch/batch_options.h"
#include "engine/simulation_parameters.h"
#include "engine/wind.h"
#include "field/coefficients_table.h"
#include "field/lines_reader.h"
#include "field/tally_options.h"

namespace quorvel {

struct BatchSettings {
  SimulationParameters parameters;
  WindButton wind = WindButton::none;
  std::uint64_t seed = 0;
  char decimal_separator = ',';
  TallyOptions tally;  // how to read the inventory files, the species map read
  // Carbon by species and decay stage in place of the density grid, and the file as given.
  std::optional<CoefficientsTable> coefficients;
  std::string coefficients_path;
  std::shared_ptr<const LinesTable> lines;  // --lines, read; null without
};

// Throws Refused naming the parameter and its text, or the species map, coefficients table or
// lines file that cannot be used (a map that cannot be opened names the species code as its
// field).
BatchSettings batch_settings_from(const BatchOptions& options, char locale_separator);

// The seed of a plot, from the batch seed and what the plot is: its file's name (without the
// folder, so a folder, a list and a shell pattern agree) and its plot id ("" for a file of one
// plot). Neither the order of the files nor another file added changes it, and nor does the
// number of workers. A batch of one file of one plot uses the batch seed itself (`only`), so a plot
// run alone with the seed printed beside it repeats its figures.
std::uint64_t seed_for_plot(std::uint64_t batch_seed, std::string_view file, std::string_view plot,
                            bool only);

}  // namespace quorvel
