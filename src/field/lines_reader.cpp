#include "field/lines_reader.h"

#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "field/delimited_rows.h"
#include "field/measure_units.h"
#include "field/name_folding.h"
#include "field/tally_columns.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

constexpr std::array<InventoryField, 5> roles{
    InventoryField::plot, InventoryField::line, InventoryField::horizontal,
    InventoryField::slope_distance, InventoryField::slope};

// Folded, without what stands in brackets and without blanks, underscores, dots and '%'.
std::string bare_name(std::string_view cell) {
  std::string out;
  for (char c : folded(cell)) {
    if (c == '(' || c == '[') break;
    if (c != ' ' && c != '\t' && c != '_' && c != '.' && c != '%') out.push_back(c);
  }
  return out;
}

std::optional<InventoryField> own_name(std::string_view cell) {
  static const std::pair<std::string_view, InventoryField> names[] = {
      {"horizontal", InventoryField::horizontal},
      {"horizontalm", InventoryField::horizontal},
      {"horizontallength", InventoryField::horizontal},
      {"horizontallengthm", InventoryField::horizontal},
      {"horizontaldistance", InventoryField::horizontal},
      {"horizontaldistancem", InventoryField::horizontal},
      {"hd", InventoryField::horizontal},
      {"горизонтальнаядлина", InventoryField::horizontal},
      {"slopedistance", InventoryField::slope_distance},
      {"slopedistancem", InventoryField::slope_distance},
      {"slopelength", InventoryField::slope_distance},
      {"slopelengthm", InventoryField::slope_distance},
      {"sd", InventoryField::slope_distance},
      {"наклоннаядлина", InventoryField::slope_distance},
      {"slope", InventoryField::slope},
      {"slopepct", InventoryField::slope},
      {"slopepercent", InventoryField::slope},
      {"уклон", InventoryField::slope},
  };
  // "slope_distance_ft", "horizontal m": the name without its unit.
  std::string_view name = cell;
  if (unit_in_header(cell) != MeasureUnit::none && cell.find_first_of("([") == std::string::npos)
    name = cell.substr(0, cell.find_last_of("_ "));
  const std::string bare = bare_name(name);
  for (const auto& [known, field] : names)
    if (bare == known) return field;
  const std::optional<InventoryField> field = tally_column_named(cell);
  if (field == InventoryField::plot || field == InventoryField::line) return field;
  return std::nullopt;
}

char separator_of(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
  std::array<std::ptrdiff_t, 3> counts{};
  bool quoted = false;
  for (; at < text.size() && text[at] != '\r' && text[at] != '\n'; ++at) {
    const char c = text[at];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    counts[0] += c == ',';
    counts[1] += c == ';';
    counts[2] += c == '\t';
  }
  if (counts[1] > counts[0] && counts[1] >= counts[2]) return ';';
  if (counts[2] > counts[0]) return '\t';
  return ',';
}

class LinesParser {
 public:
  LinesParser(std::string_view file, const TallyOptions& options) : file_(file), options_(options) {
    column_.fill(-1);
  }

  LinesTable parse(std::string_view bytes) {
    const DecodedText decoded = decode_text(bytes, TextEncoding::detect, file_);
    const std::string_view text = decoded.text();
    separator_ = separator_of(text);
    marks_ = separator_ == ',' ? DecimalMarks::point : DecimalMarks::either;
    RowScanner rows(text, separator_, file_);
    bool header = true;
    while (rows.next()) {
      if (rows.empty()) continue;
      fields_ = &rows.fields();
      line_ = rows.line();
      if (header) {
        read_header();
        header = false;
      } else {
        ++record_;
        read_row();
      }
    }
    if (record_ == 0) throw Refused(refusal(RefusalKind::no_records, InventoryField::none));
    return std::move(table_);
  }

 private:
  static std::optional<std::size_t> role_slot(InventoryField field) {
    for (std::size_t i = 0; i < roles.size(); ++i)
      if (roles[i] == field) return i;
    return std::nullopt;
  }
  static std::size_t slot(InventoryField field) { return role_slot(field).value_or(0); }

  bool has(InventoryField field) const { return column_[slot(field)] >= 0; }

  std::optional<InventoryField> field_of(const std::string& cell) const {
    for (const auto& [field, header] : options_.columns)
      if (cell == header) return field;
    const std::optional<InventoryField> field = own_name(cell);
    for (const auto& named : options_.columns)
      if (named.first == field) return std::nullopt;  // the user named another column for it
    return field;
  }

  void read_header() {
    for (std::size_t i = 0; i < fields_->size(); ++i) {
      const std::string cell = (*fields_)[i].value();
      const std::optional<InventoryField> field = field_of(cell);
      if (!field || !role_slot(*field)) continue;  // a tally's column, or another
      const std::size_t s = slot(*field);
      if (column_[s] >= 0) {
        Refusal r = refusal(RefusalKind::column_repeated, *field);
        r.found = name_[s];
        r.column = cell;
        throw Refused(std::move(r));
      }
      column_[s] = static_cast<int>(i);
      name_[s] = cell;
    }
    for (InventoryField field : {InventoryField::plot, InventoryField::line})
      if (!has(field)) refuse_missing_column(field);
    if (!has(InventoryField::horizontal)) {
      if (!has(InventoryField::slope_distance)) refuse_missing_column(InventoryField::horizontal);
      if (!has(InventoryField::slope)) refuse_missing_column(InventoryField::slope);
    }
    for (InventoryField field : {InventoryField::horizontal, InventoryField::slope_distance}) {
      if (!has(field)) continue;
      const MeasureUnit named = unit_in_header(name_[slot(field)]);
      if (named != MeasureUnit::none && !fits_length(named)) {
        Refusal r = refusal(RefusalKind::unit_not_fitting, field);
        r.column = name_[slot(field)];
        const std::size_t open = r.column.find_first_of("([");
        r.found =
            r.column.substr((open != std::string::npos ? open : r.column.find_last_of("_ ")) + 1);
        while (!r.found.empty() && (r.found.back() == ')' || r.found.back() == ']'))
          r.found.pop_back();
        throw Refused(std::move(r));
      }
      unit_[slot(field)] = named;
    }
  }

