#pragma once
// Figures of a plot that its tally cannot give, left out with the reason rather than made up:
// pieces without a length leave the number of pieces, model 2 and the expectation out; several
// lines leave model 2 and the expectation out, as their simulation lays one line through a
// square plot.
// A later reason is one more value of NotComputedReason and one more row of words.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/inventory.h"
#include "start/voice.h"

namespace quorvel {

enum class NotComputedReason {
  pieces_without_length,  // count: the pieces of the plot that have no length
  several_lines,          // count: the plot's lines
};

struct NotComputed {
  NotComputedReason reason = NotComputedReason::pieces_without_length;
  std::int64_t count = 0;

  // Whether model 1's number of pieces is known all the same.
  bool pieces_known() const { return reason != NotComputedReason::pieces_without_length; }
};

// Why some figures of this tally cannot be computed; nothing when all of them can.
std::optional<NotComputed> not_computed_for(const Inventory& inventory);

// "not computed: 3 pieces have no length"; the window's "не вычислено: у 3 фрагментов нет длины".
std::string not_computed_text(const NotComputed& why, const Voice& voice = batch_voice);

// The name scripts see in the JSON: "pieces_without_length".
const char* not_computed_name(NotComputedReason reason);

}  // namespace quorvel
