#include "batch/batch_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <ostream>
#include <regex>

#include "engine/wind.h"
#include "field/tally_options.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

// The help fits 80 columns: option names in the first 30, descriptions wrapped in the rest.
constexpr std::size_t option_column_width = 30;
constexpr std::size_t description_width = 48;

// The text broken at blanks into lines of at most description_width characters.
std::string wrapped(const std::string& text) {
  std::string out;
  std::size_t line_length = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::size_t word_length = end - start;
    if (line_length > 0) {
      const bool fits = line_length + 1 + word_length <= description_width;
      out += fits ? ' ' : '\n';
      line_length = fits ? line_length + 1 : 0;
    }
    out.append(text, start, word_length);
    line_length += word_length;
    start = end + 1;
  }
  return out;
}

constexpr const char* description_text =
    "quorvel-batch: carbon in downed woody debris from line-intersect tallies,\n"
    "without the window.\n"
    "\n"
    "For every plot of the inventory files (a file is the tally of one plot, or of\n"
    "many with a plot column) it prints model 1, the classic line-intersect\n"
    "estimate; model 2, a Monte Carlo re-drop of every tallied piece on the plot\n"
    "until it crosses the transect, averaged over the runs; and the exact value\n"
    "that model 2 approaches with endless runs. Unless --no-reports or\n"
    "--expected-only is given, it writes the window's two reports beside each\n"
    "inventory NAME.txt: NAMEm_results.txt (model 1 carbon by stage and species\n"
    "group) and NAMEs_results.txt (model 2 carbon, volume and surface); for plot P\n"
    "of a file with a plot column, NAME-Pm_results.txt and NAME-Ps_results.txt.\n"
    "Given among the inventories, these reports and the CSV tables it writes are\n"
    "skipped with a note.\n";

