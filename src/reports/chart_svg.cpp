#include "reports/chart_svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "field/text_encoding.h"

namespace quorvel {

namespace {

constexpr double width = 760, height = 460;
constexpr double left = 80, right = 720, top = 50, bottom = 380;
constexpr const char* font = "Liberation Sans, Arial, sans-serif";

// A number with a fixed count of decimals, through to_chars: no locale, no exponent.
std::string fixed(double value, int decimals) {
  if (value == 0) value = 0;  // no "-0.00"
  std::array<char, 64> buffer{};
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, decimals);
  if (result.ec != std::errc{})  // too many digits for a fixed form: the shortest form then
    result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::string px(double value) { return fixed(value, 2); }

// Text for XML: the markup characters as entities, names from the file system made UTF-8, and
// control characters, which XML 1.0 allows in no form, as U+FFFD.
std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : name_as_utf8(text)) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      out += "\xEF\xBF\xBD";
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A value axis of round steps (1, 2 or 5 times a power of ten) covering [low, high].
struct ValueAxis {
  double first_tick = 0;  // low end, a multiple of step
  double step = 1;
  int ticks = 2;
  int decimals = 0;
  double pixel_low = bottom, pixel_high = top;

  double low() const { return first_tick; }
  double high() const { return first_tick + step * (ticks - 1); }
  double tick(int i) const { return first_tick + step * i; }
  double pixel(double value) const {
    return pixel_low + (value - low()) / (high() - low()) * (pixel_high - pixel_low);
  }
};

ValueAxis value_axis(double low, double high) {
  if (!std::isfinite(low) || !std::isfinite(high)) low = 0, high = 1;
  if (!(high > low)) {  // one value: a range around it
    const double pad = low == 0 ? 1 : std::abs(low) * 0.1;
    low -= pad;
    high += pad;
  }
  const double rough = (high - low) / 6;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = 10 * power;
  for (const double m : {1.0, 2.0, 5.0})
    if (m * power >= rough) {
      step = m * power;
      break;
    }
  ValueAxis axis;
  axis.step = step;
  const double first = std::floor(low / step);
  axis.first_tick = first * step;
  // Far beyond the doubles' digits a range holds no round steps: two ticks at its ends.
  const double ticks = std::ceil(high / step) - first + 1;
  if (!(ticks >= 2 && ticks <= 100)) {
    axis.step = high - low;
    axis.first_tick = low;
    axis.ticks = 2;
  } else {
    axis.ticks = static_cast<int>(ticks);
  }
  const double digits = std::floor(std::log10(axis.step) + 1e-9);
  axis.decimals = std::isfinite(digits) ? std::clamp(-static_cast<int>(digits), 0, 17) : 0;
  return axis;
}

class Svg {
 public:
  explicit Svg(const std::string& title) {
    out_ =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "version=\"1.1\" width=\"" +
        px(width) + "\" height=\"" + px(height) + "\" viewBox=\"0 0 " + px(width) + " " +
        px(height) + "\" font-family=\"" + font +
        "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    text("title", width / 2, 28, title, "middle", 16);
  }

  void text(const char* cls, double x, double y, const std::string& content, const char* anchor,
            int size, const std::string& extra = "") {
    out_ += "<text class=\"" + std::string(cls) + "\" x=\"" + px(x) + "\" y=\"" + px(y) +
            "\" text-anchor=\"" + anchor + "\" font-size=\"" + std::to_string(size) + "\"" + extra +
            ">" + escaped(content) + "</text>\n";
  }

  void line(const char* cls, double x1, double y1, double x2, double y2, const char* style) {
    out_ += "<line class=\"" + std::string(cls) + "\" x1=\"" + px(x1) + "\" y1=\"" + px(y1) +
            "\" x2=\"" + px(x2) + "\" y2=\"" + px(y2) + "\" " + style + "/>\n";
  }

  void shape(const char* element, const char* cls, const std::vector<std::array<double, 2>>& pts,
             const char* style) {
    out_ += std::string("<") + element + " class=\"" + cls + "\" points=\"";
    for (std::size_t i = 0; i < pts.size(); ++i) {
      if (i > 0) out_ += ' ';
      out_ += px(pts[i][0]);
      out_ += ',';
      out_ += px(pts[i][1]);
    }
    out_ += "\" " + std::string(style) + "/>\n";
  }

  void circle(const char* cls, double x, double y, double r, const char* style) {
    out_ += "<circle class=\"" + std::string(cls) + "\" cx=\"" + px(x) + "\" cy=\"" + px(y) +
            "\" r=\"" + px(r) + "\" " + style + "/>\n";
  }

  void rect(const char* cls, double x, double y, double w, double h, const char* style) {
    out_ += "<rect class=\"" + std::string(cls) + "\" x=\"" + px(x) + "\" y=\"" + px(y) +
            "\" width=\"" + px(w) + "\" height=\"" + px(h) + "\" " + style + "/>\n";
  }

