// The data file chooser: the paths a click in the file list derives, the lists it shows, and
// a drive that cannot be read.

#include "ui/data_file_chooser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QListWidget>
#include <QShortcut>
#include <functional>
#include <memory>

#include "ui/file_paths.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::write_file;

TEST(FilePaths, TheInventoryIsJoinedToItsFolderAndTheReportsStandBesideIt) {
  // Folder, file name, inventory path and the stem the report endings follow.
  const QString cases[][4] = {
      {"/home/forester/data", "plot7.txt", "/home/forester/data/plot7.txt",
       "/home/forester/data/plot7"},
      {"/", "PLOT7.TXT", "/PLOT7.TXT", "/PLOT7"},  // no doubled separator at the root
      {"/данные", "делянка.txt", "/данные/делянка.txt", "/данные/делянка"},  // cut by letters
  };
  for (const auto& [directory, file, inventory, stem] : cases) {
    EXPECT_EQ(file_paths_for(directory, file),
              (FilePaths{inventory, stem + "m_results.txt", stem + "s_results.txt"}))
        << file.toStdString();
  }
}

QStringList names_in(const QListWidget& list) {
  QStringList names;
  for (int row = 0; row < list.count(); ++row) names.append(list.item(row)->text());
  return names;
}

// A chooser opened on a folder with two text files, a spreadsheet export, the reports of one
// text file and a file named like a report whose inventory is not there, a document, a folder
// named like a text file and a subfolder; it offers the root, a drive that is not there and
// another folder.
class Chooser : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"plot7.txt", "PLOT8.TXT", "tally.csv", "plot7m_results.txt",
                             "plot7s_results.txt", "zm_results.txt", "notes.doc"})
      write_file(folder.filePath(name), "");
    ASSERT_TRUE(QDir(folder.path()).mkpath("archive.txt"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    write_file(folder.filePath("sub/other.txt"), "");
    chooser = std::make_unique<DataFileChooser>(
        &frame, TwipScale(96), QStringList{"/", unplugged(), other_drive.path()}, folder.path());
  }
  QString unplugged() const { return folder.filePath("unplugged"); }

  QTemporaryDir folder, other_drive;
  QGroupBox frame;
  std::unique_ptr<DataFileChooser> chooser;
};

TEST_F(Chooser, ListsTheTalliesButNoReportsAndAClickSetsTheThreePaths) {
  EXPECT_EQ(names_in(chooser->file_list()),
            (QStringList{"plot7.txt", "PLOT8.TXT", "tally.csv", "zm_results.txt"}));
  EXPECT_EQ(chooser->directory_list().path(), QDir(folder.path()).absolutePath());
  EXPECT_TRUE(chooser->paths().empty());  // nothing is chosen before a click

  int chosen = 0;
  QObject::connect(chooser.get(), &DataFileChooser::paths_chosen, [&] { ++chosen; });
  chooser->file_list().setCurrentRow(0);  // as a click or an arrow key highlights it
  ASSERT_EQ(chosen, 1);
  EXPECT_EQ(chooser->paths(), file_paths_for(chooser->directory_list().path(), "plot7.txt"));
}

TEST_F(Chooser, OpeningAnotherFolderKeepsThePathsOfTheFileClickedLast) {
  chooser->choose_file("plot7.txt");
  const FilePaths first = chooser->paths();
  // The subfolder is listed below the open one, the folders above it from the root on.
  QListWidget& dirs = chooser->directory_list();
  EXPECT_EQ(DirectoryList::path_of(dirs.item(0)), "/");
  const auto sub = dirs.findItems(QStringLiteral(" sub"), Qt::MatchEndsWith);
  ASSERT_EQ(sub.size(), 1);
  emit dirs.itemActivated(sub.front());
  EXPECT_TRUE(chooser->directory_list().path().endsWith("/sub"));
  EXPECT_EQ(names_in(chooser->file_list()), QStringList{"other.txt"});
  EXPECT_EQ(chooser->paths(), first);
}

TEST_F(Chooser, ADriveThatCannotBeReadKeepsThePreviousDriveAndFolder) {
  QStringList messages;
  QObject::connect(chooser.get(), &DataFileChooser::failed,
                   [&](const QString& message) { messages.append(message); });
  const QString drive = chooser->drive();
  const QString directory = chooser->directory_list().path();
  const QStringList files = names_in(chooser->file_list());
  EXPECT_FALSE(chooser->choose_drive(unplugged()));
  EXPECT_EQ(chooser->drive_list().currentText(), drive);
  EXPECT_EQ(chooser->directory_list().path(), directory);
  EXPECT_EQ(names_in(chooser->file_list()), files);
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(unplugged()));
  EXPECT_TRUE(messages[0].contains(QStringLiteral("не существует")));

  // One that can be read opens at its root.
  EXPECT_TRUE(chooser->choose_drive(other_drive.path()));
  EXPECT_EQ(chooser->drive_list().currentText(), other_drive.path());
  EXPECT_EQ(chooser->directory_list().path(), QDir(other_drive.path()).absolutePath());
  EXPECT_TRUE(chooser->file_list().count() == 0);
}

// Waits for the folder's change to reach the chooser; false when it never does.
bool eventually(const std::function<bool()>& done) {
  QDeadlineTimer deadline(10'000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return done();
}

TEST_F(Chooser, TheListsFollowTheDiskAndTypingFindsAFolder) {
  const QString long_name = QStringLiteral("учёт валежа, участок 7, вторая трансекта, 2026.txt");
  write_file(folder.filePath(long_name), "");
  ASSERT_TRUE(eventually([&] { return names_in(chooser->file_list()).contains(long_name); }));
  ASSERT_TRUE(QFile::remove(folder.filePath("plot7.txt")));
  ASSERT_TRUE(eventually([&] { return !names_in(chooser->file_list()).contains("plot7.txt"); }));
  ASSERT_TRUE(QDir(folder.path()).mkdir("new folder"));
  QListWidget& dirs = chooser->directory_list();
  ASSERT_TRUE(
      eventually([&] { return !dirs.findItems("new folder", Qt::MatchEndsWith).isEmpty(); }));
  // A name too long for the list is read in its tooltip.
  EXPECT_EQ(chooser->file_list().findItems(long_name, Qt::MatchExactly)[0]->toolTip(), long_name);
  EXPECT_EQ(chooser->file_list().findItems("tally.csv", Qt::MatchExactly)[0]->toolTip(), "");
  // F5 lists the folder again as well.
  ASSERT_EQ(frame.findChild<QShortcut*>()->key(), QKeySequence(Qt::Key_F5));
  // Typing the start of a folder's name moves to it, past the indentation.
  chooser->directory_list().keyboardSearch("s");
  EXPECT_TRUE(DirectoryList::path_of(dirs.currentItem()).endsWith("/sub"));
}

TEST(MountedDrives, TheRootComesFirstAndOnce) {
  const QStringList drives = mounted_drives();
  ASSERT_FALSE(drives.isEmpty());
  EXPECT_EQ(drives.front(), "/");
  EXPECT_EQ(drives.count("/"), 1);
}

}  // namespace
}  // namespace quorvel