  [[noreturn]] void refuse_missing_column(InventoryField field) const {
    Refusal r = refusal(RefusalKind::column_missing, field);
    for (const auto& [named, header] : options_.columns)
      if (named == field) r.column = header;
    throw Refused(std::move(r));
  }

  std::string_view cell(InventoryField field) const {
    const int column = column_[slot(field)];
    if (column < 0 || static_cast<std::size_t>(column) >= fields_->size()) return {};
    unquoted_ = (*fields_)[static_cast<std::size_t>(column)].value();
    std::string_view text = unquoted_;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
  }

  static bool is_missing(std::string_view text) {
    return text.empty() || text == "NA" || text == "na" || text == "N/A" || text == "n/a" ||
           text == "-";
  }

  std::string text_of(InventoryField field) const {
    const std::string_view text = cell(field);
    if (is_missing(text)) refuse_value(RefusalKind::field_not_valid, field, text);
    return std::string(text);
  }

  // A length above 0, or a slope in percent of any sign, finite.
  double number(InventoryField field) const {
    const std::string_view text = cell(field);
    if (is_missing(text)) refuse_value(RefusalKind::field_not_valid, field, text);
    const bool slope = field == InventoryField::slope;
    const DecimalReading<double> value = read_decimal(text, {.marks = marks_, .sign = slope});
    if (!value || !std::isfinite(value.value) || (!slope && !(value.value > 0)))
      refuse_value(RefusalKind::field_not_valid, field, text);
    return slope ? value.value : length_in_m(value.value, unit_[slot(field)]);
  }

  // The horizontal length of the row: as given, else from the slope distance and the slope.
  double horizontal() const {
    if (has(InventoryField::horizontal) &&
        (!is_missing(cell(InventoryField::horizontal)) || !has(InventoryField::slope_distance)))
      return number(InventoryField::horizontal);
    const double distance = number(InventoryField::slope_distance);
    const double grade = number(InventoryField::slope) / 100;
    const double horizontal = distance / std::sqrt(1 + grade * grade);
    // A slope so steep that nothing of the distance is left lying flat is no slope of a line.
    if (!(horizontal > 0))
      refuse_value(RefusalKind::field_not_valid, InventoryField::slope,
                   cell(InventoryField::slope));
    return horizontal;
  }

  void read_row() {
    const std::string plot = text_of(InventoryField::plot);
    const std::string line = text_of(InventoryField::line);
    const double length = horizontal();
    const auto [where, added] = table_.index.emplace(plot, table_.plots.size());
    if (added) {
      table_.plots.push_back(plot);
      table_.lines.emplace_back().first_line = line_;
    }
    PlotLines& lines = table_.lines[where->second];
    bool known = false;
    for (const std::string& name : lines.names) known = known || name == line;
    if (!known) lines.names.push_back(line);
    lines.horizontal_m = lines.horizontal_m + length;
    // The plot's area L x L must be a number, or its figures per hectare would all be 0.
    if (!std::isfinite(lines.horizontal_m * lines.horizontal_m))
      refuse_value(RefusalKind::field_not_valid, InventoryField::horizontal,
                   cell(InventoryField::horizontal));
  }

  Refusal refusal(RefusalKind kind, InventoryField field) const {
    Refusal r;
    r.kind = kind;
    r.file = std::string(file_);
    r.line = line_;
    r.record = record_;
    r.field = field;
    if (field != InventoryField::none && has(field)) r.column = name_[slot(field)];
    return r;
  }

  [[noreturn]] void refuse_value(RefusalKind kind, InventoryField field,
                                 std::string_view found) const {
    Refusal r = refusal(kind, field);
    r.found = std::string(found);
    r.decimal = marks_ == DecimalMarks::point ? FileDecimal::point : FileDecimal::either;
    throw Refused(std::move(r));
  }

  std::string_view file_;
  const TallyOptions& options_;
  char separator_ = ',';
  DecimalMarks marks_ = DecimalMarks::point;
  std::array<int, roles.size()> column_{};
  std::array<std::string, roles.size()> name_{};
  std::array<MeasureUnit, roles.size()> unit_{};
  const std::vector<RowField>* fields_ = nullptr;
  std::int64_t line_ = 0;
  std::int64_t record_ = 0;
  mutable std::string unquoted_;
  LinesTable table_;
};

}  // namespace

const PlotLines* LinesTable::of(std::string_view plot) const {
  const auto found = index.find(std::string(plot));
  return found == index.end() ? nullptr : &lines[found->second];
}

LinesTable parse_lines(std::string_view bytes, std::string_view file, const TallyOptions& options) {
  return LinesParser(file, options).parse(bytes);
}

LinesTable read_lines(const std::filesystem::path& path, const TallyOptions& options) {
  const std::string bytes = read_side_file(path, InventoryField::line);
  return parse_lines(bytes, path.string(), options);
}

}  // namespace quorvel
