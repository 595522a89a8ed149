#include "stand/student_t.h"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quorvel {

namespace {

constexpr double half_log_two_pi = 0.918938533204672741780329736406;

// lgamma(z) - ((z - 1/2) ln z - z + ln(2 pi) / 2) by Stirling's series, for z >= 10, where
// the terms left out stay below 3e-17.
double stirling_remainder(double z) {
  const double r = 1 / z;
  const double r2 = r * r;
  return r * (1.0 / 12 -
              r2 * (1.0 / 360 -
                    r2 * (1.0 / 1260 -
                          r2 * (1.0 / 1680 -
                                r2 * (1.0 / 1188 - r2 * (691.0 / 360360 - r2 * (1.0 / 156)))))));
}

// ln B(a, b). Differences of large log-gammas lose digits, so from 10 up the leading terms are
// taken together by hand and only the small remainders are subtracted.
double log_beta(double a, double b) {
  if (a < b) std::swap(a, b);
  if (a < 10) return std::lgamma(a) + std::lgamma(b) - std::lgamma(a + b);
  const double sum = a + b;
  const double remainders = stirling_remainder(a) - stirling_remainder(sum);
  if (b < 10)
    return std::lgamma(b) - (a - 0.5) * std::log1p(b / a) - b * std::log(sum) + b + remainders;
  return half_log_two_pi + (a - 0.5) * std::log1p(-b / sum) + (b - 0.5) * std::log(b / sum) -
         0.5 * std::log(sum) + stirling_remainder(b) + remainders;
}

// The continued fraction of I_x(a, b) (modified Lentz), which converges quickly for
// x < (a + 1) / (a + b + 2).
double beta_fraction(double a, double b, double x, double y) {
  constexpr double tiny = 1e-300;
  constexpr double epsilon = std::numeric_limits<double>::epsilon();
  const auto guarded = [](double v) { return std::abs(v) < tiny ? tiny : v; };
  double c = 1;
  double d = 1 / guarded((1 - b + (a + b) * y) / (a + 1));
  double h = d;
  for (int m = 1; m <= 100000; ++m) {
    const double m2 = 2.0 * m;
    double step = m * (b - m) * x / ((a - 1 + m2) * (a + m2));
    d = 1 / guarded(1 + step * d);
    c = guarded(1 + step / c);
    h *= d * c;
    step = -(a + m) * (a + b + m) * x / ((a + m2) * (a + 1 + m2));
    d = 1 / guarded(1 + step * d);
    c = guarded(1 + step / c);
    const double factor = d * c;
    h *= factor;
    if (std::abs(factor - 1) <= epsilon) break;
  }
  return h;
}

// The density of t with df degrees of freedom.
double student_t_density(double t, double df) {
  return std::exp(-log_beta(df / 2, 0.5) - 0.5 * std::log(df) -
                  (df + 1) / 2 * std::log1p(t * t / df));
}

// Solves upper_tail(t) = tail for t >= 0, where the upper tail is convex and falling: brackets
// the root by doubling, then takes Newton steps, halving the bracket instead whenever a step
// would leave it.
template <typename UpperTail, typename Density>
double upper_tail_root(double tail, UpperTail upper_tail, Density density) {
  double low = 0;
  double high = 1;
  while (upper_tail(high) > tail) {
    low = high;
    high *= 2;
    if (std::isinf(high)) return high;  // beyond the doubles, with df far below 1
  }
  double t = high;
  for (int i = 0; i < 200; ++i) {
    const double excess = upper_tail(t) - tail;
    if (excess == 0) break;
    if (excess > 0) {
      low = t;
    } else {
      high = t;
    }
    double next = t + excess / density(t);
    if (!(next > low && next < high)) next = low + (high - low) / 2;
    const bool settled = std::abs(next - t) <= 4 * std::numeric_limits<double>::epsilon() * t;
    t = next;
    if (settled) break;
  }
  return t;
}

double normal_upper_tail(double z) { return 0.5 * std::erfc(z / std::numbers::sqrt2); }

double normal_density(double z) {
  return std::exp(-0.5 * z * z) * (0.5 * std::numbers::inv_sqrtpi * std::numbers::sqrt2);
}

// The terms g_k(z) / df^k, k = 1..4, of Fisher's expansion of the t quantile around the normal
// quantile z (Abramowitz & Stegun, Handbook of Mathematical Functions, 26.7.5).
std::array<double, 4> fisher_terms(double z, double df) {
  const double z2 = z * z;
  const double g1 = (z2 + 1) * z / 4;
  const double g2 = ((5 * z2 + 16) * z2 + 3) * z / 96;
  const double g3 = (((3 * z2 + 19) * z2 + 17) * z2 - 15) * z / 384;
  const double g4 = ((((79 * z2 + 776) * z2 + 1482) * z2 - 1920) * z2 - 945) * z / 92160;
  return {g1 / df, g2 / (df * df), g3 / (df * df * df), g4 / (df * df * df * df)};
}

// P(T > t) for t >= 0. Accurate to about df/2 units in the last place: for many degrees of
// freedom the quantile takes another way.
double student_t_upper_tail(double t, double df) {
  // P(T > t) = I_x(df/2, 1/2) / 2 with x = df / (df + t^2). ln x is taken as -log1p(t^2/df) and
  // 1 - x as t^2 / (df + t^2), both without cancellation, since df/2 multiplies ln x.
  const double t2 = t * t;
  const double a = df / 2;
  const double b = 0.5;
  const double x = df / (df + t2);
  const double y = t2 / (df + t2);
  const double front = std::exp(-a * std::log1p(t2 / df) + b * std::log(y) - log_beta(a, b));
  const double beta = x < (a + 1) / (a + b + 2) ? front * beta_fraction(a, b, x, y) / a
                                                : 1 - front * beta_fraction(b, a, y, x) / b;
  return beta / 2;
}

}  // namespace

double student_t_quantile(double probability, double df) {
  if (!(probability > 0 && probability < 1) || !(df > 0) || !std::isfinite(df))
    throw std::domain_error("Student t quantile: probability in (0, 1), df above 0");
  if (probability == 0.5) return 0;
  const double tail = probability < 0.5 ? probability : 1 - probability;
  // With many degrees of freedom the continued fraction loses about df/2 units in the last
  // place, while Fisher's expansion around the normal quantile gains accuracy: take it when its
  // first omitted term, estimated from the last two kept, is below the rounding error.
  const double z = upper_tail_root(tail, normal_upper_tail, normal_density);
  const std::array<double, 4> terms = fisher_terms(z, df);
  double t = z;
  for (double term : terms) t += term;
  const double omitted = std::abs(terms[3] * terms[3] / terms[2]);
  if (!(omitted < 0.25 * std::numeric_limits<double>::epsilon() * t)) {
    t = upper_tail_root(
        tail, [df](double v) { return student_t_upper_tail(v, df); },
        [df](double v) { return student_t_density(v, df); });
  }
  return probability < 0.5 ? -t : t;
}

}  // namespace quorvel
