#include "field/tally_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "engine/species_group.h"
#include "engine/stage_group_table.h"
#include "field/delimited_rows.h"
#include "field/inventory_format.h"
#include "field/measure_units.h"
#include "field/name_folding.h"
#include "field/tally_columns.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

constexpr std::size_t found_limit = 200;         // bytes of found text a refusal carries at most
constexpr int record_fields = 5;                 // species code, diameters 1 and 2, length, stage
constexpr int rows_sampled = 100;                // rows that must agree on a separator found alone
constexpr std::int64_t dropped_lines_named = 5;  // lines of rows left out that a warning names
constexpr std::array<InventoryField, record_fields> tally_fields = {
    InventoryField::species_code, InventoryField::diameter1, InventoryField::diameter2,
    InventoryField::length, InventoryField::stage};

constexpr std::size_t field_slots = static_cast<std::size_t>(InventoryField::slope) + 1;

std::size_t index_of(InventoryField field) { return static_cast<std::size_t>(field); }

// How a spreadsheet form lays out the file: its separator, its decimal marks, and where each
// field of the tally is (by its header, or the five fields in the inventory order).
struct Layout {
  char separator = ',';
  bool header = false;
  std::size_t width = record_fields;            // fields a row may hold in a comma-separated file
  std::array<int, field_slots> column{};        // by InventoryField; -1 where absent
  std::array<std::string, field_slots> name{};  // the header's own names
  std::array<MeasureUnit, field_slots> unit{};  // of the diameters and the length
  DecimalMarks marks = DecimalMarks::point;
  // A quoted number of a comma-separated file may carry a decimal comma: the quotes keep it
  // one field.
  DecimalMarks quoted_marks = DecimalMarks::point;

  bool has(InventoryField field) const { return column[index_of(field)] >= 0; }
  // One diameter where the piece crosses the line, rather than one at each end.
  bool crossing_diameter() const {
    return !has(InventoryField::diameter1) || !has(InventoryField::diameter2);
  }
};

Refusal refusal_of(RefusalKind kind, std::string_view source, std::int64_t line = 0) {
  Refusal refusal;
  refusal.kind = kind;
  refusal.file = std::string(source);
  refusal.line = line;
  return refusal;
}

// A number as the inventory format writes it (optional sign, digits, one decimal mark, an
// optional exponent; no "nan", "inf" or blanks), with the marks the layout allows. The same
// grammar as the inventory reader's, so the same digits give the same double.
std::optional<double> tally_number(std::string_view text, DecimalMarks marks) {
  const DecimalReading<double> reading =
      read_decimal(text, {.marks = marks, .sign = true, .blanks = false});
  if (!reading) return std::nullopt;
  return reading.value;
}

