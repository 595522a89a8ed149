#include "ui/convergence_chart.h"

#include <QLocale>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quorvel {

ConvergenceChart::ConvergenceChart(const TwipScale& scale, QWidget* parent)
    : QWidget(parent, Qt::Window),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      waiting_(new QLabel(tr("График появится после первого расчёта: выберите файл данных и "
                             "нажмите «Старт»."),
                          this)),
      mean_(new QLineSeries(chart_)),
      low_(new QLineSeries(chart_)),
      high_(new QLineSeries(chart_)),
      band_(new QAreaSeries(high_, low_)),
      expected_(new QLineSeries(chart_)),
      runs_(new QValueAxis(chart_)),
      carbon_(new QValueAxis(chart_)) {
  setObjectName(QStringLiteral("convergence_chart"));
  setWindowTitle(tr("График сходимости"));
  // Under the plot window, as wide as it.
  setGeometry(scale.rect(12120, 8955, 7320, 4500));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  layout->addWidget(waiting_);
  waiting_->setObjectName(QStringLiteral("chart_waiting"));
  waiting_->setAlignment(Qt::AlignCenter);
  waiting_->setWordWrap(true);
  view_->setRenderHint(QPainter::Antialiasing);
  view_->hide();  // until a Start gives it something to show

  band_->setName(tr("±2 ст. ош."));
  band_->setColor(QColor(70, 110, 200, 60));
  band_->setBorderColor(QColor(70, 110, 200, 120));
  mean_->setName(tr("Модель2: среднее"));
  mean_->setColor(QColor(30, 60, 160));
  expected_->setName(tr("Ожидание"));
  QPen level(QColor(200, 0, 0));
  level.setWidth(2);
  level.setStyle(Qt::DashLine);
  expected_->setPen(level);
  // The band first, so that the lines lie over it.
  chart_->addSeries(band_);
  chart_->addSeries(mean_);
  chart_->addSeries(expected_);
  runs_->setTitleText(tr("Прогон"));
  runs_->setLabelFormat(QStringLiteral("%.0f"));
  carbon_->setTitleText(tr("Углерод, тС/га"));
  chart_->addAxis(runs_, Qt::AlignBottom);
  chart_->addAxis(carbon_, Qt::AlignLeft);
  for (QAbstractSeries* series :
       {static_cast<QAbstractSeries*>(band_), static_cast<QAbstractSeries*>(mean_),
        static_cast<QAbstractSeries*>(expected_)}) {
    series->attachAxis(runs_);
    series->attachAxis(carbon_);
  }
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->setTitle(tr("Углерод модели 2 по прогонам"));
}

void ConvergenceChart::show_series(const ConvergenceSeries& series, const QString& inventory_name,
                                   char decimal_separator) {
  // The axes write their numbers with the window's decimal separator.
  chart_->setLocalizeNumbers(true);
  chart_->setLocale(decimal_separator == ',' ? QLocale(QLocale::Russian) : QLocale::c());
  const int last_run = series.points.empty() ? 1 : series.points.back().run;
  const int axis_end = std::max(2, last_run);
  const ValueSpan shown = show_lines(series, axis_end);
  set_run_axis(axis_end);
  set_carbon_axis(shown);
  waiting_->hide();
  view_->show();
  chart_->setTitle(tr("Углерод модели 2 по прогонам: %1").arg(inventory_name));
}

ConvergenceChart::ValueSpan ConvergenceChart::show_lines(const ConvergenceSeries& series,
                                                         int axis_end) {
  QList<QPointF> mean, low, high;
  ValueSpan shown;
  for (const ConvergencePoint& point : series.points) {
    mean.append(QPointF(point.run, point.running_mean));
    shown.take(point.running_mean);
    if (point.band_low && point.band_high) {
      low.append(QPointF(point.run, *point.band_low));
      high.append(QPointF(point.run, *point.band_high));
      shown.take(*point.band_low);
      shown.take(*point.band_high);
    }
  }
  QList<QPointF> level;
  if (series.expected) {
    // Across the whole axis, so that it shows after a single run as well.
    level = {QPointF(1, *series.expected), QPointF(axis_end, *series.expected)};
    shown.take(*series.expected);
  }
  mean_->replace(mean);
  mean_->setPointsVisible(mean.size() == 1);  // a line through one point draws nothing
  low_->replace(low);
  high_->replace(high);
  expected_->replace(level);
  // Hidden series keep out of the legend: one run has no band, a changed wind no expectation.
  band_->setVisible(!low.isEmpty());
  expected_->setVisible(!level.isEmpty());
  return shown;
}

// Whole runs at steps of 1, 2, 5, 10, 20, 50, ...: no more than six labels.
void ConvergenceChart::set_run_axis(int span) {
  int step = 1;
  for (int power = 1; span / step > 5; power *= 10) {
    for (int mantissa : {1, 2, 5}) {
      step = mantissa * power;
      if (span / step <= 5) break;
    }
  }
  runs_->setTickType(QValueAxis::TicksDynamic);
  runs_->setTickAnchor(0);
  runs_->setTickInterval(step);
  runs_->setRange(1, span);
}

void ConvergenceChart::set_carbon_axis(ValueSpan shown) {
  double bottom = shown.bottom, top = shown.top;
  if (!(bottom <= top)) bottom = 0, top = 1;  // nothing to show
  const double margin = top > bottom ? (top - bottom) * 0.05 : std::max(1.0, std::abs(top) * 0.05);
  carbon_->setRange(bottom - margin, top + margin);
  carbon_->applyNiceNumbers();
}

}  // namespace quorvel
