#pragma once
// The mean and the sum of squared deviations of a stream of values, updated one value at a
// time (Welford's method): constant memory, and no loss of digits when the values lie far from
// zero compared with their spread.

#include <cstdint>
#include <optional>

namespace quorvel {

class RunningMoments {
 public:
  void add(double value) {
    ++count_;
    const double delta = value - mean_;
    mean_ += delta / static_cast<double>(count_);
    squared_deviations_ += delta * (value - mean_);
  }

  std::int64_t count() const { return count_; }
  double mean() const { return mean_; }                              // 0 before the first value
  double squared_deviations() const { return squared_deviations_; }  // sum of (x - mean)^2

  // The sample variance, sum of squares / (n - 1); absent below two values.
  std::optional<double> sample_variance() const {
    if (count_ < 2) return std::nullopt;
    return squared_deviations_ / static_cast<double>(count_ - 1);
  }

 private:
  std::int64_t count_ = 0;
  double mean_ = 0;
  double squared_deviations_ = 0;
};

}  // namespace quorvel
