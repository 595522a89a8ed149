#pragma once
// The directory list `Dir1`: the folders from the root down to the current one, then the
// folders inside it. A double click (or Enter) opens the folder under the cursor; one that
// cannot be opened leaves the highlight on the folder that stays open.

#include <QElapsedTimer>
#include <QListWidget>
#include <QString>

namespace quorvel {

class DirectoryList : public QListWidget {
  Q_OBJECT

 public:
  explicit DirectoryList(QWidget* parent = nullptr);

  const QString& path() const { return path_; }
  // Moves to `directory`; a folder that cannot be listed keeps the current one and returns
  // false with the reason in `why`.
  bool set_path(const QString& directory, QString* why = nullptr);

  // The absolute path an item stands for.
  static QString path_of(const QListWidgetItem* item);

  // The same folder listed again, for folders made or removed since; nothing is signalled.
  void refresh();

  // Typing the start of a folder's name highlights it, the indentation ignored.
  void keyboardSearch(const QString& search) override;

 signals:
  void path_changed(const QString& path);
  void open_failed(const QString& message);

 private:
  void open_item(QListWidgetItem* item);
  void fill();
  void highlight_open_folder();

  QString path_;
  QString typed_;         // what the keyboard search has gathered so far
  QElapsedTimer typing_;  // since the last key of the search
};

}  // namespace quorvel
