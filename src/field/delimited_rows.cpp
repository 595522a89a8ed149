#include "field/delimited_rows.h"

#include "engine/refusal.h"
#include "field/text_encoding.h"

namespace quorvel {

std::string RowField::value() const {
  if (!doubled_quotes) return std::string(text);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out.push_back(text[i]);
    if (text[i] == '"') ++i;  // the second quote of the pair
  }
  return out;
}

RowScanner::RowScanner(std::string_view text, char separator, std::string_view source)
    : text_(text), separator_(separator), source_(source) {}

bool RowScanner::empty() const {
  for (const RowField& field : fields_)
    if (!field.text.empty()) return false;
  return true;
}

bool RowScanner::next() {
  fields_.clear();
  if (pos_ >= text_.size()) return false;
  row_line_ = line_;
  const char separator = separator_;
  const auto is_blank = [separator](char c) { return (c == ' ' || c == '\t') && c != separator; };
  const std::size_t size = text_.size();
  for (;;) {
    while (pos_ < size && is_blank(text_[pos_])) ++pos_;
    RowField& field = fields_.emplace_back();
    if (pos_ < size && text_[pos_] == '"') {
      read_quoted(field);
    } else {
      const std::size_t start = pos_;
      while (pos_ < size) {
        const char c = text_[pos_];
        if (c == separator || c == '\n' || c == '\r') break;
        ++pos_;
      }
      std::size_t end = pos_;
      while (end > start && is_blank(text_[end - 1])) --end;
      field.text = text_.substr(start, end - start);
    }
    if (pos_ < size && text_[pos_] == separator) {
      ++pos_;
      continue;
    }
    // A line end or the end of the text ends the row.
    if (pos_ < size) {
      if (text_[pos_++] == '\r' && pos_ < size && text_[pos_] == '\n') ++pos_;
      ++line_;
    }
    return true;
  }
}

void RowScanner::read_quoted(RowField& field) {
  const std::int64_t opened_on = line_;
  field.quoted = true;
  const std::size_t start = ++pos_;
  for (;;) {
    if (pos_ >= text_.size()) {
      Refusal refusal;
      refusal.kind = RefusalKind::unclosed_quote;
      refusal.file = std::string(source_);
      refusal.line = opened_on;
      throw Refused(std::move(refusal));
    }
    const char c = text_[pos_];
    if (c == '"') {
      if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
        field.doubled_quotes = true;
        pos_ += 2;
        continue;
      }
      break;
    }
    // A line end inside the quotes belongs to the field (a note written on two lines).
    if (c == '\n' || (c == '\r' && (pos_ + 1 == text_.size() || text_[pos_ + 1] != '\n'))) ++line_;
    ++pos_;
  }
  field.text = text_.substr(start, pos_ - start);
  ++pos_;
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t') &&
         text_[pos_] != separator_)
    ++pos_;
  if (pos_ < text_.size() && text_[pos_] != separator_ && text_[pos_] != '\n' &&
      text_[pos_] != '\r') {
    std::string_view rest = text_.substr(pos_);
    rest = rest.substr(0, rest.find_first_of("\r\n"));
    Refusal refusal;
    refusal.kind = RefusalKind::text_after_quote;
    refusal.file = std::string(source_);
    refusal.line = line_;
    refusal.found = std::string(utf8_prefix(rest, 200));
    throw Refused(std::move(refusal));
  }
}

}  // namespace quorvel
