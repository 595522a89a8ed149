#include "engine/placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "engine/pi_value.h"
#include "engine/transect.h"

namespace quorvel {
namespace {

const DebrisPiece piece{1, 20, 10, 5, 1, 1};

// How many draws `step` took from a generator, found by comparing with an untouched twin.
template <typename Step>
int draws_taken(Step step) {
  RandomSource used(2024), twin(2024);
  step(used);
  const float next = used.draw();
  for (int n = 0; n < 10; ++n)
    if (twin.draw() == next) return n;
  return -1;
}

TEST(Placement, AttemptTakesFourDrawsWithoutWindButtonAndFiveWithOne) {
  const auto draws = [](int button, int force) {
    return draws_taken([&](RandomSource& r) {
      Placement p = place_piece(piece, 100, static_cast<WindButton>(button), force, r);
      exchange_ends(p, r);
    });
  };
  for (int force : {-3, 0, 1, 3, 5, 7})
    for (int b = 0; b <= 8; ++b) EXPECT_EQ(draws(b, force), b == 0 ? 4 : 5) << force << " " << b;
}

// Bit for bit from seed 7: x, then y, then the force draw (force 5 always chooses the sector),
// then the angle within the sector of N, from 3 pi / 8; the far end in double precision.
TEST(Placement, DrawsGoToXThenYThenForceThenAngle) {
  RandomSource random(7);
  const Placement p = place_piece(piece, 100, WindButton::n, 5, random);
  EXPECT_EQ(std::tie(p.x1, p.y1, p.angle),
            std::make_tuple(0x1.da6712p+4f, 0x1.8746dap+6f, 0x1.e00204p+0f));
  EXPECT_EQ(std::tie(p.x2, p.y2), std::make_tuple(0x1.c27005ecec362p+4, 0x1.9a5bb93d7985ap+6));
  EXPECT_EQ(std::tie(p.diameter1_m, p.diameter2_m), std::make_tuple(0.2, 0.1));
}

TEST(Placement, StartPointStaysInsideThePlot) {
  RandomSource random(1);
  for (int i = 0; i < 100000; ++i) {
    const Placement p = place_piece(piece, 37, WindButton::none, 0, random);
    ASSERT_TRUE(p.x1 >= 0 && p.x1 < 37 && p.y1 >= 0 && p.y1 < 37) << p.x1 << ", " << p.y1;
  }
}

TEST(Wind, ForceFiveKeepsEveryAngleInItsSectorForAllEightButtons) {
  const int k_of_button[9] = {0, 9, 7, 5, 11, 1, 15, 13, 3};
  for (int b = 1; b <= 8; ++b) {
    const auto button = static_cast<WindButton>(b);
    ASSERT_EQ(sector_start(button), k_of_button[b]);
    const double low = pi_value * k_of_button[b] / 8, high = low + pi_value / 4;
    RandomSource random(100 + b);
    double smallest = 1e9, largest = -1e9;
    for (int i = 0; i < 20000; ++i) {
      const double a = wind_direction(button, 5, random);
      smallest = std::min(smallest, a);
      largest = std::max(largest, a);
    }
    // Inside the sector, and filling it: within 0.1% of either end.
    EXPECT_NEAR(smallest, low + 5e-4, 5e-4 + 1e-6) << b;
    EXPECT_NEAR(largest, high - 5e-4, 5e-4 + 1e-6) << b;
  }
}

TEST(Transect, CrossingIsStrictOnBothSides) {
  // An end on the transect crosses nothing; on odd L the transect is at 3.5.
  const struct {
    float x1;
    double x2;
    int side;
    bool crosses;
  } cases[] = {{50, 60, 100, false},
               {49.5f, 60, 100, true},
               {49.5f, 50, 100, false},
               {3, 3.5, 7, false},
               {3, 3.5000001, 7, true}};
  for (const auto& c : cases)
    EXPECT_EQ(crosses_transect(Placement{.x1 = c.x1, .x2 = c.x2}, c.side), c.crosses) << c.x1;
}

TEST(Transect, ExchangeSwapsEndsRoundingTheFarEndToSingleAndNeverChangesTheCrossing) {
  RandomSource random(9);
  int exchanged = 0;
  for (int i = 0; i < 2000; ++i) {
    Placement p{.x1 = 10, .y1 = 20, .x2 = 60.1, .y2 = 30.3};
    const bool before = crosses_transect(p, 100);
    exchange_ends(p, random);
    EXPECT_EQ(crosses_transect(p, 100), before);
    if (p.x1 != 10) {
      ++exchanged;
      EXPECT_EQ(std::tuple(p.x1, p.y1, p.x2, p.y2), std::tuple(60.1f, 30.3f, 10.0, 20.0));
    }
  }
  EXPECT_NEAR(exchanged, 1000, 5 * std::sqrt(500.0));
}

}  // namespace
}  // namespace quorvel
