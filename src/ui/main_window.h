#pragma once
// The main window `Form1` "Quorvel": the parameters frame with the density grid, the wind frame,
// the data file chooser and the report switch; the results frame; Start and Finish; and a
// status line under them. A Start reads and checks every field and the inventory first (one
// plot of a file that holds several, chosen by the user), then runs the whole simulation on
// this thread while the window stays live. Beside it stand the plot window and, on request
// (Ctrl+G, the status line's button, the plot window's context menu), the convergence chart.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QMainWindow>
#include <QPushButton>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "start/plot_start.h"
#include "ui/coefficients_choice.h"
#include "ui/convergence_chart.h"
#include "ui/data_file_chooser.h"
#include "ui/message_sink.h"
#include "ui/mounted_drives.h"
#include "ui/parameter_fields.h"
#include "ui/plot_window.h"
#include "ui/results_display.h"
#include "ui/start_status_line.h"
#include "ui/start_summary.h"
#include "ui/twip_scale.h"
#include "ui/wind_frame.h"
#include "ui/window_run_host.h"

namespace quorvel {

struct TallyFilePlot;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The chooser starts in `start_directory` and offers `drives`.
  explicit MainWindow(const QString& start_directory = QDir::currentPath(),
                      const QStringList& drives = mounted_drives());
  ~MainWindow() override;

  // Messages to the user go here; by default to a message box.
  void set_message_sink(MessageSink sink) { message_sink_ = std::move(sink); }

  // Which plot of a file that holds several a Start takes: the index into `plots`, or nothing
  // when the user declines. By default a modal list that offers `preselected` first; `refused`
  // says why the file's other plots are not offered, one refusal each.
  using PlotChoice =
      std::function<std::optional<int>(const QString& file_name, const QStringList& plots,
                                       int preselected, const QStringList& refused)>;
  void set_plot_choice(PlotChoice choice) { plot_choice_ = std::move(choice); }

  PlotWindow& plot_window() { return *plot_; }
  ConvergenceChart& convergence_chart() { return *chart_; }
  QAction& chart_action() { return *chart_action_; }
  DataFileChooser& chooser() { return *chooser_; }
  CoefficientsChoice& coefficients() { return *coefficients_; }
  StartStatusLine& status_line() { return *status_line_; }
  bool running() const { return host_ != nullptr; }
  const StartSummary& last_start() const { return summary_; }

 public slots:
  // `Command1` "Старт": one whole simulation; ignored while one is running.
  void start();
  // `Command2` "Финиш": ends the program; during a Start, as soon as the current attempt ends.
  void finish();
  // Esc: stops a running Start and puts the previous results back.
  void cancel_start();
  // Shows the convergence chart of the last completed Start and brings it to the front.
  void show_convergence_chart();

 signals:
  // Both windows are closed; the program ends.
  void program_ended();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct PlannedStart;
  struct StartMessages;

  void build_parameters_frame(const QStringList& drives, const QString& start_directory);
  void build_density_grid(QWidget* frame);
  void build_coefficients_choice(QWidget* frame);
  void build_results_frame();
  void build_commands();
  void build_chart_access();
  void set_default_dialogs();
  void set_focus_order();

  // The steps of a Start: reading and checking its inputs (nothing when they are refused or no
  // plot is chosen, the user told why), the runs, and what the window says at their end.
  std::optional<PlannedStart> plan_start(char separator);
  void refuse_start(const QString& message, QWidget* field);
  std::optional<std::size_t> choose_plot(const std::vector<TallyFilePlot>& plots,
                                         const QString& inventory_path, char separator);
  WindowRunHost::Hooks start_hooks(ResultsDisplay& results, int transect_length,
                                   double& expected_attempts_per_run);
  StartMessages run_planned_start(const PlannedStart& plan, WindowRunHost& host,
                                  ResultsDisplay& results, char separator);
  void show_not_computed(const PlannedStart& plan, const StartOutcome& outcome,
                         ResultsDisplay& results, StartMessages& messages, char separator);
  void tell_start_end(const PlannedStart& plan, const StartMessages& messages, char separator);
  QString done_line(const QString& plot_id, bool warned, bool stale_reports, char separator) const;

  void lock_parameters(bool locked);
  void tell(const QString& text);
  char decimal_separator() const;

  TwipScale scale_;
  QWidget* form_ = nullptr;  // the client area of the designed layout
  QGroupBox* frame1_ = nullptr;
  QGroupBox* frame2_ = nullptr;
  WindFrame* wind_frame_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  ParameterFields parameters_;
  ResultFields result_fields_;
  DataFileChooser* chooser_ = nullptr;
  CoefficientsChoice* coefficients_ = nullptr;
  StartStatusLine* status_line_ = nullptr;
  PlotWindow* plot_ = nullptr;
  ConvergenceChart* chart_ = nullptr;
  QAction* chart_action_ = nullptr;

  MessageSink message_sink_;
  PlotChoice plot_choice_;
  QString last_plot_;              // the plot the last Start took, offered first next time
  WindowRunHost* host_ = nullptr;  // the running Start's, null when idle
  bool finish_requested_ = false;
  StartSummary summary_;
};

}  // namespace quorvel
