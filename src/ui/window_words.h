#pragma once
// The window's words for a refusal and for the warnings about a tally, in the window's language:
// those of the one table of words the batch says in English too, as text for Qt.

#include <QString>
#include <vector>

#include "engine/refusal.h"
#include "field/plausibility.h"
#include "start/not_computed.h"

namespace quorvel {

// One or more sentences, without the heading that says what became of the Start. Numbers are
// written with the given decimal separator.
QString refusal_text(const Refusal& refusal, char decimal_separator);

// One line a warning, "• диаметр 450 см больше 300 см (введён в мм?) — строка 3", or empty for
// none. Numbers are written to a tenth with the given decimal separator.
QString warnings_text(const std::vector<Warning>& warnings, char decimal_separator);

// "не вычислено: фрагментов без длины 3": why figures of the plot are left out.
QString not_computed_text(const NotComputed& why, char decimal_separator);

}  // namespace quorvel