constexpr const char* footer_text =
    "Numbers in options are read as the window reads its fields: a comma or a\n"
    "period as decimal separator; --transect-length, --runs and --wind-force are\n"
    "rounded to whole numbers, halves to the even one (--runs 2,5 makes 2 runs).\n"
    "\n"
    "Inventory file: plain text without a header, five fields a record separated\n"
    "by commas or line ends, usually one record a line:\n"
    "  species code  S soft-leaved broadleaves, H hard-leaved broadleaves,\n"
    "                C conifers (quotes around it are allowed)\n"
    "  diameter 1    cm, at one end of the piece\n"
    "  diameter 2    cm, at the other end\n"
    "  length        m, above 0\n"
    "  stage         decomposition stage 1..5 (0 is counted, carries no carbon)\n"
    "Numbers take a period as decimal point; blank lines, CRLF line ends and a\n"
    "UTF-8 byte-order mark are fine. For example:\n"
    "  \"H\",36.5,17.7,2.03,1\n"
    "  \"C\",60,41.5,20,1\n"
    "A file with a record that cannot be read is refused: the message names the\n"
    "line, the record and the field.\n"
    "\n"
    "Spreadsheet exports are read too: a header row naming the columns in any\n"
    "order (species, d1, d2, length, stage, and optionally plot and stratum; in\n"
    "English or Russian, e.g. \"d1_cm\" or \"Длина (м)\"; other columns ignored),\n"
    "fields separated by commas, semicolons or tabs, decimal commas with\n"
    "semicolons or tabs, or quoted (\"16,5\") with commas, UTF-8, UTF-16 with a\n"
    "byte-order mark or Windows-1251, codes in either case, stages I..V, empty\n"
    "rows. For example:\n"
    "  plot;species;d1;d2;length;stage;notes\n"
    "  P07;h;36,5;17,7;2,03;I;hollow\n"
    "One diameter column (diameter, diam, dia, d, transdia, диаметр) instead of\n"
    "d1 and d2 is the diameter where the piece crosses the line: a cylinder. A unit\n"
    "in a header is honoured: mm, cm, m, in for diameters, m, cm, ft for lengths\n"
    "(\"d_mm\", \"diameter (in)\", \"Length_ft\"); --diameter-unit and --length-unit\n"
    "give it where the header does not. Other headers: --column ROLE=HEADER.\n"
    "Empty, NA, N/A and - are missing values: a row missing a required one refuses\n"
    "its plot (the other plots are computed) unless --drop-incomplete. Without a\n"
    "length, model 1 gives carbon, volume and surface; pieces/ha, model 2 and the\n"
    "expectation are \"not computed\" with the reason. A line column (line,\n"
    "transect) names each piece's line; their lengths come from --lines.\n"
    "Each plot of a file with a plot column is an inventory of its own. Warnings\n"
    "(diameters above 300 cm, pieces longer than the plot's diagonal, carbon above\n"
    "1000 t C/ha, no pieces) go to stderr and never stop a plot.\n"
    "\n"
    "Default wood densities, t/m3, examples to replace with those of your region\n"
    "(change a cell with --density STAGE:CODE=VALUE, above 0 and at most 1.5):\n"
    "  stage      1      2      3      4      5\n"
    "  S      0,357  0,275  0,211  0,162  0,125\n"
    "  H      0,500  0,410  0,330  0,250  0,200\n"
    "  C      0,300  0,260  0,200  0,160  0,100\n"
    "\n"
    "Examples:\n"
    "  quorvel-batch plot7.txt\n"
    "      model 1 and one run of model 2; writes plot7m_results.txt and\n"
    "      plot7s_results.txt beside plot7.txt\n"
    "  quorvel-batch --runs 100 --seed 1 plot7.txt\n"
    "      100 runs, the same figures at every call, with the standard error\n"
    "  quorvel-batch --runs 100 --wind N --wind-force 3 plot7.txt\n"
    "      each piece follows a north wind with chance 3/5, along the transect\n"
    "  quorvel-batch --transect-length 50 --density 5:C=0,12 plot7.txt\n"
    "      a 50 m transect and plot, one density changed\n"
    "  quorvel-batch --expected-only --no-reports plots/*.txt\n"
    "      model 1 and the exact expectation of model 2: no runs, no files\n"
    "  quorvel-batch --runs 200 --jobs 2 --no-reports --summary sum.csv plots/*.txt\n"
    "      many plots, two at a time, one CSV row per plot in sum.csv\n"
    "  quorvel-batch --json --runs 10 plot7.txt\n"
    "      one JSON object per plot, for scripts\n"
    "  quorvel-batch --species-map species.csv --no-reports tally.csv\n"
    "      a spreadsheet export with a plot column and species written as words\n"
    "  quorvel-batch plots/\n"
    "      again and again: the reports and tables Quorvel wrote are skipped\n"
    "  quorvel-batch --expected-only --no-reports --strata strata.csv \\\n"
    "      --stand-summary stand.csv plots/\n"
    "      every inventory of the folder plots/, then the mean, standard error\n"
    "      and 95% interval of each stratum and of the stand\n"
    "\n"
    "Exit status: 0 when every inventory was done; 1 when an inventory was refused\n"
    "(the other inventories are still done), a file could not be written (the\n"
    "figures are still printed, the earlier reports kept), a strata file listed\n"
    "none of the plots, or the standard output failed; 2 on a usage error, before\n"
    "any plot: an unknown option, no inventory, a value of the wrong form or\n"
    "outside its range, an inventory given twice, or an output that names an\n"
    "input, another output or a file Quorvel did not write (see --force); 130 when\n"
    "Ctrl+C, a hang-up or SIGTERM stopped the batch (within a moment; the summary,\n"
    "tables and charts are left as they were, a second Ctrl+C ends it at once).\n"
    "\n"
    "No two plots of a run write the same file: the reports of NAME.txt are always\n"
    "NAMEm_results.txt and NAMEs_results.txt; another plot whose reports, chart or\n"
    "trace would take a name already given in the run gets -2, -3, ... after the\n"
    "stem (plot7-2m_results.txt for plot7.csv beside plot7.txt).\n";

// A check that the text is one of the names `named` knows.
template <typename Named>
std::function<std::string(const std::string&)> one_of(Named named, const char* values) {
  return [named, values](const std::string& text) -> std::string {
    return named(text) ? "" : std::string("expected ") + values;
  };
}

