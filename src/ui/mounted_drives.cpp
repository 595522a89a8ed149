#include "ui/mounted_drives.h"

#include <QStorageInfo>

namespace quorvel {

QStringList mounted_drives() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && !roots.contains(volume.rootPath())) {
      roots.append(volume.rootPath());
    }
  }
  roots.removeAll(QStringLiteral("/"));
  roots.sort();
  roots.prepend(QStringLiteral("/"));
  return roots;
}

QString drive_of(const QString& path) {
  const QStorageInfo volume(path);
  return volume.isValid() ? volume.rootPath() : QStringLiteral("/");
}

}  // namespace quorvel
