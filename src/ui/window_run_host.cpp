#include "ui/window_run_host.h"

#include <QCoreApplication>

namespace quorvel {

namespace {
// Reading the clock costs more than an attempt's bookkeeping; a few attempts take only some
// microseconds, so looking every so many keeps the window's answers well under a millisecond.
constexpr int attempts_per_clock_reading = 16;

QColor to_colour(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

QPointF from(const Segment& s) { return QPointF(s.x1, s.y1); }
QPointF to(const Segment& s) { return QPointF(s.x2, s.y2); }
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
  if (hooks_.frame) draw_plot_frame(*hooks_.frame);
}

void WindowRunHost::clear_plot() { plot_.clear(); }

void WindowRunHost::draw_plot_frame(const PlotFrame& frame) {
  plot_.set_outline(from(frame.outline), to(frame.outline), to_colour(foreground_colour));
  plot_.set_transect(from(frame.transect), to(frame.transect), to_colour(transect_colour));
}

void WindowRunHost::draw_piece(const PieceDrawing& piece) {
  const QColor colour = to_colour(foreground_colour);
  plot_.draw_line(from(piece.mark), to(piece.mark), colour);
  plot_.draw_line(from(piece.piece), to(piece.piece), colour);
}

void WindowRunHost::model1_ready(const Model1Result& model1) {
  if (hooks_.model1_ready) hooks_.model1_ready(model1);
}

void WindowRunHost::expectation_ready(const Model2Expectation& expectation) {
  if (hooks_.expectation_ready) hooks_.expectation_ready(expectation);
}

bool WindowRunHost::reports_wanted() { return hooks_.reports_wanted && hooks_.reports_wanted(); }

}  // namespace quorvel
