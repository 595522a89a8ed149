#include "ui/directory_list.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <algorithm>

namespace quorvel {

namespace {
constexpr int path_role = Qt::UserRole;
// Two blanks per level stand in for the tree's indentation.
QString indented(const QString& name, int depth) {
  return QString(2 * depth, QLatin1Char(' ')) + name;
}
}  // namespace

DirectoryList::DirectoryList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QListWidget::itemActivated, this, &DirectoryList::open_item);
}

QString DirectoryList::path_of(const QListWidgetItem* item) {
  return item != nullptr ? item->data(path_role).toString() : QString();
}

bool DirectoryList::set_path(const QString& directory, QString* why) {
  const QFileInfo info(directory);
  QString reason;
  if (!info.exists()) {
    reason = tr("папка не существует");
  } else if (!info.isDir()) {
    reason = tr("это не папка");
  } else if (!info.isReadable() || !QDir(directory).isReadable()) {
    reason = tr("нет доступа на чтение");
  }
  if (!reason.isEmpty()) {
    if (why != nullptr) *why = reason;
    return false;
  }
  path_ = QDir::cleanPath(info.absoluteFilePath());
  fill();
  emit path_changed(path_);
  return true;
}

void DirectoryList::refresh() {
  const QString highlighted = path_of(currentItem());
  fill();
  for (int row = 0; row < count(); ++row)
    if (path_of(item(row)) == highlighted) setCurrentRow(row);
}

void DirectoryList::keyboardSearch(const QString& search) {
  if (search.isEmpty()) return;
  const bool continued =
      typing_.isValid() && typing_.elapsed() < QApplication::keyboardInputInterval();
  typed_ = continued ? typed_ + search : search;
  typing_.start();
  // A new first letter moves on to the next folder that has it; more letters refine the match.
  const int from = typed_.size() == 1 ? currentRow() + 1 : std::max(currentRow(), 0);
  for (int step = 0; step < count(); ++step) {
    const int row = (from + step) % count();
    if (QFileInfo(path_of(item(row))).fileName().startsWith(typed_, Qt::CaseInsensitive)) {
      setCurrentRow(row);
      return;
    }
  }
}

void DirectoryList::open_item(QListWidgetItem* item) {
  const QString target = path_of(item);
  if (target.isEmpty() || target == path_) return;
  QString why;
  if (!set_path(target, &why)) {
    // The highlight goes back to the folder that stays open.
    highlight_open_folder();
    emit open_failed(tr("Папка «%1» не открывается: %2.").arg(target, why));
  }
}

void DirectoryList::highlight_open_folder() {
  for (int row = 0; row < count(); ++row) {
    if (path_of(item(row)) == path_) {
      setCurrentRow(row);
      return;
    }
  }
}

void DirectoryList::fill() {
  clear();
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);

  // The chain from the root down to the current folder.
  QStringList chain;
  for (QDir dir(path_);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  int depth = 0;
  QListWidgetItem* current = nullptr;
  for (const QString& folder : chain) {
    const QString name = QDir(folder).isRoot() ? folder : QFileInfo(folder).fileName();
    auto* item = new QListWidgetItem(open_icon, indented(name, depth), this);
    item->setData(path_role, folder);
    current = item;
    ++depth;
  }
  const QDir here(path_);
  for (const QString& name :
       here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(closed_icon, indented(name, depth), this);
    item->setData(path_role, here.absoluteFilePath(name));
  }
  setCurrentItem(current);
}

}  // namespace quorvel
