#include "engine/random_source.h"

#include <chrono>

namespace quorvel {

std::uint64_t seed_from_time_of_day() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

}  // namespace quorvel
