#pragma once
// Where a message points: "plot.txt, line 3, record 2" for the batch, "Файл данных «plot.txt»,
// строка 3, запись 2" for the window, those parts the message has.

#include <cstdint>
#include <string>
#include <string_view>

#include "start/voice.h"

namespace quorvel {

// What the file is to the window, which names it: the batch names the path alone.
enum class FileRole { data, strata, species_list, coefficients };

struct Place {
  FileRole role = FileRole::data;
  std::string_view file{};
  std::string_view plot{};  // a plot of a file with a plot column
  std::int64_t line = 0;    // 0: none
  std::int64_t record = 0;  // 0: none
};

std::string place_text(const Place& place, const Voice& voice);

}  // namespace quorvel
