#pragma once
// The convergence chart, a window of its own beside the plot window: model 2's carbon as the
// running mean after each run of the last completed Start, a band of two standard errors of
// that mean either side (from the second run on), and the exact expectation as a level line.
// Closing it only hides it; it follows every completed Start whether shown or not. Before the
// first completed Start it shows a short text instead of empty axes.

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineSeries>
#include <QValueAxis>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "stand/convergence.h"
#include "ui/twip_scale.h"

namespace quorvel {

class ConvergenceChart : public QWidget {
  Q_OBJECT

 public:
  explicit ConvergenceChart(const TwipScale& scale, QWidget* parent = nullptr);

  // The series of a Start on `inventory_name`; without an expectation the level line goes.
  void show_series(const ConvergenceSeries& series, const QString& inventory_name,
                   char decimal_separator = ',');

  QChart& chart() { return *chart_; }
  // Whether the chart holds a Start's series yet; before that a short text stands instead.
  bool has_series() const { return !view_->isHidden(); }
  const QLineSeries& running_mean() const { return *mean_; }
  const QLineSeries& band_low() const { return *low_; }
  const QLineSeries& band_high() const { return *high_; }
  const QLineSeries& expectation() const { return *expected_; }
  const QValueAxis& run_axis() const { return *runs_; }
  const QValueAxis& carbon_axis() const { return *carbon_; }

 private:
  // The lowest and the highest value shown; empty while bottom > top.
  struct ValueSpan {
    double bottom = HUGE_VAL, top = -HUGE_VAL;
    void take(double value) {
      bottom = std::min(bottom, value);
      top = std::max(top, value);
    }
  };

  ValueSpan show_lines(const ConvergenceSeries& series, int axis_end);
  void set_run_axis(int span);
  void set_carbon_axis(ValueSpan shown);

  QChart* chart_;
  QChartView* view_;
  QLabel* waiting_;
  QLineSeries* mean_;
  QLineSeries* low_;
  QLineSeries* high_;
  QAreaSeries* band_;
  QLineSeries* expected_;
  QValueAxis* runs_;
  QValueAxis* carbon_;
};

}  // namespace quorvel
