// The data file chooser: the paths a click in the file list derives, the lists it shows, and
// a drive that cannot be read.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMouseEvent>

#include "data_file_chooser.h"
#include "file_paths.h"
#include "ui_test_support.h"

namespace quorvel {
namespace {

using testing::WindowInFolder;
using testing::write_file;

TEST(FilePaths, ReportsAreNamedAfterTheInventoryBesideIt) {
  const FilePaths paths = file_paths_for("/home/forester/data", "plot7.txt");
  EXPECT_EQ(paths.inventory_path, "/home/forester/data/plot7.txt");
  EXPECT_EQ(paths.stock_report_path, "/home/forester/data/plot7m_results.txt");
  EXPECT_EQ(paths.estimate_report_path, "/home/forester/data/plot7s_results.txt");
}

TEST(FilePaths, TheRootGetsNoDoubledSeparator) {
  const FilePaths paths = file_paths_for("/", "PLOT7.TXT");
  EXPECT_EQ(paths.inventory_path, "/PLOT7.TXT");
  EXPECT_EQ(paths.stock_report_path, "/PLOT7m_results.txt");
  EXPECT_EQ(paths.estimate_report_path, "/PLOT7s_results.txt");
}

TEST(FilePaths, TheLastFourCharactersGoWhateverTheyAre) {
  EXPECT_EQ(file_paths_for("/d", "plot7m_results.txt").stock_report_path,
            "/d/plot7m_resultsm_results.txt");
  EXPECT_EQ(file_paths_for("/d", "plot7.dat").estimate_report_path, "/d/plot7s_results.txt");
  // Cyrillic names are cut between letters.
  EXPECT_EQ(file_paths_for("/данные", "делянка.txt").stock_report_path,
            QStringLiteral("/данные/делянкаm_results.txt"));
}

QStringList names_in(const QListWidget& list) {
  QStringList names;
  for (int row = 0; row < list.count(); ++row) names.append(list.item(row)->text());
  return names;
}

void click_item(QListWidget& list, QListWidgetItem* item) {
  const QPoint at = list.visualItemRect(item).center();
  QMouseEvent press(QEvent::MouseButtonPress, at, list.viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, list.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &press);
  QCoreApplication::sendEvent(list.viewport(), &release);
}

TEST(Chooser, ListsTheTextFilesOfTheStartFolderWithoutRegardToCase) {
  QTemporaryDir folder;
  write_file(folder.filePath("plot7.txt"), "");
  write_file(folder.filePath("PLOT8.TXT"), "");
  write_file(folder.filePath("notes.doc"), "");
  QDir(folder.path()).mkdir("archive.txt");  // a folder, not a file
  QGroupBox frame;
  DataFileChooser chooser(&frame, TwipScale(96), {"/"}, folder.path());
  EXPECT_EQ(names_in(chooser.file_list()), (QStringList{"plot7.txt", "PLOT8.TXT"}));
  EXPECT_EQ(chooser.directory_list().path(), QDir(folder.path()).absolutePath());
  EXPECT_TRUE(chooser.paths().empty());  // nothing is chosen before a click
}

TEST(Chooser, AClickOnAFileSetsTheThreePaths) {
  QTemporaryDir folder;
  write_file(folder.filePath("plot7.txt"), "");
  QGroupBox frame;
  DataFileChooser chooser(&frame, TwipScale(96), {"/"}, folder.path());
  frame.show();
  int chosen = 0;
  QObject::connect(&chooser, &DataFileChooser::paths_chosen, [&] { ++chosen; });
  click_item(chooser.file_list(), chooser.file_list().item(0));
  ASSERT_EQ(chosen, 1);
  const QString directory = chooser.directory_list().path();
  EXPECT_EQ(chooser.paths().inventory_path, directory + "/plot7.txt");
  EXPECT_EQ(chooser.paths().stock_report_path, directory + "/plot7m_results.txt");
  EXPECT_EQ(chooser.paths().estimate_report_path, directory + "/plot7s_results.txt");
}

TEST(Chooser, OpeningAnotherFolderKeepsThePathsOfTheFileClickedLast) {
  QTemporaryDir folder;
  write_file(folder.filePath("plot7.txt"), "");
  QDir(folder.path()).mkdir("sub");
  write_file(folder.filePath("sub/other.txt"), "");
  QGroupBox frame;
  DataFileChooser chooser(&frame, TwipScale(96), {"/"}, folder.path());
  chooser.choose_file("plot7.txt");
  const FilePaths first = chooser.paths();

  // The subfolder is listed below the open one; activating it opens it.
  QListWidget& dirs = chooser.directory_list();
  QListWidgetItem* sub = nullptr;
  for (int row = 0; row < dirs.count(); ++row) {
    if (dirs.item(row)->text().trimmed() == "sub") sub = dirs.item(row);
  }
  ASSERT_NE(sub, nullptr);
  emit dirs.itemActivated(sub);
  EXPECT_TRUE(chooser.directory_list().path().endsWith("/sub"));
  EXPECT_EQ(names_in(chooser.file_list()), QStringList{"other.txt"});
  EXPECT_EQ(chooser.paths(), first);

  // The folders above the open one are listed too, the root first.
  EXPECT_EQ(DirectoryList::path_of(dirs.item(0)), "/");
}

TEST(Chooser, ADriveThatCannotBeReadKeepsThePreviousDriveAndFolder) {
  QTemporaryDir folder;
  write_file(folder.filePath("plot7.txt"), "");
  const QString missing = folder.filePath("unplugged");
  QGroupBox frame;
  DataFileChooser chooser(&frame, TwipScale(96), {"/", missing}, folder.path());
  QStringList messages;
  QObject::connect(&chooser, &DataFileChooser::failed,
                   [&](const QString& message) { messages.append(message); });
  const QString drive = chooser.drive();
  const QString directory = chooser.directory_list().path();

  EXPECT_FALSE(chooser.choose_drive(missing));
  EXPECT_EQ(chooser.drive(), drive);
  EXPECT_EQ(chooser.drive_list().currentText(), drive);
  EXPECT_EQ(chooser.directory_list().path(), directory);
  EXPECT_EQ(names_in(chooser.file_list()), QStringList{"plot7.txt"});
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains(missing));
  EXPECT_TRUE(messages[0].contains(QStringLiteral("не существует")));
}

TEST(Chooser, ADriveThatCanBeReadOpensAtItsRoot) {
  QTemporaryDir folder;
  QGroupBox frame;
  DataFileChooser chooser(&frame, TwipScale(96), {"/", folder.path()}, "/");
  EXPECT_TRUE(chooser.choose_drive(folder.path()));
  EXPECT_EQ(chooser.drive_list().currentText(), folder.path());
  EXPECT_EQ(chooser.directory_list().path(), QDir(folder.path()).absolutePath());
}

TEST(Chooser, TheWindowOffersTheMountedDrivesRootFirst) {
  const QStringList drives = mounted_drives();
  ASSERT_FALSE(drives.isEmpty());
  EXPECT_EQ(drives.front(), "/");
  EXPECT_EQ(drives.count("/"), 1);
}

}  // namespace
}  // namespace quorvel
