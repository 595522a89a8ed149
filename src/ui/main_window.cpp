#include "main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <cmath>
#include <optional>

#include "estimate_report.h"
#include "expectation.h"
#include "input_error.h"
#include "inventory_reader.h"
#include "random_source.h"
#include "report_file.h"
#include "run_driver.h"
#include "shown_from_first_character.h"
#include "stock_report.h"
#include "window_run_host.h"
#include "wrapped_check_box.h"

namespace quorvel {

namespace {

// The form's font size. Liberation Sans is wider than the small bitmap sans serif the form was
// laid out in: at 8 points (11 pixels at 96 dpi) two lines no longer fit the designed
// two-line boxes of 375 twips and fifteen digits no longer fit the volume and surface fields;
// at 7.5 points (10 pixels) they do.
constexpr qreal form_font_points = 7.5;

QLabel* make_label(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  label->setGeometry(at);
  return label;
}

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

std::filesystem::path file_system_path(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Where in the inventory file an error lies ("строка 2, запись 2, поле 1"), from the reader's
// own message, or nothing when it names no place.
QString place_in_inventory(const std::string& what) {
  static const QRegularExpression line(QStringLiteral("line (\\d+)"));
  static const QRegularExpression record(QStringLiteral("record (\\d+)"));
  static const QRegularExpression field(QStringLiteral("field (\\d+)"));
  const QString text = QString::fromStdString(what);
  QStringList place;
  if (const auto m = line.match(text); m.hasMatch())
    place << QStringLiteral("строка %1").arg(m.captured(1));
  if (const auto m = record.match(text); m.hasMatch())
    place << QStringLiteral("запись %1").arg(m.captured(1));
  if (const auto m = field.match(text); m.hasMatch())
    place << QStringLiteral("поле %1").arg(m.captured(1));
  return place.join(QStringLiteral(", "));
}

QString inventory_refused(const QString& path, const std::string& what) {
  const QString place = place_in_inventory(what);
  const QString head = place.isEmpty()
                           ? QStringLiteral("Файл данных «%1» не читается.").arg(path)
                           : QStringLiteral("Файл данных «%1» не принят: %2.").arg(path, place);
  return QStringLiteral("Расчёт не начат.\n%1\nПодробно: %2")
      .arg(head, QString::fromStdString(what));
}

QString runs_failed(const QString& path, const std::string& what) {
  const QString place = place_in_inventory(what);
  const bool endless = QString::fromStdString(what).contains(QStringLiteral("did not cross"));
  const QString head =
      place.isEmpty() || !endless
          ? QStringLiteral("Ошибка во время прогонов.")
          : QStringLiteral(
                "Файл данных «%1», %2: кусок не пересёк трансекту за допустимое число попыток.")
                .arg(path, place);
  return QStringLiteral("Расчёт прерван, прежние результаты сохранены.\n%1\nПодробно: %2")
      .arg(head, QString::fromStdString(what));
}

// A failure during a Start whose message is ready for the user.
struct StartFailure {
  QString message;
};

std::optional<PendingReport> prepare_report(const QString& path, const std::string& contents) {
  try {
    return PendingReport(file_system_path(path), contents);
  } catch (const std::exception& error) {
    throw StartFailure{QStringLiteral("Расчёт прерван: не удалось записать файл отчёта «%1».\n%2")
                           .arg(path, QString::fromStdString(error.what()))};
  }
}

void commit_report(PendingReport& report, const QString& path) {
  try {
    report.commit();
  } catch (const std::exception& error) {
    throw StartFailure{QStringLiteral("Не удалось записать файл отчёта «%1».\n%2")
                           .arg(path, QString::fromStdString(error.what()))};
  }
}

}  // namespace

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

