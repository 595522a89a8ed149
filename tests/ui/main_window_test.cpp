// The main window as it opens: captions and default texts, places and sizes, the exclusive
// wind buttons and the keyboard focus order.
// The parameter fields are read into the numbers of a Start, refusing what it cannot use.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <map>
#include <tuple>

#include "ui/parameter_fields.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

class MainWindowAtStart : public ::testing::Test {
 protected:
  QWidget* control(const char* name) const {
    return w.window->findChild<QWidget*>(QString::fromLatin1(name));
  }
  QString caption(const char* name) const {
    const QWidget* widget = control(name);
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
    if (const auto* field = qobject_cast<const QLineEdit*>(widget)) return field->text();
    ADD_FAILURE() << "no control " << name;
    return {};
  }

  testing::WindowInFolder w;
};

TEST_F(MainWindowAtStart, CaptionsAndDefaultTextsStandAsDesigned) {
  // clang-format off
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
  // clang-format on
  EXPECT_EQ(w.window->windowTitle(), QStringLiteral("Quorvel"));
  for (const auto& [name, text] : expected) EXPECT_EQ(caption(name.c_str()), text) << name;
  for (const char* name : {"Text10", "Text6", "Text11", "Text7", "Text12", "Text28", "Text4",
                           "Text13", "Text29", "Text14", "Text9"}) {
    EXPECT_EQ(caption(name), QString()) << name;
    EXPECT_TRUE(w.field(name)->isReadOnly()) << name;
  }
  EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isChecked());
  // Only the captions of the two outer frames are underlined.
  for (const char* name : {"Frame1", "Frame2", "Frame3", "Text1", "Label10"})
    EXPECT_EQ(control(name)->font().underline(),
              name == std::string("Frame1") || name == std::string("Frame2"))
        << name;
}

// Left, top, width and height in twips as designed, relative to the frame a control lies in;
// fifteen twips make a pixel on the 96-dpi screen of the tests.
TEST_F(MainWindowAtStart, ControlsSitAtTheirDesignedPlaces) {
  const struct {
    const char* name;
    int left, top, width, height;
  } designed[] = {
      {"Frame1", 0, 120, 6375, 6255},      {"Frame2", 6600, 240, 3735, 5535},
      {"Command1", 6600, 5880, 1815, 495}, {"Command2", 8520, 5880, 1815, 495},
      {"Frame3", 3240, 2040, 3015, 1815},  {"Text8", 5520, 1200, 615, 375},
      {"Label8", 3960, 1080, 1575, 855},   {"Text3", 1200, 840, 615, 285},
      {"Text27", 2400, 2280, 615, 285},    {"Label21", 360, 1680, 135, 255},
      {"Drive1", 1800, 3600, 975, 315},    {"Dir1", 240, 4200, 2535, 1890},
      {"File1", 2880, 4200, 2055, 1845},   {"Check1", 5040, 4800, 1215, 615},
      {"Option1", 1200, 720, 255, 195},    {"Option5", 1920, 1440, 255, 195},
      {"Text30", 2400, 960, 255, 285},     {"Text10", 1560, 360, 1815, 285},
      {"Label13", 120, 3120, 1575, 375},   {"Text9", 1920, 4800, 975, 375},
      {"Text5", 5520, 720, 615, 285},  // wider than the form's 375: five digits fit
  };
  EXPECT_EQ(w.window->centralWidget()->size(), QSize(10455 / 15, 6465 / 15));
  for (const auto& [name, left, top, width, height] : designed) {
    ASSERT_NE(control(name), nullptr) << name;
    EXPECT_EQ(control(name)->geometry(), QRect(left / 15, top / 15, width / 15, height / 15))
        << name;
  }
  // The arrow's shaft runs from (600, 1560) up to (600, 840), both ends drawn.
  EXPECT_EQ(control("Frame3")->findChild<QWidget*>("Line1")->geometry(), QRect(40, 56, 1, 49));
  // The status line lies under the designed area and moves nothing of it.
  w.window->show();
  EXPECT_EQ(control("Frame2")->geometry(), QRect(440, 16, 249, 369));
  EXPECT_GE(w.window->status_line().geometry().top(),
            w.window->centralWidget()->geometry().bottom());
}

TEST_F(MainWindowAtStart, NoWindButtonIsSelectedAndTheyAreExclusive) {
  const auto option = [&](int n) {
    return w.window->findChild<QRadioButton*>(QString("Option%1").arg(n));
  };
  for (int n = 1; n <= 8; ++n) EXPECT_FALSE(option(n)->isChecked() || !option(n)->text().isEmpty());
  for (const int clicked : {3, 6, 6}) option(clicked)->click();  // a second click keeps it
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(option(n)->isChecked(), n == 6) << n;
}

