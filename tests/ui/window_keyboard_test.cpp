// The window from the keyboard: choosing a file, pressing the buttons, what a key press can
// reach during a Start, fields showing their first character, the status line that never
// widens the window and names the inventory of the results, and the folder that stays open.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>

#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::during_start;
using testing::read_file;
using testing::WindowInFolder;
using testing::write_file;

void press(QWidget* widget, int key, const QString& text = QString()) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &down);
  QCoreApplication::sendEvent(widget, &up);
}

QPushButton* button(WindowInFolder& w, const char* name) {
  return w.window->findChild<QPushButton*>(name);
}

// Three inventories of one, two and three pieces, and the first of them clicked: the number of
// pieces a Start shows tells which file it read.
void three_inventories(WindowInFolder& w) {
  const std::string piece = "\"S\",20,20,10,1\n";
  write_file(w.path("a.txt"), piece);
  write_file(w.path("b.txt"), piece + piece);
  w.choose_inventory("c.txt", piece + piece + piece);
  w.window->chooser().choose_file("a.txt");
}

// The file the chooser has fixed, and the one a Start then reads, by its number of pieces.
void expect_chosen(WindowInFolder& w, const char* name, const char* pieces) {
  EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path(name));
  w.window->start();
  EXPECT_EQ(w.field("Text9")->text(), pieces);
}

struct KeyboardCase {
  const char* name;
  std::function<void(WindowInFolder&)> check;
};

