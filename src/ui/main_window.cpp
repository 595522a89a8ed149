#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMessageBox>
#include <QToolButton>
#include <cmath>

#include "engine/random_source.h"
#include "field/plausibility.h"
#include "stand/convergence.h"
#include "start/plot_start.h"
#include "ui/form_label.h"
#include "ui/shown_from_first_character.h"
#include "ui/tally_file.h"
#include "ui/window_run_host.h"
#include "ui/window_words.h"
#include "ui/wrapped_check_box.h"

namespace quorvel {

namespace {

// The form's font size. Liberation Sans is wider than the small bitmap sans serif the form was
// laid out in: at 8 points (11 pixels at 96 dpi) two lines no longer fit the designed
// two-line boxes of 375 twips and fifteen digits no longer fit the volume and surface fields;
// at 7.5 points (10 pixels) they do.
constexpr qreal form_font_points = 7.5;

QLineEdit* make_field(QWidget* parent, const char* name, const char* text, const QRect& at) {
  auto* field = new QLineEdit(QString::fromUtf8(text), parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(at);
  return field;
}

// Liberation Sans (a dependency of the package) has the metrics of Arial; Arial stands in
// where it is missing.
QFont sans_serif(qreal points) {
  QFont font;
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(points);
  return font;
}

QFont form_font() { return sans_serif(form_font_points); }

// The frame captions' font; everything inside the frames keeps the window's own font.
void set_caption_font(QGroupBox* frame) {
  QFont plain = form_font();
  plain.setResolveMask(QFont::AllPropertiesResolved);
  for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    child->setFont(plain);
  }
  QFont caption = sans_serif(9.75);
  caption.setWeight(QFont::Normal);
  caption.setUnderline(true);
  frame->setFont(caption);
}

// The results frame's rows: a caption and its field, at their places in twips.
struct ResultRow {
  const char* label;
  const char* caption;
  int label_top, label_width, label_height;
  const char* field;
  int field_left, field_top, field_width, field_height;
};
constexpr ResultRow result_rows[11] = {
    {"Label10", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Углерод (тС/га) модель1"), 360, 1335, 375,
     "Text10", 1560, 360, 1815, 285},
    {"Label6", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Углерод (тС/га) модель2"), 720, 1335, 375,
     "Text6", 1560, 720, 1815, 285},
    {"Label11", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число фрагментов/га модель1"), 1080, 2415,
     375, "Text11", 2640, 1080, 735, 285},
    {"Label7", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число фрагментов/га модель2"), 1440, 2415,
     255, "Text7", 2640, 1440, 735, 285},
    {"Label12", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем мягколист валежа м3/га"), 1680,
     1695, 375, "Text12", 1920, 1800, 1455, 285},
    {"Label25", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем тверолист валежа м3/га"), 2160,
     1575, 375, "Text28", 1920, 2160, 1455, 285},
    {"Label16", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем хвойного валежа м3/га"), 2640, 1575,
     375, "Text4", 1920, 2640, 1455, 285},
    {"Label13", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Повернхость мягко лист валежа м2/га"),
     3120, 1575, 375, "Text13", 1920, 3120, 1455, 285},
    {"Label26", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Поверхность твердо лист валежа м2/га"),
     3600, 1695, 375, "Text29", 1920, 3600, 1455, 285},
    {"Label17", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Поверхность хвойн валежа м2/га"), 4080,
     1695, 375, "Text14", 1920, 4080, 1455, 285},
    {"Label9", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число пересечений"), 4800, 1215, 375,
     "Text9", 1920, 4800, 975, 375},
};

// The density grid's fields, stage by stage (rows) and group by group (columns), with their
// default texts; and the stage numbers' labels.
struct GridCell {
  const char* name;
  const char* text;
};
constexpr GridCell density_cells[5][3] = {
    {{"Text3", "0,357"}, {"Text2", "0,500"}, {"Text23", "0,300"}},
    {{"Text15", "0,275"}, {"Text16", "0,410"}, {"Text24", "0,260"}},
    {{"Text17", "0,211"}, {"Text18", "0,330"}, {"Text25", "0,200"}},
    {{"Text19", "0,162"}, {"Text20", "0,250"}, {"Text26", "0,160"}},
    {{"Text21", "0,125"}, {"Text22", "0,200"}, {"Text27", "0,100"}},
};
constexpr const char* stage_labels[5] = {"Label19", "Label20", "Label21", "Label22", "Label23"};

// Where the reports of a Start go: beside the inventory, or for one plot of a file that holds
// several, the plot's own beside it. Throws Refused.
ReportPaths report_paths_of(const FilePaths& paths, const QString& plot_id) {
  if (plot_id.isEmpty())
    return {QFile::encodeName(paths.stock_report_path).toStdString(),
            QFile::encodeName(paths.estimate_report_path).toStdString()};
  return report_paths_for_plot(QFile::encodeName(paths.inventory_path).toStdString(),
                               plot_id.toStdString());
}

}  // namespace

// What a Start has read and checked before it changes anything.
struct MainWindow::PlannedStart {
  FilePaths paths;
  QString plot_id;  // empty for a file of one plot
  Inventory inventory;
  QString shown_name;  // the inventory, and its plot, as the chart names it
  StartRequest request;
};

// What a Start leaves to tell besides its figures.
struct MainWindow::StartMessages {
  QString warnings;  // about the inventory, shown with the results
  QString failure;   // why the Start stopped, or why its reports are missing
};

MainWindow::MainWindow(const QString& start_directory, const QStringList& drives)
    : scale_(TwipScale::of_primary_screen()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quorvel"));
  setFont(form_font());

  form_ = new QWidget(this);
  form_->setFixedSize(scale_.pixels(10455), scale_.pixels(6465));
  setCentralWidget(form_);

  build_parameters_frame(drives, start_directory);
  build_results_frame();
  build_commands();

  status_line_ = new StartStatusLine(this);
  setStatusBar(status_line_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  plot_ = new PlotWindow(scale_, this);
  connect(plot_, &PlotWindow::cancel_requested, this, &MainWindow::cancel_start);
  build_chart_access();

  connect(chooser_, &DataFileChooser::failed, this, &MainWindow::tell);
  // During a Start the line keeps naming the file being run.
  connect(chooser_, &DataFileChooser::paths_chosen, this,
          [this](const FilePaths& paths) { status_line_->show_chosen(paths.inventory_path); });

  show_fields_from_first_character(form_);
  set_focus_order();
  command1_->setFocus();
  move(scale_.point(1065, 1455));
  set_default_dialogs();
}

MainWindow::~MainWindow() = default;

void MainWindow::build_commands() {
  command1_ = new QPushButton(tr("Старт"), form_);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setGeometry(scale_.rect(6600, 5880, 1815, 495));
  command2_ = new QPushButton(tr("Финиш"), form_);
  command2_->setObjectName(QStringLiteral("Command2"));
  command2_->setGeometry(scale_.rect(8520, 5880, 1815, 495));
  // Enter or Return on the focused button presses it, as Space does.
  command1_->setAutoDefault(true);
  command2_->setAutoDefault(true);
  connect(command1_, &QPushButton::clicked, this, &MainWindow::start);
  connect(command2_, &QPushButton::clicked, this, &MainWindow::finish);
}

// The convergence chart opens from either window and from a small button at the right of the
// status line, which leaves the designed form as it is.
void MainWindow::build_chart_access() {
  chart_ = new ConvergenceChart(scale_, this);
  chart_action_ = new QAction(tr("График сходимости"), this);
  chart_action_->setObjectName(QStringLiteral("chart_action"));
  chart_action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  chart_action_->setToolTip(tr("График сходимости модели 2 по прогонам (Ctrl+G)"));
  connect(chart_action_, &QAction::triggered, this, &MainWindow::show_convergence_chart);
  addAction(chart_action_);
  plot_->addAction(chart_action_);
  plot_->setContextMenuPolicy(Qt::ActionsContextMenu);
  auto* chart_button = new QToolButton(status_line_);
  chart_button->setObjectName(QStringLiteral("chart_button"));
  chart_button->setDefaultAction(chart_action_);
  chart_button->setFocusPolicy(Qt::NoFocus);  // never in the way of Space during a Start
  status_line_->addPermanentWidget(chart_button);
}

void MainWindow::set_default_dialogs() {
  message_sink_ = [this](const QString& text) {
    // Not modal for the application: a message during the runs must not stop them.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("message_box"));
    box->button(QMessageBox::Ok)->setText(tr("ОК"));  // Qt's own word would be English
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  };
  plot_choice_ = [this](const QString& file_name, const QStringList& plots, int preselected,
                        const QStringList& refused) {
    QInputDialog dialog(this);
    dialog.setWindowTitle(windowTitle());
    QString label = tr("В файле «%1» несколько участков. Какой рассчитать?").arg(file_name);
    if (!refused.isEmpty())
      label += QStringLiteral("\n\n") + tr("Не предложены, их не рассчитать:") + QLatin1Char('\n') +
               refused.join(QLatin1Char('\n'));
    dialog.setLabelText(label);
    dialog.setComboBoxItems(plots);
    dialog.setTextValue(plots.value(preselected));
    dialog.setOkButtonText(tr("Рассчитать"));
    dialog.setCancelButtonText(tr("Отмена"));
    if (dialog.exec() != QDialog::Accepted) return std::optional<int>();
    return std::optional<int>(static_cast<int>(plots.indexOf(dialog.textValue())));
  };
}

void MainWindow::build_parameters_frame(const QStringList& drives, const QString& start_directory) {
  frame1_ = new QGroupBox(tr("Параметры"), form_);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setGeometry(scale_.rect(0, 120, 6375, 6255));
  QWidget* f = frame1_;

  make_label(f, "Label1", tr("Длина трансекты"), scale_.rect(3960, 240, 1455, 255));
  parameters_.transect_length = make_field(f, "Text1", "100", scale_.rect(5520, 240, 615, 285));
  make_label(f, "Label5", tr("Количество прогонов"), scale_.rect(3960, 600, 1215, 375));
  // As wide as the length's field: the form's 375 twips showed four of the five digits.
  parameters_.run_count = make_field(f, "Text5", "1", scale_.rect(5520, 720, 615, 285));
  make_label(f, "Label8", tr("коэффициент пересчета массы древесины в массу углерода"),
             scale_.rect(3960, 1080, 1575, 855));
  parameters_.carbon_fraction = make_field(f, "Text8", "0,5", scale_.rect(5520, 1200, 615, 375));
  build_density_grid(f);
  build_coefficients_choice(f);

  wind_frame_ = new WindFrame(scale_, f);
  wind_frame_->setGeometry(scale_.rect(3240, 2040, 3015, 1815));
  parameters_.wind_force = &wind_frame_->force_field();

  chooser_ = new DataFileChooser(f, scale_, drives, start_directory);

  check1_ = new WrappedCheckBox(tr("Выводить результаты в файлы"), f);
  check1_->setObjectName(QStringLiteral("Check1"));
  check1_->setGeometry(scale_.rect(5040, 4800, 1215, 615));
  check1_->setChecked(true);

  set_caption_font(frame1_);
}

// The density grid: rows are decomposition stages, columns species groups.
void MainWindow::build_density_grid(QWidget* frame) {
  make_label(frame, "Label18", tr("Стадия разложения "), scale_.rect(120, 360, 975, 375));
  make_label(frame, "Label3", tr("Мягко листв"), scale_.rect(1200, 360, 495, 375));
  make_label(frame, "Label24", tr("Твердо листв"), scale_.rect(1800, 360, 615, 375));
  make_label(frame, "Label2", tr("Хвойные"), scale_.rect(2400, 480, 735, 255));
  for (int stage = 1; stage <= 5; ++stage) {
    const int top = 840 + 360 * (stage - 1);
    make_label(frame, stage_labels[stage - 1], QString::number(stage),
               scale_.rect(360, top + 120, 135, 255));
    for (int group = 1; group <= 3; ++group) {
      const GridCell& cell = density_cells[stage - 1][group - 1];
      parameters_.density.at(stage, group) = make_field(
          frame, cell.name, cell.text, scale_.rect(1200 + 600 * (group - 1), top, 615, 285));
    }
  }
}

// Beside the grid: a table by species and decay stage that takes the grid's place.
void MainWindow::build_coefficients_choice(QWidget* frame) {
  coefficients_ = new CoefficientsChoice(frame, scale_);
  connect(&coefficients_->choose_button(), &QPushButton::clicked, this, [this] {
    if (const std::optional<QString> message = coefficients_->choose(decimal_separator()))
      tell(*message);
  });
  connect(coefficients_, &CoefficientsChoice::changed, this, [this](bool in_use) {
    for (int s = first_stage; s <= last_stage; ++s)
      for (int g = first_group; g <= last_group; ++g)
        parameters_.density.at(s, g)->setEnabled(!in_use);
  });
}

void MainWindow::build_results_frame() {
  frame2_ = new QGroupBox(tr("Результаты"), form_);
  frame2_->setObjectName(QStringLiteral("Frame2"));
  frame2_->setGeometry(scale_.rect(6600, 240, 3735, 5535));
  QWidget* f = frame2_;

  std::array<QLineEdit*, 11> fields{};
  for (std::size_t i = 0; i < 11; ++i) {
    const ResultRow& row = result_rows[i];
    make_label(f, row.label, tr(row.caption),
               scale_.rect(120, row.label_top, row.label_width, row.label_height));
    fields[i] =
        make_field(f, row.field, "",
                   scale_.rect(row.field_left, row.field_top, row.field_width, row.field_height));
    // The results are the program's to write; they can still be selected and copied.
    fields[i]->setReadOnly(true);
  }
  result_fields_ = {fields[0], fields[1], fields[2], fields[3], fields[4],  fields[5],
                    fields[6], fields[7], fields[8], fields[9], fields[10], nullptr};
  // Below the designed rows, inside the frame: the comparison with the expectation.
  result_fields_.deviation = new QLabel(f);
  result_fields_.deviation->setObjectName(QStringLiteral("deviation_line"));
  result_fields_.deviation->setGeometry(scale_.rect(120, 5220, 3495, 255));

  set_caption_font(frame2_);
}

void MainWindow::set_focus_order() {
  auto field = [this](const char* name) { return findChild<QWidget*>(QString::fromLatin1(name)); };
  const std::vector<QWidget*> order = {command1_,
                                       check1_,
                                       field("Text8"),
                                       field("Text5"),
                                       field("Text3"),
                                       field("Text2"),
                                       field("Text1"),
                                       field("Text13"),
                                       field("Text12"),
                                       field("Text11"),
                                       field("Text10"),
                                       field("Text9"),
                                       field("Text7"),
                                       field("Text6"),
                                       command2_,
                                       &chooser_->drive_list(),
                                       &chooser_->directory_list(),
                                       &chooser_->file_list(),
                                       field("Text4"),
                                       field("Text14"),
                                       field("Text15"),
                                       field("Text16"),
                                       field("Text17"),
                                       field("Text18"),
                                       field("Text19"),
                                       field("Text20"),
                                       field("Text21"),
                                       field("Text22"),
                                       field("Text23"),
                                       field("Text24"),
                                       field("Text25"),
                                       field("Text26"),
                                       field("Text27"),
                                       field("Text28"),
                                       field("Text29"),
                                       &wind_frame_->option(1),
                                       &wind_frame_->option(2),
                                       &wind_frame_->option(3),
                                       &wind_frame_->option(4),
                                       &wind_frame_->option(5),
                                       &wind_frame_->option(6),
                                       &wind_frame_->option(7),
                                       &wind_frame_->option(8),
                                       &wind_frame_->force_field(),
                                       &coefficients_->choose_button(),
                                       &coefficients_->drop_button()};
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

char MainWindow::decimal_separator() const {
  const QString point = QLocale().decimalPoint();
  return point == QStringLiteral(".") ? '.' : ',';
}

void MainWindow::tell(const QString& text) {
  if (message_sink_) message_sink_(text);
}

void MainWindow::lock_parameters(bool locked) {
  // Start stays enabled (a click on it is ignored while a Start runs): disabling it would pass
  // its focus on to the report box, which a single Space would then untick.
  for (QLineEdit* field : parameters_.all()) field->setReadOnly(locked);
  coefficients_->lock(locked);
}

void MainWindow::start() {
  if (running()) return;  // no second Start inside the first
  ++summary_.starts;
  const char separator = decimal_separator();
  // Everything is read and checked before anything is changed.
  const std::optional<PlannedStart> plan = plan_start(separator);
  if (!plan) return;

  ResultsDisplay results(result_fields_, separator);
  const ResultsDisplay::Snapshot previous_results = results.snapshot();
  const PlotWindow::Contents previous_plot = plot_->contents();
  double expected_attempts_per_run = 0;  // for the progress bar
  WindowRunHost host(*plot_, start_hooks(results, plan->request.parameters.transect_length,
                                         expected_attempts_per_run));

  summary_.outcome = StartSummary::Outcome::none;
  summary_.run_count = plan->request.parameters.run_count;
  summary_.wind_force = plan->request.parameters.wind_force;
  summary_.placement_count = 0;
  summary_.reports_written = false;
  summary_.seed = plan->request.seed;
  host_ = &host;
  // A message box or a click elsewhere may take the focus during the runs; it comes back to
  // Start afterwards when Start had it.
  const bool start_had_focus = command1_->hasFocus() || focusWidget() == command1_;
  lock_parameters(true);
  status_line_->begin_start(plan->paths.inventory_path);

  const StartMessages messages = run_planned_start(*plan, host, results, separator);
  const bool figures_shown = summary_.outcome == StartSummary::Outcome::completed ||
                             summary_.outcome == StartSummary::Outcome::reports_unwritten;
  if (!figures_shown) {
    results.restore(previous_results);
    plot_->restore(previous_plot);
    summary_.seconds = host.seconds_of_runs();
  }
  summary_.attempts_by_wind = host.attempts_by_wind();
  host_ = nullptr;
  lock_parameters(false);
  if (start_had_focus) command1_->setFocus();
  plot_->update();

  tell_start_end(*plan, messages, separator);
  if (finish_requested_) close();
}

void MainWindow::refuse_start(const QString& message, QWidget* field) {
  summary_.outcome = StartSummary::Outcome::refused;
  status_line_->show_message(tr("Расчёт не начат"));
  tell(tr("Расчёт не начат.") + QLatin1Char('\n') + message);
  if (field != nullptr) {
    field->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(field)) line->selectAll();
  }
}

std::optional<MainWindow::PlannedStart> MainWindow::plan_start(char separator) {
  PlannedStart plan;
  plan.paths = chooser_->paths();
  try {
    plan.request.parameters = read_parameters(parameters_);
  } catch (const FieldRefused& refused) {
    refuse_start(refusal_text(refused.refusal(), separator), refused.field());
    return std::nullopt;
  }
  if (plan.paths.empty()) {
    refuse_start(tr("Файл данных не выбран: щёлкните файл в списке «Файл данных:»."),
                 &chooser_->file_list());
    return std::nullopt;
  }
  std::vector<TallyFilePlot> plots;
  try {
    plots = read_tally_file(plan.paths.inventory_path);
  } catch (const Refused& refused) {
    refuse_start(refusal_text(refused.refusal(), separator), &chooser_->file_list());
    return std::nullopt;
  }
  const std::optional<std::size_t> chosen =
      choose_plot(plots, plan.paths.inventory_path, separator);
  if (!chosen) return std::nullopt;
  if (const std::optional<Refusal>& refused = plots[*chosen].refused) {
    refuse_start(refusal_text(*refused, separator), &chooser_->file_list());
    return std::nullopt;
  }
  plan.plot_id = plots[*chosen].plot;
  plan.inventory = std::move(plots[*chosen].inventory);
  try {
    coefficients_->apply_to(plan.inventory, plan.request.parameters.carbon_fraction);
  } catch (const Refused& refused) {
    refuse_start(refusal_text(refused.refusal(), separator), &coefficients_->choose_button());
    return std::nullopt;
  }
  const QString file_name = QFileInfo(plan.paths.inventory_path).fileName();
  plan.shown_name =
      plan.plot_id.isEmpty() ? file_name : tr("%1, участок %2").arg(file_name, plan.plot_id);

  // The expectation holds for the wind selected now.
  plan.request.wind = wind_frame_->choice();
  plan.request.seed = seed_from_time_of_day();
  try {
    plan.request.report_paths = report_paths_of(plan.paths, plan.plot_id);
  } catch (const Refused& refused) {
    refuse_start(refusal_text(refused.refusal(), separator), &chooser_->file_list());
    return std::nullopt;
  }
  plan.request.decimal_separator = separator;
  return plan;
}

// A file of several plots: one of them, as the user chooses, with reports of its own. Only the
// plots that can be computed are offered; those refused for a bad row are named with the reason.
std::optional<std::size_t> MainWindow::choose_plot(const std::vector<TallyFilePlot>& plots,
                                                   const QString& inventory_path, char separator) {
  if (plots.size() <= 1) return 0;
  QStringList ids;
  QStringList refused;
  std::vector<std::size_t> offered;
  for (std::size_t i = 0; i < plots.size(); ++i) {
    if (plots[i].refused) {
      refused << refusal_text(*plots[i].refused, separator);
    } else {
      ids << plots[i].plot;
      offered.push_back(i);
    }
  }
  if (offered.empty()) {
    refuse_start(refused.join(QLatin1Char('\n')), &chooser_->file_list());
    return std::nullopt;
  }
  const QString file_name = QFileInfo(inventory_path).fileName();
  const std::optional<int> choice =
      plot_choice_(file_name, ids, std::max(0, static_cast<int>(ids.indexOf(last_plot_))), refused);
  if (!choice || *choice < 0 || *choice >= ids.size()) {
    summary_.outcome = StartSummary::Outcome::refused;
    status_line_->show_message(tr("Расчёт не начат: участок не выбран"));
    return std::nullopt;
  }
  last_plot_ = ids[*choice];
  return offered[static_cast<std::size_t>(*choice)];
}

WindowRunHost::Hooks MainWindow::start_hooks(ResultsDisplay& results, int transect_length,
                                             double& expected_attempts_per_run) {
  WindowRunHost::Hooks hooks;
  hooks.wind = [this] { return wind_frame_->choice(); };
  hooks.expectation_ready = [&expected_attempts_per_run](const Model2Expectation& expected) {
    for (double probability : expected.crossing_probability) {
      if (probability > 0) expected_attempts_per_run += 1 / probability;
    }
  };
  hooks.model1_ready = [&results](const Model1Result& model1) {
    results.show_model1_total(model1);
    results.show_model1_pieces(model1);
  };
  hooks.progress = [this, &expected_attempts_per_run](const RunProgress& progress) {
    status_line_->show_progress(progress, expected_attempts_per_run);
  };
  hooks.reports_wanted = [this] { return check1_->isChecked(); };
  hooks.frame = plot_frame(transect_length);
  return hooks;
}

MainWindow::StartMessages MainWindow::run_planned_start(const PlannedStart& plan,
                                                        WindowRunHost& host,
                                                        ResultsDisplay& results, char separator) {
  const SimulationParameters& parameters = plan.request.parameters;
  StartMessages messages;
  try {
    const StartOutcome outcome = perform_start(plan.inventory, plan.request, host);
    summary_.seconds = host.seconds_of_runs();
    if (outcome.not_computed) {
      show_not_computed(plan, outcome, results, messages, separator);
      return messages;
    }
    const StartResult& runs = *outcome.runs;
    results.show_model2(runs.model2, runs.model1.record_count);
    std::optional<double> expected;
    if (host.wind_changed() && parameters.wind_force > 0) {
      results.show_no_expectation(tr("Ветер менялся: ожидание не определено"));
    } else {
      results.show_expectation(outcome.expectation, runs.model2, parameters.run_count);
      expected = outcome.expectation.carbon_per_ha;
    }
    chart_->show_series(
        convergence_series(carbon_t_per_ha_by_run(runs.tally, parameters.transect_length),
                           expected),
        plan.shown_name, separator);
    messages.warnings =
        warnings_text(plausibility_warnings(plan.inventory, plan.plot_id.toStdString(), parameters,
                                            outcome.model1),
                      separator);
    summary_.outcome = outcome.reports_refused ? StartSummary::Outcome::reports_unwritten
                                               : StartSummary::Outcome::completed;
    summary_.placement_count = runs.tally.placement_count;
    summary_.reports_written = outcome.reports_written;
    if (outcome.reports_refused)
      messages.failure = refusal_text(*outcome.reports_refused, separator);
  } catch (const StartCancelled&) {
    summary_.outcome =
        finish_requested_ ? StartSummary::Outcome::ended : StartSummary::Outcome::cancelled;
  } catch (const Refused& refused) {
    summary_.outcome = StartSummary::Outcome::failed;
    messages.failure = refusal_text(refused.refusal(), separator);
  }
  return messages;
}

// Model 1 without its number of pieces: the tally cannot give the rest, and no report is written.
void MainWindow::show_not_computed(const PlannedStart& plan, const StartOutcome& outcome,
                                   ResultsDisplay& results, StartMessages& messages,
                                   char separator) {
  results.show_not_computed(not_computed_text(*outcome.not_computed, separator),
                            outcome.model1.record_count);
  messages.warnings =
      warnings_text(plausibility_warnings(plan.inventory, plan.plot_id.toStdString(),
                                          plan.request.parameters, outcome.model1),
                    separator);
  summary_.outcome = StartSummary::Outcome::completed;
  summary_.placement_count = 0;
  summary_.reports_written = false;
}

void MainWindow::tell_start_end(const PlannedStart& plan, const StartMessages& messages,
                                char separator) {
  switch (summary_.outcome) {
    case StartSummary::Outcome::completed:
    case StartSummary::Outcome::reports_unwritten: {
      // Reports from an earlier Start beside the tally no longer match the figures shown.
      const ReportPaths& reports = plan.request.report_paths;
      const bool stale_reports =
          !summary_.reports_written && (QFile::exists(QFile::decodeName(reports.stock.c_str())) ||
                                        QFile::exists(QFile::decodeName(reports.estimate.c_str())));
      status_line_->show_results_of(
          plan.paths.inventory_path,
          done_line(plan.plot_id, !messages.warnings.isEmpty(), stale_reports, separator));
      if (summary_.reports_written) chooser_->refresh_files();
      if (!messages.failure.isEmpty())
        tell(tr("Результаты показаны, но отчёты не записаны.") + QLatin1Char('\n') +
             messages.failure);
      // Whole, in a box the user closes: the status line is too short for them.
      if (!messages.warnings.isEmpty())
        tell(tr("Расчёт выполнен, но проверьте данные «%1»:").arg(plan.shown_name) +
             QLatin1Char('\n') + messages.warnings);
      break;
    }
    case StartSummary::Outcome::cancelled:
      status_line_->show_message(tr("Расчёт отменён: прежние результаты сохранены"));
      break;
    case StartSummary::Outcome::failed:
      status_line_->show_message(tr("Расчёт прерван"));
      tell(tr("Расчёт прерван, прежние результаты сохранены.") + QLatin1Char('\n') +
           messages.failure);
      break;
    default:
      break;
  }
}

QString MainWindow::done_line(const QString& plot_id, bool warned, bool stale_reports,
                              char separator) const {
  const double rate = summary_.seconds > 0 ? summary_.placement_count / summary_.seconds : 0;
  QString done = tr("готово: прогонов %1, попыток %2 за %3 с (%4 в секунду)")
                     .arg(summary_.run_count)
                     .arg(summary_.placement_count)
                     .arg(QString::number(summary_.seconds, 'f', 2)
                              .replace(QLatin1Char('.'), QLatin1Char(separator)))
                     .arg(std::llround(rate));
  // The notes first: the line is cut in the middle when it is too long.
  if (wind_frame_->choice() == WindButton::none && summary_.wind_force > 0)
    done = tr("сила ветра без направления не действует: выберите направление; ") + done;
  if (stale_reports) done = tr("файлы отчётов — от прежнего расчёта; ") + done;
  if (warned) done = tr("проверьте данные (см. сообщение); ") + done;
  if (!plot_id.isEmpty()) done = tr("участок %1: %2").arg(plot_id, done);
  return done;
}

void MainWindow::finish() {
  if (running()) {
    // The Start unwinds at its next attempt, its reports uncommitted, and then the window closes.
    finish_requested_ = true;
    host_->request_stop();
    return;
  }
  close();
}

void MainWindow::cancel_start() {
  if (running()) host_->request_stop();
}

void MainWindow::show_convergence_chart() {
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    finish();
    return;
  }
  plot_->close();
  chart_->close();
  event->accept();
  emit program_ended();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    cancel_start();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace quorvel