// A check by a whole number's range, worded for the user; CLI11's own would show its types.
CLI::Validator whole_number(long long low, long long high, const char* expected) {
  return CLI::Validator(
      [=](const std::string& text) -> std::string {
        long long value = 0;
        const bool whole = CLI::detail::lexical_cast(text, value);
        return whole && value >= low && value <= high ? "" : std::string("expected ") + expected;
      },
      "");
}

void add_parameter_options(CLI::App& app, BatchOptions& o) {
  const std::string group = "Plot parameters (the fields of the main window)";
  app.add_option("--transect-length", o.transect_length,
                 wrapped("Transect length L in metres, also the side of the square plot; the "
                         "transect runs through its middle (1..32767)"))
      ->capture_default_str()
      ->type_name("L")
      ->group(group);
  app.add_option("--runs", o.runs,
                 wrapped("Number of simulated runs of model 2 (1..32767); the standard error "
                         "of the mean shrinks with its square root"))
      ->capture_default_str()
      ->type_name("R")
      ->group(group);
  app.add_option("--wind", o.wind,
                 wrapped("Prevailing wind: none, N, NE, E, SE, S, SW, W or NW. A piece that "
                         "follows it lies within 22.5 degrees of that compass line (N and S: "
                         "along the transect, E and W: across it)"))
      ->capture_default_str()
      ->type_name("DIRECTION")
      ->group(group)
      ->check(one_of(wind_button_from_name, "none, N, NE, E, SE, S, SW, W or NW"));
  app.add_option("--wind-force", o.wind_force,
                 wrapped("Wind force 0..5: with a --wind, each piece follows it with chance "
                         "FORCE/5 (0 never, 5 always) and lies in any direction otherwise"))
      ->capture_default_str()
      ->type_name("FORCE")
      ->group(group);
  app.add_option("--carbon-fraction", o.carbon_fraction,
                 wrapped("Carbon mass per unit of wood mass, above 0 and at most 1"))
      ->capture_default_str()
      ->type_name("FRACTION")
      ->group(group);
  app.add_option("--density", o.densities,
                 wrapped("Wood density in t/m3, above 0 and at most 1.5, of one cell: STAGE 1..5, "
                         "CODE S, H or C, e.g. "
                         "--density 1:S=0,36. Repeatable; the other cells keep the defaults "
                         "listed below"))
      ->type_name("STAGE:CODE=VALUE")
      ->allow_extra_args(false)  // one cell each time, so the inventories after it stay theirs
      ->group(group)
      ->check([](const std::string& text) -> std::string {
        static const std::regex form("[1-5]:[SHC]=.*");
        return std::regex_match(text, form) ? "" : "expected STAGE:CODE=VALUE, e.g. 1:S=0,357";
      });
}

// The text of the tallies: separator, decimal mark, encoding and the species names.
void add_text_options(CLI::App& app, BatchOptions& o, const std::string& group) {
  app.add_option("--input-separator", o.input_separator,
                 wrapped("Field separator of tallies that are no plain inventory file: "
                         "\",\", \";\" or tab. Default: told from the file"))
      ->type_name("SEPARATOR")
      ->group(group)
      ->check(one_of(field_separator_named, ", ; or tab"));
  app.add_option("--input-decimal", o.input_decimal,
                 wrapped("Decimal mark of such tallies: \".\" or \",\" (with commas between "
                         "fields, a comma only inside quotes: \"16,5\"). Default: either, with "
                         "semicolons or tabs or inside quotes"))
      ->type_name("MARK")
      ->group(group)
      ->check(one_of(decimal_mark_named, ". or ,"));
  app.add_option("--input-encoding", o.input_encoding,
                 wrapped("Text encoding of the tallies: utf-8, utf-16le, utf-16be or "
                         "windows-1251. Default: a byte-order mark, else UTF-8 when the bytes "
                         "are valid UTF-8, else Windows-1251"))
      ->type_name("ENCODING")
      ->group(group)
      ->check(one_of(text_encoding_named, "utf-8, utf-16le, utf-16be or windows-1251"));
  app.add_option("--species-map", o.species_map_path,
                 wrapped("CSV file of name,code rows (code S, H or C) for species written as "
                         "words or numbers, e.g. oak,H or 12,C"))
      ->type_name("FILE")
      ->group(group);
}

