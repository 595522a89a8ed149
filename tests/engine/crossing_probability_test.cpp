// The exact crossing chance of one placement attempt, checked against closed forms derived by
// hand for every range of lengths and against long runs of the engine's own placement.

#include "crossing_probability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "border.h"
#include "debris_piece.h"
#include "input_error.h"
#include "placement.h"
#include "random_source.h"
#include "transect.h"
#include "wind.h"

namespace quorvel {
namespace {

constexpr double pi = std::numbers::pi;

// ---- Closed forms, uniform orientation --------------------------------------------------
//
// For a fixed angle with a = |cos|, b = |sin|, the starts that cross lie at a distance u across
// from the transect with u < min(L/2, length * a, L * a / b), and at distance u a band of
// L - u * b / a start heights meets the transect between the top and bottom edges. Averaging
// the area of that region over the angle gives, with c = L/2:
//
// length <= L/2: the reach length * a is always the limit, and
//   p = 2 length / (pi L) - length^2 / (2 pi L^2):
//   the classic 2 length / (pi L) less a relative edge effect of exactly length / (4 L).
double short_piece_probability(double length, double side) {
  return 2 * length / (pi * side) - length * length / (2 * pi * side * side);
}

// L/2 < length <= L: the half plot limits the angles below acos(c / length).
double middle_piece_probability(double length, double side) {
  const double c = side / 2;
  return 2 / (pi * side * side) *
         (side * c * std::acos(c / length) + c * c / 2 * std::log(c / length) + side * length -
          side * std::sqrt(length * length - c * c) - c * c / 4);
}

// L < length < L * sqrt(5) / 2: beyond asin(L / length) the top and bottom edges limit.
double long_piece_probability(double length, double side) {
  const double c = side / 2;
  const double sin_c = std::sqrt(1 - c * c / (length * length));  // at acos(c / length)
  const double sin_s = side / length;                              // at asin(L / length)
  return 2 / (pi * side * side) *
         (side * c * std::acos(c / length) + c * c / 2 * std::log(c / length) +
          side * length * (sin_s - sin_c) - length * length / 4 * (sin_s * sin_s - sin_c * sin_c) -
          side * side / 2 * std::log(sin_s));
}

// length >= L * sqrt(5) / 2, the distance from a corner to the far end of the transect: every
// start that could cross does, and the chance no longer depends on the length nor on L.
double saturated_probability() {
  return (std::atan(2.0) + 3 * std::log(5.0) / 8 - std::log(2.0)) / pi;
}

void expect_relatively_near(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::abs(expected));
}

TEST(CrossingProbabilityExact, ShortPiecesUniform) {
  for (const int side : {100, 37, 1, 2000})
    for (const double fraction : {1e-4, 0.01, 0.1, 0.3, 0.5}) {
      const double length = fraction * side;
      SCOPED_TRACE("L " + std::to_string(side) + ", length " + std::to_string(length));
      const double p = crossing_probability(length, side, WindButton::none, 0);
      expect_relatively_near(p, short_piece_probability(length, side), 1e-10);
      // The edge effect, relative to the classic chance, is exactly length / (4 L).
      const double classic = 2 * length / (pi * side);
      expect_relatively_near((classic - p) / classic, fraction / 4, 1e-6);
    }
}

TEST(CrossingProbabilityExact, LongPiecesUniform) {
  const double saturation = std::sqrt(5.0) / 2;  // in units of L
  for (const int side : {100, 37, 5}) {
    for (const double fraction : {0.5001, 0.6, 0.8, 0.99, 1.0}) {
      SCOPED_TRACE("L " + std::to_string(side) + ", length/L " + std::to_string(fraction));
      expect_relatively_near(crossing_probability(fraction * side, side, WindButton::none, 0),
                             middle_piece_probability(fraction * side, side), 1e-10);
    }
    for (const double fraction : {1.0001, 1.05, 1.1, saturation - 1e-4}) {
      SCOPED_TRACE("L " + std::to_string(side) + ", length/L " + std::to_string(fraction));
      expect_relatively_near(crossing_probability(fraction * side, side, WindButton::none, 0),
                             long_piece_probability(fraction * side, side), 1e-10);
    }
    // At and beyond the corner-to-transect-end distance, past the diagonal and far beyond it.
    for (const double fraction : {saturation, 1.2, std::sqrt(2.0), 1.5, 10.0, 1e6}) {
      SCOPED_TRACE("L " + std::to_string(side) + ", length/L " + std::to_string(fraction));
      expect_relatively_near(crossing_probability(fraction * side, side, WindButton::none, 0),
                             saturated_probability(), 1e-10);
    }
  }
}

TEST(CrossingProbabilityExact, ClosedFormsMeetAtTheirBorders) {
  // The three hand formulas must agree where their ranges meet, or one of them is wrong.
  const double side = 100;
  expect_relatively_near(middle_piece_probability(50, side), short_piece_probability(50, side),
                         1e-12);
  expect_relatively_near(long_piece_probability(100, side), middle_piece_probability(100, side),
                         1e-12);
  expect_relatively_near(long_piece_probability(side * std::sqrt(5.0) / 2, side),
                         saturated_probability(), 1e-12);
}

TEST(CrossingProbabilityExact, GrowsWithLengthUpToSaturation) {
  for (const int side : {100, 37}) {
    double previous = 0;
    for (double length = 0.25; length < 2 * side; length *= 1.07) {
      const double p = crossing_probability(length, side, WindButton::e, 3);
      EXPECT_GE(p, previous * (1 - 1e-12)) << "length " << length << ", L " << side;
      previous = p;
    }
  }
}

// ---- Closed forms under the wind --------------------------------------------------------
//
// For length <= L/2 the area at a fixed angle is L length a - length^2 a b / 2, so under any
// angle law p = (length / L) E[a] - (length^2 / (2 L^2)) E[a b]. For a 45-degree sector these
// means follow from the integrals of |cos| and |sin cos| over it; the eight sectors fall into
// four pairs half a turn apart, which lay pieces identically.
struct SectorMeans {
  WindButton button;
  double cos_mean;      // E|cos|
  double sin_cos_mean;  // E|sin cos|
};

std::vector<SectorMeans> sector_means() {
  const double quarter = pi / 4;
  const double s8 = std::sin(pi / 8), c8 = std::cos(pi / 8), r2 = std::sqrt(2.0);
  const double across = 2 * s8 / quarter;                 // within 22.5 degrees of the x axis
  const double along = 2 * (1 - c8) / quarter;            // within 22.5 degrees of the transect
  const double diagonal = (c8 - s8) / quarter;            // the diagonal sectors
  const double axis_sin_cos = (1 - r2 / 2) / 2 / quarter;
  const double diagonal_sin_cos = r2 / 4 / quarter;
  return {{WindButton::e, across, axis_sin_cos},      {WindButton::w, across, axis_sin_cos},
          {WindButton::n, along, axis_sin_cos},       {WindButton::s, along, axis_sin_cos},
          {WindButton::se, diagonal, diagonal_sin_cos}, {WindButton::nw, diagonal, diagonal_sin_cos},
          {WindButton::sw, diagonal, diagonal_sin_cos}, {WindButton::ne, diagonal, diagonal_sin_cos}};
}

double short_piece_probability(double length, double side, double cos_mean, double sin_cos_mean) {
  return length / side * cos_mean - length * length / (2 * side * side) * sin_cos_mean;
}

TEST(CrossingProbabilityExact, ShortPiecesInEveryWindSector) {
  const double uniform_cos = 2 / pi, uniform_sin_cos = 1 / pi;
  for (const SectorMeans& sector : sector_means())
    for (const int side : {100, 37})
      for (const double length : {0.5, 7.0, side / 2.0})
        for (const int force : {1, 2, 3, 4, 5}) {
          SCOPED_TRACE(std::string(wind_button_name(sector.button)) + ", force " +
                       std::to_string(force) + ", L " + std::to_string(side) + ", length " +
                       std::to_string(length));
          const double share = force / 5.0;
          const double expected =
              (1 - share) * short_piece_probability(length, side, uniform_cos, uniform_sin_cos) +
              share * short_piece_probability(length, side, sector.cos_mean, sector.sin_cos_mean);
          expect_relatively_near(
              crossing_probability(length, side, sector.button, force), expected, 1e-10);
        }
}

TEST(CrossingProbabilityExact, WindAlongTheTransectLowersAndAcrossRaisesByTheCosineMean) {
  // For short pieces the ratio to the uniform chance is E|cos| of the sector over 2/pi, up to
  // the edge effects: (1 - eps E|sin cos| / E|cos|) / (1 - eps / 2) with eps = length / (2 L),
  // within 1.5 eps of 1 for these sectors. Allow 2 eps.
  const double side = 100, length = 1;
  const double eps = length / (2 * side);
  const double uniform = crossing_probability(length, side, WindButton::none, 0);
  for (const SectorMeans& sector : sector_means()) {
    const double ratio = crossing_probability(length, side, sector.button, 5) / uniform;
    const double cosine_ratio = sector.cos_mean / (2 / pi);
    EXPECT_NEAR(ratio / cosine_ratio, 1, 2 * eps) << wind_button_name(sector.button);
  }
  EXPECT_NEAR(crossing_probability(length, side, WindButton::n, 5) / uniform, 0.3045, 0.0045);
  EXPECT_NEAR(crossing_probability(length, side, WindButton::e, 5) / uniform, 1.5307, 0.0045);
  EXPECT_NEAR(crossing_probability(length, side, WindButton::w, 5) / uniform, 1.5307, 0.0045);
}

TEST(CrossingProbabilityExact, WindForceIsClampedAndNeedsAButton) {
  const double uniform = crossing_probability(20, 100, WindButton::none, 0);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 0), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, -3), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::none, 5), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 7),
            crossing_probability(20, 100, WindButton::n, 5));
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 32767),
            crossing_probability(20, 100, WindButton::n, 5));
}