  status_line_ = new StartStatusLine(this);
  setStatusBar(status_line_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  plot_ = new PlotWindow(scale_, this);
  connect(plot_, &PlotWindow::cancel_requested, this, &MainWindow::cancel_start);

  connect(chooser_, &DataFileChooser::failed, this, &MainWindow::tell);
  connect(chooser_, &DataFileChooser::paths_chosen, this, [this](const FilePaths& paths) {
    if (!running()) status_line_->show_chosen(paths.inventory_path);
  });

  show_fields_from_first_character(form_);
  set_focus_order();
  command1_->setFocus();
  move(scale_.point(1065, 1455));

  message_sink_ = [this](const QString& text) {
    // Not modal for the application: a message during the runs must not stop them.
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  };
}

MainWindow::~MainWindow() = default;

void MainWindow::build_parameters_frame(const QStringList& drives, const QString& start_directory) {
  frame1_ = new QGroupBox(tr("Параметры"), form_);
  frame1_->setObjectName(QStringLiteral("Frame1"));
  frame1_->setGeometry(scale_.rect(0, 120, 6375, 6255));
  QWidget* f = frame1_;

  make_label(f, "Label1", tr("Длина трансекты"), scale_.rect(3960, 240, 1455, 255));
  parameters_.transect_length = make_field(f, "Text1", "100", scale_.rect(5520, 240, 615, 285));
  make_label(f, "Label5", tr("Количество прогонов"), scale_.rect(3960, 600, 1215, 375));
  parameters_.run_count = make_field(f, "Text5", "1", scale_.rect(5520, 720, 375, 285));
  make_label(f, "Label8", tr("коэффициент пересчета массы древесины в массу углерода"),
             scale_.rect(3960, 1080, 1575, 855));
  parameters_.carbon_fraction = make_field(f, "Text8", "0,5", scale_.rect(5520, 1200, 615, 375));

  // The density grid: rows are decomposition stages, columns species groups.
  make_label(f, "Label18", tr("Стадия разложения "), scale_.rect(120, 360, 975, 375));
  make_label(f, "Label3", tr("Мягко листв"), scale_.rect(1200, 360, 495, 375));
  make_label(f, "Label24", tr("Твердо листв"), scale_.rect(1800, 360, 615, 375));
  make_label(f, "Label2", tr("Хвойные"), scale_.rect(2400, 480, 735, 255));
  struct GridCell {
    const char* name;
    const char* text;
  };
  static constexpr GridCell grid[5][3] = {
      {{"Text3", "0,357"}, {"Text2", "0,500"}, {"Text23", "0,300"}},
      {{"Text15", "0,275"}, {"Text16", "0,410"}, {"Text24", "0,260"}},
      {{"Text17", "0,211"}, {"Text18", "0,330"}, {"Text25", "0,200"}},
      {{"Text19", "0,162"}, {"Text20", "0,250"}, {"Text26", "0,160"}},
      {{"Text21", "0,125"}, {"Text22", "0,200"}, {"Text27", "0,100"}},
  };
  static constexpr const char* stage_labels[5] = {"Label19", "Label20", "Label21", "Label22",
                                                  "Label23"};
  for (int stage = 1; stage <= 5; ++stage) {
    const int top = 840 + 360 * (stage - 1);
    make_label(f, stage_labels[stage - 1], QString::number(stage),
               scale_.rect(360, top + 120, 135, 255));
    for (int group = 1; group <= 3; ++group) {
      const GridCell& cell = grid[stage - 1][group - 1];
      parameters_.density.at(stage, group) =
          make_field(f, cell.name, cell.text, scale_.rect(1200 + 600 * (group - 1), top, 615, 285));
    }
  }

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

void MainWindow::build_results_frame() {
  frame2_ = new QGroupBox(tr("Результаты"), form_);
  frame2_->setObjectName(QStringLiteral("Frame2"));
  frame2_->setGeometry(scale_.rect(6600, 240, 3735, 5535));
  QWidget* f = frame2_;

  struct ResultRow {
    const char* label;
    const char* caption;
    int label_top, label_width, label_height;
    const char* field;
    int field_left, field_top, field_width, field_height;
  };
  static constexpr ResultRow rows[11] = {
      {"Label10", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Углерод (тС/га) модель1"), 360, 1335,
       375, "Text10", 1560, 360, 1815, 285},
      {"Label6", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Углерод (тС/га) модель2"), 720, 1335,
       375, "Text6", 1560, 720, 1815, 285},
      {"Label11", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число фрагментов/га модель1"), 1080,
       2415, 375, "Text11", 2640, 1080, 735, 285},
      {"Label7", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число фрагментов/га модель2"), 1440,
       2415, 255, "Text7", 2640, 1440, 735, 285},
      {"Label12", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем мягколист валежа м3/га"), 1680,
       1695, 375, "Text12", 1920, 1800, 1455, 285},
      {"Label25", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем тверолист валежа м3/га"), 2160,
       1575, 375, "Text28", 1920, 2160, 1455, 285},
      {"Label16", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Объем хвойного валежа м3/га"), 2640,
       1575, 375, "Text4", 1920, 2640, 1455, 285},
      {"Label13", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Повернхость мягко лист валежа м2/га"),
       3120, 1575, 375, "Text13", 1920, 3120, 1455, 285},
      {"Label26", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Поверхность твердо лист валежа м2/га"),
       3600, 1695, 375, "Text29", 1920, 3600, 1455, 285},
      {"Label17", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Поверхность хвойн валежа м2/га"), 4080,
       1695, 375, "Text14", 1920, 4080, 1455, 285},
      {"Label9", QT_TRANSLATE_NOOP("quorvel::MainWindow", "Число пересечений"), 4800, 1215, 375,
       "Text9", 1920, 4800, 975, 375},
  };
  std::array<QLineEdit*, 11> fields{};
  for (std::size_t i = 0; i < 11; ++i) {
    const ResultRow& row = rows[i];
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
                                       &wind_frame_->force_field()};
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
}

void MainWindow::start() {
  if (running()) return;  // no second Start inside the first
  ++summary_.starts;

  // Everything is read and checked before anything is changed.
  const FilePaths paths = chooser_->paths();
  SimulationParameters parameters;
  Inventory inventory;
  auto refuse = [this](const QString& message, QWidget* field) {
    summary_.outcome = StartSummary::Outcome::refused;
    status_line_->show_message(QStringLiteral("Расчёт не начат"));
    tell(message);
    if (field != nullptr) {
      field->setFocus();
      if (auto* line = qobject_cast<QLineEdit*>(field)) line->selectAll();
    }
  };
  try {
    parameters = read_parameters(parameters_);
  } catch (const FieldRefused& refusal) {
    refuse(refusal.message(), refusal.field());
    return;
  }
  if (paths.empty()) {
    refuse(QStringLiteral("Расчёт не начат.\nФайл данных не выбран: щёлкните файл в списке "
                          "«Файл данных:»."),
           &chooser_->file_list());
    return;
  }
  try {
    inventory = read_inventory(file_system_path(paths.inventory_path));
  } catch (const std::exception& error) {
    refuse(inventory_refused(paths.inventory_path, error.what()), &chooser_->file_list());
    return;
  }

  const char separator = decimal_separator();
  ResultsDisplay results(result_fields_, separator);
  const ResultsDisplay::Snapshot previous_results = results.snapshot();
  const PlotWindow::Contents previous_plot = plot_->contents();

  // What the runs should come to, for the progress bar and the comparison afterwards; it holds
  // for the wind selected now.
  const WindButton wind_at_start = wind_frame_->choice();
  std::optional<Model2Expectation> expected;
  try {
    expected = expected_model2(inventory, parameters, wind_at_start);
  } catch (const std::exception&) {
    expected.reset();  // the Start goes on without the comparison
  }
  double expected_attempts_per_run = 0;
  if (expected) {
    for (double probability : expected->crossing_probability) {
      if (probability > 0) expected_attempts_per_run += 1 / probability;
    }
  }

  std::optional<PendingReport> stock_report;
  std::optional<PendingReport> estimate_report;
  WindowRunHost::Hooks hooks;
  hooks.wind = [this] { return wind_frame_->choice(); };
  hooks.model1_ready = [&](const Model1Result& model1) {
    // The stock report is prepared before the fields change, so a report that cannot be
    // written leaves the window as it was.
    if (check1_->isChecked()) {
      stock_report = prepare_report(paths.stock_report_path, stock_report_text(model1, separator));
    }
    results.show_model1_total(model1);
    results.show_model1_pieces(model1);
  };
  hooks.progress = [&](const RunProgress& progress) {
    status_line_->show_progress(progress, expected_attempts_per_run);
  };
  WindowRunHost host(*plot_, hooks);

  summary_.outcome = StartSummary::Outcome::none;
  summary_.run_count = parameters.run_count;
  summary_.placement_count = 0;
  summary_.reports_written = false;
  summary_.seed = seed_from_time_of_day();
  host_ = &host;
  // Disabling Start moves the focus on; it comes back when Start is enabled again.
  const bool start_had_focus = command1_->hasFocus() || focusWidget() == command1_;
  lock_parameters(true);

  auto put_back = [&] {
    stock_report.reset();
    estimate_report.reset();
    results.restore(previous_results);
    plot_->restore(previous_plot);
  };
  QString failure;
  try {
    StartInputs inputs;
    inputs.parameters = parameters;
    inputs.seed = summary_.seed;
    const StartResult result = run_start(inventory, inputs, host);
    summary_.seconds = host.seconds_of_runs();
    if (check1_->isChecked()) {
      estimate_report = prepare_report(paths.estimate_report_path,
                                       estimate_report_text(result.model2, separator));
    }
    if (stock_report) commit_report(*stock_report, paths.stock_report_path);
    if (estimate_report) commit_report(*estimate_report, paths.estimate_report_path);
    results.show_model2(result.model2, result.model1.record_count);
    if (host.wind_changed() && parameters.wind_force > 0) {
      results.show_no_expectation(QStringLiteral("Ветер менялся: ожидание не определено"));
    } else if (expected) {
      results.show_expectation(*expected, result.model2, parameters.run_count);
    } else {
      results.show_no_expectation(QString());
    }
    summary_.outcome = StartSummary::Outcome::completed;
    summary_.placement_count = result.tally.placement_count;
    summary_.reports_written = stock_report.has_value() || estimate_report.has_value();
  } catch (const StartCancelled&) {
    put_back();
    summary_.outcome =
        finish_requested_ ? StartSummary::Outcome::ended : StartSummary::Outcome::cancelled;
  } catch (const StartFailure& error) {
    put_back();
    summary_.outcome = StartSummary::Outcome::failed;
    failure = error.message;
  } catch (const std::exception& error) {
    put_back();
    summary_.outcome = StartSummary::Outcome::failed;
    failure = runs_failed(paths.inventory_path, error.what());
  }
  if (summary_.outcome != StartSummary::Outcome::completed) {
    summary_.seconds = host.seconds_of_runs();
  }
  summary_.attempts_by_wind = host.attempts_by_wind();
  host_ = nullptr;
  lock_parameters(false);
  if (start_had_focus) command1_->setFocus();
  plot_->update();

  switch (summary_.outcome) {
    case StartSummary::Outcome::completed: {
      const double rate = summary_.seconds > 0 ? summary_.placement_count / summary_.seconds : 0;
      status_line_->show_message(
          QStringLiteral("Готово: прогонов %1, попыток %2 за %3 с (%4 в секунду)")
              .arg(summary_.run_count)
              .arg(summary_.placement_count)
              .arg(QString::number(summary_.seconds, 'f', 2)
                       .replace(QLatin1Char('.'), QLatin1Char(separator)))
              .arg(std::llround(rate)));
      if (summary_.reports_written) chooser_->refresh_files();
      break;
    }
    case StartSummary::Outcome::cancelled:
      status_line_->show_message(QStringLiteral("Расчёт отменён: прежние результаты сохранены"));
      break;
    case StartSummary::Outcome::failed:
      status_line_->show_message(QStringLiteral("Расчёт прерван"));
      tell(failure);
      break;
    default:
      break;
  }
  if (finish_requested_) close();
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

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running()) {
    event->ignore();
    finish();
    return;
  }
  plot_->close();
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
