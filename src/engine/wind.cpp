#include "engine/wind.h"

#include <array>

#include "engine/pi_value.h"

namespace quorvel {

namespace {

struct ButtonFacts {
  const char* name;
  int sector_start;  // k
};

// Indexed by the button's number: the compass point it stands for on the 3 x 3 grid and the
// start of its 45-degree sector, the compass direction taken modulo 180 degrees.
constexpr std::array<ButtonFacts, 9> buttons = {{{"none", 0},
                                                 {"NW", 9},
                                                 {"W", 7},
                                                 {"SW", 5},
                                                 {"S", 11},
                                                 {"SE", 1},
                                                 {"E", 15},
                                                 {"NE", 13},
                                                 {"N", 3}}};

}  // namespace

int sector_start(WindButton button) { return buttons[static_cast<int>(button)].sector_start; }

const char* wind_button_name(WindButton button) { return buttons[static_cast<int>(button)].name; }

std::optional<WindButton> wind_button_from_name(std::string_view name) {
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
    if (name == buttons[i].name) return static_cast<WindButton>(i);
  return std::nullopt;
}

float wind_direction(WindButton button, int wind_force, RandomSource& random) {
  if (button != WindButton::none) {
    const float force_draw = random.draw();
    const float p = static_cast<float>(static_cast<double>(wind_force) / 5);
    if (p > force_draw) {
      const double r = random.draw();
      return static_cast<float>((r * pi_value) / 4 + (pi_value * sector_start(button)) / 8);
    }
  }
  const double r = random.draw();
  return static_cast<float>(2 * pi_value * r);
}

}  // namespace quorvel
