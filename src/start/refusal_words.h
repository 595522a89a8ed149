#pragma once
// A refusal in words: for the batch one line of English without the program's name, for the
// window one or more sentences in Russian or English without the heading that says what became
// of the Start. Each kind's words stand in one table, the two languages side by side.

#include <string>

#include "engine/refusal.h"
#include "start/voice.h"

namespace quorvel {

std::string refusal_text(const Refusal& refusal, const Voice& voice = batch_voice);

}  // namespace quorvel
