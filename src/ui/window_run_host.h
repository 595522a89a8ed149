#pragma once
// The window's side of a Start: it reads the wind buttons at every attempt, draws into the
// plot window, shows model 1 when it is ready, and lets the window live during the runs by
// handling pending events about once a millisecond and repainting a few dozen times a second.

#include <QElapsedTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "start/start_host.h"
#include "ui/plot_window.h"

namespace quorvel {

class WindowRunHost final : public StartHost {
 public:
  struct Hooks {
    std::function<WindButton()> wind{};                                 // the buttons now
    std::function<void(const Model1Result&)> model1_ready{};            // before the runs
    std::function<void(const RunProgress&)> progress{};                 // at every repaint
    std::function<void(const Model2Expectation&)> expectation_ready{};  // before model 1
    std::function<bool()> reports_wanted{};                             // the report box now
    // Set as the plot is shown, so that the plot and its transect stand from the Start on,
    // before the first attempt and for an inventory without pieces too.
    std::optional<PlotFrame> frame{};
  };

  WindowRunHost(PlotWindow& plot, Hooks hooks);

  // The Start stops at the next attempt (cancel, Finish, closing the window).
  void request_stop() { stop_requested_ = true; }
  bool stop_requested() const { return stop_requested_; }

  // Attempts made under each wind button (index 0: none selected).
  const std::array<std::int64_t, 9>& attempts_by_wind() const { return attempts_by_wind_; }
  // More than one button was in force during the runs.
  bool wind_changed() const;
  // Time from the first attempt until now.
  double seconds_of_runs() const { return clock_.isValid() ? clock_.nsecsElapsed() / 1e9 : 0; }

  WindButton wind_choice() override;
  bool yield(const RunProgress& progress) override;
  bool draws() const override { return true; }
  void set_scale(float height, float width) override;
  void show_plot() override;
  void clear_plot() override;
  void draw_plot_frame(const PlotFrame& frame) override;
  void draw_piece(const PieceDrawing& piece) override;
  void model1_ready(const Model1Result& model1) override;
  void expectation_ready(const Model2Expectation& expectation) override;
  bool reports_wanted() override;

  // Events are handled when this much time has passed since the last time, the picture and
  // the progress repainted at this interval.
  static constexpr std::int64_t events_interval_ns = 1'000'000;
  static constexpr std::int64_t repaint_interval_ns = 25'000'000;

 private:
  void keep_window_alive(const RunProgress& progress);

  PlotWindow& plot_;
  Hooks hooks_;
  QElapsedTimer clock_;
  std::int64_t next_events_ns_ = 0;
  std::int64_t next_repaint_ns_ = 0;
  int attempts_until_clock_ = 0;
  bool stop_requested_ = false;
  std::array<std::int64_t, 9> attempts_by_wind_{};
};

}  // namespace quorvel
