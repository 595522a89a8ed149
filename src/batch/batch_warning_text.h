#pragma once
// The batch front end's words for a plausibility warning: one line of English, without the
// program's name.

#include <string>

#include "field/plausibility.h"

namespace quorvel {

std::string warning_text(const Warning& warning);

// The name scripts see in the JSON: "diameter_above_limit", ...
const char* warning_kind_name(WarningKind kind);

}  // namespace quorvel
