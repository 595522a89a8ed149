#include "field/tally_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "engine/species_group.h"
#include "field/delimited_rows.h"
#include "field/inventory_format.h"
#include "field/tally_columns.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

constexpr std::size_t found_limit = 200;  // bytes of found text a refusal carries at most
constexpr int record_fields = 5;          // species code, diameters 1 and 2, length, stage
constexpr int rows_sampled = 100;         // rows that must agree on a separator found alone
constexpr std::array<InventoryField, record_fields> tally_fields = {
    InventoryField::species_code, InventoryField::diameter1, InventoryField::diameter2,
    InventoryField::length, InventoryField::stage};

std::size_t index_of(InventoryField field) { return static_cast<std::size_t>(field); }

// How a spreadsheet form lays out the file: its separator, its decimal marks, and where each
// field of the tally is (by its header, or the five fields in the inventory order).
struct Layout {
  char separator = ',';
  bool header = false;
  std::size_t width = record_fields;  // fields a row may hold in a comma-separated file
  std::array<int, 8> column{};        // by InventoryField; -1 where absent
  std::array<std::string, 8> name{};  // the header's own names
  DecimalMarks marks = DecimalMarks::point;
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
      if (tally_column_named(cell.value()) ||
          (!options.plot_column.empty() && names_same_column(cell.value(), options.plot_column)))
        ++count;
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
    std::optional<InventoryField> field = tally_column_named(cell);
    if (!options.plot_column.empty()) {
      if (names_same_column(cell, options.plot_column))
        field = InventoryField::plot;
      else if (field == InventoryField::plot)
        field.reset();  // the user named another column
    }
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
  for (InventoryField field : tally_fields)
    if (layout.column[index_of(field)] < 0) {
      Refusal refusal = refusal_of(RefusalKind::column_missing, source, rows.line());
      refusal.field = field;
      throw Refused(std::move(refusal));
    }
  if (!options.plot_column.empty() && layout.column[index_of(InventoryField::plot)] < 0) {
    Refusal refusal = refusal_of(RefusalKind::column_missing, source, rows.line());
    refusal.field = InventoryField::plot;
    refusal.column = options.plot_column;
    throw Refused(std::move(refusal));
  }
  return layout;
}

// Without a header: the separator that gives every one of the first rows at least five
// fields (exactly five with commas, where a decimal comma would add fields).
std::optional<Layout> headerless_layout(std::string_view text, const std::vector<char>& separators,
                                        bool forced, std::string_view source) {
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
      return layout;
    }
  }
  return std::nullopt;
}

std::optional<Layout> find_layout(std::string_view text, const TallyOptions& options,
                                  std::string_view source) {
  const bool forced = options.separator != FieldSeparator::detect;
  const std::vector<char> separators = forced
                                           ? std::vector<char>{static_cast<char>(options.separator)}
                                           : std::vector<char>{'\t', ';', ','};
  std::optional<Layout> layout = header_layout(text, separators, options, source);
  if (!layout && !options.plot_column.empty()) {
    Refusal refusal = refusal_of(RefusalKind::column_missing, source, 1);
    refusal.field = InventoryField::plot;
    refusal.column = options.plot_column;
    throw Refused(std::move(refusal));
  }
  if (!layout) layout = headerless_layout(text, separators, forced, source);
  if (!layout) return layout;
  if (layout->separator == ',') {
    if (options.decimal == DecimalMark::comma) {
      Refusal refusal = refusal_of(RefusalKind::parameter_not_valid, source);
      refusal.parameter = Parameter::input_decimal;
      refusal.found.assign(1, static_cast<char>(options.decimal));
      throw Refused(std::move(refusal));
    }
  } else {
    layout->marks = options.decimal == DecimalMark::comma   ? DecimalMarks::comma
                    : options.decimal == DecimalMark::point ? DecimalMarks::point
                                                            : DecimalMarks::either;
  }
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
    if (tally.plots.empty()) tally.plots.emplace_back();
    for (PlotTally& plot : tally.plots) plot.inventory.source = std::string(source_);
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
    DebrisPiece piece;
    piece.line = static_cast<int>(line_);
    piece.group = group();
    piece.local_code = cell(InventoryField::species_code);
    piece.diameter1 = diameter(InventoryField::diameter1);
    piece.diameter2 = diameter(InventoryField::diameter2);
    piece.piece_length = length();
    piece.stage = stage();
    plot_of_row(tally).inventory.pieces.push_back(piece);
  }

  int group() const {
    const std::string_view text = cell(InventoryField::species_code);
    if (const auto group = group_of_code(text)) return *group;
    if (const auto group = options_.species_map.group_of(text)) return *group;
    refuse(text.empty() ? RefusalKind::field_not_valid : RefusalKind::species_unknown,
           InventoryField::species_code, text);
  }

  double number(InventoryField field) const {
    const std::string_view text = cell(field);
    const std::optional<double> value = tally_number(text, layout_.marks);
    if (!value) refuse(RefusalKind::field_not_valid, field, text);
    if (text.find(',') != std::string_view::npos) comma_seen_ = true;
    if (text.find('.') != std::string_view::npos) point_seen_ = true;
    return *value;
  }

  double diameter(InventoryField field) const {
    const double value = number(field);
    if (value < 0) refuse(RefusalKind::field_not_valid, field, cell(field));
    return value == 0 ? 0.0 : value;  // no negative zero
  }

  double length() const {
    const double value = number(InventoryField::length);
    if (!(value > 0))
      refuse(RefusalKind::field_not_valid, InventoryField::length, cell(InventoryField::length));
    return value;
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

TallyFile one_plot(Inventory inventory, TallyForm form) {
  TallyFile tally;
  tally.plots.emplace_back().inventory = std::move(inventory);
  tally.form = form;
  return tally;
}

bool form_asked_for(const TallyOptions& options) {
  return options.separator != FieldSeparator::detect || options.decimal != DecimalMark::detect ||
         !options.plot_column.empty();
}

}  // namespace

TallyFile parse_tally(std::string_view bytes, std::string_view source,
                      const TallyOptions& options) {
  InventoryReading reading = read_inventory_format(bytes, source);
  if (reading.inventory) return one_plot(std::move(*reading.inventory), TallyForm{});

  const DecodedText decoded = decode_text(bytes, options.encoding, source);
  const std::string_view text = decoded.text();
  if (decoded.converted) {
    // UTF-16 text in the inventory format, or refusals that quote the decoded text.
    reading = read_inventory_format(text, source);
    if (reading.inventory) {
      TallyForm form;
      form.encoding = decoded.encoding;
      return one_plot(std::move(*reading.inventory), form);
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
