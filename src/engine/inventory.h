#pragma once
// The tally of one plot as read from its inventory file, records in file order.

#include <string>
#include <vector>

#include "engine/debris_piece.h"

namespace quorvel {

struct Inventory {
  std::string source;               // the file it was read from, for messages
  std::vector<DebrisPiece> pieces;  // in file order
};

}  // namespace quorvel
