#pragma once
// The batch front end's command line as a plain struct: parameters are kept as the texts the
// window's fields would hold and parsed later by the same rules.

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

struct BatchOptions {
  std::vector<std::string> inventories;
  // The inventories found in a folder given on the command line, by path, each with its name
  // within that folder, by which a strata file may list it.
  std::map<std::string, std::string> folder_names;
  // How to read tallies the file alone does not tell: texts as given, checked by the command
  // line ("" leaves it to the file).
  std::string input_separator;
  std::string input_decimal;
  std::string input_encoding;
  std::string species_map_path;
  std::string coefficients_path;  // carbon by species and decay stage instead of the grid
  std::string plot_column;
  std::string diameter_unit;
  std::string length_unit;
  std::vector<std::string> columns;  // ROLE=HEADER
  bool drop_incomplete = false;
  std::string lines_path;  // --lines: the lines of each plot and their lengths
  std::string transect_length = "100";
  std::string runs = "1";
  std::string wind_force = "0";
  std::string wind = "none";
  std::string carbon_fraction = "0,5";
  std::vector<std::string> densities;  // STAGE:CODE=VALUE
  std::optional<std::uint64_t> seed;
  bool no_reports = false;
  bool force = false;                     // replace existing outputs that Quorvel did not write
  std::optional<char> decimal_separator;  // default: the user's locale
  bool json = false;
  std::int64_t max_attempts = 10'000'000;
  std::string trace_path;
  bool expected_only = false;
  std::string summary_path;
  int jobs = 1;
  // Stand estimates, the detail per piece and per run, charts; inventories in bulk.
  std::string strata_path;
  std::string stand_summary_path;
  std::string pieces_path;
  std::string runs_csv_path;
  std::string chart_path;
  std::string inventories_from;
};

// Either options to run with, or the exit status to leave with at once (0 after --help or
// --version, 2 after a usage error, with the message already written to `err`).
struct ParsedCommandLine {
  std::optional<BatchOptions> options;
  int exit_status = 0;
};

ParsedCommandLine parse_batch_options(int argc, const char* const* argv, std::ostream& out,
                                      std::ostream& err);

}  // namespace quorvel