// The columns of the tallies: their units and the headers of their roles.
void add_column_options(CLI::App& app, BatchOptions& o, const std::string& group) {
  app.add_option("--diameter-unit", o.diameter_unit,
                 wrapped("Unit of the diameters where the header names none: mm, cm, m or in. "
                         "Default: cm"))
      ->type_name("UNIT")
      ->group(group)
      ->check(one_of(diameter_unit_named, "mm, cm, m or in"));
  app.add_option("--length-unit", o.length_unit,
                 wrapped("Unit of the lengths where the header names none: m, cm or ft. "
                         "Default: m"))
      ->type_name("UNIT")
      ->group(group)
      ->check(one_of(length_unit_named, "m, cm or ft"));
  app.add_option("--column", o.columns,
                 wrapped("The column of a role, by its header as written: ROLE=HEADER, ROLE one "
                         "of species, d1, d2, diameter, length, stage, plot, stratum, line, "
                         "horizontal, slope_distance, slope, e.g. --column \"species=Gatunek\". "
                         "Repeatable"))
      ->type_name("ROLE=HEADER")
      ->allow_extra_args(false)
      ->group(group)
      ->check([](const std::string& text) -> std::string {
        const auto equals = text.find('=');
        const bool role =
            equals != std::string::npos && column_role_named(text.substr(0, equals)).has_value();
        return role && equals + 1 < text.size()
                   ? ""
                   : "expected ROLE=HEADER, ROLE one of species, d1, d2, diameter, length, "
                     "stage, plot, stratum, line, horizontal, slope_distance, slope";
      });
}

// What the tallies are read with: the lines and coefficients files, incomplete rows, plots.
void add_plot_options(CLI::App& app, BatchOptions& o, const std::string& group) {
  app.add_option("--lines", o.lines_path,
                 wrapped("CSV file of the lines of each plot: columns plot (the inventory as "
                         "given, or the plot id of a long file), line, and horizontal (m) or "
                         "slope_distance (m) with slope (%); a line's segments on rows of their "
                         "own. L of model 1 is then the plot's summed horizontal length; model "
                         "2 runs for a plot of one line, on a plot of that side. A tally's line "
                         "column must name "
                         "the plot's lines; a plot of the file without pieces counts with none"))
      ->type_name("FILE.csv")
      ->group(group);
  app.add_option("--coefficients", o.coefficients_path,
                 wrapped("CSV file of carbon coefficients by species and decay stage in place "
                         "of the density grid: columns species (a tally's code or a group S, H, "
                         "C), stage, density (t/m3, above 0 and at most 1.5) and optionally "
                         "reduction and carbon (above 0 and at most 1; default 1 and "
                         "--carbon-fraction). A species row is found before its group's row"))
      ->type_name("FILE")
      ->group(group);
  app.add_flag("--drop-incomplete", o.drop_incomplete,
               wrapped("Leave out rows missing a required value (empty, NA, N/A, -) and warn of "
                       "them, rather than refusing their plot"))
      ->group(group);
  app.add_option("--plot-column", o.plot_column,
                 wrapped("Header name of the column that splits a file into plots. Default: "
                         "a column named plot, plotid, участок or площадка"))
      ->type_name("NAME")
      ->group(group);
}

void add_input_options(CLI::App& app, BatchOptions& o) {
  const std::string group = "Inventory files (where the file does not tell)";
  add_text_options(app, o, group);
  add_column_options(app, o, group);
  add_plot_options(app, o, group);
}

void add_run_options(CLI::App& app, BatchOptions& o) {
  const std::string runs = "Runs";
  app.add_option("--seed", o.seed,
                 wrapped("Seed of the random generator, for figures that repeat. A run of one "
                         "file without a plot column uses N itself; otherwise each plot's seed "
                         "is derived "
                         "from N, the plot's file name (without its folder) and plot id, so "
                         "other files never change it. Default: the time of day (each plot's "
                         "seed is printed with its results)"))
      ->type_name("N")
      ->group(runs);
  app.add_option("--max-attempts", o.max_attempts,
                 wrapped("Refuse an inventory when one record needs more than N placement "
                         "attempts in one run (a piece too short to cross)"))
      ->capture_default_str()
      ->type_name("N")
      ->group(runs)
      ->check(whole_number(1, INT64_MAX, "a whole number above 0"));
  app.add_flag("--expected-only", o.expected_only,
               wrapped("Skip the runs: print model 1 and the exact expectation of model 2 with "
                       "its standard error; no report is written"))
      ->group(runs);
  app.add_option("--jobs", o.jobs,
                 wrapped("Inventories processed at once (1..64); the results still come in "
                         "the order of the files"))
      ->capture_default_str()
      ->type_name("N")
      ->group(runs)
      ->check(whole_number(1, 64, "a whole number 1..64"));
}

