#include "start/not_computed.h"

#include <cmath>
#include <string_view>

#include "engine/number_text.h"
#include "start/word_template.h"

namespace quorvel {

namespace {

struct NotComputedRow {
  NotComputedReason key;
  const char* name;
  Words words;
};

const NotComputedRow rows[] = {
    {NotComputedReason::pieces_without_length,
     "pieces_without_length",
     {"не вычислено: фрагментов без длины {count}", "not computed: {count} pieces have no length"}},
    {NotComputedReason::several_lines,
     "several_lines",
     {"не вычислено: у участка линий {count}, а модель 2 прокладывает одну",
      "not computed: the plot has {count} lines, model 2 simulates one"}},
    {NotComputedReason::line_not_whole,
     "line_not_whole",
     {"не вычислено: длина линии {length} м — не целое число метров",
      "not computed: the line is {length} m long, not a whole number of metres"}},
};

const NotComputedRow& row_for(NotComputedReason reason) {
  for (const NotComputedRow& row : rows)
    if (row.key == reason) return row;
  return rows[0];
}

}  // namespace

std::optional<NotComputed> not_computed_for(const Inventory& inventory) {
  std::int64_t without_length = 0;
  for (const DebrisPiece& piece : inventory.pieces) without_length += piece.length_known ? 0 : 1;
  if (without_length > 0)
    return NotComputed{NotComputedReason::pieces_without_length, without_length};
  if (inventory.line_count > 1)
    return NotComputed{NotComputedReason::several_lines, inventory.line_count};
  if (inventory.line_count == 1 && !whole_line_length(inventory.lines_length))
    return NotComputed{NotComputedReason::line_not_whole, 1, inventory.lines_length};
  return std::nullopt;
}

bool whole_line_length(double metres) {
  return metres >= 1 && metres <= 32767 && std::floor(metres) == metres;
}

std::string not_computed_text(const NotComputed& why, const Voice& voice) {
  return fill_words(row_for(why.reason).words, voice,
                    [&why, &voice](std::string_view name) -> std::optional<std::string> {
                      if (name == "count") return std::to_string(why.count);
                      if (name == "length")
                        return general_number_text(why.length, voice.decimal_separator);
                      return std::nullopt;
                    });
}

const char* not_computed_name(NotComputedReason reason) { return row_for(reason).name; }

}  // namespace quorvel
