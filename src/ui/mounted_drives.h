#pragma once
// What the drive list offers on this system: the root of every mounted file system.

#include <QString>
#include <QStringList>

namespace quorvel {

// Mount points, "/" first and the others in name order, without duplicates.
QStringList mounted_drives();

// The mount point that holds `path` ("/" when nothing more specific does).
QString drive_of(const QString& path);

}  // namespace quorvel
