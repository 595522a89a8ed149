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
#include "placement.h"
#include "random_source.h"
#include "refusal.h"
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
// that area over the angle gives, with c = L/2, one formula per range of lengths.

// length <= L/2: the reach length * a is always the limit.
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
  const double sin_s = side / length;                             // at asin(L / length)
  return 2 / (pi * side * side) *
         (side * c * std::acos(c / length) + c * c / 2 * std::log(c / length) +
          side * length * (sin_s - sin_c) - length * length / 4 * (sin_s * sin_s - sin_c * sin_c) -
          side * side / 2 * std::log(sin_s));
}

// length >= L * sqrt(5) / 2, a corner's distance to the far end of the transect: every start
// that could cross does, whatever the length and L.
double saturated_probability() {
  return (std::atan(2.0) + 3 * std::log(5.0) / 8 - std::log(2.0)) / pi;
}

double uniform_closed_form(double fraction, double side) {
  const double length = fraction * side;
  if (fraction <= 0.5) return short_piece_probability(length, side);
  if (fraction <= 1) return middle_piece_probability(length, side);
  if (fraction < std::sqrt(5.0) / 2) return long_piece_probability(length, side);
  return saturated_probability();
}

void expect_relatively_near(double actual, double expected, double tolerance) {
  EXPECT_NEAR(actual, expected, tolerance * std::abs(expected));
}

TEST(CrossingProbabilityExact, UniformOrientationInEveryRangeOfLengths) {
  const double saturation = std::sqrt(5.0) / 2;  // in units of L
  for (const int side : {100, 37, 5, 2000})
    for (const double fraction : {1e-4, 0.1, 0.5, 0.5001, 0.8, 1.0, 1.0001, 1.1, saturation - 1e-4,
                                  saturation, std::sqrt(2.0), 10.0, 1e6}) {
      SCOPED_TRACE("L " + std::to_string(side) + ", length/L " + std::to_string(fraction));
      expect_relatively_near(crossing_probability(fraction * side, side, WindButton::none, 0),
                             uniform_closed_form(fraction, side), 1e-10);
    }
  // The hand formulas must meet where their ranges meet, or one of them is wrong.
  EXPECT_NEAR(middle_piece_probability(50, 100), short_piece_probability(50, 100), 1e-13);
  EXPECT_NEAR(long_piece_probability(100, 100), middle_piece_probability(100, 100), 1e-13);
  EXPECT_NEAR(long_piece_probability(50 * std::sqrt(5.0), 100), saturated_probability(), 1e-13);
}

// For length <= L/2 the area at a fixed angle is L length a - length^2 a b / 2, so under any
// angle law p = (length / L) E[a] - (length^2 / (2 L^2)) E[a b]. For a 45-degree sector these
// means follow from the integrals of |cos| and |sin cos| over it; the eight sectors fall into
// four pairs half a turn apart, which lay pieces identically.
TEST(CrossingProbabilityExact, ShortPiecesInEveryWindSectorAndForce) {
  const double quarter = pi / 4, s8 = std::sin(pi / 8), c8 = std::cos(pi / 8);
  const double across = 2 * s8 / quarter, along = 2 * (1 - c8) / quarter,
               diagonal = (c8 - s8) / quarter;
  const double axis_sin_cos = (1 - std::sqrt(2.0) / 2) / 2 / quarter,
               diagonal_sin_cos = std::sqrt(2.0) / 4 / quarter;
  const struct {
    WindButton button;
    double cos_mean, sin_cos_mean;
  } sectors[] = {
      {WindButton::e, across, axis_sin_cos},        {WindButton::w, across, axis_sin_cos},
      {WindButton::n, along, axis_sin_cos},         {WindButton::s, along, axis_sin_cos},
      {WindButton::se, diagonal, diagonal_sin_cos}, {WindButton::nw, diagonal, diagonal_sin_cos},
      {WindButton::sw, diagonal, diagonal_sin_cos}, {WindButton::ne, diagonal, diagonal_sin_cos}};
  const auto law = [](double length, double side, double cos_mean, double sin_cos_mean) {
    return length / side * cos_mean - length * length / (2 * side * side) * sin_cos_mean;
  };
  for (const auto& sector : sectors)
    for (const int side : {100, 37})
      for (const double length : {0.5, 7.0, side / 2.0})
        for (const int force : {1, 3, 5}) {
          SCOPED_TRACE(std::string(wind_button_name(sector.button)) + ", force " +
                       std::to_string(force) + ", L " + std::to_string(side) + ", length " +
                       std::to_string(length));
          const double share = force / 5.0;
          const double expected = (1 - share) * law(length, side, 2 / pi, 1 / pi) +
                                  share * law(length, side, sector.cos_mean, sector.sin_cos_mean);
          expect_relatively_near(crossing_probability(length, side, sector.button, force), expected,
                                 1e-10);
        }
}

