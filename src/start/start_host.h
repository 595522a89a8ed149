#pragma once
// What a whole Start asks of its front end beyond the runs: a word when the exact expectation
// is known, and whether the reports are wanted, asked anew before each of them.

#include "engine/expectation.h"
#include "engine/run_host.h"

namespace quorvel {

class StartHost : public RunHost {
 public:
  // The exact expectation of model 2, before model 1 and the runs: what the runs come to.
  virtual void expectation_ready(const Model2Expectation& /*expectation*/) {}
  // Asked before the runs for the stock report and after them for the estimate report: the
  // window's report box stays live during the runs.
  virtual bool reports_wanted() { return false; }
};

}  // namespace quorvel
