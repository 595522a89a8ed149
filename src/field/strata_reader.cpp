#include "field/strata_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "field/delimited_rows.h"
#include "field/text_encoding.h"

namespace quorvel {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lower_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The first line that holds more than blanks: the header, whose separators tell the file's.
std::string_view first_line(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    if (!trimmed(text.substr(0, end)).empty()) return text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return text;
}

char separator_of(std::string_view header) {
  bool quoted = false;
  std::ptrdiff_t commas = 0, semicolons = 0;
  for (char c : header) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == ',') ++commas;
    if (c == ';') ++semicolons;
  }
  return semicolons > commas ? ';' : ',';
}

class StrataParser {
 public:
  explicit StrataParser(std::string_view file) : file_(file) {}

  StrataTable parse(std::string_view bytes) {
    // Decoded as tallies are: a byte-order mark names the encoding, else UTF-8 or Windows-1251.
    const DecodedText decoded = decode_text(bytes, TextEncoding::detect, file_);
    text_ = decoded.text();
    separator_ = separator_of(first_line(text_));
    RowScanner rows(text_, separator_, file_);
    bool header = true;
    std::int64_t record = 0;
    while (rows.next()) {
      if (rows.empty()) continue;
      if (header) {
        read_header(values_of(rows.fields()), rows.line());
        header = false;
      } else {
        read_row(values_of(rows.fields()), rows.line(), ++record);
      }
    }
    if (record == 0) refuse(RefusalKind::no_records, 0);
    if (area_column_) {
      for (std::size_t s = 0; s < table_.strata().size(); ++s) {
        if (table_.area_ha(s)) continue;
        Refusal r = refusal(RefusalKind::area_missing, first_line_[s]);
        r.found = table_.strata()[s];
        r.field = InventoryField::area_ha;
        r.column = area_header_;
        throw Refused(r);
      }
    }
    return std::move(table_);
  }

 private:
  static std::vector<std::string> values_of(const std::vector<RowField>& fields) {
    std::vector<std::string> values;
    values.reserve(fields.size());
    for (const RowField& field : fields) values.push_back(field.value());
    return values;
  }

  void read_header(const std::vector<std::string>& names, std::int64_t line) {
    columns_ = std::ssize(names);
    const struct {
      const char* name;
      InventoryField field;
      std::ptrdiff_t* index;
    } wanted[] = {{"plot", InventoryField::plot, &plot_column_},
                  {"stratum", InventoryField::stratum, &stratum_column_},
                  {"area_ha", InventoryField::area_ha, &area_index_}};
    for (const auto& w : wanted) {
      for (std::ptrdiff_t i = 0; i < columns_; ++i) {
        if (lower_case(names[i]) != w.name) continue;
        if (*w.index >= 0) {
          Refusal r = refusal(RefusalKind::column_repeated, line);
          r.field = w.field;
          r.column = names[i];
          throw Refused(r);
        }
        *w.index = i;
      }
      if (*w.index < 0 && w.field != InventoryField::area_ha) {
        Refusal r = refusal(RefusalKind::column_missing, line);
        r.field = w.field;
        r.column = w.name;
        throw Refused(r);
      }
    }
    area_column_ = area_index_ >= 0;
    if (area_column_) area_header_ = names[area_index_];
    plot_header_ = names[plot_column_];
    stratum_header_ = names[stratum_column_];
  }

