#include "engine/border.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace quorvel {
namespace {

struct BorderCase {
  const char* what;
  float x1, y1;
  double x2, y2;                    // the far end as placed
  double expected_x2, expected_y2;  // where it must end, exactly
};

// Every result here is exact in binary, so the far end is compared bit for bit.
const BorderCase border_cases[] = {
    {"wholly inside", 10, 10, 40, 70, 40, 70},
    {"far end on the right edge", 10, 10, 100, 70, 100, 70},
    {"far end on a corner", 10, 10, 0, 0, 0, 0},
    {"left edge", 10, 50, -30, -50, 0, 25},
    {"left edge's extension, then the top edge (y = 5x - 40)", 10, 10, -10, -90, 8, 0},
    {"right edge (y = 2x - 110)", 90, 70, 130, 150, 100, 90},
    {"exactly the corner, not moved again (y = 3x - 200)", 90, 70, 120, 160, 100, 100},
    {"bottom edge (y = 2x - 10)", 50, 90, 60, 110, 55, 100},
    {"top edge (y = -2x + 110)", 50, 10, 60, -10, 55, 0},
    {"top right corner (y = -x + 100)", 90, 10, 110, -10, 100, 0},
    // A start on the left edge defeats the slope formula; the far end moves along the segment.
    {"start on the left edge, leaving left", 0, 30, -5, 20, 0, 30},
    {"start on the left edge, leaving through the top", 0, 30, 40, -10, 30, 0},
    {"start on the left edge, leaving right", 0, 50, 150, 50, 100, 50},
    // A vertical piece defeats the intercept formula.
    {"vertical, leaving through the top", 20, 30, 20, -10, 20, 0},
    {"vertical, leaving through the bottom", 20, 30, 20, 130, 20, 100},
};

TEST(Border, FarEndEndsWhereThePieceLeavesThePlot) {
  for (const BorderCase& c : border_cases) {
    Placement p{.x1 = c.x1, .y1 = c.y1, .x2 = c.x2, .y2 = c.y2};
    border(p, 100);  // the start point never moves
    EXPECT_EQ(std::tuple(p.x1, p.y1, p.x2, p.y2),
              std::tuple(c.x1, c.y1, c.expected_x2, c.expected_y2))
        << c.what;
  }
}

TEST(Border, PiecesLongerThanTheDiagonalAreCutAtTheirFirstEdge) {
  for (double length : {150.0, 1e6, 1e30, 1e300}) {
    for (double angle = 0.05; angle < 6.3; angle += 0.37) {
      Placement p{.x1 = 31,
                  .y1 = 77,
                  .x2 = 31 + length * std::cos(angle),
                  .y2 = 77 + length * std::sin(angle)};
      border(p, 100);
      ASSERT_TRUE(std::isfinite(p.x2) && std::isfinite(p.y2)) << length << " " << angle;
      // On the border of the plot...
      const double to_edge =
          std::min({std::abs(p.x2), std::abs(p.x2 - 100), std::abs(p.y2), std::abs(p.y2 - 100)});
      EXPECT_LT(to_edge, 1e-9) << length << " " << angle;
      EXPECT_TRUE(p.x2 > -1e-9 && p.x2 < 100 + 1e-9 && p.y2 > -1e-9 && p.y2 < 100 + 1e-9);
      // ...and still on the line of the piece.
      EXPECT_NEAR(std::atan2(p.y2 - 77, p.x2 - 31), std::remainder(angle, 2 * M_PI), 1e-6);
    }
  }
}

}  // namespace
}  // namespace quorvel
