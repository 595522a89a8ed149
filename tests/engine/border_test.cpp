#include "border.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

Placement segment(float x1, float y1, double x2, double y2) {
  Placement p;
  p.x1 = x1;
  p.y1 = y1;
  p.x2 = x2;
  p.y2 = y2;
  return p;
}

Placement cut(Placement p, int L = 100) {
  border(p, L);
  return p;
}

TEST(Border, PiecesInsideOrEndingOnAnEdgeAreLeftAlone) {
  const Placement inside = cut(segment(10, 10, 40, 70));
  EXPECT_EQ(inside.x2, 40);
  EXPECT_EQ(inside.y2, 70);
  const Placement on_edge = cut(segment(10, 10, 100, 70));
  EXPECT_EQ(on_edge.x2, 100);
  EXPECT_EQ(on_edge.y2, 70);
  const Placement on_corner = cut(segment(10, 10, 0, 0));
  EXPECT_EQ(on_corner.x2, 0);
  EXPECT_EQ(on_corner.y2, 0);
}

TEST(Border, FarEndMovesToTheLeftEdge) {
  const Placement p = cut(segment(10, 50, -30, -50));
  EXPECT_EQ(p.x2, 0);
  EXPECT_EQ(p.y2, 25);
  EXPECT_EQ(p.x1, 10);  // the start point never moves
  EXPECT_EQ(p.y1, 50);
}

TEST(Border, FarEndPastTheLeftEdgeOntoItsExtensionEndsOnTheTopEdge) {
  const Placement p = cut(segment(10, 10, -10, -90));  // y = 5x - 40
  EXPECT_EQ(p.x2, 8);
  EXPECT_EQ(p.y2, 0);
}

TEST(Border, FarEndMovesToTheRightEdge) {
  const Placement p = cut(segment(90, 70, 130, 150));  // y = 2x - 110
  EXPECT_EQ(p.x2, 100);
  EXPECT_EQ(p.y2, 90);
}

TEST(Border, ExactCornerIsNotMovedAgain) {
  const Placement p = cut(segment(90, 70, 120, 160));  // y = 3x - 200
  EXPECT_EQ(p.x2, 100);
  EXPECT_EQ(p.y2, 100);
}

TEST(Border, BottomAndTopEdges) {
  const Placement bottom = cut(segment(50, 90, 60, 110));  // y = 2x - 10
  EXPECT_EQ(bottom.y2, 100);
  EXPECT_EQ(bottom.x2, 55);
  const Placement top = cut(segment(50, 10, 60, -10));  // y = -2x + 110
  EXPECT_EQ(top.y2, 0);
  EXPECT_EQ(top.x2, 55);
  const Placement corner = cut(segment(90, 10, 110, -10));  // y = -x + 100 through (100, 0)
  EXPECT_EQ(corner.x2, 100);
  EXPECT_EQ(corner.y2, 0);
}

TEST(Border, StartOnTheLeftEdgeStillEndsWhereTheSegmentLeaves) {
  // x1 = 0 defeats the slope formula; the far end is moved along the segment instead.
  const Placement out_left = cut(segment(0, 30, -5, 20));
  EXPECT_EQ(out_left.x2, 0);
  EXPECT_EQ(out_left.y2, 30);
  const Placement out_top = cut(segment(0, 30, 40, -10));
  EXPECT_EQ(out_top.x2, 30);
  EXPECT_EQ(out_top.y2, 0);
  const Placement out_right = cut(segment(0, 50, 150, 50));
  EXPECT_EQ(out_right.x2, 100);
  EXPECT_EQ(out_right.y2, 50);
}

TEST(Border, VerticalPiecesEndOnTheTopOrBottomEdge) {
  const Placement up = cut(segment(20, 30, 20, -10));
  EXPECT_EQ(up.x2, 20);
  EXPECT_EQ(up.y2, 0);
  const Placement down = cut(segment(20, 30, 20, 130));
  EXPECT_EQ(down.x2, 20);
  EXPECT_EQ(down.y2, 100);
}

TEST(Border, PiecesLongerThanTheDiagonalAreCutAtTheirFirstEdge) {
  const Placement diagonal =
      cut(segment(50, 50, 50 + 1000 / std::sqrt(2.0), 50 + 1000 / std::sqrt(2.0)));
  EXPECT_NEAR(diagonal.x2, 100, 1e-9);
  EXPECT_NEAR(diagonal.y2, 100, 1e-9);
  for (double length : {1e6, 1e30, 1e300}) {
    for (double angle = 0.05; angle < 6.3; angle += 0.37) {
      const Placement p =
          cut(segment(31, 77, 31 + length * std::cos(angle), 77 + length * std::sin(angle)));
      ASSERT_TRUE(std::isfinite(p.x2) && std::isfinite(p.y2)) << length << " " << angle;
      EXPECT_GE(p.x2, -1e-9);
      EXPECT_LE(p.x2, 100 + 1e-9);
      EXPECT_GE(p.y2, -1e-9);
      EXPECT_LE(p.y2, 100 + 1e-9);
      // Still on the line of the piece.
      EXPECT_NEAR(std::atan2(p.y2 - 77, p.x2 - 31), std::remainder(angle, 2 * M_PI), 1e-6);
    }
  }
}

}  // namespace
}  // namespace quorvel
