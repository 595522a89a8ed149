#pragma once
// Quantiles of Student's t distribution, for the confidence intervals of means over a few
// plots. Any positive degrees of freedom: Satterthwaite's effective degrees of freedom of a
// stratified mean are fractional.

namespace quorvel {

// The t with P(T <= t) = probability, for 0 < probability < 1 and finite degrees of freedom
// above 0; relative error about 1e-14 (infinity where the quantile lies beyond the doubles, as
// it may for df far below 1). Throws std::domain_error outside that range.
double student_t_quantile(double probability, double degrees_of_freedom);

}  // namespace quorvel
