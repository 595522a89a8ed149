#pragma once
// Rows of delimited text as spreadsheets save it: fields separated by one character (comma,
// semicolon or tab), a field in double quotes may hold the separator, line ends and "" for a
// quote; blanks around a field are dropped; CR LF, LF and a lone CR each end a line. The fields
// are views into the text, so reading a row allocates nothing once the first rows are read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct RowField {
  std::string_view text;        // without the quotes and the blanks around them
  bool doubled_quotes = false;  // `text` writes each quote as "": see value()
  bool quoted = false;          // the field was written in double quotes

  std::string value() const;  // the text with each "" as one quote
};

class RowScanner {
 public:
  // `text` is UTF-8 and must outlive the scanner; `source` names it in refusals.
  RowScanner(std::string_view text, char separator, std::string_view source);

  // Reads the next row; false at the end of the text. An unclosed quote, or text after a
  // closing quote, throws Refused (unclosed_quote, text_after_quote).
  bool next();

  const std::vector<RowField>& fields() const { return fields_; }
  std::int64_t line() const { return row_line_; }  // the line the row starts on
  bool empty() const;  // every field empty: a blank line, or ";;;;" as spreadsheets leave

 private:
  void read_quoted(RowField& field);

  std::string_view text_;
  char separator_;
  std::string_view source_;
  std::size_t pos_ = 0;
  std::int64_t line_ = 1;
  std::int64_t row_line_ = 0;
  std::vector<RowField> fields_;
};

}  // namespace quorvel