// "12,5", "-0,3": a number with a decimal comma, for the hint.
bool looks_like_decimal_comma(std::string_view text) {
  return text.find(',') != std::string_view::npos && tally_number(text, DecimalMarks::comma);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A value the crew did not record.
bool is_missing(std::string_view text) {
  if (text.size() > 3) return false;
  std::string small(text);
  for (char& c : small) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return small.empty() || small == "na" || small == "n/a" || small == "-";
}

std::optional<int> roman_stage(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  char upper[3];
  for (std::size_t i = 0; i < text.size(); ++i)
    upper[i] = (text[i] >= 'a' && text[i] <= 'z') ? static_cast<char>(text[i] - 32) : text[i];
  const std::string_view word(upper, text.size());
  static constexpr std::string_view numerals[] = {"I", "II", "III", "IV", "V"};
  for (int stage = 1; stage <= 5; ++stage)
    if (word == numerals[stage - 1]) return stage;
  return std::nullopt;
}

std::optional<int> group_of_code(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  switch (text[0]) {
    case 'S':
    case 's':
      return 1;
    case 'H':
    case 'h':
      return 2;
    case 'C':
    case 'c':
      return 3;
  }
  return std::nullopt;
}

// The first row of the text that is not empty, read with `separator`; nothing when there is
// none or the separator cannot split it.
bool first_row(RowScanner& rows) {
  try {
    while (rows.next())
      if (!rows.empty()) return true;
  } catch (const Refused&) {
  }
  return false;
}

// The unit of each diameter and length column: the header's, else the user's.
void set_units(Layout& layout, const TallyOptions& options, std::string_view source,
               std::int64_t line) {
  for (InventoryField field : {InventoryField::diameter1, InventoryField::diameter2,
                               InventoryField::diameter, InventoryField::length}) {
    const bool length = field == InventoryField::length;
    MeasureUnit& unit = layout.unit[index_of(field)];
    unit = length ? options.length_unit : options.diameter_unit;
    if (!layout.has(field)) continue;
    const std::string& name = layout.name[index_of(field)];
    const MeasureUnit named = unit_in_header(name);
    if (named == MeasureUnit::none) continue;
    if (length ? !fits_length(named) : !fits_diameter(named)) {
      Refusal refusal = refusal_of(RefusalKind::unit_not_fitting, source, line);
      refusal.field = field;
      refusal.column = name;
      const std::size_t open = name.find_first_of("([");
      const std::size_t cut = open != std::string::npos ? open : name.find_last_of("_ ");
      refusal.found = name.substr(cut + 1);
      while (!refusal.found.empty() && (refusal.found.back() == ')' || refusal.found.back() == ']'))
        refusal.found.pop_back();
      throw Refused(std::move(refusal));
    }
    unit = named;
  }
}

bool of_lines_file(InventoryField field) {
  return field == InventoryField::horizontal || field == InventoryField::slope_distance ||
         field == InventoryField::slope;
}

// The column a header cell is for: the role the user named it for, else the reader's own
// name for it, unless the user named another column for that role.
std::optional<InventoryField> field_of_cell(const std::string& cell, const TallyOptions& options) {
  for (const auto& [field, header] : options.columns)
    if (cell == header) return field;
  if (!options.plot_column.empty() && names_same_column(cell, options.plot_column))
    return InventoryField::plot;
  std::optional<InventoryField> field = tally_column_named(cell);
  if (field == InventoryField::plot && !options.plot_column.empty()) return std::nullopt;
  for (const auto& named : options.columns)
    if (named.first == field) return std::nullopt;
  return field;
}

// "species, Diam, NOTES": the header's cells, for a refusal that finds no column for a role.
std::string header_cells(const std::vector<RowField>& cells) {
  std::string all;
  for (const RowField& cell : cells) all += (all.empty() ? "" : ", ") + cell.value();
  return std::string(utf8_prefix(all, found_limit));
}

void check_columns(const Layout& layout, const TallyOptions& options, const RowScanner& rows,
                   std::string_view source) {
  const auto missing = [&](InventoryField field, std::string column) {
    Refusal refusal = refusal_of(RefusalKind::column_missing, source, rows.line());
    refusal.field = field;
    refusal.column = std::move(column);
    refusal.found = header_cells(rows.fields());
    throw Refused(std::move(refusal));
  };
  // A column the user named for a role is named in the refusal; the roles of a lines file are
  // not looked for here, and a tally may have no line column.
  for (const auto& [field, header] : options.columns)
    if (!layout.has(field) && field != InventoryField::line && !of_lines_file(field))
      missing(field, header);
  for (InventoryField field : tally_fields) {
    const bool crossing =
        (field == InventoryField::diameter1 || field == InventoryField::diameter2) &&
        layout.has(InventoryField::diameter);
    // Many crews record no length: model 1 gives carbon, volume and surface without it.
    const bool optional = field == InventoryField::length;
    if (!crossing && !optional && !layout.has(field)) missing(field, {});
  }
  if (!options.plot_column.empty() && !layout.has(InventoryField::plot))
    missing(InventoryField::plot, options.plot_column);
}

// A header row: the first row that is not empty, naming at least two columns of the tally.
std::optional<Layout> header_layout(std::string_view text, const std::vector<char>& separators,
                                    const TallyOptions& options, std::string_view source) {
  int best_count = 1;
  char best = 0;
  for (char separator : separators) {
    RowScanner rows(text, separator, source);
    if (!first_row(rows)) continue;
    int count = 0;
    for (const RowField& cell : rows.fields())
      count += field_of_cell(cell.value(), options) ? 1 : 0;
    if (count > best_count) best_count = count, best = separator;
  }
  if (best == 0) return std::nullopt;

  RowScanner rows(text, best, source);
  first_row(rows);
  Layout layout;
  layout.separator = best;
  layout.header = true;
  layout.width = rows.fields().size();
  layout.column.fill(-1);
  for (std::size_t i = 0; i < rows.fields().size(); ++i) {
    const std::string cell = rows.fields()[i].value();
    const std::optional<InventoryField> field = field_of_cell(cell, options);
    if (!field) continue;
    if (layout.column[index_of(*field)] >= 0) {  // which of the two is meant cannot be told
      Refusal refusal = refusal_of(RefusalKind::column_repeated, source, rows.line());
      refusal.field = *field;
      refusal.found = layout.name[index_of(*field)];
      refusal.column = cell;
      throw Refused(std::move(refusal));
    }
    layout.column[index_of(*field)] = static_cast<int>(i);
    layout.name[index_of(*field)] = cell;
  }
  if (layout.has(InventoryField::diameter1) && layout.has(InventoryField::diameter2))
    layout.column[index_of(InventoryField::diameter)] = -1;  // the end diameters say more
  check_columns(layout, options, rows, source);
  set_units(layout, options, source, rows.line());
  return layout;
}

// Without a header: the separator that gives every one of the first rows at least five
// fields (exactly five with commas, where a decimal comma would add fields).
std::optional<Layout> headerless_layout(std::string_view text, const std::vector<char>& separators,
                                        const TallyOptions& options, std::string_view source) {
  const bool forced = options.separator != FieldSeparator::detect;
  for (char separator : separators) {
    bool agrees = true;
    int sampled = 0;
    try {
      RowScanner rows(text, separator, source);
      while (agrees && sampled < rows_sampled && rows.next()) {
        const auto& fields = rows.fields();
        if (fields.size() == 1 && fields[0].text.empty()) continue;  // a blank line
        ++sampled;
        if (fields.size() < record_fields) agrees = false;
        if (separator == ',')
          for (std::size_t i = record_fields; i < fields.size(); ++i)
            if (!fields[i].text.empty()) agrees = false;
      }
    } catch (const Refused&) {
      agrees = false;
    }
    if (forced || (agrees && sampled > 0)) {
      Layout layout;
      layout.separator = separator;
      layout.column.fill(-1);
      for (int i = 0; i < record_fields; ++i) layout.column[index_of(tally_fields[i])] = i;
      layout.unit[index_of(InventoryField::diameter1)] = options.diameter_unit;
      layout.unit[index_of(InventoryField::diameter2)] = options.diameter_unit;
      layout.unit[index_of(InventoryField::length)] = options.length_unit;
      return layout;
    }
  }
  return std::nullopt;
}

// A first row of words, none of them a column the reader knows (a header in Polish, say): the
// refusal lists them, so the user can name the columns.
void refuse_unmapped_header(std::string_view text, const std::vector<char>& separators,
                            std::string_view source) {
  for (char separator : separators) {
    RowScanner rows(text, separator, source);
    if (!first_row(rows) || rows.fields().size() < 2) continue;
    bool words = true, long_word = false;
    for (const RowField& cell : rows.fields()) {
      words = words && !cell.text.empty() && !tally_number(cell.text, DecimalMarks::either);
      long_word = long_word || cell.text.size() > 1;
    }
    if (!words || !long_word) return;
    Refusal refusal = refusal_of(RefusalKind::column_missing, source, rows.line());
    refusal.field = InventoryField::species_code;
    refusal.found = header_cells(rows.fields());
    throw Refused(std::move(refusal));
  }
}

std::optional<Layout> find_layout(std::string_view text, const TallyOptions& options,
                                  std::string_view source) {
  const bool forced = options.separator != FieldSeparator::detect;
  const std::vector<char> separators = forced
                                           ? std::vector<char>{static_cast<char>(options.separator)}
                                           : std::vector<char>{'\t', ';', ','};
  std::optional<Layout> layout = header_layout(text, separators, options, source);
  // Columns named by the user need a header row to be found in.
  if (!layout && (!options.plot_column.empty() || !options.columns.empty())) {
    Refusal refusal = refusal_of(RefusalKind::column_missing, source, 1);
    const bool plot = !options.plot_column.empty();
    refusal.field = plot ? InventoryField::plot : options.columns.front().first;
    refusal.column = plot ? options.plot_column : options.columns.front().second;
    throw Refused(std::move(refusal));
  }
  if (!layout) layout = headerless_layout(text, separators, options, source);
  if (!layout) refuse_unmapped_header(text, separators, source);
  if (!layout) return layout;
  const DecimalMarks asked = options.decimal == DecimalMark::comma   ? DecimalMarks::comma
                             : options.decimal == DecimalMark::point ? DecimalMarks::point
                                                                     : DecimalMarks::either;
  layout->quoted_marks = asked;
  if (layout->separator != ',') layout->marks = asked;
  return layout;
}

// Reads the rows of a spreadsheet form into plots.
class SpreadsheetReader {
 public:
  SpreadsheetReader(const Layout& layout, const TallyOptions& options, std::string_view source)
      : layout_(layout), options_(options), source_(source) {}

  TallyFile read(std::string_view text) {
    TallyFile tally;
    RowScanner rows(text, layout_.separator, source_);
    if (layout_.header) first_row(rows);
    while (rows.next()) {
      if (rows.empty()) continue;
      ++record_;
      fields_ = &rows.fields();
      line_ = rows.line();
      if (record_ == 1 && !layout_.header) {
        try {
          add_piece(tally);
        } catch (const Refused&) {
          refuse_unknown_header();
          throw;
        }
      } else {
        add_piece(tally);
      }
    }
    refuse_unknown_codes();
    if (tally.plots.empty()) tally.plots.emplace_back();
    if (dropped_ > 0) {
      Warning warning{.kind = WarningKind::rows_dropped, .file = std::string(source_)};
      warning.count = dropped_;
      warning.lines = std::move(dropped_lines_);
      tally.plots.front().warnings.push_back(std::move(warning));
    }
    for (PlotTally& plot : tally.plots) {
      plot.inventory.source = std::string(source_);
      plot.line_column = layout_.name[index_of(InventoryField::line)];
    }
    return tally;
  }

 private:
  std::string_view cell(InventoryField field) const {
    const int column = layout_.column[index_of(field)];
    if (column < 0 || static_cast<std::size_t>(column) >= fields_->size()) return {};
    const RowField& f = (*fields_)[static_cast<std::size_t>(column)];
    if (!f.doubled_quotes) return f.text;
    unquoted_ = f.value();
    return unquoted_;
  }

  void add_piece(TallyFile& tally) {
    if (layout_.separator == ',' && fields_->size() > layout_.width)
      for (std::size_t i = layout_.width; i < fields_->size(); ++i)
        if (!(*fields_)[i].text.empty()) {
          Refusal refusal = refusal_here(RefusalKind::too_many_fields, InventoryField::none, {});
          refusal.hint = FormHint::decimal_comma;
          refusal.hint_fields = static_cast<int>(fields_->size());
          refusal.hint_line = line_;
          throw Refused(std::move(refusal));
        }
    PlotTally& plot = plot_of_row(tally);
    if (plot.refused) return;  // the rest of a refused plot is not read
    try {
      if (const std::optional<InventoryField> field = missing_value()) {
        if (!options_.drop_incomplete)
          throw Refused(refusal_here(RefusalKind::value_missing, *field, cell(*field)));
        ++plot.dropped_rows;
        if (++dropped_ <= dropped_lines_named) dropped_lines_.push_back(line_);
        return;
      }
      plot.inventory.pieces.push_back(piece_of_row());
      if (layout_.has(InventoryField::line)) note_line(plot);
    } catch (const Refused& refused) {
      // A bad row of one plot of a long file refuses that plot alone.
      if (!layout_.has(InventoryField::plot)) throw;
      plot.refused = refused.refusal();
      plot.refused->plot = plot.plot;
    }
  }

  // The plot's lines in the order first met, each with the row that first names it.
  void note_line(PlotTally& plot) const {
    const std::string_view name = trimmed(cell(InventoryField::line));
    for (auto it = plot.lines.rbegin(); it != plot.lines.rend(); ++it)
      if (it->name == name) return;
    plot.lines.push_back({std::string(name), line_, record_});
  }

  // The first required value of the row that is missing: nothing, NA, N/A or a dash. The
  // length is not required; the line is where the tally has a line column.
  std::optional<InventoryField> missing_value() const {
    const bool crossing = layout_.crossing_diameter();
    if (layout_.has(InventoryField::line) && is_missing(cell(InventoryField::line)))
      return InventoryField::line;
    for (InventoryField field :
         {InventoryField::species_code, InventoryField::diameter1, InventoryField::diameter2,
          InventoryField::diameter, InventoryField::stage}) {
      const bool end_diameter =
          field == InventoryField::diameter1 || field == InventoryField::diameter2;
      if (field == InventoryField::diameter ? !crossing : end_diameter && crossing) continue;
      if (is_missing(cell(field))) return field;
    }
    return std::nullopt;
  }

  DebrisPiece piece_of_row() {
    DebrisPiece piece;
    piece.line = static_cast<int>(line_);
    piece.group = group();
    piece.local_code = trimmed(cell(InventoryField::species_code));
    if (layout_.crossing_diameter()) {
      // A cylinder of the diameter where the piece crosses the line.
      piece.diameter1 = diameter(InventoryField::diameter);
      piece.diameter2 = piece.diameter1;
    } else {
      piece.diameter1 = diameter(InventoryField::diameter1);
      piece.diameter2 = diameter(InventoryField::diameter2);
    }
    if (is_missing(cell(InventoryField::length)))
      piece.length_known = false;  // piece_length stays 0
    else
      piece.piece_length = length();
    piece.stage = stage();
    return piece;
  }

  // An unknown code is noted and the file read on, so that one refusal lists every code the
  // species map lacks.
  int group() {
    const std::string_view text = cell(InventoryField::species_code);
    if (const auto group = group_of_code(text)) return *group;
    if (const auto group = options_.species_map.group_of(text)) return *group;
    if (text.empty()) refuse(RefusalKind::field_not_valid, InventoryField::species_code, text);
    if (unknown_codes_.empty()) {
      first_unknown_ = refusal_here(RefusalKind::species_unknown, InventoryField::species_code, {});
    }
    if (unknown_seen_.insert(folded(text)).second) {
      if (!unknown_codes_.empty()) unknown_codes_ += ", ";
      unknown_codes_ += text;
    }
    return first_group;
  }

  void refuse_unknown_codes() {
    if (unknown_codes_.empty()) return;
    first_unknown_.found = std::string(utf8_prefix(unknown_codes_, found_limit));
    throw Refused(std::move(first_unknown_));
  }

  bool quoted(InventoryField field) const {
    const int column = layout_.column[index_of(field)];
    return column >= 0 && static_cast<std::size_t>(column) < fields_->size() &&
           (*fields_)[static_cast<std::size_t>(column)].quoted;
  }

  double number(InventoryField field) const {
    const std::string_view text = cell(field);
    const DecimalMarks marks =
        layout_.separator == ',' && quoted(field) ? layout_.quoted_marks : layout_.marks;
    const std::optional<double> value = tally_number(text, marks);
    if (!value) refuse(RefusalKind::field_not_valid, field, text);
    if (text.find(',') != std::string_view::npos) comma_seen_ = true;
    if (text.find('.') != std::string_view::npos) point_seen_ = true;
    return *value;
  }

  double diameter(InventoryField field) const {
    const double value = number(field);
    if (value < 0) refuse(RefusalKind::field_not_valid, field, cell(field));
    return value == 0 ? 0.0 : diameter_in_cm(value, layout_.unit[index_of(field)]);  // no -0
  }

  double length() const {
    const double value = number(InventoryField::length);
    if (!(value > 0))
      refuse(RefusalKind::field_not_valid, InventoryField::length, cell(InventoryField::length));
    return length_in_m(value, layout_.unit[index_of(InventoryField::length)]);
  }

  int stage() const {
    const std::string_view text = cell(InventoryField::stage);
    if (const auto stage = roman_stage(text)) return *stage;
    const double value = number(InventoryField::stage);
    if (value != std::floor(value) || value < 0 || value > 5)
      refuse(RefusalKind::field_not_valid, InventoryField::stage, text);
    return static_cast<int>(value);
  }

  PlotTally& plot_of_row(TallyFile& tally) {
    const bool split = layout_.column[index_of(InventoryField::plot)] >= 0;
    std::string_view id;
    if (split) {
      id = cell(InventoryField::plot);
      if (id.empty()) refuse(RefusalKind::field_not_valid, InventoryField::plot, id);
    }
    // Rows of one plot usually follow each other: look the plot up only when it changes.
    if (current_ >= tally.plots.size() || tally.plots[current_].plot != id) {
      const std::string key(id);
      const auto [where, added] = plot_index_.emplace(key, tally.plots.size());
      if (added) {
        tally.plots.emplace_back().plot = key;
        tally.plots.back().stratum = std::string(cell(InventoryField::stratum));
      }
      current_ = where->second;
    }
    PlotTally& plot = tally.plots[current_];
    if (layout_.column[index_of(InventoryField::stratum)] >= 0) {
      const std::string_view stratum = cell(InventoryField::stratum);
      if (stratum != plot.stratum)
        refuse(RefusalKind::field_not_valid, InventoryField::stratum, stratum);
    }
    return plot;
  }

  // A first row that is no record and names no column the reader knows is a header in other
  // words than those the reader knows: none of its measurements is a number.
  void refuse_unknown_header() const {
    for (InventoryField field : {InventoryField::diameter1, InventoryField::diameter2,
                                 InventoryField::length, InventoryField::stage}) {
      const std::string_view text = cell(field);
      if (text.empty() || tally_number(text, DecimalMarks::either) || roman_stage(text)) return;
    }
    for (const RowField& field : *fields_) {
      const std::string name = field.value();
      if (!tally_column_named(name))
        throw Refused(refusal_here(RefusalKind::header_not_recognised, InventoryField::none, name));
    }
  }

  Refusal refusal_here(RefusalKind kind, InventoryField field, std::string_view found) const {
    Refusal refusal = refusal_of(kind, source_, line_);
    refusal.record = record_;
    refusal.field = field;
    if (field != InventoryField::none) refusal.column = layout_.name[index_of(field)];
    refusal.found = std::string(utf8_prefix(found, found_limit));
    return refusal;
  }

  [[noreturn]] void refuse(RefusalKind kind, InventoryField field, std::string_view found) const {
    Refusal refusal = refusal_here(kind, field, found);
    if (looks_like_decimal_comma(found)) {
      refusal.hint = FormHint::decimal_comma;
      refusal.hint_line = line_;
    }
    refusal.decimal = file_decimal();
    throw Refused(std::move(refusal));
  }

  // The mark a bad number should have had: the layout's, or where either is taken, the one the
  // rows read so far used.
  FileDecimal file_decimal() const {
    switch (layout_.marks) {
      case DecimalMarks::point:
        return FileDecimal::point;
      case DecimalMarks::comma:
        return FileDecimal::comma;
      case DecimalMarks::either:
        break;
    }
    if (comma_seen_ != point_seen_) return comma_seen_ ? FileDecimal::comma : FileDecimal::point;
    return FileDecimal::either;
  }

  const Layout& layout_;
  const TallyOptions& options_;
  std::string_view source_;
  const std::vector<RowField>* fields_ = nullptr;
  std::int64_t line_ = 0;
  std::int64_t record_ = 0;
  mutable std::string unquoted_;
  mutable bool comma_seen_ = false, point_seen_ = false;  // in the numbers read so far
  std::size_t current_ = 0;                               // index of the plot of the last row
  std::unordered_map<std::string, std::size_t> plot_index_;
  std::int64_t dropped_ = 0;                      // rows left out for a missing value
  std::vector<std::int64_t> dropped_lines_;       // the first of them
  std::string unknown_codes_;                     // as written, in the order first met, one of each
  std::unordered_set<std::string> unknown_seen_;  // folded
  Refusal first_unknown_;
};

// Line `line` of the text (1-based); CR LF, LF and a lone CR each end a line.
std::string_view line_of(std::string_view text, std::int64_t line) {
  std::size_t start = 0;
  for (std::int64_t at = 1; at < line && start < text.size(); ++at) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return {};
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  if (start >= text.size()) return {};
  const std::size_t end = text.find_first_of("\r\n", start);
  return text.substr(start, end == std::string_view::npos ? end : end - start);
}

int fields_split_by(std::string_view line, char separator) {
  int count = 1;
  for (char c : line) count += c == separator;
  return count;
}

int words_of(std::string_view line) {
  int count = 0;
  bool in_word = false;
  for (char c : line) {
    const bool blank = c == ' ' || c == '\t';
    if (!blank && !in_word) ++count;
    in_word = !blank;
  }
  return count;
}

// A hint for a line that looks like another form: fields separated by semicolons, tabs or
// blanks, or decimal commas splitting numbers into more fields than a record has.
bool hint_for_line(Refusal& refusal, std::string_view line) {
  const int semicolons = fields_split_by(line, ';');
  const int tabs = fields_split_by(line, '\t');
  const int commas = fields_split_by(line, ',');
  if (semicolons >= record_fields) {
    refusal.hint = FormHint::semicolon_separated, refusal.hint_fields = semicolons;
  } else if (tabs >= record_fields) {
    refusal.hint = FormHint::tab_separated, refusal.hint_fields = tabs;
  } else if (commas == 1 && words_of(line) >= record_fields) {
    refusal.hint = FormHint::space_separated, refusal.hint_fields = words_of(line);
  } else if (commas > record_fields && commas < 2 * record_fields) {
    // Every field after the code a number: "S,20,5,18,10,1".
    std::size_t start = line.find(',') + 1;
    while (start <= line.size()) {
      const std::size_t end = std::min(line.find(',', start), line.size());
      std::string_view field = line.substr(start, end - start);
      while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
      while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
      if (!tally_number(field, DecimalMarks::point)) return false;
      start = end + 1;
    }
    refusal.hint = FormHint::decimal_comma, refusal.hint_fields = commas;
  } else {
    return false;
  }
  return true;
}

// A hint for a file that the inventory format refuses: about the refused line, else about the
// first line with text, or a decimal comma in the field refused.
void add_hint(Refusal& refusal, std::string_view text) {
  const std::int64_t refused_line = refusal.line > 0 ? refusal.line : 1;
  std::int64_t first_line = 1;
  while (first_line < refused_line &&
         line_of(text, first_line).find_first_not_of(" \t") == std::string_view::npos)
    ++first_line;
  for (const std::int64_t line : {refused_line, first_line})
    if (hint_for_line(refusal, line_of(text, line))) {
      refusal.hint_line = line;
      return;
    }
  if (looks_like_decimal_comma(refusal.found)) {
    refusal.hint = FormHint::decimal_comma;  // in a quoted field: the line's fields as they are
    refusal.hint_line = refused_line;
  }
}

// The units the user gave to a file in the inventory format, which has no header to name them.
TallyFile one_plot(Inventory inventory, TallyForm form, const TallyOptions& options) {
  for (DebrisPiece& piece : inventory.pieces) {
    piece.diameter1 = diameter_in_cm(piece.diameter1, options.diameter_unit);
    piece.diameter2 = diameter_in_cm(piece.diameter2, options.diameter_unit);
    piece.piece_length = length_in_m(piece.piece_length, options.length_unit);
  }
  TallyFile tally;
  tally.plots.emplace_back().inventory = std::move(inventory);
  tally.form = form;
  return tally;
}

bool form_asked_for(const TallyOptions& options) {
  return options.separator != FieldSeparator::detect || options.decimal != DecimalMark::detect ||
         !options.plot_column.empty() || !options.columns.empty();
}

}  // namespace

