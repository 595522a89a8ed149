#include "field/strata_reader.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"

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

struct Line {
  std::string_view text;
  std::int64_t number = 0;
};

// The lines of the text without their ends (LF, CR LF or a lone CR), blank lines skipped.
std::vector<Line> lines_of(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte-order mark
  std::vector<Line> lines;
  std::int64_t number = 1;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    if (!trimmed(text.substr(0, end)).empty()) lines.push_back({text.substr(0, end), number});
    std::size_t next = end;
    if (next < text.size())
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    text.remove_prefix(next);
    ++number;
  }
  return lines;
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

  StrataTable parse(std::string_view text) {
    lines_ = lines_of(text);
    const std::vector<Line>& lines = lines_;
    if (lines.empty()) refuse(RefusalKind::no_records, 0);
    separator_ = separator_of(lines[0].text);
    read_header(lines[0]);
    if (lines.size() == 1) refuse(RefusalKind::no_records, 0);
    for (std::size_t i = 1; i < lines.size(); ++i) read_row(lines[i], static_cast<std::int64_t>(i));
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
  // The fields of a line: blanks around a field dropped, double quotes around it removed (two
  // quotes inside stand for one).
  std::vector<std::string> fields_of(const Line& line) const {
    std::vector<std::string> fields;
    std::string_view rest = line.text;
    while (true) {
      std::string field;
      rest = trimmed_front(rest);
      if (!rest.empty() && rest.front() == '"') {
        rest.remove_prefix(1);
        while (true) {
          const std::size_t quote = rest.find('"');
          if (quote == std::string_view::npos) refuse(RefusalKind::unclosed_quote, line.number);
          field += rest.substr(0, quote);
          rest.remove_prefix(quote + 1);
          if (rest.empty() || rest.front() != '"') break;
          field += '"';
          rest.remove_prefix(1);
        }
        rest = trimmed_front(rest);
        if (!rest.empty() && rest.front() != separator_) {
          Refusal r = refusal(RefusalKind::text_after_quote, line.number);
          r.found = std::string(rest.substr(0, rest.find(separator_)));
          throw Refused(r);
        }
      } else {
        const std::size_t end = std::min(rest.find(separator_), rest.size());
        field = std::string(trimmed(rest.substr(0, end)));
        rest.remove_prefix(end);
      }
      fields.push_back(std::move(field));
      if (rest.empty()) return fields;
      rest.remove_prefix(1);  // the separator
    }
  }

  static std::string_view trimmed_front(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    return text;
  }

  void read_header(const Line& line) {
    header_ = fields_of(line);
    const std::vector<std::string>& names = header_;
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
          Refusal r = refusal(RefusalKind::column_repeated, line.number);
          r.field = w.field;
          r.column = names[i];
          throw Refused(r);
        }
        *w.index = i;
      }
      if (*w.index < 0 && w.field != InventoryField::area_ha) {
        Refusal r = refusal(RefusalKind::column_missing, line.number);
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

  void read_row(const Line& line, std::int64_t record) {
    const std::vector<std::string> fields = fields_of(line);
    const std::ptrdiff_t count = std::ssize(fields);
    // Spreadsheets drop empty fields at the end of a row, or keep separators beyond the
    // header: only the plot and the stratum must be there, and nothing may stand beyond.
    if (count <= std::max(plot_column_, stratum_column_)) {
      // The first of the two that the row lacks, in column order.
      const bool plot_missing =
          count <= plot_column_ && (plot_column_ < stratum_column_ || count > stratum_column_);
      Refusal r = refusal(RefusalKind::record_incomplete, line.number, record);
      r.field = plot_missing ? InventoryField::plot : InventoryField::stratum;
      r.column = plot_missing ? plot_header_ : stratum_header_;
      r.limit = columns_;
      throw Refused(r);
    }
    for (std::ptrdiff_t i = columns_; i < count; ++i) {
      if (fields[i].empty()) continue;
      Refusal r = refusal(RefusalKind::record_too_long, line.number, record);
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
    if (s == first_line_.size()) first_line_.push_back(line.number), area_line_.push_back(0);
    if (!table_.add_plot(plot, s)) {
      Refusal r = refusal(RefusalKind::plot_repeated, line.number, record);
      r.found = plot;
      r.other_line = first_line_of_plot(plot);
      throw Refused(r);
    }
    if (area_column_ && area_index_ < count && !fields[area_index_].empty())
      read_area(line, record, s, fields);
  }

  // Only for a refusal: the table keeps no lines, so the earlier rows are read again.
  std::int64_t first_line_of_plot(const std::string& plot) const {
    for (std::size_t i = 1; i < lines_.size(); ++i)
      if (fields_of(lines_[i])[plot_column_] == plot) return lines_[i].number;
    return 0;
  }

  void read_area(const Line& line, std::int64_t record, std::size_t stratum,
                 const std::vector<std::string>& fields) {
    const std::string& text = fields[area_index_];
    const auto area = area_number(text);
    if (!area) refuse_field(line, record, InventoryField::area_ha, area_header_, text);
    if (const auto& known = table_.area_ha(stratum)) {
      if (*known == *area) return;
      Refusal r = refusal(RefusalKind::area_differs, line.number, record);
      r.field = InventoryField::area_ha;
      r.column = area_header_;
      r.found = table_.strata()[stratum];
      r.other_line = area_line_[stratum];
      throw Refused(r);
    }
    table_.set_area(stratum, *area);
    area_line_[stratum] = line.number;
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

  [[noreturn]] void refuse_field(const Line& line, std::int64_t record, InventoryField field,
                                 const std::string& column, const std::string& found) const {
    Refusal r = refusal(RefusalKind::field_not_valid, line.number, record);
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
  std::vector<Line> lines_;
  std::vector<std::string> header_;
};

}  // namespace

StrataTable parse_strata(std::string_view text, std::string_view file) {
  return StrataParser(file).parse(text);
}

StrataTable read_strata(const std::filesystem::path& path) {
  return parse_strata(read_input_file(path, side_file_limit), path.string());
}

}  // namespace quorvel
