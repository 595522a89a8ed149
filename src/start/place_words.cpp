#include "start/place_words.h"

#include "start/word_template.h"

namespace quorvel {

namespace {

struct FileRow {
  FileRole key;
  Words words;
};

const FileRow files[] = {
    {FileRole::data, {"Файл данных «{file}»", "{file}", "Data file \"{file}\""}},
    {FileRole::strata, {"Файл страт «{file}»", "{file}", "Strata file \"{file}\""}},
    {FileRole::species_list, {"Список пород «{file}»", "{file}", "Species list \"{file}\""}},
    {FileRole::coefficients,
     {"Таблица коэффициентов «{file}»", "{file}", "Coefficients table \"{file}\""}},
};

const Words plot_words{"участок {plot}", "plot {plot}"};
const Words line_words{"строка {line}", "line {line}"};
const Words record_words{"запись {record}", "record {record}"};

}  // namespace

std::string place_text(const Place& place, const Voice& voice) {
  const WordValue value = [&place](std::string_view name) -> std::optional<std::string> {
    if (name == "file") return std::string(place.file);
    if (name == "plot") return std::string(place.plot);
    if (name == "line") return std::to_string(place.line);
    if (name == "record") return std::to_string(place.record);
    return std::nullopt;
  };
  std::string out;
  const auto add = [&](const Words& words) {
    out += (out.empty() ? "" : ", ") + fill_words(words, voice, value);
  };
  if (!place.file.empty()) add(words_of(files, place.role, files[0].words));
  if (!place.plot.empty()) add(plot_words);
  if (place.line > 0) add(line_words);
  if (place.record > 0) add(record_words);
  return out;
}

}  // namespace quorvel
