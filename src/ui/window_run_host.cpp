#include "window_run_host.h"

#include <QCoreApplication>

namespace quorvel {

namespace {
// Reading the clock costs more than an attempt's bookkeeping; a few attempts take only some
// microseconds, so looking every so many keeps the window's answers well under a millisecond.
constexpr int attempts_per_clock_reading = 16;

QColor to_colour(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }
}  // namespace

WindowRunHost::WindowRunHost(PlotWindow& plot, Hooks hooks)
    : plot_(plot), hooks_(std::move(hooks)) {}

bool WindowRunHost::wind_changed() const {
  int used = 0;
  for (std::int64_t attempts : attempts_by_wind_) used += attempts > 0 ? 1 : 0;
  return used > 1;
}

WindButton WindowRunHost::wind_choice() {
  const WindButton button = hooks_.wind ? hooks_.wind() : WindButton::none;
  ++attempts_by_wind_[static_cast<int>(button)];
  return button;
}

bool WindowRunHost::yield(const RunProgress& progress) {
  if (stop_requested_) return false;
  if (--attempts_until_clock_ <= 0) {
    attempts_until_clock_ = attempts_per_clock_reading;
    keep_window_alive(progress);
  }
  return !stop_requested_;
}

void WindowRunHost::keep_window_alive(const RunProgress& progress) {
  if (!clock_.isValid()) {
    // The first events are handled a millisecond into the runs, the first repaint at once.
    clock_.start();
    next_events_ns_ = events_interval_ns;
  }
  const std::int64_t now = clock_.nsecsElapsed();
  if (now >= next_repaint_ns_) {
    next_repaint_ns_ = now + repaint_interval_ns;
    plot_.update();
    if (hooks_.progress) hooks_.progress(progress);
  }
  if (now >= next_events_ns_) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    next_events_ns_ = clock_.nsecsElapsed() + events_interval_ns;
  }
}

void WindowRunHost::set_scale(float height, float width) {
  plot_.set_scale_height(height);
  plot_.set_scale_width(width);
}

void WindowRunHost::show_plot() {
  plot_.show();
  plot_.raise();
}

void WindowRunHost::clear_plot() {
  plot_.clear();
  transect_next_ = false;
}

void WindowRunHost::draw_box(float x1, float y1, float x2, float y2, Rgb colour) {
  plot_.set_outline(QPointF(x1, y1), QPointF(x2, y2), to_colour(colour));
  transect_next_ = true;
}

void WindowRunHost::draw_line(float x1, float y1, float x2, float y2, Rgb colour) {
  if (transect_next_) {
    transect_next_ = false;
    plot_.set_transect(QPointF(x1, y1), QPointF(x2, y2), to_colour(colour));
    return;
  }
  plot_.draw_line(QPointF(x1, y1), QPointF(x2, y2), to_colour(colour));
}

void WindowRunHost::model1_ready(const Model1Result& model1) {
  if (hooks_.model1_ready) hooks_.model1_ready(model1);
}

}  // namespace quorvel
