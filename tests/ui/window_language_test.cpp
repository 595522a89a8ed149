// The window's language: Russian unless English is asked for; every text marked for
// translation has a finished English translation inside the program; and in both languages
// every caption fits its designed box and a fifteen-digit value its result field.
// Each kind of refusal is worded in Russian from its data alone, the warnings in either language.

#include "ui/window_language.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionFrame>
#include <QXmlStreamReader>
#include <cerrno>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/window_words.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

TEST(WindowLanguage, TheOptionComesBeforeTheEnvironmentAndRussianIsTheDefault) {
  const struct {
    const char *option, *environment;
    WindowLanguage language;
    const char* unknown;
  } cases[] = {
      {"", "", WindowLanguage::russian, ""},     {"en", "", WindowLanguage::english, ""},
      {"", "EN", WindowLanguage::english, ""},   {"ru", "en", WindowLanguage::russian, ""},
      {"de", "", WindowLanguage::russian, "de"}, {"de", "en", WindowLanguage::english, "de"},
  };
  for (const auto& c : cases) {
    QString unknown;
    EXPECT_EQ(requested_window_language(c.option, c.environment, &unknown), c.language)
        << c.option << " / " << c.environment;
    EXPECT_EQ(unknown, c.unknown) << c.option << " / " << c.environment;
  }
}

// Context and source text of every message of a Qt Linguist file, with its translation and
// its type ("unfinished", "vanished", ... or empty for a finished one).
struct Translation {
  QString text, type;
};
using Messages = std::map<std::pair<QString, QString>, Translation>;

