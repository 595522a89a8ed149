#include "batch/batch_refusal_text.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace quorvel {

namespace {

// The length of the UTF-8 character that starts text[i], or 0 when no valid one starts there.
std::size_t utf8_character(std::string_view text, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c < 0x80) return 1;
  std::size_t length = 0;
  if (c >= 0xC2 && c < 0xE0) length = 2;
  if (c >= 0xE0 && c < 0xF0) length = 3;
  if (c >= 0xF0 && c < 0xF5) length = 4;
  if (length == 0 || i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  const unsigned char d = static_cast<unsigned char>(text[i + 1]);
  if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0) || (c == 0xF0 && d < 0x90) ||
      (c == 0xF4 && d >= 0x90))
    return 0;
  return length;
}

// A text found in a file, as it may be shown: its characters (the file was read as UTF-8 or
// converted to it), control characters, quotes and bytes that are no UTF-8 escaped, cut short
// after 40 characters.
std::string shown(std::string_view text) {
  constexpr int shown_characters = 40;
  std::string out;
  std::size_t i = 0;
  for (int characters = 0; i < text.size() && characters < shown_characters; ++characters) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8_character(text, i);
    if (length > 1 || (length == 1 && c >= 0x20 && c != 0x7f && c != '"')) {
      out.append(text, i, length);
      i += length;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
      ++i;
    }
  }
  if (i < text.size()) out += "...";
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

// What the field should hold. The inventory format takes a period only; a file with a header
// may take a decimal comma too, and a hint says so where one was found.
std::string expected_in(InventoryField field, bool header) {
  const std::string point = header ? "" : " (period as decimal point)";
  switch (field) {
    case InventoryField::species_code:
      return "expected the species code \"S\", \"H\" or \"C\"";
    case InventoryField::diameter1:
    case InventoryField::diameter2:
      return "expected a diameter in cm, a number not below 0" + point;
    case InventoryField::length:
      return "expected a length in m, a number above 0" + point;
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

// What the file would be if it were in another form than the one it was read in, and how to
// have it read so.
std::string form_hint(const Refusal& r) {
  const std::string fields = "; line " + std::to_string(r.hint_line > 0 ? r.hint_line : r.line) +
                             " has " + std::to_string(r.hint_fields) + " fields separated by ";
  switch (r.hint) {
    case FormHint::semicolon_separated:
      return fields + "';': a semicolon-separated file? give it a header or use --input-separator";
    case FormHint::tab_separated:
      return fields + "tabs: a tab-separated file? give it a header or use --input-separator tab";
    case FormHint::space_separated:
      return fields + "blanks: separate the fields by commas, semicolons or tabs";
    case FormHint::decimal_comma:
      if (r.hint_fields == 0)
        return "; a decimal comma? it is read where fields are separated by semicolons or tabs";
      return fields +
             "',': decimal commas? separate the fields by semicolons, or write decimal points";
    case FormHint::none:
      break;
  }
  return {};
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
    case Parameter::input_decimal:
      return "--input-decimal";
    case Parameter::none:
      break;
  }
  return "a parameter";
}

std::string parameter_text(const Refusal& r) {
  if (r.parameter == Parameter::input_decimal)
    return (r.file.empty() ? "" : r.file + ": ") + "--input-decimal \"" + r.found +
           "\" cannot be used where fields are separated by commas; a decimal comma needs "
           "semicolons or tabs (--input-separator)";
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

// The input file a refusal of a whole file names: an inventory, or the species map.
std::string input_name(const Refusal& r) {
  return r.field == InventoryField::species_code ? "species map" : "inventory file";
}

std::string system_reason(const Refusal& r) {
  if (!r.reason.empty()) return r.reason;
  if (r.system_error != 0) return std::strerror(r.system_error);
  return r.kind == RefusalKind::file_missing ? std::strerror(ENOENT) : "unknown error";
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
      return "cannot open " + input_name(r) + " " + r.file + ": " + system_reason(r);
    case RefusalKind::file_is_folder:
      return "cannot read " + input_name(r) + " " + r.file + ": it is a directory";
    case RefusalKind::file_not_regular:
      return "cannot read " + input_name(r) + " " + r.file +
             ": it is not a regular file but a pipe, a device or a socket";
    case RefusalKind::file_too_large:
      return "cannot read " + input_name(r) + " " + r.file + ": it is larger than " +
             std::to_string(r.limit >> 20) + " MiB, the most such a file may hold";
    case RefusalKind::unclosed_quote:
      return place(r) + ": a quoted field has no closing quote" + form_hint(r);
    case RefusalKind::text_after_quote:
      return place(r) + ": unexpected text " + shown(r.found) + " after a quoted field" +
             form_hint(r);
    case RefusalKind::record_incomplete:
      if (!r.column.empty()) return place(r) + ": the row ends before " + field_place(r);
      return place(r) + ": the file ends inside the record after " + field_place(r) +
             "; a record has five fields" + form_hint(r);
    case RefusalKind::field_not_valid:
      return place(r) + (place(r).empty() ? "" : ", ") + field_place(r) + ": " +
             expected_in(r.field, !r.column.empty()) + ", found " + shown(r.found) + form_hint(r);
    case RefusalKind::column_missing:
      return place(r) + ": the header has no column " +
             (r.column.empty() ? "" : shown(r.column) + " ") + "for the " +
             std::string(field_name(r.field)) + form_hint(r);
    case RefusalKind::text_not_decodable:
      return place(r) + ": the text is not valid " + r.encoding +
             (r.reason.empty() ? "" : " (" + r.reason + ")") +
             "; give the file's encoding with --input-encoding";
    case RefusalKind::species_unknown:
      return place(r) + ", " + field_place(r) +
             ": expected the species code \"S\", \"H\" or \"C\" or a species listed with "
             "--species-map, found " +
             shown(r.found);
    case RefusalKind::species_listed_twice:
      return place(r) + ": the species " + shown(r.found) + " is listed twice, with two codes";
    case RefusalKind::too_many_fields:
      return place(r) + ": the row has " + std::to_string(r.hint_fields) +
             " fields separated by ',', more than the header (or a record) has: decimal commas? "
             "separate the fields by semicolons, or write decimal points";
    case RefusalKind::header_not_recognised:
      return place(r) + ": the first row names no known column (" + shown(r.found) +
             "); name the columns species, d1, d2, length and stage, see --help";
    case RefusalKind::column_repeated:
      return place(r) + ": the header names the " + std::string(field_name(r.field)) +
             " column twice (" + shown(r.column) + ")";
    case RefusalKind::record_too_long:
      return place(r) + ": " + shown(r.found) + " stands beyond the " + std::to_string(r.limit) +
             " columns of the header";
    case RefusalKind::no_records:
      return r.file + ": the file holds no records";
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
