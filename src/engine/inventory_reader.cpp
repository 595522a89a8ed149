#include "engine/inventory_reader.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "engine/decimal_text.h"
#include "engine/input_file.h"
#include "engine/refusal.h"
#include "engine/species_group.h"

namespace quorvel {

namespace {

constexpr int fields_per_record = 5;
// The record's fields in file order.
constexpr InventoryField record_fields[fields_per_record] = {
    InventoryField::species_code, InventoryField::diameter1, InventoryField::diameter2,
    InventoryField::length, InventoryField::stage};

// A view of the inventory's text, which outlives the record it is read into.
struct Field {
  std::string_view text;
  int line = 0;
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\n' || c == '\r'; }

// Splits the text into fields: commas and line ends separate them, blanks before and after a
// field are dropped, double quotes around a field are not part of it, blank lines are skipped.
class FieldScanner {
 public:
  FieldScanner(std::string_view text, std::string_view source) : text_(text), source_(source) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);  // UTF-8 byte-order mark
  }

  // False when the text is used up.
  bool next(Field& field) {
    if (!after_comma_) skip_blanks_and_line_ends();
    if (pos_ == text_.size() && !after_comma_) return false;
    skip_blanks();
    field.line = line_;
    field.text = (pos_ < text_.size() && text_[pos_] == '"') ? quoted() : unquoted();
    skip_blanks();
    after_comma_ = pos_ < text_.size() && text_[pos_] == ',';
    if (after_comma_) {
      ++pos_;
    } else if (pos_ < text_.size() && !is_line_end(text_[pos_])) {
      fail(RefusalKind::text_after_quote, text_.substr(pos_, 10));
    }
    return true;
  }

  int line() const { return line_; }

 private:
  std::string_view quoted() {
    const std::size_t start = ++pos_;
    while (pos_ < text_.size() && text_[pos_] != '"' && !is_line_end(text_[pos_])) ++pos_;
    if (pos_ == text_.size() || text_[pos_] != '"') fail(RefusalKind::unclosed_quote, {});
    return text_.substr(start, pos_++ - start);
  }

  std::string_view unquoted() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && is_blank(text_[end - 1])) --end;
    return text_.substr(start, end - start);
  }

  void skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
  }

  void skip_blanks_and_line_ends() {
    while (pos_ < text_.size() && (is_blank(text_[pos_]) || is_line_end(text_[pos_]))) {
      // CRLF, LF and a lone CR each end one line.
      if (text_[pos_] == '\n' ||
          (text_[pos_] == '\r' && (pos_ + 1 == text_.size() || text_[pos_ + 1] != '\n')))
        ++line_;
      ++pos_;
    }
  }

  [[noreturn]] void fail(RefusalKind kind, std::string_view found) const {
    throw Refused(
        {.kind = kind, .file = std::string(source_), .line = line_, .found = std::string(found)});
  }

  std::string_view text_;
  std::string_view source_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool after_comma_ = false;
};

// A number in the file's own notation: optional sign, a period as decimal separator, optional
// exponent. Nothing else, so "nan", "inf" and "1,5" are refused.
constexpr DecimalGrammar file_grammar{.marks = DecimalMarks::point, .sign = true, .blanks = false};

class RecordBuilder {
 public:
  RecordBuilder(std::string_view source, std::int64_t record) : source_(source), record_(record) {}

  DebrisPiece build(const Field (&fields)[fields_per_record]) const {
    DebrisPiece piece;
    piece.line = fields[0].line;
    piece.group = group_of(fields[0]);
    piece.diameter1 = number_at_least_zero(fields[1], 1);
    piece.diameter2 = number_at_least_zero(fields[2], 2);
    piece.piece_length = positive_number(fields[3]);
    piece.stage = stage_of(fields[4]);
    return piece;
  }

 private:
  int group_of(const Field& f) const {
    const auto group = species_group_from_code(f.text);
    if (!group) fail(f, 0);
    return static_cast<int>(*group);
  }

  double number(const Field& f, int index) const {
    const DecimalReading<double> reading = read_decimal(f.text, file_grammar);
    if (!reading) fail(f, index);
    return reading.value;
  }

  double number_at_least_zero(const Field& f, int index) const {
    const double value = number(f, index);
    if (value < 0) fail(f, index);
    return value == 0 ? 0.0 : value;  // no negative zero
  }

  double positive_number(const Field& f) const {
    const double value = number(f, 3);
    if (!(value > 0)) fail(f, 3);
    return value;
  }

  int stage_of(const Field& f) const {
    const double value = number(f, 4);
    if (value != std::floor(value) || value < 0 || value > 5) fail(f, 4);
    return static_cast<int>(value);
  }

  // What each field must hold follows from the field itself.
  [[noreturn]] void fail(const Field& f, int index) const {
    throw Refused({.kind = RefusalKind::field_not_valid,
                   .file = std::string(source_),
                   .line = f.line,
                   .record = record_,
                   .field = record_fields[index],
                   .found = std::string(f.text)});
  }

  std::string_view source_;
  std::int64_t record_;
};

}  // namespace

Inventory parse_inventory(std::string_view text, std::string_view source) {
  Inventory inventory;
  inventory.source = std::string(source);
  // A record a line, as files are mostly written: room for a small file's pieces at once, and
  // a large file's grow as they come.
  constexpr std::size_t reserved_at_most = 4096;
  inventory.pieces.reserve(std::min<std::size_t>(
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1, reserved_at_most));
  FieldScanner scanner(text, source);
  Field fields[fields_per_record];
  int filled = 0;
  while (scanner.next(fields[filled])) {
    if (++filled < fields_per_record) continue;
    const auto record = static_cast<std::int64_t>(inventory.pieces.size()) + 1;
    inventory.pieces.push_back(RecordBuilder(source, record).build(fields));
    filled = 0;
  }
  if (filled != 0)
    throw Refused({.kind = RefusalKind::record_incomplete,
                   .file = std::string(source),
                   .line = fields[filled - 1].line,
                   .record = static_cast<std::int64_t>(inventory.pieces.size()) + 1,
                   .field = record_fields[filled - 1]});
  return inventory;
}

Inventory read_inventory(const std::filesystem::path& path) {
  return parse_inventory(read_input_file(path), path.string());
}

}  // namespace quorvel