  // The value axis on the left with its ticks, labels and grid, and the frame of the plot area.
  void value_axis(const ValueAxis& axis, const std::string& label) {
    for (int i = 0; i < axis.ticks; ++i) {
      const double y = axis.pixel(axis.tick(i));
      line("grid", left, y, right, y, "stroke=\"#e4e4e4\"");
      line("y-tick", left - 5, y, left, y, "stroke=\"black\"");
      text("y-tick-label", left - 8, y + 4, fixed(axis.tick(i), axis.decimals), "end", 11);
    }
    rect("frame", left, top, right - left, bottom - top, "fill=\"none\" stroke=\"black\"");
    text("y-label", 22, (top + bottom) / 2, label, "middle", 12,
         " transform=\"rotate(-90 22 " + px((top + bottom) / 2) + ")\"");
  }

  // A legend entry below the plot area, `slot` 0, 1, 2 from the left.
  void legend(int slot, const std::string& label, const char* sample) {
    const double x = left + 10 + slot * 210;
    const double y = height - 22;
    out_ += std::string(sample) == "box"
                ? "<rect class=\"legend-sample\" x=\"" + px(x) + "\" y=\"" + px(y - 8) +
                      "\" width=\"22\" height=\"10\" fill=\"#9ec3e6\" fill-opacity=\"0.5\"/>\n"
                : "<line class=\"legend-sample\" x1=\"" + px(x) + "\" y1=\"" + px(y - 3) +
                      "\" x2=\"" + px(x + 22) + "\" y2=\"" + px(y - 3) + "\" " + sample + "/>\n";
    text("legend", x + 28, y + 1, label, "start", 11);
  }

  std::string finish() { return out_ + "</svg>\n"; }