void add_output_options(CLI::App& app, BatchOptions& o) {
  const std::string output = "Output";
  app.add_flag("--no-reports", o.no_reports,
               wrapped("Do not write NAMEm_results.txt and NAMEs_results.txt beside the "
                       "inventories"))
      ->group(output);
  app.add_flag("--force", o.force,
               wrapped("Replace existing files that Quorvel did not write where an output "
                       "goes; without it such a file is kept and the output refused. An input "
                       "is never replaced"))
      ->group(output);
  app.add_option("--decimal-separator", o.decimal_separator,
                 wrapped("Decimal separator of the reports and the text output, a comma or a "
                         "period. Default: the locale's"))
      ->type_name("SEPARATOR")
      ->group(output)
      ->check([](const std::string& text) -> std::string {
        return text == "," || text == "." ? "" : "expected a comma or a period";
      });
  app.add_flag("--json", o.json,
               wrapped("Print one JSON object per plot, one a line, instead of the text "
                       "lines"))
      ->group(output);
  app.add_option("--summary", o.summary_path,
                 wrapped("Also write one CSV row per inventory to FILE: records, seed, model 1, "
                         "model 2 and the expectation with their standard errors (period as "
                         "decimal point)"))
      ->type_name("FILE")
      ->group(output);
  app.add_option(
         "--trace", o.trace_path,
         wrapped("Write every placement attempt to the CSV file FILE: run, record, "
                 "attempt, the two ends, angle, crossed (one inventory only; the plot P of a "
                 "file with a plot column to FILE with -P before its extension)"))
      ->type_name("FILE")
      ->group(output);
}

void add_stand_options(CLI::App& app, BatchOptions& o) {
  const std::string stand = "Stand estimates and detail";
  app.add_option("--inventories-from", o.inventories_from,
                 wrapped("Read the inventories, one path a line, from FILE (- for the standard "
                         "input), after those on the command line: for more files than a "
                         "command line holds"))
      ->type_name("FILE")
      ->group(stand);
  app.add_option("--strata", o.strata_path,
                 wrapped("CSV file with columns plot (the inventory file, by its path from the "
                         "strata file's folder, from the working folder or as given, or by its "
                         "name in a folder given; or the plot id of a long file), stratum and "
                         "optionally area_ha: the strata of the stand estimates. Default: one "
                         "stratum"))
      ->type_name("FILE")
      ->group(stand);
  app.add_option("--stand-summary", o.stand_summary_path,
                 wrapped("Write the stand estimates to the CSV file FILE: one row per stratum "
                         "and one for the stand, its area and weight, and the mean, sd, se, "
                         "degrees of freedom and 95% interval of every figure"))
      ->type_name("FILE")
      ->group(stand);
  app.add_option("--pieces", o.pieces_path,
                 wrapped("Write one CSV row per record to FILE: its model 1 weight, crossing "
                         "probability and attempts"))
      ->type_name("FILE")
      ->group(stand);
  app.add_option("--runs-csv", o.runs_csv_path,
                 wrapped("Write one CSV row per run of model 2 to FILE: carbon, pieces and "
                         "attempts"))
      ->type_name("FILE")
      ->group(stand);
  app.add_option("--chart", o.chart_path,
                 wrapped("Draw model 2's convergence on each plot to FILE.svg (FILE-N.svg or "
                         "FILE-PLOT.svg with several plots) and the strata to FILE-stand.svg"))
      ->type_name("FILE.svg")
      ->group(stand);
}

bool inventory_suffix(const std::filesystem::path& path) {
  std::string suffix = path.extension().string();
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return suffix == ".txt" || suffix == ".csv" || suffix == ".tsv";
}