TEST_F(MainWindowAtStart, FocusFollowsTheDesignedOrderAndStartsAtStart) {
  const QStringList expected =
      QStringLiteral(
          "Command1 Check1 Text8 Text5 Text3 Text2 Text1 Text13 Text12 Text11 Text10 "
          "Text9 Text7 Text6 Command2 Drive1 Dir1 File1 Text4 Text14 Text15 Text16 "
          "Text17 Text18 Text19 Text20 Text21 Text22 Text23 Text24 Text25 Text26 "
          "Text27 Text28 Text29 Option1 Option2 Option3 Option4 Option5 Option6 "
          "Option7 Option8 Text30 coefficients_button coefficients_drop")
          .split(' ');
  QWidget* start = control("Command1");
  QStringList order;
  QWidget* widget = start;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->window() == w.window.get() &&
        !widget->objectName().isEmpty())
      order.append(widget->objectName());
    widget = widget->nextInFocusChain();
  } while (widget != start && order.size() <= expected.size());
  EXPECT_EQ(order, expected);
  w.window->show();
  EXPECT_EQ(w.window->focusWidget(), start);
}

class ReadParameters : public ::testing::Test {
 protected:
  ReadParameters() {
    fields.transect_length = w.field("Text1");
    fields.wind_force = w.field("Text30");
    fields.carbon_fraction = w.field("Text8");
    fields.run_count = w.field("Text5");
    // The density grid row by row, stage 1 to 5, groups soft, hard, conifer.
    const QStringList grid =
        QStringLiteral("3 2 23 15 16 24 17 18 25 19 20 26 21 22 27").split(' ');
    for (int cell = 0; cell < 15; ++cell)
      fields.density.at(cell / 3 + 1, cell % 3 + 1) =
          w.field(("Text" + grid[cell]).toLatin1().constData());
  }
  SimulationParameters read_with(const char* name, const char* text) {
    w.field(name)->setText(QString::fromUtf8(text));
    return read_parameters(fields);
  }

  testing::WindowInFolder w;
  ParameterFields fields;
};

TEST_F(ReadParameters, TheDefaultTextsGiveTheDefaultParameters) {
  const SimulationParameters read = read_parameters(fields);
  EXPECT_EQ(read.transect_length, 100);
  EXPECT_EQ(read.wind_force, 0);
  EXPECT_EQ(read.run_count, 1);
  EXPECT_EQ(read.carbon_fraction, 0.5f);
  // Every cell in its place, "0,357" kept as the single nearest to it, not the double.
  EXPECT_EQ(read.density, SimulationParameters{}.density);
  EXPECT_EQ(static_cast<double>(read.density.at(1, 1)), 0.3569999933242798);
  EXPECT_EQ(read.density.at(2, 2), 0.41f);  // Text16 is stage 2, group 2
  EXPECT_EQ(read.density.at(1, 3), 0.3f);   // Text23 is stage 1, group 3
}

TEST_F(ReadParameters, WholeNumbersRoundHalvesToEvenAndAPointIsAccepted) {
  EXPECT_EQ(read_with("Text5", "2,5").run_count, 2);
  EXPECT_EQ(read_with("Text5", "3,5").run_count, 4);
  EXPECT_EQ(read_with("Text1", " 50 ").transect_length, 50);
  EXPECT_EQ(read_with("Text8", "0.47").carbon_fraction, 0.47f);
  // Any wind force is a whole number; the placement clamps it.
  EXPECT_EQ(read_with("Text30", "-3").wind_force, -3);
  EXPECT_EQ(read_with("Text30", "9").wind_force, 9);
}

TEST_F(ReadParameters, RefusesWhatTheRunCannotUseNamingTheFirstBadField) {
  // Texts that convert but lie outside what a run can use; the conversions themselves are the
  // engine's and tested there.
  const struct {
    const char* name;
    const char* text;
    Parameter parameter;
    ValueProblem problem;
  } bad[] = {{"Text1", "-5", Parameter::transect_length, ValueProblem::below_minimum},
             {"Text1", "0", Parameter::transect_length, ValueProblem::below_minimum},
             {"Text5", "-1", Parameter::run_count, ValueProblem::below_minimum},
             {"Text3", "-0,1", Parameter::density, ValueProblem::negative},
             {"Text8", "1e39", Parameter::carbon_fraction, ValueProblem::out_of_range}};
  for (const auto& [name, text, parameter, problem] : bad) {
    const QString kept = w.field(name)->text();
    try {
      read_with(name, text);
      ADD_FAILURE() << name << " = " << text << " was accepted";
    } catch (const FieldRefused& refused) {
      EXPECT_EQ(refused.field(), w.field(name)) << name << " = " << text;
      EXPECT_EQ(
          std::tie(refused.refusal().parameter, refused.refusal().problem, refused.refusal().found),
          std::make_tuple(parameter, problem, text));
    }
    w.field(name)->setText(kept);
  }
  // Text18 is read before Text5: it is the one named.
  w.field("Text5")->setText("x");
  try {
    read_with("Text18", "");
    FAIL() << "refused nothing";
  } catch (const FieldRefused& refused) {
    EXPECT_EQ(refused.field(), w.field("Text18"));
    EXPECT_EQ(std::tie(refused.refusal().stage, refused.refusal().group), std::make_tuple(3, 2));
  }
}

}  // namespace
}  // namespace quorvel