  void read_row(const std::vector<std::string>& fields, std::int64_t line, std::int64_t record) {
    const std::ptrdiff_t count = std::ssize(fields);
    // Spreadsheets drop empty fields at the end of a row, or keep separators beyond the
    // header: only the plot and the stratum must be there, and nothing may stand beyond.
    if (count <= std::max(plot_column_, stratum_column_)) {
      // The first of the two that the row lacks, in column order.
      const bool plot_missing =
          count <= plot_column_ && (plot_column_ < stratum_column_ || count > stratum_column_);
      Refusal r = refusal(RefusalKind::record_incomplete, line, record);
      r.field = plot_missing ? InventoryField::plot : InventoryField::stratum;
      r.column = plot_missing ? plot_header_ : stratum_header_;
      r.limit = columns_;
      throw Refused(r);
    }
    for (std::ptrdiff_t i = columns_; i < count; ++i) {
      if (fields[i].empty()) continue;
      Refusal r = refusal(RefusalKind::record_too_long, line, record);
      r.limit = columns_;
      r.found = fields[i];
      throw Refused(r);
    }
    const std::string& plot = fields[plot_column_];
    const std::string& stratum = fields[stratum_column_];
    if (plot.empty()) refuse_field(line, record, InventoryField::plot, plot_header_, plot);
    if (stratum.empty())
      refuse_field(line, record, InventoryField::stratum, stratum_header_, stratum);
    const std::size_t s = table_.add_stratum(stratum);
    if (s == first_line_.size()) first_line_.push_back(line), area_line_.push_back(0);
    if (!table_.add_plot(plot, s)) {
      Refusal r = refusal(RefusalKind::plot_repeated, line, record);
      r.found = plot;
      r.other_line = first_line_of_plot(plot);
      throw Refused(r);
    }
    if (area_column_ && area_index_ < count && !fields[area_index_].empty())
      read_area(line, record, s, fields);
  }

  // Only for a refusal: the table keeps no lines, so the earlier rows are read again.
  std::int64_t first_line_of_plot(const std::string& plot) const {
    RowScanner rows(text_, separator_, file_);
    bool header = true;
    while (rows.next()) {
      if (rows.empty()) continue;
      const auto& fields = rows.fields();
      if (!header && std::ssize(fields) > plot_column_ && fields[plot_column_].value() == plot)
        return rows.line();
      header = false;
    }
    return 0;
  }

  void read_area(std::int64_t line, std::int64_t record, std::size_t stratum,
                 const std::vector<std::string>& fields) {
    const std::string& text = fields[area_index_];
    const auto area = area_number(text);
    if (!area) refuse_field(line, record, InventoryField::area_ha, area_header_, text);
    if (const auto& known = table_.area_ha(stratum)) {
      if (*known == *area) return;
      Refusal r = refusal(RefusalKind::area_differs, line, record);
      r.field = InventoryField::area_ha;
      r.column = area_header_;
      r.found = table_.strata()[stratum];
      r.other_line = area_line_[stratum];
      throw Refused(r);
    }
    table_.set_area(stratum, *area);
    area_line_[stratum] = line;
  }

  // A number above 0: digits with an optional decimal point (a comma too in a semicolon file)
  // and an optional exponent; no sign, no "inf" or "nan".
  std::optional<double> area_number(std::string_view text) const {
    const DecimalMarks marks = separator_ == ';' ? DecimalMarks::either : DecimalMarks::point;
    const DecimalReading<double> area =
        read_decimal(text, {.marks = marks, .sign = false, .blanks = false});
    if (!area || !(area.value > 0)) return std::nullopt;
    return area.value;
  }

  Refusal refusal(RefusalKind kind, std::int64_t line, std::int64_t record = 0) const {
    Refusal r;
    r.kind = kind;
    r.file = std::string(file_);
    r.line = line;
    r.record = record;
    return r;
  }

  [[noreturn]] void refuse(RefusalKind kind, std::int64_t line) const {
    throw Refused(refusal(kind, line));
  }

  [[noreturn]] void refuse_field(std::int64_t line, std::int64_t record, InventoryField field,
                                 const std::string& column, const std::string& found) const {
    Refusal r = refusal(RefusalKind::field_not_valid, line, record);
    r.field = field;
    r.column = column;
    r.found = found;
    throw Refused(r);
  }

  std::string_view file_;
  char separator_ = ',';
  std::ptrdiff_t columns_ = 0;
  std::ptrdiff_t plot_column_ = -1, stratum_column_ = -1, area_index_ = -1;
  bool area_column_ = false;
  std::string plot_header_, stratum_header_, area_header_;
  StrataTable table_;
  std::vector<std::int64_t> first_line_;  // per stratum
  std::vector<std::int64_t> area_line_;   // per stratum: where its area was first given
  std::string_view text_;                 // the decoded text, while it is parsed
};

}  // namespace

StrataTable parse_strata(std::string_view text, std::string_view file) {
  return StrataParser(file).parse(text);
}

StrataTable read_strata(const std::filesystem::path& path) {
  const std::string bytes = read_side_file(path, InventoryField::stratum);
  return parse_strata(bytes, path.string());
}

}  // namespace quorvel
