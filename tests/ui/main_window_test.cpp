// The main window as it opens: captions and default texts, places and sizes, the exclusive
// wind buttons, the keyboard focus order and closing the window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::WindowInFolder;

QString caption_of(const MainWindow& window, const char* name) {
  const QString object = QString::fromLatin1(name);
  if (const auto* label = window.findChild<QLabel*>(object)) return label->text();
  if (const auto* button = window.findChild<QAbstractButton*>(object)) return button->text();
  if (const auto* frame = window.findChild<QGroupBox*>(object)) return frame->title();
  if (const auto* field = window.findChild<QLineEdit*>(object)) return field->text();
  ADD_FAILURE() << "no control " << name;
  return {};
}

TEST(MainWindowLayout, CaptionsAndDefaultTextsStandAsDesigned) {
  WindowInFolder w;
  const std::map<std::string, QString> expected = {
      {"Frame1", "Параметры"}, {"Frame2", "Результаты"}, {"Frame3", "Преобладающий ветер"},
      {"Command1", "Старт"}, {"Command2", "Финиш"}, {"Check1", "Выводить результаты в файлы"},
      {"Label1", "Длина трансекты"}, {"Label5", "Количество прогонов"},
      {"Label8", "коэффициент пересчета массы древесины в массу углерода"},
      {"Label18", "Стадия разложения "}, {"Label3", "Мягко листв"}, {"Label24", "Твердо листв"},
      {"Label2", "Хвойные"}, {"Label19", "1"}, {"Label23", "5"},
      {"Label27", "Направление трансекты"}, {"Label29", "Направление ветра"},
      {"Label28", "Сила ветра (1-5)"}, {"Label14", "Рабочий диск:"}, {"Label15", "Директорий:"},
      {"Label4", "Файл данных:"}, {"Label10", "Углерод (тС/га) модель1"},
      {"Label6", "Углерод (тС/га) модель2"}, {"Label11", "Число фрагментов/га модель1"},
      {"Label7", "Число фрагментов/га модель2"}, {"Label12", "Объем мягколист валежа м3/га"},
      {"Label25", "Объем тверолист валежа м3/га"}, {"Label16", "Объем хвойного валежа м3/га"},
      {"Label13", "Повернхость мягко лист валежа м2/га"},
      {"Label26", "Поверхность твердо лист валежа м2/га"},
      {"Label17", "Поверхность хвойн валежа м2/га"}, {"Label9", "Число пересечений"},
      {"Text1", "100"}, {"Text5", "1"}, {"Text8", "0,5"}, {"Text30", "0"},
      {"Text3", "0,357"}, {"Text2", "0,500"}, {"Text23", "0,300"},
      {"Text15", "0,275"}, {"Text16", "0,410"}, {"Text24", "0,260"},
      {"Text17", "0,211"}, {"Text18", "0,330"}, {"Text25", "0,200"},
      {"Text19", "0,162"}, {"Text20", "0,250"}, {"Text26", "0,160"},
      {"Text21", "0,125"}, {"Text22", "0,200"}, {"Text27", "0,100"},
  };
  EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Quorvel"));
  for (const auto& [name, caption] : expected) {
    EXPECT_EQ(caption_of(*w.window, name.c_str()), caption) << name;
  }
}

TEST(MainWindowLayout, ResultFieldsAreEmptyAndTheReportBoxIsTicked) {
  WindowInFolder w;
  for (const char* name : {"Text10", "Text6", "Text11", "Text7", "Text12", "Text28", "Text4",
                           "Text13", "Text29", "Text14", "Text9"}) {
    ASSERT_NE(w.field(name), nullptr) << name;
    EXPECT_TRUE(w.field(name)->text().isEmpty()) << name;
    EXPECT_TRUE(w.field(name)->isReadOnly()) << name;
  }
  EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isChecked());
}