const KeyboardCase keyboard_cases[] = {
    {"ArrowDownChoosesTheNextFileAndStartReadsIt",
     [](WindowInFolder& w) {
       three_inventories(w);
       press(&w.window->chooser().file_list(), Qt::Key_Down);
       expect_chosen(w, "b.txt", "2");
     }},
    {"EndHomeAndPageDownChooseLikeAClick",
     [](WindowInFolder& w) {
       three_inventories(w);
       QListWidget& files = w.window->chooser().file_list();
       press(&files, Qt::Key_End);
       EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path("c.txt"));
       press(&files, Qt::Key_Home);
       EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path("a.txt"));
       press(&files, Qt::Key_PageDown);
       expect_chosen(w, "c.txt", "3");
     }},
    {"TypingTheStartOfANameChoosesIt",
     [](WindowInFolder& w) {
       three_inventories(w);
       press(&w.window->chooser().file_list(), Qt::Key_C, QStringLiteral("c"));
       expect_chosen(w, "c.txt", "3");
     }},
    {"EnterOnTheCurrentFileChoosesIt",
     [](WindowInFolder& w) {
       three_inventories(w);
       QListWidget& files = w.window->chooser().file_list();
       // The focus moved onto b.txt without choosing it, as Ctrl and an arrow key do.
       files.selectionModel()->setCurrentIndex(files.model()->index(1, 0),
                                               QItemSelectionModel::Clear);
       EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path("a.txt"));
       press(&files, Qt::Key_Return);
       expect_chosen(w, "b.txt", "2");
     }},
    {"EnterOnTheFocusedStartStarts",
     [](WindowInFolder& w) {
       three_inventories(w);
       press(button(w, "Command1"), Qt::Key_Enter);
       EXPECT_EQ(w.window->last_start().starts, 1);
       EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
     }},
    {"ReturnOnTheFocusedFinishEndsTheProgram",
     [](WindowInFolder& w) {
       int ended = 0;
       QObject::connect(w.window.get(), &MainWindow::program_ended, [&] { ++ended; });
       press(button(w, "Command2"), Qt::Key_Return);
       EXPECT_EQ(ended, 1);
     }},
    {"KeysRightAfterStartReachNoSettingAndStartNoSecondStart",
     [](WindowInFolder& w) {
       w.choose_inventory("plot.txt", testing::slow_inventory(20));
       w.window->show();
       button(w, "Command1")->setFocus();
       during_start(w.window.get(), [&] {
         press(w.window->focusWidget(), Qt::Key_Space, QStringLiteral(" "));
         press(w.window->focusWidget(), Qt::Key_Return);
       });
       press(button(w, "Command1"), Qt::Key_Space, QStringLiteral(" "));
       EXPECT_EQ(w.window->last_start().starts, 1);
       EXPECT_EQ(w.window->last_start().outcome, StartSummary::Outcome::completed);
       EXPECT_TRUE(w.window->findChild<QCheckBox*>("Check1")->isChecked());
       EXPECT_FALSE(read_file(w.path("plotm_results.txt")).empty());
       EXPECT_FALSE(read_file(w.path("plots_results.txt")).empty());
     }},
    {"FieldsShowTheirFirstCharacterWhenSetAndWhenLeft",
     [](WindowInFolder& w) {
       QLineEdit* runs = w.field("Text5");
       runs->setText(QStringLiteral("3000"));
       EXPECT_EQ(runs->cursorPosition(), 0);
       w.field("Text12")->setText(QStringLiteral("37,5984695427375"));
       EXPECT_EQ(w.field("Text12")->cursorPosition(), 0);
       // Leaving the field for another shows its start again; leaving the window does not.
       for (const auto& [reason, position] :
            {std::pair{Qt::ActiveWindowFocusReason, 4}, std::pair{Qt::TabFocusReason, 0}}) {
         runs->end(false);
         QFocusEvent left(QEvent::FocusOut, reason);
         QCoreApplication::sendEvent(runs, &left);
         EXPECT_EQ(runs->cursorPosition(), position) << reason;
       }
     }},
    {"ALongStatusTextIsCutAndLeavesTheWindowItsDesignedWidth",
     [](WindowInFolder& w) {
       w.window->show();
       const QString path = QStringLiteral("/данные").repeated(60) + QStringLiteral("/plot7.txt");
       w.window->status_line().show_chosen(path);
       for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
       EXPECT_EQ(w.window->width(), 697);
       const QString shown = w.window->status_line().shown_text();
       EXPECT_TRUE(shown.startsWith(QStringLiteral("Файл данных: /данные"))) << shown.toStdString();
       EXPECT_TRUE(shown.endsWith(QStringLiteral("/plot7.txt"))) << shown.toStdString();
       EXPECT_LT(shown.size(), path.size());
       EXPECT_EQ(w.window->status_line().text(), QStringLiteral("Файл данных: ") + path);
     }},
    {"TheStatusLineNamesTheInventoryOfTheResultsShown",
     [](WindowInFolder& w) {
       StartStatusLine& status = w.window->status_line();
       status.show_results_of(QStringLiteral("/d/plot7.txt"), QStringLiteral("Готово"));
       EXPECT_EQ(status.text(), QStringLiteral("Результаты: plot7.txt — Готово"));
       status.begin_start(QStringLiteral("/d/plot8.txt"));
       status.show_progress({1, 2, 300}, 0);
       status.show_chosen(QStringLiteral("/d/other.txt"));  // clicked during the Start
       EXPECT_EQ(status.text(),
                 QStringLiteral("Прогон 1 из 2 по plot8.txt, попыток: 300   (Esc — отмена)"));
       status.show_results_of(QStringLiteral("/d/plot8.txt"), QStringLiteral("Готово"));
       EXPECT_EQ(status.results_of(), QStringLiteral("/d/plot8.txt"));
       status.show_chosen(QStringLiteral("/d/other.txt"));
       EXPECT_EQ(status.text(),
                 QStringLiteral("Файл данных: /d/other.txt (результаты на экране — plot8.txt)"));
     }},
    {"AFolderThatCannotBeOpenedLeavesTheOpenFolderHighlighted",
     [](WindowInFolder& w) {
       write_file(w.path("plot.txt"), "");
       ASSERT_TRUE(QDir(w.folder.path()).mkdir("gone"));
       DirectoryList& dirs = w.window->chooser().directory_list();
       const QString open = dirs.path();
       ASSERT_TRUE(dirs.set_path(open));  // lists "gone"
       ASSERT_TRUE(QDir(w.folder.path()).rmdir("gone"));
       const auto found = dirs.findItems(QStringLiteral("gone"), Qt::MatchEndsWith);
       ASSERT_EQ(found.size(), 1);
       dirs.setCurrentItem(found.front());
       press(&dirs, Qt::Key_Return);
       EXPECT_EQ(dirs.path(), open);
       EXPECT_EQ(DirectoryList::path_of(dirs.currentItem()), open);
       EXPECT_EQ(w.window->chooser().file_list().count(), 1);
       ASSERT_EQ(w.messages.size(), 1);
       EXPECT_TRUE(w.messages[0].contains(QStringLiteral("не открывается")));
     }},
};

TEST(WindowKeyboard, EachKeyDoesWhatItSaysAndNoMore) {
  for (const KeyboardCase& c : keyboard_cases) {
    SCOPED_TRACE(c.name);
    WindowInFolder w;
    c.check(w);
  }
}

}  // namespace
}  // namespace quorvel