TEST(CrossingProbabilityExact, DegenerateAndInvalidInput) {
  EXPECT_EQ(crossing_probability(0, 100, WindButton::none, 0), 0);
  EXPECT_EQ(crossing_probability(0, 100, WindButton::ne, 5), 0);
  // Laid backwards from its start, a piece crosses exactly as often.
  EXPECT_EQ(crossing_probability(-30, 100, WindButton::se, 3),
            crossing_probability(30, 100, WindButton::se, 3));
  EXPECT_THROW(crossing_probability(1, 0, WindButton::none, 0), InputError);
  EXPECT_THROW(crossing_probability(1, -100, WindButton::none, 0), InputError);
  EXPECT_THROW(crossing_probability(NAN, 100, WindButton::none, 0), InputError);
  EXPECT_THROW(crossing_probability(INFINITY, 100, WindButton::none, 0), InputError);
}

// ---- The area at one angle --------------------------------------------------------------

TEST(CrossingArea, AcrossTheTransectAndAlongIt) {
  // Straight across, the whole height of a band as wide as the piece (or the half plot) crosses.
  EXPECT_DOUBLE_EQ(crossing_area(10, 100, 0), 10 * 100);
  EXPECT_DOUBLE_EQ(crossing_area(10, 100, pi), 10 * 100);
  EXPECT_DOUBLE_EQ(crossing_area(80, 100, 0), 50 * 100);
  EXPECT_DOUBLE_EQ(crossing_area(80, 37, 0), 18.5 * 37);
  // Along the transect nothing crosses.
  EXPECT_NEAR(crossing_area(80, 100, pi / 2), 0, 1e-9);
  EXPECT_NEAR(crossing_area(80, 100, 3 * pi / 2), 0, 1e-9);
}

