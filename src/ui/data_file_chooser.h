#pragma once
// The data file chooser of the parameters frame: drive list `Drive1`, directory list `Dir1` and
// file list `File1` with their labels. The file list offers the tallies of the folder (*.txt,
// *.csv, *.tsv) but not Quorvel's own reports beside them. Choosing a file, with the mouse or the
// keyboard, fixes the inventory and report paths; moving to another drive or folder leaves them
// naming the file chosen last. The lists follow the disk: files saved or deleted while the
// program runs appear and go.

#include <QComboBox>
#include <QFileSystemWatcher>
#include <QListWidget>
#include <QObject>
#include <QStringList>

#include "ui/directory_list.h"
#include "ui/file_paths.h"
#include "ui/twip_scale.h"

namespace quorvel {

class DataFileChooser : public QObject {
  Q_OBJECT

 public:
  // Builds the lists inside `frame`; they start at `start_directory` on the drive that holds it.
  DataFileChooser(QWidget* frame, const TwipScale& scale, const QStringList& drives,
                  const QString& start_directory);

  QComboBox& drive_list() { return *drive_list_; }
  DirectoryList& directory_list() { return *directory_list_; }
  QListWidget& file_list() { return *file_list_; }

  const QString& drive() const { return drive_; }
  const FilePaths& paths() const { return paths_; }

  // A drive that cannot be read keeps the previous drive and folder and reports why.
  bool choose_drive(const QString& root);
  // The file list's folder; refills it with the names that match `file_patterns`, reports left
  // out.
  void show_files_of(const QString& directory);
  // The same folder again, keeping the file that is selected (reports written since appear).
  void refresh_files();
  // Both lists again, as the folder is now on the disk: on F5 and whenever the folder changes.
  void refresh();
  // A file of the file list's folder chosen, as a click on its name does; the list highlights it.
  void choose_file(const QString& file_name);

  static inline const QStringList file_patterns = {QStringLiteral("*.txt"), QStringLiteral("*.csv"),
                                                   QStringLiteral("*.tsv")};

 signals:
  void paths_chosen(const quorvel::FilePaths& paths);
  void failed(const QString& message);

 private:
  QComboBox* drive_list_;
  DirectoryList* directory_list_;
  QListWidget* file_list_;
  QString drive_;
  void highlight(const QString& file_name);

  QString file_directory_;       // the file list's path
  QFileSystemWatcher* watcher_;  // on the file list's folder
  FilePaths paths_;
  bool refilling_ = false;  // the highlight changes without a choice of the user's
};

}  // namespace quorvel
