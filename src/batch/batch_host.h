#pragma once
// The batch front end's side of a Start: a fixed wind, no drawing, an interrupt that cancels,
// progress on a terminal, the optional trace of every attempt, and the reports unless
// --no-reports.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>

#include "start/start_host.h"

namespace quorvel {

// Why a batch ends before its last plot: a signal (Ctrl+C, SIGTERM, SIGHUP) sets `interrupted`,
// a standard output that can no longer be written sets `output_failed`. Workers, the Start's
// runs and the writing of the outputs all look at it.
struct BatchStop {
  const std::atomic<bool>* interrupted = nullptr;
  std::atomic<bool> output_failed{false};

  bool was_interrupted() const noexcept {
    return interrupted && interrupted->load(std::memory_order_relaxed);
  }
  bool operator()() const noexcept {
    return was_interrupted() || output_failed.load(std::memory_order_relaxed);
  }
};

class BatchHost : public StartHost {
 public:
  struct Setup {
    WindButton wind = WindButton::none;
    const BatchStop* stop = nullptr;  // cancels the Start at the next look
    std::FILE* progress = nullptr;    // a terminal, or null for silence
    std::FILE* trace = nullptr;       // the CSV of every attempt, or null
    std::string label;                // the inventory, in progress lines
    bool reports = false;             // the two reports are wanted
  };

  explicit BatchHost(Setup setup);

  WindButton wind_choice() override { return setup_.wind; }
  bool yield(const RunProgress& progress) override;
  bool traces() const override { return setup_.trace != nullptr; }
  void trace_attempt(const AttemptTrace& attempt) override;
  bool reports_wanted() override { return setup_.reports; }
  // The system's reason the trace could first not be written (ENOSPC, say), 0 while it could:
  // the stream keeps only that it failed, not why.
  int trace_error() const { return trace_error_; }

 private:
  void show_progress(const RunProgress& progress);

  Setup setup_;
  std::string trace_line_;
  int trace_error_ = 0;
  std::uint32_t countdown_ = 0;
  std::chrono::steady_clock::time_point next_progress_{};
};

}  // namespace quorvel
