#pragma once
// What every fuzz target asks of its findings: a broken promise aborts, and the promises a read
// record keeps whichever reader made it.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/debris_piece.h"
#include "engine/refusal.h"

namespace quorvel {

inline void require(bool condition) {
  if (!condition) std::abort();
}

inline std::string_view text_of(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A record the engine can work with: a known group and stage, finite sizes that are never
// negative (nor negative zero), a length above zero and the line it was read on.
inline void check_record(const DebrisPiece& piece) {
  require(piece.group >= 1 && piece.group <= 3);
  require(std::isfinite(piece.diameter1) && piece.diameter1 >= 0 && !std::signbit(piece.diameter1));
  require(std::isfinite(piece.diameter2) && piece.diameter2 >= 0 && !std::signbit(piece.diameter2));
  // A piece without a length holds 0 and says so.
  require(std::isfinite(piece.piece_length) &&
          (piece.length_known ? piece.piece_length > 0 : piece.piece_length == 0));
  require(piece.stage >= 0 && piece.stage <= 5);
  require(piece.line >= 1);
}

}  // namespace quorvel