 private:
  std::string out_;
};

constexpr const char* mean_style = "fill=\"none\" stroke=\"#1f5fa8\" stroke-width=\"1.5\"";
constexpr const char* band_style = "fill=\"#9ec3e6\" fill-opacity=\"0.5\" stroke=\"none\"";
constexpr const char* expected_style =
    "stroke=\"#c0392b\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"";
constexpr const char* stratum_style = "stroke=\"#1f5fa8\" stroke-width=\"1.5\"";
constexpr const char* stand_style = "stroke=\"#c0392b\" stroke-width=\"1.5\"";

// The lowest and the highest value a chart shows; empty while low > high.
struct ValueSpan {
  double low = INFINITY, high = -INFINITY;
  void cover(double v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  void cover(const std::optional<double>& v) {
    if (v) cover(*v);
  }
  // The value axis over the span; over 0 when nothing is shown.
  ValueAxis axis() const { return low <= high ? value_axis(low, high) : value_axis(0, 0); }
};

// ---- The convergence chart ---------------------------------------------------------------

// The points drawn: all, or every k-th and the last.
std::vector<const ConvergencePoint*> shown_points(const ConvergenceSeries& series) {
  std::vector<const ConvergencePoint*> shown;
  const std::size_t count = series.points.size();
  const std::size_t stride =
      count > chart_max_points ? (count + chart_max_points - 2) / (chart_max_points - 1) : 1;
  for (std::size_t i = 0; i < count; i += stride) shown.push_back(&series.points[i]);
  if (count > 0 && shown.back() != &series.points.back()) shown.push_back(&series.points.back());
  return shown;
}

// Runs across: run 1 at the left edge, the last run at the right.
struct RunAxis {
  double last_run;
  double x(double run) const { return left + (run - 1) / (last_run - 1) * (right - left); }
};

void draw_run_axis(Svg& svg, const RunAxis& runs) {
  const double run_step = std::max(1.0, value_axis(1, runs.last_run).step);
  for (double run = run_step; run <= runs.last_run; run += run_step) {
    svg.line("x-tick", runs.x(run), bottom, runs.x(run), bottom + 5, "stroke=\"black\"");
    svg.text("x-tick-label", runs.x(run), bottom + 18, fixed(run, 0), "middle", 11);
  }
  if (run_step > 1) {
    svg.line("x-tick", runs.x(1), bottom, runs.x(1), bottom + 5, "stroke=\"black\"");
    svg.text("x-tick-label", runs.x(1), bottom + 18, "1", "middle", 11);
  }
  svg.text("x-label", (left + right) / 2, bottom + 40, "run", "middle", 12);
}

// The band of two standard errors, the running mean over it and the expectation's level.
void draw_convergence(Svg& svg, const std::vector<const ConvergencePoint*>& shown,
                      const std::optional<double>& expected, const RunAxis& runs,
                      const ValueAxis& y) {
  std::vector<std::array<double, 2>> band;
  for (const ConvergencePoint* p : shown)
    if (p->band_high) band.push_back({runs.x(p->run), y.pixel(*p->band_high)});
  for (auto p = shown.rbegin(); p != shown.rend(); ++p)
    if ((*p)->band_low) band.push_back({runs.x((*p)->run), y.pixel(*(*p)->band_low)});
  if (!band.empty()) svg.shape("polygon", "band", band, band_style);
  std::vector<std::array<double, 2>> means;
  for (const ConvergencePoint* p : shown)
    means.push_back({runs.x(p->run), y.pixel(p->running_mean)});
  if (!means.empty()) svg.shape("polyline", "running-mean", means, mean_style);
  if (expected) {
    const double e = y.pixel(*expected);
    svg.line("expected", left, e, right, e, expected_style);
  }
}

// ---- The stand chart ---------------------------------------------------------------------

ValueSpan stand_span(const StandChartSeries& series) {
  ValueSpan span;
  for (const StratumChartEntry& s : series.strata) {
    span.cover(s.mean);
    span.cover(s.ci95_low);
    span.cover(s.ci95_high);
    for (const double v : s.plot_values) span.cover(v);
  }
  span.cover(series.stand_mean);
  span.cover(series.stand_ci95_low);
  span.cover(series.stand_ci95_high);
  return span;
}

// The stand's interval shaded across the plot area, its mean as a line.
void draw_stand_level(Svg& svg, const StandChartSeries& series, const ValueAxis& y) {
  if (series.stand_ci95_low && series.stand_ci95_high) {
    const double top_edge = y.pixel(*series.stand_ci95_high);
    svg.rect("stand-interval", left, top_edge, right - left,
             y.pixel(*series.stand_ci95_low) - top_edge,
             "fill=\"#f3c6c0\" fill-opacity=\"0.6\" stroke=\"none\"");
  }
  if (series.stand_mean) {
    const double m = y.pixel(*series.stand_mean);
    svg.line("stand-mean", left, m, right, m, stand_style);
  }
}

// One stratum's column centred at x, `slot` wide: its plots, its interval, its mean, its name.
void draw_stratum(Svg& svg, const StratumChartEntry& s, double x, double slot, const ValueAxis& y) {
  for (const double v : s.plot_values)
    svg.circle("plot", x - 14, y.pixel(v), 2, "fill=\"#7f7f7f\"");
  if (s.ci95_low && s.ci95_high) {
    const double yl = y.pixel(*s.ci95_low), yh = y.pixel(*s.ci95_high);
    svg.line("interval", x, yl, x, yh, stratum_style);
    svg.line("interval-cap", x - 6, yl, x + 6, yl, stratum_style);
    svg.line("interval-cap", x - 6, yh, x + 6, yh, stratum_style);
  }
  svg.circle("mean", x, y.pixel(s.mean), 4, "fill=\"#1f5fa8\"");
  // Many strata: the names turned aside so that they do not run into each other.
  const std::string n = "n = " + std::to_string(s.n) + (s.n < 2 ? " (no interval)" : "");
  if (slot >= 110) {
    svg.text("stratum-label", x, bottom + 18, s.name, "middle", 11);
    svg.text("stratum-n", x, bottom + 32, n, "middle", 10);
  } else {
    svg.text("stratum-label", x + 3, bottom + 14, s.name, "end", 10,
             " transform=\"rotate(-35 " + px(x + 3) + " " + px(bottom + 14) + ")\"");
  }
}

}  // namespace

std::string convergence_chart_svg(const ConvergenceSeries& series, const std::string& plot_name) {
  Svg svg("Model 2 carbon over the runs: " + plot_name);
  const std::vector<const ConvergencePoint*> shown = shown_points(series);
  ValueSpan span;
  for (const ConvergencePoint* p : shown) {
    span.cover(p->running_mean);
    if (p->band_low) span.cover(*p->band_low), span.cover(*p->band_high);
  }
  span.cover(series.expected);
  const ValueAxis y = span.axis();
  svg.value_axis(y, "carbon (t C/ha)");

  const RunAxis runs{std::max(2.0, series.points.empty() ? 2.0 : double(series.points.back().run))};
  draw_run_axis(svg, runs);
  draw_convergence(svg, shown, series.expected, runs, y);

  svg.legend(0, "running mean", mean_style);
  svg.legend(1, "\u00b12 standard errors", "box");
  if (series.expected) svg.legend(2, "exact expectation", expected_style);
  return svg.finish();
}

std::string stand_chart_svg(const StandChartSeries& series, const std::string& title,
                            const std::string& value_label) {
  Svg svg(title);
  const ValueAxis y = stand_span(series).axis();
  svg.value_axis(y, value_label);
  draw_stand_level(svg, series, y);
  const double slot = (right - left) / std::max<std::size_t>(1, series.strata.size());
  for (std::size_t i = 0; i < series.strata.size(); ++i)
    draw_stratum(svg, series.strata[i], left + slot * (i + 0.5), slot, y);

  svg.legend(0, "stratum mean, 95% interval", stratum_style);
  if (series.stand_mean) svg.legend(1, "stand mean, 95% interval", stand_style);
  bool dots = false;
  for (const StratumChartEntry& s : series.strata) dots = dots || !s.plot_values.empty();
  if (dots)
    svg.legend(2, "plots", "stroke=\"#7f7f7f\" stroke-width=\"4\" stroke-dasharray=\"2 6\"");
  return svg.finish();
}

}  // namespace quorvel