// Fifteen twips to a pixel on the 96-dpi screen of the tests.
TEST(MainWindowLayout, ControlsSitAtTheirDesignedPlacesInPixels) {
  WindowInFolder w;
  auto geometry = [&](const char* name) {
    const auto* widget = w.window->findChild<QWidget*>(QString::fromLatin1(name));
    return widget != nullptr ? widget->geometry() : QRect();
  };
  EXPECT_EQ(w.window->centralWidget()->size(), QSize(697, 431));
  EXPECT_EQ(geometry("Frame1"), QRect(0, 8, 425, 417));
  EXPECT_EQ(geometry("Frame2"), QRect(440, 16, 249, 369));
  EXPECT_EQ(geometry("Command1"), QRect(440, 392, 121, 33));
  EXPECT_EQ(geometry("Command2"), QRect(568, 392, 121, 33));
  EXPECT_EQ(geometry("Frame3"), QRect(216, 136, 201, 121));
  // Inside the frames, places are relative to the frame.
  EXPECT_EQ(geometry("Text1"), QRect(368, 16, 41, 19));
  EXPECT_EQ(geometry("Text8"), QRect(368, 80, 41, 25));
  EXPECT_EQ(geometry("Text3"), QRect(80, 56, 41, 19));
  EXPECT_EQ(geometry("Text27"), QRect(160, 152, 41, 19));
  EXPECT_EQ(geometry("Label21"), QRect(24, 112, 9, 17));  // 120 twips below its row
  EXPECT_EQ(geometry("Option1"), QRect(80, 48, 17, 13));
  EXPECT_EQ(geometry("Option5"), QRect(128, 96, 17, 13));
  EXPECT_EQ(geometry("Text30"), QRect(160, 64, 17, 19));
  EXPECT_EQ(geometry("Drive1"), QRect(120, 240, 65, 21));
  EXPECT_EQ(geometry("Dir1"), QRect(16, 280, 169, 126));
  EXPECT_EQ(geometry("File1"), QRect(192, 280, 137, 123));
  EXPECT_EQ(geometry("Check1"), QRect(336, 320, 81, 41));
  EXPECT_EQ(geometry("Text10"), QRect(104, 24, 121, 19));
  EXPECT_EQ(geometry("Text9"), QRect(128, 320, 65, 25));
  EXPECT_EQ(geometry("Label13"), QRect(8, 208, 105, 25));
  // The status line lies under the designed area and moves nothing of it.
  w.window->show();
  EXPECT_EQ(w.window->findChild<QWidget*>("Frame2")->geometry(), QRect(440, 16, 249, 369));
  const QWidget& status = w.window->status_line();
  EXPECT_GE(status.geometry().top(), w.window->centralWidget()->geometry().bottom());
}

TEST(MainWindowLayout, TheArrowPointsUpTheWindow) {
  WindowInFolder w;
  auto* frame = w.window->findChild<QWidget*>("Frame3");
  const auto* shaft = frame->findChild<QWidget*>("Line1");
  ASSERT_NE(shaft, nullptr);
  EXPECT_EQ(shaft->geometry().left(), 40);
  EXPECT_EQ(shaft->geometry().top(), 56);
  EXPECT_EQ(shaft->geometry().height(), 49);  // from y 56 down to 104, both ends drawn
}

TEST(MainWindowLayout, OnlyTheFrameCaptionsAreUnderlined) {
  WindowInFolder w;
  EXPECT_TRUE(w.window->findChild<QGroupBox*>("Frame1")->font().underline());
  EXPECT_TRUE(w.window->findChild<QGroupBox*>("Frame2")->font().underline());
  EXPECT_FALSE(w.window->findChild<QGroupBox*>("Frame3")->font().underline());
  EXPECT_FALSE(w.field("Text1")->font().underline());
  EXPECT_FALSE(w.window->findChild<QLabel*>("Label10")->font().underline());
}

TEST(WindButtons, NoneIsSelectedAtStartAndTheyAreExclusive) {
  WindowInFolder w;
  std::vector<QRadioButton*> options;
  for (int number = 1; number <= 8; ++number) {
    options.push_back(w.window->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(number)));
    ASSERT_NE(options.back(), nullptr);
    EXPECT_FALSE(options.back()->isChecked());
    EXPECT_TRUE(options.back()->text().isEmpty());
  }
  options[2]->click();
  options[5]->click();
  for (int number = 1; number <= 8; ++number) {
    EXPECT_EQ(options[number - 1]->isChecked(), number == 6) << number;
  }
  // Clicking the selected one again keeps it selected: there is always one wind once chosen.
  options[5]->click();
  EXPECT_TRUE(options[5]->isChecked());
}

// Tab order from the Start button through every focusable control of the window.
TEST(FocusOrder, FollowsTheDesignedSequenceAndStartsAtStart) {
  WindowInFolder w;
  const QStringList expected = {
      "Command1", "Check1", "Text8", "Text5", "Text3", "Text2", "Text1", "Text13", "Text12",
      "Text11", "Text10", "Text9", "Text7", "Text6", "Command2", "Drive1", "Dir1", "File1",
      "Text4", "Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20", "Text21",
      "Text22", "Text23", "Text24", "Text25", "Text26", "Text27", "Text28", "Text29", "Option1",
      "Option2", "Option3", "Option4", "Option5", "Option6", "Option7", "Option8", "Text30"};
  auto* start = w.window->findChild<QWidget*>("Command1");
  QStringList order;
  QWidget* widget = start;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == w.window.get() &&
        !widget->objectName().isEmpty()) {
      order.append(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  } while (widget != start && order.size() <= expected.size());
  EXPECT_EQ(order, expected);

  w.window->show();
  EXPECT_EQ(w.window->focusWidget(), start);
}

TEST(ClosingTheWindow, EndsTheProgramAsFinishDoes) {
  WindowInFolder w;
  w.window->show();
  int ended = 0;
  QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
  w.window->close();
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_FALSE(w.window->plot_window().isVisible());
}

TEST(ClosingTheWindow, FinishEndsTheProgram) {
  WindowInFolder w;
  w.window->show();
  int ended = 0;
  QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
  w.window->findChild<QPushButton*>("Command2")->click();
  EXPECT_EQ(ended, 1);
  EXPECT_FALSE(w.window->isVisible());
}

}  // namespace
}  // namespace quorvel