// The engine's own attempt at a fixed angle: start uniform on the plot, border, exchange of
// the ends, crossing test.
double engine_crossing_rate_at_angle(double length, int side, float angle, int attempts,
                                     std::uint64_t seed) {
  RandomSource random(seed);
  const float fside = static_cast<float>(side);
  int crossed = 0;
  for (int i = 0; i < attempts; ++i) {
    Placement p;
    p.x1 = random.draw() * fside;
    p.y1 = random.draw() * fside;
    p.angle = angle;
    p.x2 = p.x1 + length * std::cos(static_cast<double>(angle));
    p.y2 = p.y1 + length * std::sin(static_cast<double>(angle));
    border(p, side);
    exchange_ends(p, random);
    crossed += crosses_transect(p, side);
  }
  return static_cast<double>(crossed) / attempts;
}

TEST(CrossingArea, MatchesTheEnginesBorderAndCrossingTest) {
  // Angles in all four quadrants, on both sides of the slope-2 kink, steep ones that leave
  // through the top or bottom edge; pieces short, past the half plot, past the diagonal.
  const int attempts = 40000;
  std::uint64_t seed = 11;
  for (const int side : {100, 37})
    for (const double length : {0.3 * side, 0.7 * side, 1.1 * side, 1.6 * side})
      for (const float angle : {0.3f, 1.05f, 1.16f, 1.45f, 2.2f, 4.0f, 5.9f}) {
        const double p = crossing_area(length, side, angle) / (double(side) * side);
        const double rate = engine_crossing_rate_at_angle(length, side, angle, attempts, ++seed);
        const double sigma = std::sqrt(p * (1 - p) / attempts);
        EXPECT_NEAR(rate, p, 5 * sigma + 1e-12)
            << "L " << side << ", length " << length << ", angle " << angle;
      }
}

