#pragma once
// The batch front end's words for a refusal: one line of English, without the program's name.

#include <string>

#include "engine/refusal.h"

namespace quorvel {

std::string refusal_text(const Refusal& refusal);

}  // namespace quorvel
