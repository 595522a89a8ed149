// The window's language: Russian unless English is asked for; every text marked for
// translation has a finished English translation inside the program; and in both languages
// every caption fits its designed box and a fifteen-digit value its result field.

#include "window_language.h"

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
#include <map>

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
                              {"-silent", "-source-language", "ru", "-locations", "none",
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
       "length in m, a number above 0 (with a decimal point), found “0”."},
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
    for (const char* name : {"Text12", "Text28", "Text4", "Text13", "Text29", "Text14"}) {
      const QLineEdit* field = w.field(name);
      EXPECT_LE(field->fontMetrics().horizontalAdvance(QStringLiteral("888,888888888888")),
                text_room(field))
          << name;
    }
    if (language == WindowLanguage::english) {
      const std::map<std::string, QString> english = {
          {"Command1", "Start"},
          {"Label8", "Carbon fraction of wood mass"},
          {"Label14", "Working drive:"},
          {"Frame3", "Prevailing wind"},
          {"Check1", "Write results to files"},
      };
      for (const auto& [name, caption] : english) {
        const QObject* control = w.window->findChild<QObject*>(QString::fromStdString(name));
        ASSERT_NE(control, nullptr) << name;  // the names stay those of the design
        const QVariant text =
            control->property(qobject_cast<const QGroupBox*>(control) ? "title" : "text");
        EXPECT_EQ(text.toString(), caption) << name;
      }
      EXPECT_EQ(w.window->status_line().text(), "Choose a data file and press “Start”");
    }
  }
}

}  // namespace
}  // namespace quorvel
