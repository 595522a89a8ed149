#include "batch_options.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <regex>

namespace quorvel {

namespace {

void add_parameter_options(CLI::App& app, BatchOptions& o) {
  app.add_option("--transect-length", o.transect_length,
                 "Transect length L in metres, the side of the square plot (1..32767)")
      ->capture_default_str();
  app.add_option("--runs", o.runs, "Number of simulated runs (at least 1)")->capture_default_str();
  app.add_option("--wind", o.wind, "Prevailing wind: none, N, NE, E, SE, S, SW, W or NW")
      ->capture_default_str()
      ->check(CLI::IsMember({"none", "N", "NE", "E", "SE", "S", "SW", "W", "NW"}));
  app.add_option("--wind-force", o.wind_force,
                 "Wind force 0..5: a piece follows the wind with chance force/5")
      ->capture_default_str();
  app.add_option("--carbon-fraction", o.carbon_fraction, "Carbon per unit of wood mass")
      ->capture_default_str();
  app.add_option("--density", o.densities,
                 "Wood density in t/m3 of one cell, STAGE:CODE=TEXT with STAGE 1..5 and CODE S, H "
                 "or C, e.g. --density 1:S=0,36 (repeatable; other cells keep the defaults)")
      ->check([](const std::string& text) -> std::string {
        static const std::regex form("[1-5]:[SHC]=.*");
        return std::regex_match(text, form) ? "" : "expected STAGE:CODE=TEXT, e.g. 1:S=0,357";
      });
}

void add_run_options(CLI::App& app, BatchOptions& o) {
  app.add_option("--seed", o.seed, "Seed of the random generator (default: the time of day)");
  app.add_option("--max-attempts", o.max_attempts,
                 "Attempts one record may take in one run before the Start is refused")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  app.add_flag("--no-reports", o.no_reports, "Do not write the two report files");
  app.add_option("--decimal-separator", o.decimal_separator,
                 "Decimal separator of reports and text output (default: the locale's)")
      ->check(CLI::IsMember({",", "."}));
  app.add_flag("--json", o.json, "Print one JSON object per inventory, one per line");
  app.add_option("--trace", o.trace_path,
                 "Write every placement attempt to this CSV file (one inventory only)");
  app.add_flag("--expected-only", o.expected_only,
               "Skip the runs: print model 1 and the exact expectation of model 2");
  app.add_option("--summary", o.summary_path,
                 "Write one CSV row per inventory with the key figures to this file");
  app.add_option("--jobs", o.jobs, "Inventories processed at once")
      ->capture_default_str()
      ->check(CLI::Range(1, 64));
}

}  // namespace

ParsedCommandLine parse_batch_options(int argc, const char* const* argv, std::ostream& out,
                                      std::ostream& err) {
  BatchOptions o;
  CLI::App app{
      "Quorvel batch: carbon, volume, surface and pieces per hectare of downed woody debris "
      "from line-intersect inventories, by the classic estimate (model 1) and by a Monte Carlo "
      "re-drop of every piece on the plot (model 2).\n\n"
      "Example: quorvel-batch --runs 100 --wind N --wind-force 3 --json plot7.txt",
      "quorvel-batch"};
  app.set_version_flag("--version", std::string("quorvel-batch ") + QUORVEL_VERSION);
  app.add_option("INVENTORY", o.inventories,
                 "Inventory files: five fields a record (code S/H/C, diameter 1 and 2 in cm, "
                 "length in m, stage 0..5)")
      ->required();
  add_parameter_options(app, o);
  add_run_options(app, o);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return {std::nullopt, status == 0 ? 0 : 2};
  }
  if (!o.trace_path.empty() && o.inventories.size() != 1) {
    err << "quorvel-batch: --trace takes exactly one inventory\n";
    return {std::nullopt, 2};
  }
  return {o, 0};
}

}  // namespace quorvel
