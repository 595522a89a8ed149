#include "refusal_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace quorvel {

namespace {

// A text found in a file, as it may be shown: printable ASCII, the rest escaped, cut short.
std::string shown(std::string_view text) {
  std::string out;
  for (unsigned char c : text.substr(0, 40)) {
    if (c >= 0x20 && c < 0x7f && c != '"') {
      out.push_back(static_cast<char>(c));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  if (text.size() > 40) out += "...";
  return "\"" + out + "\"";
}

// The shortest text that reads back to the same number.
std::string number(double value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// The file, line and record a refusal names, those it has.
std::string place(const Refusal& r) {
  std::string out = r.file;
  const auto add = [&out](const std::string& part) { out += (out.empty() ? "" : ", ") + part; };
  if (r.line > 0) add("line " + std::to_string(r.line));
  if (r.record > 0) add("record " + std::to_string(r.record));
  return out;
}

std::string_view field_name(InventoryField field) {
  switch (field) {
    case InventoryField::species_code:
      return "species code";
    case InventoryField::diameter1:
      return "diameter 1";
    case InventoryField::diameter2:
      return "diameter 2";
    case InventoryField::length:
      return "length";
    case InventoryField::stage:
      return "stage";
    case InventoryField::plot:
      return "plot";
    case InventoryField::stratum:
      return "stratum";
    case InventoryField::area_ha:
      return "area";
    case InventoryField::none:
      break;
  }
  return "field";
}

// "field 4 (length)" in a file without a header, "column "Len" (length)" in one with.
std::string field_place(const Refusal& r) {
  std::string out = r.column.empty() ? "field " + std::to_string(static_cast<int>(r.field))
                                     : "column \"" + r.column + "\"";
  out += " (";
  out += field_name(r.field);
  out += ')';
  return out;
}

std::string_view expected_in(InventoryField field) {
  switch (field) {
    case InventoryField::species_code:
      return "expected the species code \"S\", \"H\" or \"C\"";
    case InventoryField::diameter1:
    case InventoryField::diameter2:
      return "expected a diameter in cm, a number not below 0 (period as decimal point)";
    case InventoryField::length:
      return "expected a length in m, a number above 0 (period as decimal point)";
    case InventoryField::stage:
      return "expected a decomposition stage, a whole number 0..5";
    case InventoryField::plot:
      return "expected the name of a plot";
    case InventoryField::stratum:
      return "expected the name of a stratum";
    case InventoryField::area_ha:
      return "expected the stratum's area in ha, a number above 0";
    case InventoryField::none:
      break;
  }
  return "expected a value";
}

// What the file would hold if it were in another form than the one it was read in.
std::string form_hint(const Refusal& r) {
  const char* form = nullptr;
  switch (r.hint) {
    case FormHint::semicolon_separated:
      form = "fields separated by semicolons";
      break;
    case FormHint::tab_separated:
      form = "fields separated by tabs";
      break;
    case FormHint::space_separated:
      form = "fields separated by blanks";
      break;
    case FormHint::decimal_comma:
      form = "decimal commas";
      break;
    case FormHint::none:
      return {};
  }
  return std::string("; read with ") + form + ", line " + std::to_string(r.line) + " holds " +
         std::to_string(r.hint_fields) + " fields: is the file in that form?";
}

std::string_view option_name(Parameter parameter) {
  switch (parameter) {
    case Parameter::transect_length:
      return "--transect-length";
    case Parameter::run_count:
      return "--runs";
    case Parameter::carbon_fraction:
      return "--carbon-fraction";
    case Parameter::density:
      return "--density";
    case Parameter::wind:
      return "--wind";
    case Parameter::wind_force:
      return "--wind-force";
    case Parameter::attempt_limit:
      return "--max-attempts";
    case Parameter::none:
      break;
  }
  return "a parameter";
}

std::string parameter_text(const Refusal& r) {
  const std::string option = std::string(option_name(r.parameter)) + " \"" + r.found + "\" ";
  switch (r.problem) {
    case ValueProblem::empty:
      return option + "is empty";
    case ValueProblem::not_a_number:
      return option + "is not a number";
    case ValueProblem::out_of_range:
      return option + "is out of range";
    case ValueProblem::outside_int16:
      return option + "is outside -32768..32767";
    case ValueProblem::below_minimum:
      if (r.parameter == Parameter::transect_length)
        return "transect length must be 1..32767 m, got " + r.found;
      if (r.parameter == Parameter::run_count)
        return "number of runs must be at least " + std::to_string(r.limit) + ", got " + r.found;
      return option + "is below " + std::to_string(r.limit);
    case ValueProblem::negative:
      if (r.parameter == Parameter::carbon_fraction)
        return "carbon fraction must be a finite number not below 0";
      if (r.parameter == Parameter::density)
        return "density of stage " + std::to_string(r.stage) + ", group " +
               std::string(1, "?SHC"[r.group >= 1 && r.group <= 3 ? r.group : 0]) +
               " must be a finite number not below 0";
      return option + "must be a finite number not below 0";
    case ValueProblem::none:
      break;
  }
  return option + "cannot be used";
}

std::string_view figure_name(Figure figure) {
  switch (figure) {
    case Figure::model1_pieces:
      return "the model 1 number of pieces";
    case Figure::model1_carbon:
      return "the model 1 carbon";
    case Figure::model1_volume:
      return "the model 1 volume";
    case Figure::model1_surface:
      return "the model 1 surface";
    case Figure::model2_pieces:
      return "the model 2 number of pieces";
    case Figure::model2_carbon:
      return "the model 2 carbon";
    case Figure::model2_volume:
      return "the model 2 volume";
    case Figure::model2_surface:
      return "the model 2 surface";
    case Figure::expected_pieces:
      return "the expected number of pieces";
    case Figure::expected_carbon:
      return "the expected carbon";
    case Figure::expected_volume:
      return "the expected volume";
    case Figure::expected_surface:
      return "the expected surface";
    case Figure::model1_carbon_table:
      return "the model 1 carbon by stage and group";
    case Figure::model2_carbon_table:
      return "the model 2 carbon by stage and group";
    case Figure::model2_volume_table:
      return "the model 2 volume by stage and group";
    case Figure::model2_surface_table:
      return "the model 2 surface by stage and group";
    case Figure::model2_carbon_spread:
      return "the spread of the model 2 carbon";
    case Figure::model2_pieces_spread:
      return "the spread of the model 2 pieces";
    case Figure::model2_volume_spread:
      return "the spread of the model 2 volume";
    case Figure::model2_surface_spread:
      return "the spread of the model 2 surface";
    case Figure::expected_carbon_spread:
      return "the spread of the expected carbon";
    case Figure::expected_pieces_spread:
      return "the spread of the expected pieces";
    case Figure::none:
      break;
  }
  return "a figure";
}

std::string system_reason(const Refusal& r) {
  if (!r.reason.empty()) return r.reason;
  return r.system_error != 0 ? std::strerror(r.system_error) : "unknown error";
}

std::string cannot_write(const Refusal& r, std::string_view reason) {
  std::string_view what = "report";
  if (r.output == Output::summary) what = "summary";
  if (r.output == Output::trace) what = "trace";
  if (r.output == Output::table) what = "table";
  if (r.output == Output::chart) what = "chart";
  return "Cannot write the " + std::string(what) + " \"" + r.file + "\": " + std::string(reason);
}

}  // namespace

std::string refusal_text(const Refusal& r) {
  switch (r.kind) {
    case RefusalKind::file_missing:
    case RefusalKind::file_unreadable:
      return "cannot open inventory file " + r.file + ": " + system_reason(r);
    case RefusalKind::file_is_folder:
      return "cannot read inventory file " + r.file + ": it is a directory";
    case RefusalKind::unclosed_quote:
      return place(r) + ": a quoted field has no closing quote";
    case RefusalKind::text_after_quote:
      return place(r) + ": unexpected text " + shown(r.found) + " after a quoted field";
    case RefusalKind::record_incomplete:
      return place(r) + ": the file ends inside the record after " + field_place(r) +
             "; a record has five fields";
    case RefusalKind::field_not_valid:
      return place(r) + (place(r).empty() ? "" : ", ") + field_place(r) + ": " +
             std::string(expected_in(r.field)) + ", found " + shown(r.found) + form_hint(r);
    case RefusalKind::column_missing:
      return place(r) + ": the header has no column for the " + std::string(field_name(r.field)) +
             form_hint(r);
    case RefusalKind::plot_repeated:
      return place(r) + ": the plot " + shown(r.found) + " is listed already on line " +
             std::to_string(r.other_line);
    case RefusalKind::area_differs:
      return place(r) + ": the stratum " + shown(r.found) + " has another area here than on line " +
             std::to_string(r.other_line);
    case RefusalKind::area_missing:
      return place(r) + ": the stratum " + shown(r.found) +
             " has no area; with an area_ha column every stratum needs one";
    case RefusalKind::parameter_not_valid:
      return parameter_text(r);
    case RefusalKind::piece_cannot_cross:
      return place(r) + ": a piece of length " + number(r.length) +
             " m can never cross the transect";
    case RefusalKind::piece_never_crossed:
      return place(r) + ": the piece of length " + number(r.length) +
             " m did not cross the transect in " + std::to_string(r.limit) + " attempts of run " +
             std::to_string(r.run) +
             "; it is too short for this plot (or the attempt limit too low)";
    case RefusalKind::figure_beyond_range:
      return place(r) + (r.file.empty() ? "" : ": ") + "the figures are too large to compute (" +
             std::string(figure_name(r.figure)) +
             " is beyond the range of numbers); check the diameters, lengths, densities and the "
             "carbon fraction";
    case RefusalKind::cancelled:
      return r.file + ": interrupted; no report was written";
    case RefusalKind::output_unwritable:
      return cannot_write(r, system_reason(r));
    case RefusalKind::output_not_a_file:
      return cannot_write(r, "it is not a regular file");
    case RefusalKind::reports_unnamed:
      return "The inventory path \"" + r.file + "\" is too short to name the reports after it";
  }
  return place(r) + ": refused";
}

}  // namespace quorvel
