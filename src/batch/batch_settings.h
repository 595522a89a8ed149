#pragma once
// The batch options turned into what the engine works with, by the rules of the window's
// fields; a text that does not parse refuses the whole batch before any file is touched.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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

// The seed of the inventory at `position` (from 0): the batch seed itself for the first, a
// well-mixed derivation for the others, so results never depend on how many run at once.
std::uint64_t seed_for_inventory(std::uint64_t batch_seed, std::size_t position);

}  // namespace quorvel
