#include "start/warning_words.h"

#include <optional>
#include <string_view>

#include "start/place_words.h"
#include "start/shown_values.h"
#include "start/word_template.h"

namespace quorvel {

namespace {

struct WarningRow {
  WarningKind key;
  const char* name;
  Words words;
};

const WarningRow rows[] = {
    {WarningKind::diameter_above_limit,
     "diameter_above_limit",
     {"диаметр {value} см больше {limit} см (введён в мм?)",
      "diameter {value} cm above {limit} cm (typed in mm?)"}},
    {WarningKind::longer_than_diagonal,
     "longer_than_diagonal",
     {"фрагмент длиной {value} м длиннее диагонали участка ({limit} м; введена в см? или это "
      "длина трансекты?)",
      "length {value} m above the plot's diagonal {limit} m (typed in cm? or the transect "
      "length?)"}},
    {WarningKind::carbon_above_limit,
     "carbon_above_limit",
     {"углерод модели 1 {value} тС/га больше {limit} тС/га (диаметры в мм? длины в см? "
      "плотность в кг/м3?)",
      "model 1 carbon {value} t C/ha above {limit} t C/ha (diameters in mm? lengths in cm?)"}},
    {WarningKind::no_pieces,
     "no_pieces",
     {"в файле нет ни одного фрагмента", "the tally holds no piece"}},
    {WarningKind::rows_dropped,
     "rows_dropped",
     {"пропущено строк без обязательного значения: {count} (строки {lines})",
      "rows left out for a missing required value: {count} (lines {lines})"}},
};

const Words looks_wrong{"что-то не так", "looks wrong"};

// The batch puts the place first; the window names only the line, after the words.
const Words line_words{" — строка {line}", " — line {line}"};
// When the first piece named is not the only one.
const Words count_words{", таких фрагментов {count}", "; {count} pieces in all",
                        ", {count} pieces in all"};

std::string say(const Words& words, const Warning& w, const Voice& voice) {
  const bool window = voice.reader == Reader::window;
  const auto number = [&](double value) {
    return window ? tenth_number_text(value, voice.decimal_separator) : shortest_number_text(value);
  };
  return fill_words(words, voice, [&](std::string_view name) -> std::optional<std::string> {
    if (name == "value") return number(w.value);
    if (name == "limit") return number(w.limit);
    if (name == "line") return std::to_string(w.line);
    if (name == "count") return std::to_string(w.count);
    if (name == "lines") {
      std::string lines;
      for (const std::int64_t line : w.lines)
        lines += (lines.empty() ? "" : ", ") + std::to_string(line);
      return lines + (w.count > static_cast<std::int64_t>(w.lines.size()) ? ", ..." : "");
    }
    return std::nullopt;
  });
}

const WarningRow* row_for(WarningKind kind) {
  for (const WarningRow& row : rows)
    if (row.key == kind) return &row;
  return nullptr;
}

}  // namespace

std::string warning_text(const Warning& w, const Voice& voice) {
  const WarningRow* row = row_for(w.kind);
  std::string text = say(row ? row->words : looks_wrong, w, voice);
  const bool counted = w.count > 1 && w.kind != WarningKind::rows_dropped;  // counts in its words
  const std::string others = counted ? say(count_words, w, voice) : std::string();
  if (voice.reader == Reader::window)
    return text + (w.line > 0 ? say(line_words, w, voice) : std::string()) + others;
  const Place place{.file = w.file, .plot = w.plot, .line = w.line, .record = w.record};
  return place_text(place, voice) + ": " + text + others;
}

const char* warning_kind_name(WarningKind kind) {
  const WarningRow* row = row_for(kind);
  return row ? row->name : "no_pieces";
}

}  // namespace quorvel
