#pragma once
// The window's words for the warnings about a tally that reads well but looks wrong (diameters
// typed in mm, pieces longer than the plot, carbon beyond any forest, no pieces): one line for
// the status line, never a refusal.

#include <QString>
#include <vector>

#include "field/plausibility.h"

namespace quorvel {

// "Внимание: диаметр 450 см больше 300 см (введён в мм?) — строка 3; ...", or empty for none.
// Numbers are written to a tenth with the given decimal separator.
QString warnings_text(const std::vector<Warning>& warnings, char decimal_separator);

}  // namespace quorvel