TEST(CrossingProbabilityExact, ForceIsClampedNeedsAButtonAndInputIsChecked) {
  const double uniform = crossing_probability(20, 100, WindButton::none, 0);
  const double full = crossing_probability(20, 100, WindButton::n, 5);
  EXPECT_NE(full, uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 0), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, -3), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::none, 5), uniform);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 7), full);
  EXPECT_EQ(crossing_probability(20, 100, WindButton::n, 32767), full);

  EXPECT_EQ(crossing_probability(0, 100, WindButton::ne, 5), 0);
  // Laid backwards from its start, a piece crosses exactly as often.
  EXPECT_EQ(crossing_probability(-30, 100, WindButton::se, 3),
            crossing_probability(30, 100, WindButton::se, 3));
  for (const double bad_length : {double(NAN), double(INFINITY)})
    EXPECT_THROW(crossing_probability(bad_length, 100, WindButton::none, 0), Refused);
  for (const int bad_side : {0, -100})
    EXPECT_THROW(crossing_probability(1, bad_side, WindButton::none, 0), Refused);
}

// ---- Against the engine's placement ------------------------------------------------------

TEST(CrossingProbability, MatchesTheEnginesPlacementUnderEveryLaw) {
  struct Case {
    double length;
    int side;
    WindButton wind;
    int force;
  };
  // Uniform in every range of lengths; every sector at full force; partial forces mixing the
  // laws; forces beyond the range and a force without a button.
  std::vector<Case> cases = {{4, 100, WindButton::none, 0},   {30, 100, WindButton::none, 0},
                             {70, 100, WindButton::none, 0},  {105, 100, WindButton::none, 0},
                             {160, 100, WindButton::none, 0}, {25, 37, WindButton::none, 0},
                             {900, 37, WindButton::none, 0},  {70, 100, WindButton::e, 2},
                             {45, 37, WindButton::sw, 3},     {10, 100, WindButton::n, 7},
                             {10, 100, WindButton::n, -3},    {10, 100, WindButton::none, 5}};
  for (int button = 1; button <= 8; ++button) {
    cases.push_back({10, 100, static_cast<WindButton>(button), 5});
    cases.push_back({60, 37, static_cast<WindButton>(button), 5});
  }
  for (const int force : {1, 2, 3, 4}) cases.push_back({10, 100, WindButton::n, force});

  // Placement, border, exchange of the ends and crossing test as in a run. The tolerance of
  // five binomial standard errors means that a fixed seed that passes is no accident, and a
  // wrong law (a sector misplaced by 45 degrees, a force share off by a fifth) is caught.
  const int attempts = 200000;
  std::uint64_t seed = 100;
  for (const Case& c : cases) {
    RandomSource random(++seed);
    DebrisPiece piece;
    piece.piece_length = c.length;
    int crossed = 0;
    for (int i = 0; i < attempts; ++i) {
      Placement p = place_piece(piece, c.side, c.wind, c.force, random);
      border(p, c.side);
      exchange_ends(p, random);
      crossed += crosses_transect(p, c.side);
    }
    const double p = crossing_probability(c.length, c.side, c.wind, c.force);
    EXPECT_NEAR(static_cast<double>(crossed) / attempts, p, 5 * std::sqrt(p * (1 - p) / attempts))
        << "length " << c.length << ", L " << c.side << ", wind " << wind_button_name(c.wind)
        << ", force " << c.force;
  }
}

}  // namespace
}  // namespace quorvel
