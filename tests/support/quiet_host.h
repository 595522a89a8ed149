#pragma once
// A host of the runs that neither draws nor stops them, under a fixed wind.

#include "engine/run_host.h"

namespace quorvel::testing {

class QuietHost : public RunHost {
 public:
  explicit QuietHost(WindButton wind = WindButton::none) : wind_(wind) {}
  WindButton wind_choice() override { return wind_; }
  bool yield(const RunProgress&) override { return true; }
  WindButton wind_;
};

}  // namespace quorvel::testing