// The batch's own output files, which a folder given as an inventory may hold.
bool batch_output(const std::filesystem::path& path, const BatchOptions& o) {
  const auto same = [&](const std::string& output) {
    return !output.empty() &&
           std::filesystem::path(output).lexically_normal() == path.lexically_normal();
  };
  return same(o.summary_path) || same(o.stand_summary_path) || same(o.pieces_path) ||
         same(o.runs_csv_path) || same(o.trace_path) || same(o.strata_path) ||
         same(o.coefficients_path) || same(o.lines_path);
}

// A folder stands for its *.txt, *.csv and *.tsv files in name order, without hidden files and
// this batch's outputs. Empty on success, else the message.
std::string expand_folder(const std::string& folder, BatchOptions& o,
                          std::vector<std::string>& into) {
  std::error_code ec;
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::filesystem::path& path = entry.path();
    if (path.filename().string().starts_with('.') || !inventory_suffix(path)) continue;
    // Quorvel's own reports and tables stay in, to be skipped with a note.
    if (!entry.is_regular_file(ec) || batch_output(path, o)) continue;
    files.push_back(path);
  }
  if (ec) return "cannot list the folder " + folder + ": " + ec.message();
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
    return a.filename().native() < b.filename().native();
  });
  for (const auto& path : files) {
    into.push_back(path.string());
    o.folder_names[path.string()] = path.filename().string();
  }
  return "";
}

// The inventories of the command line with folders expanded, then those of the list file.
std::string gather_inventories(BatchOptions& o) {
  std::vector<std::string> all;
  all.reserve(o.inventories.size());
  for (std::string& given : o.inventories) {
    std::error_code ec;
    // A folder named like an inventory was meant as one, and is refused as a folder.
    if (inventory_suffix(given) || !std::filesystem::is_directory(given, ec)) {
      all.push_back(std::move(given));
    } else if (std::string problem = expand_folder(given, o, all); !problem.empty()) {
      return problem;
    }
  }
  if (!o.inventories_from.empty()) {
    std::ifstream file;
    const bool standard_input = o.inventories_from == "-";
    if (!standard_input) file.open(o.inventories_from, std::ios::binary);
    std::istream& in = standard_input ? std::cin : file;
    if (!in) return "cannot read " + o.inventories_from + ": " + std::strerror(errno);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) all.push_back(std::move(line));
    }
    if (in.bad()) return "cannot read " + o.inventories_from + ": " + std::strerror(errno);
  }
  o.inventories = std::move(all);
  return "";
}

}  // namespace

ParsedCommandLine parse_batch_options(int argc, const char* const* argv, std::ostream& out,
                                      std::ostream& err) {
  BatchOptions o;
  CLI::App app{description_text, "quorvel-batch"};
  app.get_formatter()->column_width(option_column_width);
  app.footer(footer_text);
  app.set_help_flag("-h,--help", "Print this help and exit");
  app.set_version_flag("--version", std::string("quorvel-batch ") + QUORVEL_VERSION,
                       "Print the version and exit");
  app.add_option("INVENTORY", o.inventories,
                 wrapped("Inventory files, one plot each or many with a plot column (format "
                         "below); the reports are written beside each file. A folder stands for "
                         "its *.txt, *.csv and *.tsv files in name order, without the reports and "
                         "tables Quorvel wrote"))
      ->type_name("");
  add_input_options(app, o);
  add_parameter_options(app, o);
  add_run_options(app, o);
  add_output_options(app, o);
  add_stand_options(app, o);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return {std::nullopt, status == 0 ? 0 : 2};
  }
  if (const std::string problem = gather_inventories(o); !problem.empty()) {
    err << "quorvel-batch: " << problem << "\n";
    return {std::nullopt, 2};
  }
  if (o.inventories.empty()) {
    err << "quorvel-batch: no inventory given\nRun with --help for more information.\n";
    return {std::nullopt, 2};
  }
  if (!o.trace_path.empty() && o.inventories.size() != 1) {
    err << "quorvel-batch: --trace takes exactly one inventory\n";
    return {std::nullopt, 2};
  }
  return {o, 0};
}

}  // namespace quorvel
