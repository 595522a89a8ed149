#pragma once
// Why an input, a Start or an output was refused, as data: what happened and where. The engine
// never words it; each front end does, in its own language, from these fields alone.

#include <cstdint>
#include <exception>
#include <string>

namespace quorvel {

enum class RefusalKind {
  // An input file as a whole (an inventory, a tally, a strata file, a species map).
  file_missing,      // file, system_error, reason
  file_unreadable,   // file, system_error, reason (the system's words)
  file_is_folder,    // file
  file_not_regular,  // file: a pipe, a device or a socket stands at its path
  file_too_large,    // file, limit (bytes): larger than an input of its kind may be
  // The text of an inventory.
  unclosed_quote,         // file, line
  text_after_quote,       // file, line, found
  record_incomplete,      // file, line, record, field (the last field present)
  field_not_valid,        // file, line, record, field (and column in a file with a header), found
  column_missing,         // file, line, field: a header row without a column the tally needs
                          // (column: the name asked for, for a plot column given by the user)
  text_not_decodable,     // file, line, encoding: bytes that are no text in the file's encoding
  species_unknown,        // file, line, record, column (of the first), found: every code of the
                          // file that is neither S, H, C nor in the species map, ", " between
  species_listed_twice,   // file (the species map), line, found: one name, two codes
  too_many_fields,        // file, line, record, hint_fields: a comma-separated row longer than
                          // its header (or than five fields), as a decimal comma would make it
  header_not_recognised,  // file, line, found: a first row of names, none of them known
  column_repeated,        // file, line, field, column: a header row naming a column twice
  record_too_long,        // file, line, record, found (the first surplus field), limit (columns)
  no_records,             // file: nothing but a header row, or not even that
  unit_not_fitting,       // file, line, field, column, found (the unit): a diameter in ft
  value_missing,          // file, plot, line, record, field, column, found: NA, -, or nothing
  // A tally with a line column, and the lines file that gives the lengths of its lines.
  plot_without_lines,  // file (the tally), plot, found (the lines file): no row of the plot there
  line_not_listed,     // file, plot, line, record, column, found (the line): not among the plot's
  lines_file_needed,   // file, plot, column, limit (its lines): several lines and no lines file
  // A strata file (plot, stratum, area).
  plot_repeated,  // file, line, found (the plot), other_line (where it was listed first)
  area_differs,   // file, line, found (the stratum), other_line (the first area given for it)
  area_missing,   // file, line (the stratum's first), found (the stratum): no area for it
  // A table of coefficients by species and decay stage.
  coefficient_repeated,  // file, line, found (the species), stage, other_line (its first row)
  coefficients_missing,  // file (the tally), table, found: "code stage" of every piece without
                         // a row, comma-separated
  // A parameter (a window field, a batch option).
  // parameter (stage and group for a density), problem, found; limit for below_minimum
  parameter_not_valid,
  // The Start.
  piece_cannot_cross,   // file, line, record, length: its chance to cross is 0
  piece_never_crossed,  // file, line, record, length, limit, run
  figure_beyond_range,  // file, figure
  cancelled,            // file: the user (Esc, Finish, Ctrl+C) stopped the Start
  internal_error,       // file, reason: a fault of the program's own, caught so that it ends
                        // this plot alone (or the run, with no file) and leaves no stray file
  // An output: a report, the summary, a trace, a chart.
  output_unwritable,  // output, file, system_error, reason
  output_not_a_file,  // output, file: a device, a pipe or a socket stands at its path
  output_not_ours,    // output, file: a file Quorvel did not write stands there, kept
  output_is_input,    // output, file, found (the input): the path leads to a file being read
  reports_unnamed,    // file: an inventory path too short to name its reports after
};
// The last of them, for tables that must word each one: move it with a new last kind.
inline constexpr RefusalKind last_refusal_kind = RefusalKind::reports_unnamed;

// The fields of an inventory record, in their order in today's format.
enum class InventoryField {
  none,
  species_code,
  diameter1,
  diameter2,
  length,
  stage,
  plot,
  stratum,
  area_ha,         // a stratum's area in a strata file
  diameter,        // the one diameter of a piece, where it crosses the line (d1 = d2)
  line,            // the line (transect) of a plot a piece crossed, or a row of a lines file is
  horizontal,      // a lines file's horizontal length of a line (segment), m
  slope_distance,  // a lines file's length of a line (segment) measured along the slope, m
  slope,           // a lines file's slope of a line (segment), percent
  // The columns of a table of coefficients by species and decay stage.
  coefficient_species,
  coefficient_stage,
  density,
  reduction,
  carbon_share,
};
// The last of them, for tables that must word each one: move it with a new last kind.
inline constexpr InventoryField last_inventory_field = InventoryField::carbon_share;

// The parameters of a Start, in the window's order.
enum class Parameter {
  none,
  transect_length,
  run_count,
  carbon_fraction,
  density,
  wind,
  wind_force,
  attempt_limit,
  input_decimal,  // found: a decimal comma asked for in a comma-separated file
};
// The last of them, for tables that must word each one: move it with a new last kind.
inline constexpr Parameter last_parameter = Parameter::input_decimal;

// What is wrong with a parameter's text or value.
enum class ValueProblem {
  none,
  empty,          // the text holds nothing but blanks
  not_a_number,   // the text is not one plain decimal number
  out_of_range,   // beyond what the number's type holds, too large or too small
  outside_int16,  // a whole number outside -32768..32767
  digit_group,    // a whole number with "," or "." before three digits: 1,000 runs or 1 run?
  below_minimum,  // below `limit` (a transect length, a number of runs)
  outside_range,  // outside what the quantity can be, or not finite: a carbon fraction in
                  // (0, 1], a density in (0, 1.5] t/m3, a wind force 0..5
};

// A figure that left the range of numbers.
enum class Figure {
  none,
  model1_pieces,
  model1_carbon,
  model1_volume,
  model1_surface,
  model2_pieces,
  model2_carbon,
  model2_volume,
  model2_surface,
  expected_pieces,
  expected_carbon,
  expected_volume,
  expected_surface,
  // The tables by stage and group.
  model1_carbon_table,
  model2_carbon_table,
  model2_volume_table,
  model2_surface_table,
  // The standard errors.
  model2_carbon_spread,
  model2_pieces_spread,
  model2_volume_spread,
  model2_surface_spread,
  expected_carbon_spread,
  expected_pieces_spread,
};
// The last of them, for tables that must word each one: move it with a new last kind.
inline constexpr Figure last_figure = Figure::expected_pieces_spread;

// Which output a refusal names.
// table: a CSV file of the batch other than the summary (stand summary, pieces, runs).
enum class Output { none, report, summary, trace, table, chart };

// A hint for a file that looks like another form than the one it was read in.
enum class FormHint { none, semicolon_separated, tab_separated, space_separated, decimal_comma };

// The decimal mark of the file where a number was refused; unknown: the point of the old form.
enum class FileDecimal { unknown, point, comma, either };

struct Refusal {
  RefusalKind kind = RefusalKind::file_unreadable;
  std::string file{};       // as the user gave it
  std::string plot{};       // the plot of a file with a plot column whose row was refused
  std::int64_t line = 0;    // 1-based; 0 when the refusal names no line
  std::int64_t record = 0;  // 1-based; 0 when it names no record
  InventoryField field = InventoryField::none;
  std::string column{};  // the column's own header name, where the file has a header row
  Parameter parameter = Parameter::none;
  int stage = 0, group = 0;  // the density cell of a density parameter
  std::string found{};       // the text found, UTF-8 (cut short by whoever shows it)
  std::string reason{};      // the system's reason for a file that cannot be read or written
  double length = 0;         // the piece length, metres
  std::int64_t limit = 0;    // the limit that was reached
  int run = 0;               // 1-based
  Figure figure = Figure::none;
  FormHint hint = FormHint::none;
  int hint_fields = 0;  // how many fields line `hint_line` holds in the form of the hint
  ValueProblem problem = ValueProblem::none;
  Output output = Output::none;
  int system_error = 0;         // the errno behind `reason`, 0 when the system gave none
  std::int64_t hint_line = 0;   // the line the hint speaks of
  std::string encoding{};       // the text encoding the file was read in, e.g. "UTF-16LE"
  std::int64_t other_line = 0;  // an earlier line that line `line` contradicts
  FileDecimal decimal = FileDecimal::unknown;
  std::string table{};  // the table of coefficients that lacks rows
};

// The exception that carries a Refusal out of the engine and the reports; what() is a short
// technical form for logs, never a message for the user.
class Refused : public std::exception {
 public:
  explicit Refused(Refusal refusal);
  const Refusal& refusal() const noexcept { return refusal_; }
  const char* what() const noexcept override { return summary_.c_str(); }

 private:
  Refusal refusal_;
  std::string summary_;
};

}  // namespace quorvel
