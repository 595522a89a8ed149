// The window from the keyboard: choosing a file, fields showing their first character, the
// status line that never widens the window and names the inventory of the results, and the
// folder that stays open. Keys on Start and Finish, during a Start too: window_start_test.

#include <gtest/gtest.h>

#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::press;
using testing::WindowInFolder;
using testing::write_file;

class WindowKeyboard : public ::testing::Test {
 protected:
  WindowInFolder w;
};

TEST_F(WindowKeyboard, EnterOnTheCurrentFileChoosesIt) {
  // Two inventories of one and two pieces: the number a Start shows tells which it read.
  write_file(w.path("b.txt"), "\"S\",20,20,10,1\n\"S\",20,20,10,1\n");
  w.choose_inventory("a.txt", "\"S\",20,20,10,1\n");
  QListWidget& files = w.window->chooser().file_list();
  // The focus moved onto b.txt without choosing it, as Ctrl and an arrow key do. A key that
  // moves the highlight chooses through the same signal as a click (data_file_chooser_test).
  files.selectionModel()->setCurrentIndex(files.model()->index(1, 0), QItemSelectionModel::Clear);
  EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path("a.txt"));
  press(&files, Qt::Key_Return);
  EXPECT_EQ(w.window->chooser().paths().inventory_path, w.path("b.txt"));
  w.start();
  EXPECT_EQ(w.field("Text9")->text(), "2");
}

TEST_F(WindowKeyboard, FieldsShowTheirFirstCharacterWhenSetAndWhenLeft) {
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
}

TEST_F(WindowKeyboard, ALongStatusTextIsCutAndLeavesTheWindowItsDesignedWidth) {
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
  // A sentence is cut between words, never inside one.
  const QString sentence =
      QStringLiteral("Расчёт прерван, прежние результаты сохранены ").repeated(8) + "конец";
  w.window->status_line().show_message(sentence);
  const QStringList shown_words = w.window->status_line().shown_text().split(' ');
  EXPECT_EQ(shown_words.back(), "конец");
  for (const QString& word : shown_words)
    EXPECT_TRUE(word == "…" || sentence.split(' ').contains(word)) << word.toStdString();
}

TEST_F(WindowKeyboard, TheStatusLineNamesTheInventoryOfTheResultsShown) {
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
}

TEST_F(WindowKeyboard, AFolderThatCannotBeOpenedLeavesTheOpenFolderHighlighted) {
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
}

}  // namespace
}  // namespace quorvel