TallyFile parse_tally(std::string_view bytes, std::string_view source,
                      const TallyOptions& options) {
  InventoryReading reading = read_inventory_format(bytes, source);
  if (reading.inventory) return one_plot(std::move(*reading.inventory), TallyForm{}, options);

  const DecodedText decoded = decode_text(bytes, options.encoding, source);
  const std::string_view text = decoded.text();
  if (decoded.converted) {
    // UTF-16 text in the inventory format, or refusals that quote the decoded text.
    reading = read_inventory_format(text, source);
    if (reading.inventory) {
      TallyForm form;
      form.encoding = decoded.encoding;
      return one_plot(std::move(*reading.inventory), form, options);
    }
  }

  if (const std::optional<Layout> layout = find_layout(text, options, source)) {
    try {
      TallyFile tally = SpreadsheetReader(*layout, options, source).read(text);
      tally.form.inventory_format = false;
      tally.form.encoding = decoded.encoding;
      tally.form.separator = static_cast<FieldSeparator>(layout->separator);
      tally.form.header = layout->header;
      return tally;
    } catch (const Refused&) {
      if (layout->header || layout->separator != ',' || form_asked_for(options)) throw;
    }
  }
  Refusal refusal = std::move(reading.refusal);
  add_hint(refusal, text);
  throw Refused(std::move(refusal));
}

TallyFile read_tally(const std::filesystem::path& path, const TallyOptions& options) {
  const std::string bytes = read_input_file(path);
  return parse_tally(bytes, path.string(), options);
}

}  // namespace quorvel
