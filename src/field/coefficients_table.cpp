#include "field/coefficients_table.h"

#include <array>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "engine/simulation_parameters.h"
#include "engine/species_group.h"
#include "engine/stage_group_table.h"
#include "field/delimited_rows.h"
#include "field/name_folding.h"

namespace quorvel {

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The columns of the file in the order the header is searched, with the names each goes by.
enum Column { species, stage, density, reduction, carbon, column_count };

struct ColumnName {
  InventoryField field;
  std::array<std::string_view, 2> names;
};

const ColumnName column_names[column_count] = {
    {InventoryField::coefficient_species, {"species", "порода"}},
    {InventoryField::coefficient_stage, {"stage", "стадия"}},
    {InventoryField::density, {"density", "плотность"}},
    {InventoryField::reduction, {"reduction", "редукция"}},
    {InventoryField::carbon_share, {"carbon", "углерод"}},
};

char separator_of(std::string_view text) {
  const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
  for (char separator : {'\t', ';', ','})
    if (first.find(separator) != std::string_view::npos) return separator;
  return ',';
}

// "1".."5" or "I".."V" in either case.
std::optional<int> stage_of(std::string_view text) {
  static constexpr std::string_view arabic[] = {"1", "2", "3", "4", "5"};
  static constexpr std::string_view roman[] = {"i", "ii", "iii", "iv", "v"};
  const std::string word = folded(text);
  for (int s = 0; s < 5; ++s)
    if (word == arabic[s] || word == roman[s]) return s + 1;
  return std::nullopt;
}

class CoefficientsParser {
 public:
  CoefficientsParser(std::string_view text, std::string_view source)
      : rows_(text, separator_of(text), source), source_(source) {
    if (separator_of(text) != ',') marks_ = DecimalMarks::either;
  }

  CoefficientsTable parse() {
    if (!next_row()) throw Refused(no_records());
    read_header();
    CoefficientsTable table;
    if (!next_row()) throw Refused(no_records());
    do {
      CoefficientRow row = read_row();
      if (const CoefficientRow* earlier = table.add(row)) {
        Refusal r = refusal(RefusalKind::coefficient_repeated);
        r.found = std::string(utf8_prefix(row.species, 200));
        r.stage = row.stage;
        r.other_line = earlier->line;
        throw Refused(std::move(r));
      }
    } while (next_row());
    return table;
  }

 private:
  // The next row that holds anything; false at the end.
  bool next_row() {
    while (rows_.next())
      if (!rows_.empty()) return true;
    return false;
  }

  Refusal no_records() const {
    Refusal r = refusal(RefusalKind::no_records);
    r.line = 0;
    return r;
  }

  void read_header() {
    const std::vector<RowField>& fields = rows_.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string name = folded(fields[i].value());
      for (int c = 0; c < column_count; ++c) {
        if (name != column_names[c].names[0] && name != column_names[c].names[1]) continue;
        if (index_[c] >= 0) {
          Refusal r = refusal(RefusalKind::column_repeated);
          r.field = column_names[c].field;
          r.column = fields[i].value();
          throw Refused(std::move(r));
        }
        index_[c] = static_cast<int>(i);
        header_[c] = fields[i].value();
      }
    }
    for (int c : {species, stage, density}) {
      if (index_[c] >= 0) continue;
      Refusal r = refusal(RefusalKind::column_missing);
      r.field = column_names[c].field;
      r.column = std::string(column_names[c].names[0]);
      throw Refused(std::move(r));
    }
  }

  CoefficientRow read_row() const {
    CoefficientRow row;
    row.line = rows_.line();
    row.species = std::string(trimmed(cell(species)));
    if (row.species.empty()) refuse(species);
    const auto stage_number = stage_of(trimmed(cell(stage)));
    if (!stage_number) refuse(stage);
    row.stage = *stage_number;
    row.density = number(density, max_density);  // as the density grid
    // An empty optional cell takes the default, as a column left out would.
    if (!trimmed(cell(reduction)).empty()) row.reduction = number(reduction, 1);
    if (!trimmed(cell(carbon)).empty()) row.carbon = number(carbon, 1);
    return row;
  }

