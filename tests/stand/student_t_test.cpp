#include "stand/student_t.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace quorvel {
namespace {

// References to 21 digits from tools/t_quantile_reference.py (60-digit decimal arithmetic,
// Stirling's series and the power series of the incomplete beta function, bisection), for the
// exact double values of probability and degrees of freedom used here. They agree with the
// printed tables: t(0.975; 1) = 12.7062047361747, t(0.975; 30) = 2.04227245630124, ...
TEST(StudentT, QuantilesMatchTheReferenceToFourteenDigits) {
  const struct {
    double probability, df;
    double expected;
  } cases[] = {
      {0.975, 1, 12.70620473617469331410},
      {0.975, 2, 4.30265272974946178942},
      {0.975, 10, 2.22813885198627422452},
      {0.975, 30, 2.04227245630123788783},
      // Fractional degrees of freedom, as Satterthwaite's formula gives them.
      {0.975, 2.5, 3.57465484200368176068},
      {0.975, 7.3, 2.34506673654770305192},
      {0.975, 50.0 / 41, 8.39401868894752195448},
      {0.975, 169.0 / 97, 4.97403092231847975972},
      // Many degrees of freedom: on both sides of the switch to Fisher's expansion (between 1000
      // and 2000 at 0.975, 2000 and 5000 at 0.9999).
      {0.975, 1000, 1.96233908082640810389},
      {0.975, 2000, 1.96115082609943765003},
      {0.975, 1000000, 1.95996635681410665534},
      {0.9999, 2000, 3.72592256619989983641},
      {0.9999, 5000, 3.72177616833680584010},
      // Other probabilities, the lower half by symmetry, and heavy tails.
      {0.995, 3, 5.84090930973335541126},
      {0.9, 6, 1.43975574726514857571},
      {0.6, 2.5, 0.28145951274854759175},
      {0.025, 7.3, -2.34506673654770305192},
      {0.999999, 1.5, 5219.46932460688625038594},
      {0.99, 0.5, 1028.49101047162008875647},
      {0.75, 0.2, 7.68138994653179204346},
  };
  for (const auto& c : cases) {
    const double t = student_t_quantile(c.probability, c.df);
    EXPECT_NEAR(t, c.expected, 1e-14 * std::abs(c.expected))
        << "p " << c.probability << ", df " << c.df;
  }
}

TEST(StudentT, ClosedFormsForOneAndTwoDegreesOfFreedom) {
  // For an upper tail q: df 1 (Cauchy) t = 1 / tan(pi q), df 2 t = (1 - 2q) / sqrt(2q (1 - q)).
  // Tails of powers of two keep p = 1 - q exact; below 1/2 the quantile is the mirror image.
  for (const double q : {0.375, 0.25, 0.125, 0x1p-5, 0x1p-10, 0x1p-20}) {
    const double cauchy = 1 / std::tan(std::numbers::pi * q);
    const double two = (1 - 2 * q) / std::sqrt(2 * q * (1 - q));
    EXPECT_NEAR(student_t_quantile(1 - q, 1), cauchy, 1e-14 * cauchy) << q;
    EXPECT_NEAR(student_t_quantile(1 - q, 2), two, 1e-14 * two) << q;
    EXPECT_EQ(student_t_quantile(q, 1), -student_t_quantile(1 - q, 1)) << q;
  }
  EXPECT_EQ(student_t_quantile(0.5, 4), 0);
}

TEST(StudentT, RefusesWhatHasNoQuantile) {
  for (const auto& [p, df] : {std::pair{0.0, 3.0},
                              {1.0, 3.0},
                              {0.9, 0.0},
                              {0.9, -1.0},
                              {0.9, INFINITY},
                              {NAN, 3.0},
                              {0.9, NAN}})
    EXPECT_THROW(student_t_quantile(p, df), std::domain_error) << p << " " << df;
}

}  // namespace
}  // namespace quorvel
