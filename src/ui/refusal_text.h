#pragma once
// The window's words for a refusal: Russian from start to end, in the window's own words
// ("фрагмент", the captions of its fields), each text open to translation.

#include <QString>

#include "engine/refusal.h"

namespace quorvel {

// One or more sentences, without the heading that says what became of the Start. Numbers are
// written with the given decimal separator.
QString refusal_text(const Refusal& refusal, char decimal_separator);

}  // namespace quorvel
