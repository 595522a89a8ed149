#include "start/not_computed.h"

#include <string_view>

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
  return std::nullopt;
}

std::string not_computed_text(const NotComputed& why, const Voice& voice) {
  return fill_words(row_for(why.reason).words, voice,
                    [&why](std::string_view name) -> std::optional<std::string> {
                      if (name == "count") return std::to_string(why.count);
                      return std::nullopt;
                    });
}

const char* not_computed_name(NotComputedReason reason) { return row_for(reason).name; }

}  // namespace quorvel
