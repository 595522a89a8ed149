#include "engine/crossing_probability.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "engine/refusal.h"
#include "engine/simulation_parameters.h"

namespace quorvel {

// The angle laws here use the true pi. The placement's pi_value lies 3e-15 below it, which
// moves the ends of a sector by less than 1e-14 rad: invisible at the accuracy below, and the
// true pi keeps the mirror images of the area's kinks exactly where the area repeats itself.
namespace {

constexpr double pi = std::numbers::pi;

// Each smooth stretch of the integrand is refined until halving it changes its integral by
// less than this fraction. The area is never negative, so the whole integral is at least as
// accurate, relatively, as every stretch.
constexpr double relative_tolerance = 1e-12;
constexpr int deepest_halving = 40;

// ---- Gauss-Legendre quadrature -------------------------------------------------------------

constexpr int gauss_points = 10;

struct GaussRule {
  std::array<double, gauss_points> nodes{};  // on -1..1
  std::array<double, gauss_points> weights{};
};

// The roots of the Legendre polynomial by Newton's method from the usual first guesses.
GaussRule legendre_rule() {
  GaussRule rule;
  const int n = gauss_points;
  for (int i = 0; i < n; ++i) {
    double x = std::cos(pi * (i + 0.75) / (n + 0.5));
    double derivative = 0;
    for (int iteration = 0; iteration < 100; ++iteration) {
      double p0 = 1, p1 = x;
      for (int j = 2; j <= n; ++j) {
        const double p2 = ((2 * j - 1) * x * p1 - (j - 1) * p0) / j;
        p0 = p1;
        p1 = p2;
      }
      derivative = n * (x * p1 - p0) / (x * x - 1);
      const double step = p1 / derivative;
      x -= step;
      if (std::abs(step) < 1e-16) break;
    }
    rule.nodes[i] = x;
    rule.weights[i] = 2 / ((1 - x * x) * derivative * derivative);
  }
  return rule;
}

const GaussRule& gauss_rule() {
  static const GaussRule rule = legendre_rule();
  return rule;
}

template <typename F>
double gauss_integral(const F& f, double from, double to) {
  const GaussRule& rule = gauss_rule();
  const double middle = (from + to) / 2, half_width = (to - from) / 2;
  double sum = 0;
  for (int i = 0; i < gauss_points; ++i)
    sum += rule.weights[i] * f(middle + half_width * rule.nodes[i]);
  return sum * half_width;
}

// Halves the stretch until the two halves agree with the whole; `whole` is the rule's value
// on the stretch, already computed by the caller.
template <typename F>
double adaptive_integral(const F& f, double from, double to, double whole, int depth) {
  const double middle = (from + to) / 2;
  const double left = gauss_integral(f, from, middle);
  const double right = gauss_integral(f, middle, to);
  const double refined = left + right;
  if (std::abs(refined - whole) <= relative_tolerance * std::abs(refined) ||
      depth >= deepest_halving)
    return refined;
  return adaptive_integral(f, from, middle, left, depth + 1) +
         adaptive_integral(f, middle, to, right, depth + 1);
}

// ---- Where the crossing area has kinks -----------------------------------------------------

// The angles between 0 and pi/2 at which the area changes its formula (see crossing_area):
// the edges of the quarter turn, where |cos| or |sin| has a corner; where the piece's reach
// across equals the half plot; where its reach along equals the plot's side; and where the
// half plot and the top-to-bottom limit meet, at a slope of 2.
std::vector<double> kinks_in_quarter_turn(double piece_length, double side) {
  const double half = side / 2;
  std::vector<double> kinks = {0, pi / 2, std::atan(2.0)};
  if (piece_length > half) kinks.push_back(std::acos(half / piece_length));
  if (piece_length > side) kinks.push_back(std::asin(side / piece_length));
  return kinks;
}

// The area depends only on |cos| and |sin|, so it repeats the quarter turn mirrored: a kink
// at phi recurs at m*pi + phi and m*pi - phi. Returns the ends and every kink inside from..to.
std::vector<double> stretch_ends(const std::vector<double>& kinks, double from, double to) {
  std::vector<double> ends = {from, to};
  const int first_turn = static_cast<int>(std::floor(from / pi)) - 1;
  const int last_turn = static_cast<int>(std::ceil(to / pi)) + 1;
  for (int m = first_turn; m <= last_turn; ++m)
    for (const double kink : kinks)
      for (const double angle : {m * pi + kink, m * pi - kink})
        if (angle > from && angle < to) ends.push_back(angle);
  std::sort(ends.begin(), ends.end());
  ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
  return ends;
}

// ---- The angle laws ------------------------------------------------------------------------

// The integral of the crossing area over the angles from..to, stretch by smooth stretch.
double area_integral(double piece_length, double transect_length, double from, double to) {
  const auto area = [&](double angle) {
    return crossing_area(piece_length, transect_length, angle);
  };
  const std::vector<double> ends =
      stretch_ends(kinks_in_quarter_turn(piece_length, transect_length), from, to);
  double sum = 0;
  for (std::size_t i = 0; i + 1 < ends.size(); ++i)
    sum += adaptive_integral(area, ends[i], ends[i + 1], gauss_integral(area, ends[i], ends[i + 1]),
                             0);
  return sum;
}

// Uniform over the circle: the area repeats every quarter turn (mirrored), so its mean over
// one quarter is its mean over the circle. A piece no longer than half the plot never meets
// the far half's edge nor leaves by the top or bottom before the transect: its area is
// l cos (L - l sin / 2) at every angle, whose mean over the quarter turn has the closed form
// (2 / pi) (L l - l^2 / 4). Most tallied pieces are such, and the integral costs a thousand
// times more.
double mean_area_uniform(double piece_length, double transect_length) {
  const double side = transect_length;
  if (piece_length <= side / 2)
    return 2 / pi * (side * piece_length - piece_length * piece_length / 4);
  return area_integral(piece_length, transect_length, 0, pi / 2) / (pi / 2);
}

// Uniform over the sector pi*k/8 .. pi*k/8 + pi/4 of a wind button.
double mean_area_in_sector(double piece_length, double transect_length, int k) {
  const double from = pi * k / 8;
  return area_integral(piece_length, transect_length, from, from + pi / 4) / (pi / 4);
}

// How often the wind's sector is used: force / 5, kept within 0..1, and never without a button.
double wind_share(WindButton wind, int wind_force) {
  if (wind == WindButton::none) return 0;
  return std::clamp(wind_force / 5.0, 0.0, 1.0);
}

}  // namespace

// A piece heading toward the transect from a start at distance u across from it (u up to L/2,
// on whichever side the piece points away from) reaches it when u < length * |cos|, and meets
// it at a height that has moved by u * |tan| from the start height. That meeting point must
// lie between the top and bottom edges, or the piece leaves the plot first and its far end is
// cut back before the transect: so at distance u a band of L - u * |tan| start heights
// crosses. The area is the integral of that band over u up to the farthest admissible start.
double crossing_area(double piece_length, double transect_length, double angle) {
  const double side = transect_length;
  const double across = std::abs(std::cos(angle));
  const double along = std::abs(std::sin(angle));
  if (across == 0) return 0;            // parallel to the transect: never on both sides of it
  const double drift = along / across;  // height change per metre across
  // Within the half plot on the start's side, and within the piece's reach across.
  double farthest = std::min(side / 2, std::abs(piece_length) * across);
  // Beyond L / drift no start height meets the transect before the top or bottom edge.
  if (drift * farthest > side) farthest = side / drift;
  return farthest * (side - drift * farthest / 2);
}

double crossing_probability(double piece_length, double transect_length, WindButton wind,
                            int wind_force) {
  // L, or the decimal length of a plot's one line, which is refused alike below a metre.
  if (!(transect_length >= 1))
    check_transect_length(transect_length > -32768 ? static_cast<int>(std::floor(transect_length))
                                                   : -32768);
  if (!std::isfinite(piece_length))
    throw Refused({.kind = RefusalKind::field_not_valid,
                   .field = InventoryField::length,
                   .found = std::to_string(piece_length)});
  const double length = std::abs(piece_length);
  const double share = wind_share(wind, wind_force);
  double mean_area = 0;
  if (share < 1) mean_area += (1 - share) * mean_area_uniform(length, transect_length);
  if (share > 0)
    mean_area += share * mean_area_in_sector(length, transect_length, sector_start(wind));
  const double side = transect_length;
  return mean_area / (side * side);
}

}  // namespace quorvel
