#pragma once
// What every fuzz target asks of its findings: a broken promise aborts, and the promises a read
// record keeps whichever reader made it.

#include <cmath>
#include <cstdlib>

#include "debris_piece.h"

namespace quorvel::fuzzing {

inline void require(bool condition) {
  if (!condition) std::abort();
}

// A record the engine can work with: a known group and stage, finite sizes that are never
// negative (nor negative zero), a length above zero and the line it was read on.
inline void check_record(const DebrisPiece& piece) {
  require(piece.group >= 1 && piece.group <= 3);
  require(std::isfinite(piece.diameter1) && piece.diameter1 >= 0 && !std::signbit(piece.diameter1));
  require(std::isfinite(piece.diameter2) && piece.diameter2 >= 0 && !std::signbit(piece.diameter2));
  require(std::isfinite(piece.piece_length) && piece.piece_length > 0);
  require(piece.stage >= 0 && piece.stage <= 5);
  require(piece.line >= 1);
}

}  // namespace quorvel::fuzzing