Messages read_ts(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QXmlStreamReader xml(&file);
  Messages messages;
  QString context, source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value(QLatin1String("type")).toString();
      messages[{context, source}] = {xml.readElementText(), type};
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

QStringList place_markers(const QString& text) {
  QStringList markers;
  for (const auto& m : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
    markers << m.captured();
  markers.sort();
  return markers;
}

TEST(WindowLanguage, EveryMarkedTextHasAFinishedEnglishTranslationInTheProgram) {
  // The texts as lupdate finds them in the sources now, not as the committed file lists them.
  QTemporaryDir folder;
  const QString found_ts = folder.filePath("found.ts");
  ASSERT_EQ(QProcess::execute(QStringLiteral(QUORVEL_LUPDATE),
                              {"-silent", "-source-language", "ru", "-locations", "none", "-I",
                               QStringLiteral(QUORVEL_SOURCE_DIR "/src"),
                               QStringLiteral(QUORVEL_SOURCE_DIR "/src/ui"), "-ts", found_ts}),
            0);
  const Messages found = read_ts(found_ts);
  const Messages committed =
      read_ts(QStringLiteral(QUORVEL_SOURCE_DIR "/translations/quorvel_en.ts"));
  ASSERT_GT(found.size(), 50u);
  const auto translator = install_window_language(WindowLanguage::english);
  ASSERT_NE(translator, nullptr);
  for (const auto& [key, unused] : found) {
    const auto& [context, source] = key;
    SCOPED_TRACE((context + ": " + source).toStdString());
    const auto entry = committed.find(key);
    ASSERT_NE(entry, committed.end()) << "not in translations/quorvel_en.ts";
    const Translation& english = entry->second;
    EXPECT_EQ(english.type, QString());
    EXPECT_FALSE(english.text.isEmpty());
    EXPECT_EQ(place_markers(english.text), place_markers(source));
    EXPECT_EQ(translator->translate(context.toUtf8(), source.toUtf8()), english.text);
  }
}

// A refused inventory in the language of the window: the captions, the message box with its
// button and the status line, with not a word of the other language.
TEST(WindowLanguage, ARefusedInventoryIsToldWhollyInTheLanguageOfTheWindow) {
  const struct {
    WindowLanguage language;
    const char *start, *ok, *status, *message;
  } cases[] = {
      {WindowLanguage::russian, "Старт", "ОК", "Расчёт не начат",
       "Расчёт не начат.\nФайл данных «%1», строка 2, запись 2, поле 4 (длина): ожидается длина в "
       "м, число больше 0 (десятичный разделитель — точка), а найдено «0»."},
      {WindowLanguage::english, "Start", "OK", "The Start did not begin",
       "The Start did not begin.\nData file “%1”, line 2, record 2, field 4 (length): expected a "
       "length in m, a number above 0 (period as decimal point), found “0”."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    const auto translator = install_window_language(c.language);
    QTemporaryDir folder;
    testing::write_file(folder.filePath("bad.txt"), "\"S\",20,20,10,1\n\"S\",20,20,0,1\n");
    MainWindow window(folder.path(), {QStringLiteral("/")});  // messages go to a message box
    window.chooser().choose_file("bad.txt");
    window.start();
    const auto* box = window.findChild<QMessageBox*>("message_box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QString::fromUtf8(c.message).arg(folder.filePath("bad.txt")));
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), c.ok);
    EXPECT_EQ(window.findChild<QPushButton*>("Command1")->text(), c.start);
    EXPECT_EQ(window.status_line().text(), c.status);
    // Qt's own words, as in a field's context menu, from Qt's translation in the Russian window.
    const QString copy = QCoreApplication::translate("QLineEdit", "&Copy");
    EXPECT_EQ(copy.contains(QRegularExpression(QStringLiteral("[\\x{0400}-\\x{04FF}]"))),
              c.language == WindowLanguage::russian)
        << copy.toStdString();
  }
}

// The room a line edit gives its text: inside the frame, two pixels either side.
int text_room(const QLineEdit* field) {
  QStyleOptionFrame option;
  option.initFrom(field);
  option.rect = field->rect();
  option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
  option.state |= QStyle::State_Sunken;
  return field->style()->subElementRect(QStyle::SE_LineEditContents, &option, field).width() - 4;
}

TEST(WindowLanguage, CaptionsFitTheirBoxesAndFifteenDigitsTheirFieldsInBothLanguages) {
  for (const WindowLanguage language : {WindowLanguage::russian, WindowLanguage::english}) {
    SCOPED_TRACE(language == WindowLanguage::russian ? "Russian" : "English");
    const auto translator = install_window_language(language);
    testing::WindowInFolder w;
    for (const QLabel* label : w.window->findChildren<QLabel*>(QRegularExpression("^Label"))) {
      const QRect box = label->rect();
      const QRect text = label->fontMetrics().boundingRect(
          QRect(0, 0, box.width(), 10'000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
          label->text());
      EXPECT_TRUE(box.contains(text))
          << label->objectName().toStdString() << " " << label->text().toStdString();
    }
    for (const char* name : {"Command1", "Command2", "Frame1", "Frame2", "Frame3"}) {
      const QWidget* control = w.window->findChild<QWidget*>(name);
      const auto* button = qobject_cast<const QAbstractButton*>(control);
      const QString caption =
          button ? button->text() : qobject_cast<const QGroupBox*>(control)->title();
      EXPECT_LT(control->fontMetrics().horizontalAdvance(caption), control->width() - 8) << name;
    }
    // Fifteen digits in the volume and surface fields, five in the length and runs fields.
    for (const char* name : {"Text12", "Text28", "Text4", "Text13", "Text29", "Text14", "Text5"}) {
      const QLineEdit* field = w.field(name);
      const QString widest = field->width() > 60 ? "888,888888888888" : "30000";
      EXPECT_LE(field->fontMetrics().horizontalAdvance(widest), text_room(field)) << name;
    }
    if (language == WindowLanguage::english) {
      // Every caption of the design is translated: not a Russian letter is left.
      const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
      for (const QWidget* control : w.window->findChildren<QWidget*>()) {
        const QString text = control->property("text").toString() +
                             control->property("title").toString() + control->toolTip();
        EXPECT_FALSE(text.contains(cyrillic)) << control->objectName().toStdString();
      }
      EXPECT_EQ(w.window->status_line().text(), "Choose a data file and press “Start”");
    }
  }
}

// The warnings of a tally one a line in the language of the window, each with a hint about
// units, numbers to a tenth with the window's separator and a half tenth rounded up.
TEST(WindowWarningText, SaysTheWarningsInTheLanguageOfTheWindow) {
  using enum WarningKind;
  const std::vector<Warning> warnings = {
      {.kind = diameter_above_limit, .line = 3, .value = 450.25, .limit = 300, .count = 4},
      {.kind = longer_than_diagonal, .line = 5, .value = 150, .limit = 141.42135, .count = 1},
      {.kind = carbon_above_limit, .value = 1234.56, .limit = 1000, .count = 1},
      {.kind = no_pieces, .count = 1}};
  const struct {
    WindowLanguage language;
    char separator;
    const char* line;
  } cases[] = {
      {WindowLanguage::russian, ',',
       "• диаметр 450,3 см больше 300 см (введён в мм?) — строка 3, таких фрагментов 4\n"
       "• фрагмент длиной 150 м длиннее диагонали участка (141,4 м; введена в см? или это длина "
       "трансекты?) — строка 5\n"
       "• углерод модели 1 1234,6 тС/га больше 1000 тС/га (диаметры в мм? длины в см? плотность "
       "в кг/м3?)\n"
       "• в файле нет ни одного фрагмента"},
      {WindowLanguage::english, '.',
       "• diameter 450.3 cm above 300 cm (typed in mm?) — line 3, 4 pieces in all\n"
       "• length 150 m above the plot's diagonal 141.4 m (typed in cm? or the transect length?) "
       "— line 5\n"
       "• model 1 carbon 1234.6 t C/ha above 1000 t C/ha (diameters in mm? lengths in cm?)\n"
       "• the tally holds no piece"},
  };
  for (const auto& c : cases) {
    const auto translator = install_window_language(c.language);
    EXPECT_EQ(warnings_text(warnings, c.separator).toStdString(), c.line);
  }
  EXPECT_EQ(warnings_text({}, ','), QString());
}

// Every kind of refusal in the window's words, from its data alone; in English too where the
// window's English is not the batch's (batch_test), or where a key or a habit slipped.
TEST(WindowRefusalText, WordsEveryRefusalFromItsData) {
  using enum RefusalKind;
  using enum InventoryField;
  using P = ValueProblem;
  const std::string report_box =
      " Если отчёты не нужны, снимите флажок «Выводить результаты в файлы».";
  const struct {
    Refusal refusal;
    std::string russian;
    const char* english;  // nullptr: the batch's words
  } cases[] = {
      // clang-format off
      {{.kind = field_not_valid, .file = "p.txt", .line = 1, .record = 1, .field = stage,
        .found = "стадия пятая, а может быть и шестая или седьмая"},
       "Файл данных «p.txt», строка 1, запись 1, поле 5 (стадия разложения): ожидается стадия "
       "разложения, целое число от 0 до 5, а найдено «стадия пятая, а может быть и шестая или…».",
       nullptr},
      {{.kind = field_not_valid, .file = "t.csv", .line = 4, .record = 3, .field = length,
        .column = "Len", .found = "2,5", .hint = FormHint::semicolon_separated, .hint_fields = 5},
       "Файл данных «t.csv», строка 4, запись 3, столбец «Len» (длина): ожидается длина в м, "
       "число больше 0 (десятичный разделитель — точка), а найдено «2,5». Строка 4: 5 полей "
       "через «;» — файл с точкой с запятой? Добавьте строку заголовков: "
       "порода;d1;d2;длина;стадия.", nullptr},
      {{.kind = field_not_valid, .file = "k.csv", .line = 3, .field = reduction,
        .column = "Red", .found = "1,2"},
       "Таблица коэффициентов «k.csv», строка 3, столбец «Red» (коэффициент редукции): ожидается "
       "коэффициент редукции, число больше 0 и не больше 1, а найдено «1,2».", nullptr},
      {{.kind = file_missing, .file = "k.csv", .field = coefficient_species},
       "Таблица коэффициентов «k.csv» не найдена.", nullptr},
      {{.kind = record_incomplete, .file = "s.txt", .line = 1, .record = 1, .field = species_code,
        .hint = FormHint::space_separated, .hint_fields = 5, .hint_line = 1},
       "Файл данных «s.txt», строка 1, запись 1: файл кончается внутри записи после поля 1 (код "
       "породы); в записи пять полей. Строка 1: 5 полей через пробел — поля разделены пробелами? "
       "Разделите их запятыми, «;» или табуляцией.", nullptr},
      {{.kind = too_many_fields, .file = "t.csv", .line = 3, .record = 2,
        .hint = FormHint::decimal_comma, .hint_fields = 7, .hint_line = 3},
       "Файл данных «t.csv», строка 3, запись 2: в строке больше полей, чем столбцов. Строка 3: 7 "
       "полей через запятую — десятичные запятые? Разделите поля знаком «;» или пишите числа с "
       "точкой.", nullptr},
      {{.kind = species_unknown, .file = "t.csv", .line = 2, .record = 1, .field = species_code,
        .column = "Порода", .found = "ясень"},
       "Файл данных «t.csv», строка 2, запись 1, столбец «Порода» (код породы): неизвестные коды "
       "пород: ясень; ожидается «S», «H» или «C».", nullptr},
      {{.kind = text_not_decodable, .file = "u.txt", .line = 7, .encoding = "UTF-16LE"},
       "Файл данных «u.txt», строка 7: текст не читается в кодировке UTF-16LE.", nullptr},
      {{.kind = header_not_recognised, .file = "h.csv", .line = 1, .found = "толщина"},
       "Файл данных «h.csv», строка 1: первая строка похожа на заголовок, но столбца «толщина» "
       "программа не знает. Названия столбцов: порода, d1, d2, длина, стадия (а также участок, "
       "страта).", nullptr},
      {{.kind = column_missing, .file = "h.csv", .line = 1, .field = plot, .column = "делянка"},
       "Файл данных «h.csv», строка 1: в заголовке нет столбца «делянка».", nullptr},
      // A per cent sign in a name or a text found is shown as it is, never read as a value.
      {{.kind = record_too_long, .file = "st%1.csv", .line = 3, .record = 2, .found = "%3",
        .limit = 3},
       "Файл страт «st%1.csv», строка 3, запись 2: лишнее поле «%3»: в записи не больше 3 полей.",
       nullptr},
      {{.kind = field_not_valid, .file = "st.csv", .line = 2, .record = 1, .field = area_ha,
        .column = "area_ha", .found = "-3"},
       "Файл страт «st.csv», строка 2, запись 1, столбец «area_ha» (площадь (га)): ожидается "
       "площадь в га, число больше 0, а найдено «-3».", nullptr},
      {{.kind = file_too_large, .file = "big.txt", .limit = 2147483648},
       "Файл данных «big.txt» больше 2048 МБ: файлы такого размера программа не читает.", nullptr},
      {{.kind = parameter_not_valid, .parameter = Parameter::transect_length, .found = "сто",
        .problem = P::not_a_number},
       "Поле «Длина трансекты»: «сто» — не число.", nullptr},
      {{.kind = parameter_not_valid, .parameter = Parameter::density, .stage = 2, .group = 3,
        .found = "3,57", .problem = P::outside_range},
       "Плотность древесины (стадия разложения 2, «Хвойные»): плотность должна быть больше 0 и не "
       "больше 1,5 т/м³.", nullptr},
      {{.kind = parameter_not_valid, .parameter = Parameter::carbon_fraction, .found = "1e39",
        .problem = P::out_of_range},
       "Поле «коэффициент пересчета массы древесины в массу углерода»: число «1e39» слишком "
       "велико или слишком мало.", nullptr},
      {{.kind = piece_cannot_cross, .file = "p.txt", .line = 2, .record = 2, .length = 1e-300},
       "Файл данных «p.txt», строка 2, запись 2: фрагмент длиной 1E-300 м никогда не пересечёт "
       "трансекту.", nullptr},
      {{.kind = piece_never_crossed, .file = "p.txt", .line = 1, .record = 1, .length = 0.05,
        .limit = 10000000, .run = 3},
       "Файл данных «p.txt», строка 1, запись 1: фрагмент длиной 0,05 м не пересёк трансекту за "
       "10000000 попыток в прогоне 3; он слишком короток для этого участка.", nullptr},
      {{.kind = figure_beyond_range, .file = "h.txt", .figure = Figure::model2_surface},
       "Файл данных «h.txt»: числа слишком велики для расчёта (поверхность валежа модели 2 вне "
       "диапазона чисел); проверьте диаметры, длины, плотности и коэффициент пересчета.", nullptr},
      {{.kind = output_unwritable, .file = "/r/ps_results.txt", .output = Output::report,
        .system_error = EXDEV},
       "Не удалось записать файл отчёта «/r/ps_results.txt»: системная ошибка 18." + report_box,
       nullptr},
      {{.kind = reports_unnamed, .file = "txt"},
       "Путь «txt» слишком короток, чтобы назвать по нему файлы отчётов.", nullptr},
      {{.kind = field_not_valid, .file = "p.txt", .line = 3, .record = 3, .field = species_code,
        .found = "С"},
       "Файл данных «p.txt», строка 3, запись 3, поле 1 (код породы): «С» — кириллическая буква; "
       "коды пород пишутся латиницей: S, H, C.",
       "Data file “p.txt”, line 3, record 3, field 1 (species code): “С” is a Cyrillic letter; "
       "the species codes are the Latin letters S, H and C."},
      {{.kind = lines_file_needed, .file = "t.csv", .plot = "P1", .column = "Transect",
        .limit = 2},
       "Файл данных «t.csv», участок P1: в данных есть столбец линий «Transect»; длины линий даёт "
       "файл линий, который пока читает только quorvel-batch (--lines).",
       "Data file “t.csv”, plot P1: the tally has a line column “Transect”; the lengths of the "
       "lines come from a lines file, which only quorvel-batch reads for now (--lines)."},
      {{.kind = species_unknown, .file = "t.csv", .line = 2, .record = 1, .field = species_code,
        .column = "Порода", .found = "Н"},
       "Файл данных «t.csv», строка 2, запись 1, столбец «Порода» (код породы): «Н» — "
       "кириллическая буква; коды пород пишутся латиницей: S, H, C.",
       "Data file “t.csv”, line 2, record 1, column “Порода” (species code): “Н” is a Cyrillic "
       "letter; the species codes are the Latin letters S, H and C."},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "1,000",
        .problem = P::digit_group},
       "Поле «Количество прогонов»: «1,000» неоднозначно: запятая или точка здесь может отделять "
       "тысячи. Целое число пишите без разделителей: 1000.",
       "Field “Number of runs”: “1,000” is ambiguous: the mark may separate thousands. Write "
       "whole numbers without separators: 1000."},
      {{.kind = parameter_not_valid, .parameter = Parameter::transect_length, .found = "100000",
        .problem = P::outside_int16},
       "Поле «Длина трансекты»: длина трансекты — целое число метров от 1 до 32767, а введено "
       "«100000».",
       "Field “Transect length”: the transect length is a whole number of metres from 1 to 32767, "
       "found “100000”."},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "0,4",
        .limit = 1, .problem = P::below_minimum},
       "Поле «Количество прогонов»: число прогонов — целое число от 1 до 32767, а введено «0,4».",
       "Field “Number of runs”: the number of runs is a whole number from 1 to 32767, found "
       "“0,4”."},
      {{.kind = field_not_valid, .file = "t.csv", .line = 4, .record = 3, .field = length,
        .column = "Len", .found = "2;5", .decimal = FileDecimal::comma},
       "Файл данных «t.csv», строка 4, запись 3, столбец «Len» (длина): ожидается длина в м, число "
       "больше 0 (десятичный разделитель в этом файле — запятая), а найдено «2;5».",
       "Data file “t.csv”, line 4, record 3, column “Len” (length): expected a length in m, a "
       "number above 0 (comma as decimal mark in this file), found “2;5”."},
      {{.kind = field_not_valid, .file = "t.csv", .line = 2, .record = 1, .field = diameter1,
        .column = "d1", .found = "x", .decimal = FileDecimal::either},
       "Файл данных «t.csv», строка 2, запись 1, столбец «d1» (диаметр 1): ожидается диаметр в см, "
       "число не меньше 0 (десятичный разделитель — запятая или точка), а найдено «x».",
       "Data file “t.csv”, line 2, record 1, column “d1” (diameter 1): expected a diameter in cm, "
       "a number not below 0 (comma or period as decimal mark), found “x”."},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.russian);
    EXPECT_EQ(refusal_text(c.refusal, ',').toStdString(), c.russian);
    if (c.english == nullptr) continue;
    const auto translator = install_window_language(WindowLanguage::english);
    EXPECT_EQ(refusal_text(c.refusal, '.').toStdString(), c.english);
  }
}

}  // namespace
}  // namespace quorvel
