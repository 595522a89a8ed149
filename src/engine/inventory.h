#pragma once
// The tally of one plot as read from its inventory file, records in file order.

#include <string>
#include <vector>

#include "engine/debris_piece.h"

namespace quorvel {

struct Inventory {
  std::string source;               // the file it was read from, for messages
  std::vector<DebrisPiece> pieces;  // in file order
  // From a lines file: how many lines the plot has and their summed horizontal length in metres,
  // which model 1 takes in place of the transect length L. 0 lines: one transect of L.
  int line_count = 0;
  double lines_length = 0;
};

}  // namespace quorvel