  // A number above 0 and at most `most`.
  double number(Column c, double most) const {
    const DecimalReading<double> value =
        read_decimal(cell(c), {.marks = marks_, .sign = false, .blanks = true});
    if (!value || !(value.value > 0) || !(value.value <= most)) refuse(c);
    return value.value;
  }

  std::string cell(Column c) const {
    const std::vector<RowField>& fields = rows_.fields();
    const int i = index_[c];
    if (i < 0 || static_cast<std::size_t>(i) >= fields.size()) return {};
    return fields[static_cast<std::size_t>(i)].value();
  }

  Refusal refusal(RefusalKind kind) const {
    Refusal r;
    r.kind = kind;
    r.file = std::string(source_);
    r.line = rows_.line();
    return r;
  }

  [[noreturn]] void refuse(Column c) const {
    Refusal r = refusal(RefusalKind::field_not_valid);
    r.field = column_names[c].field;
    r.column = header_[c];
    r.found = std::string(utf8_prefix(cell(c), 200));
    throw Refused(std::move(r));
  }

  RowScanner rows_;
  std::string_view source_;
  DecimalMarks marks_ = DecimalMarks::point;
  std::array<int, column_count> index_{-1, -1, -1, -1, -1};
  std::array<std::string, column_count> header_;
};

}  // namespace

const CoefficientRow* CoefficientsTable::find(std::string_view code, int stage) const {
  const std::string key = folded(trimmed(code));
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].stage == stage && keys_[i] == key) return &rows_[i];
  return nullptr;
}

const CoefficientRow* CoefficientsTable::row_for(std::string_view code, int group,
                                                 int stage) const {
  if (const CoefficientRow* row = find(code, stage)) return row;
  const char letter = species_code_of(group);
  return find(std::string_view(&letter, 1), stage);
}

const CoefficientRow* CoefficientsTable::add(CoefficientRow row) {
  if (const CoefficientRow* earlier = find(row.species, row.stage)) return earlier;
  keys_.push_back(folded(row.species));
  rows_.push_back(std::move(row));
  return nullptr;
}

CoefficientsTable parse_coefficients(std::string_view bytes, std::string_view source,
                                     TextEncoding encoding) {
  const DecodedText decoded = decode_text(bytes, encoding, source);
  return CoefficientsParser(decoded.text(), source).parse();
}

CoefficientsTable read_coefficients(const std::filesystem::path& path, TextEncoding encoding) {
  // The file as a whole: its field tells the table from a tally in the words of the refusal.
  const std::string bytes = read_side_file(path, InventoryField::coefficient_species);
  return parse_coefficients(bytes, path.string(), encoding);
}

void apply_coefficients(const CoefficientsTable& table, std::string_view table_file,
                        double carbon_fraction, Inventory& inventory) {
  std::vector<double> factors(inventory.pieces.size());
  std::vector<std::pair<std::string, int>> missing;
  for (std::size_t i = 0; i < inventory.pieces.size(); ++i) {
    const DebrisPiece& piece = inventory.pieces[i];
    if (piece.stage < first_stage) continue;
    if (const CoefficientRow* row = table.row_for(piece.local_code, piece.group, piece.stage)) {
      factors[i] = row->density * row->reduction * row->carbon.value_or(carbon_fraction);
      continue;
    }
    std::string code(trimmed(piece.local_code));
    if (code.empty()) code.assign(1, species_code_of(piece.group));
    std::pair<std::string, int> key{std::move(code), piece.stage};
    bool listed = false;
    for (const auto& m : missing)
      listed = listed || (folded(m.first) == folded(key.first) && m.second == key.second);
    if (!listed) missing.push_back(std::move(key));
  }
  if (!missing.empty()) {
    Refusal r;
    r.kind = RefusalKind::coefficients_missing;
    r.file = inventory.source;
    r.table = std::string(table_file);
    for (const auto& [code, stage] : missing)
      r.found += (r.found.empty() ? "" : ", ") + std::string(utf8_prefix(code, 200)) + " " +
                 std::to_string(stage);
    throw Refused(std::move(r));
  }
  for (std::size_t i = 0; i < inventory.pieces.size(); ++i)
    if (inventory.pieces[i].stage >= first_stage) inventory.pieces[i].carbon_factor = factors[i];
}

}  // namespace quorvel
