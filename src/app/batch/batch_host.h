#pragma once
// The batch front end's side of a Start: a fixed wind, no drawing, an interrupt that cancels,
// progress on a terminal, the optional trace of every attempt, and the stock report prepared
// when model 1 is ready.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "report_file.h"
#include "run_host.h"

namespace quorvel {

class BatchHost : public RunHost {
 public:
  struct Setup {
    WindButton wind = WindButton::none;
    const std::atomic<bool>* interrupted = nullptr;  // set by SIGINT; cancels the Start
    std::FILE* progress = nullptr;                   // a terminal, or null for silence
    std::FILE* trace = nullptr;                      // the CSV of every attempt, or null
    std::string label;                               // the inventory, in progress lines
    // Called with model 1: returns the stock report to keep until the runs succeed.
    std::function<std::optional<PendingReport>(const Model1Result&)> stock_report;
  };

  explicit BatchHost(Setup setup);

  WindButton wind_choice() override { return setup_.wind; }
  bool yield(const RunProgress& progress) override;
  bool traces() const override { return setup_.trace != nullptr; }
  void trace_attempt(const AttemptTrace& attempt) override;
  void model1_ready(const Model1Result& model1) override;

  // The stock report prepared at model1_ready, if any.
  std::optional<PendingReport> take_stock_report() { return std::move(stock_report_); }

 private:
  void show_progress(const RunProgress& progress);

  Setup setup_;
  std::optional<PendingReport> stock_report_;
  std::string trace_line_;
  std::uint32_t countdown_ = 0;
  std::chrono::steady_clock::time_point next_progress_{};
};

}  // namespace quorvel
