#include "ui/data_file_chooser.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QScopedValueRollback>
#include <QShortcut>

#include "field/own_report.h"
#include "ui/form_label.h"
#include "ui/mounted_drives.h"

namespace quorvel {

DataFileChooser::DataFileChooser(QWidget* frame, const TwipScale& scale, const QStringList& drives,
                                 const QString& start_directory)
    : QObject(frame),
      drive_list_(new QComboBox(frame)),
      directory_list_(new DirectoryList(frame)),
      file_list_(new QListWidget(frame)),
      watcher_(new QFileSystemWatcher(this)) {
  make_label(frame, "Label14", tr("Рабочий диск:"), scale.rect(240, 3600, 1335, 255));
  make_label(frame, "Label15", tr("Директорий:"), scale.rect(240, 3960, 1215, 255));
  make_label(frame, "Label4", tr("Файл данных:"), scale.rect(3000, 3960, 1575, 255));

  drive_list_->setObjectName(QStringLiteral("Drive1"));
  drive_list_->setGeometry(scale.rect(1800, 3600, 975, 315));
  drive_list_->addItems(drives);
  directory_list_->setObjectName(QStringLiteral("Dir1"));
  directory_list_->setGeometry(scale.rect(240, 4200, 2535, 1890));
  file_list_->setObjectName(QStringLiteral("File1"));
  file_list_->setGeometry(scale.rect(2880, 4200, 2055, 1845));
  file_list_->setSelectionMode(QAbstractItemView::SingleSelection);

  connect(directory_list_, &DirectoryList::path_changed, this, &DataFileChooser::show_files_of);
  connect(directory_list_, &DirectoryList::open_failed, this, &DataFileChooser::failed);
  // A file is chosen when it becomes the highlighted one, by a click or from the keyboard
  // (arrows, Home, End, Page Up and Down, typing the start of its name, Space); Enter on it
  // chooses it as well. Merely moving the focus into the list highlights nothing.
  connect(file_list_, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = file_list_->selectedItems();
    if (!refilling_ && !selected.isEmpty()) choose_file(selected.front()->text());
  });
  connect(file_list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    if (!item->isSelected()) file_list_->setCurrentItem(item);
  });
  connect(drive_list_, &QComboBox::activated, this,
          [this](int index) { choose_drive(drive_list_->itemText(index)); });
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &DataFileChooser::refresh);
  auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), frame);
  f5->setContext(Qt::WindowShortcut);
  connect(f5, &QShortcut::activated, this, &DataFileChooser::refresh);

  // The lists start where the program was started; a start folder that cannot be listed
  // leaves them at the root.
  const QString start = QDir(start_directory).absolutePath();
  drive_ = drive_of(start);
  if (drive_list_->findText(drive_) < 0) drive_list_->addItem(drive_);
  drive_list_->setCurrentIndex(drive_list_->findText(drive_));
  if (!directory_list_->set_path(start)) {
    drive_ = QStringLiteral("/");
    drive_list_->setCurrentIndex(drive_list_->findText(drive_));
    directory_list_->set_path(drive_);
  }
}

bool DataFileChooser::choose_drive(const QString& root) {
  if (root == drive_) return true;
  QString why;
  if (!directory_list_->set_path(root, &why)) {
    drive_list_->setCurrentIndex(drive_list_->findText(drive_));
    emit failed(tr("Диск «%1» недоступен: %2. Остаются прежние диск и папка.").arg(root, why));
    return false;
  }
  drive_ = root;
  drive_list_->setCurrentIndex(drive_list_->findText(drive_));
  return true;
}

void DataFileChooser::show_files_of(const QString& directory) {
  const QScopedValueRollback refilling(refilling_, true);
  if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
  watcher_->addPath(directory);
  file_directory_ = directory;
  file_list_->clear();
  QDir dir(directory);
  // Names are matched without regard to case, as "PLOT7.TXT" belongs to the pattern too.
  dir.setNameFilters(file_patterns);
  dir.setFilter(QDir::Files);
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  for (const QString& name : dir.entryList()) {
    if (is_own_report(std::filesystem::path(QFile::encodeName(dir.filePath(name)).toStdString())))
      continue;
    auto* item = new QListWidgetItem(name, file_list_);
    // A name wider than the list is read whole in its tooltip.
    if (file_list_->fontMetrics().horizontalAdvance(name) > file_list_->contentsRect().width() - 8)
      item->setToolTip(name);
  }
}

void DataFileChooser::refresh() {
  directory_list_->refresh();
  refresh_files();
}

void DataFileChooser::refresh_files() {
  const QListWidgetItem* selected = file_list_->currentItem();
  const QString name = selected != nullptr ? selected->text() : QString();
  show_files_of(file_directory_);
  if (name.isEmpty()) return;
  // The same file highlighted again is no new choice.
  const QScopedValueRollback refilling(refilling_, true);
  highlight(name);
}

void DataFileChooser::choose_file(const QString& file_name) {
  paths_ = file_paths_for(file_directory_, file_name);
  {
    // The list shows the chosen file highlighted, as a click would.
    const QScopedValueRollback refilling(refilling_, true);
    highlight(file_name);
  }
  emit paths_chosen(paths_);
}

void DataFileChooser::highlight(const QString& file_name) {
  const QList<QListWidgetItem*> found = file_list_->findItems(file_name, Qt::MatchExactly);
  if (!found.isEmpty()) file_list_->setCurrentItem(found.front());
}

}  // namespace quorvel