// ---- Against the engine's placement -----------------------------------------------------

struct PlacementCase {
  double length;
  int side;
  WindButton wind;
  int force;
};

std::string describe(const PlacementCase& c) {
  return "length " + std::to_string(c.length) + ", L " + std::to_string(c.side) + ", wind " +
         wind_button_name(c.wind) + ", force " + std::to_string(c.force);
}

// The share of the engine's attempts that cross: placement, border, exchange, crossing test.
double engine_crossing_rate(const PlacementCase& c, int attempts, std::uint64_t seed) {
  RandomSource random(seed);
  DebrisPiece piece;
  piece.piece_length = c.length;
  int crossed = 0;
  for (int i = 0; i < attempts; ++i) {
    Placement p = place_piece(piece, c.side, c.wind, c.force, random);
    border(p, c.side);
    exchange_ends(p, random);
    crossed += crosses_transect(p, c.side);
  }
  return static_cast<double>(crossed) / attempts;
}

// Tolerance: 5 binomial standard errors, so a fixed seed that passes is no accident and a
// wrong law (a sector misplaced by 45 degrees, a force share off by a fifth) is caught.
void expect_engine_agrees(const PlacementCase& c, int attempts, std::uint64_t seed) {
  const double p = crossing_probability(c.length, c.side, c.wind, c.force);
  const double rate = engine_crossing_rate(c, attempts, seed);
  const double sigma = std::sqrt(p * (1 - p) / attempts);
  EXPECT_NEAR(rate, p, 5 * sigma) << describe(c);
}

TEST(CrossingProbabilityAgainstPlacement, UniformShortAndLongPiecesOddPlot) {
  std::uint64_t seed = 100;
  for (const PlacementCase& c : std::vector<PlacementCase>{{4, 100, WindButton::none, 0},
                                                           {30, 100, WindButton::none, 0},
                                                           {70, 100, WindButton::none, 0},
                                                           {160, 100, WindButton::none, 0},
                                                           {3, 37, WindButton::none, 0},
                                                           {25, 37, WindButton::none, 0},
                                                           {45, 37, WindButton::none, 0},
                                                           {60, 37, WindButton::none, 0},
                                                           {900, 37, WindButton::none, 0}})
    expect_engine_agrees(c, 200000, ++seed);
}

TEST(CrossingProbabilityAgainstPlacement, EverySectorAtFullForce) {
  std::uint64_t seed = 200;
  for (int b = 1; b <= 8; ++b) {
    const auto wind = static_cast<WindButton>(b);
    expect_engine_agrees({10, 100, wind, 5}, 200000, ++seed);
    expect_engine_agrees({70, 100, wind, 5}, 100000, ++seed);
    expect_engine_agrees({25, 37, wind, 5}, 100000, ++seed);
    expect_engine_agrees({60, 37, wind, 5}, 100000, ++seed);
  }
}

TEST(CrossingProbabilityAgainstPlacement, PartialForcesMixTheLaws) {
  std::uint64_t seed = 300;
  for (const int force : {1, 2, 3, 4}) {
    expect_engine_agrees({10, 100, WindButton::n, force}, 200000, ++seed);
    expect_engine_agrees({70, 100, WindButton::e, force}, 100000, ++seed);
    expect_engine_agrees({45, 37, WindButton::sw, force}, 100000, ++seed);
  }
  expect_engine_agrees({10, 100, WindButton::n, 7}, 200000, ++seed);
  expect_engine_agrees({10, 100, WindButton::n, -3}, 200000, ++seed);
  expect_engine_agrees({10, 100, WindButton::none, 5}, 200000, ++seed);
}

}  // namespace
}  // namespace quorvel
