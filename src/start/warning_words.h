#pragma once
// The warnings about a tally that reads well but looks wrong, in words: each kind's in one table,
// the two languages side by side. The batch says each on a line of its own after its place, the
// window all of them in one status line.

#include <string>
#include <vector>

#include "field/plausibility.h"
#include "start/voice.h"

namespace quorvel {

// The batch: "tally.csv, plot P07, line 3, record 3: diameter 450 cm above 300 cm (typed in
// mm?); 4 pieces in all". The window: "диаметр 450 см больше 300 см (введён в мм?) — строка 3,
// таких фрагментов 4", numbers to a tenth with its decimal separator.
std::string warning_text(const Warning& warning, const Voice& voice = batch_voice);

// The name scripts see in the JSON: "diameter_above_limit", ...
const char* warning_kind_name(WarningKind kind);

}  // namespace quorvel
