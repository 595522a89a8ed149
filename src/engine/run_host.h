#pragma once
// What a Start asks of whoever runs it (the window or the batch front end): the wind choice
// at every attempt, a drawing surface, a yield with progress that may cancel, and a word when
// model 1 is ready. The engine never sees a widget; it only calls this.

#include <cstdint>

#include "engine/model1.h"
#include "engine/placement.h"
#include "engine/wind.h"

namespace quorvel {

struct Rgb {
  unsigned char red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb foreground_colour{0, 0, 0};
inline constexpr Rgb transect_colour{200, 0, 0};

// A straight line in plot metres, from (x1, y1) to (x2, y2).
struct Segment {
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The plot as drawn at every attempt: the outline of the square, a box with two opposite
// corners, in the foreground colour, and the transect in its own colour.
struct PlotFrame {
  Segment outline;
  Segment transect;
};

// One attempt after the border and the exchange of the ends: its diameter mark, at right
// angles to the piece at (x1, y1) and as long as the first diameter, then the piece itself,
// both in the foreground colour.
struct PieceDrawing {
  Segment mark;
  Segment piece;
};

struct RunProgress {
  int run = 0;  // 1-based
  int run_count = 0;
  std::int64_t placement_count = 0;  // attempts of all runs so far
};

// One placement attempt after the border and the exchange of the ends.
struct AttemptTrace {
  int run = 0;               // 1-based
  std::int64_t record = 0;   // 1-based, file order
  std::int64_t attempt = 0;  // 1-based within the record and run
  const Placement& placement;
  bool crossed = false;
};

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The wind button selected now; read at every attempt, so a change applies from the next.
  virtual WindButton wind_choice() = 0;
  // Called once per attempt before anything else. Returning false cancels the Start.
  virtual bool yield(const RunProgress& progress) = 0;

  // Drawing surface. Asked once per Start: a host that does not draw is never sent a drawing.
  virtual bool draws() const { return false; }
  virtual void set_scale(float /*height*/, float /*width*/) {}
  virtual void show_plot() {}
  // At the Start and at the beginning of every run.
  virtual void clear_plot() {}
  // At every attempt, before the piece is placed.
  virtual void draw_plot_frame(const PlotFrame& /*frame*/) {}
  // At every attempt, once the piece is placed.
  virtual void draw_piece(const PieceDrawing& /*piece*/) {}

  // Every attempt, for a host that asked for it (the batch front end's --trace).
  virtual bool traces() const { return false; }
  virtual void trace_attempt(const AttemptTrace& /*attempt*/) {}

  // Model 1 is computed, the runs have not begun: the host shows it and prepares the stock
  // report. An exception thrown here stops the Start.
  virtual void model1_ready(const Model1Result& /*model1*/) {}
};

}  // namespace quorvel
