#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace Platform {

// The volumes a scan of removable drives looks at, in place of the drive
// letters A to Z: the mounted volumes of removable block devices (the
// system's "removable" flag of the disk), and those the desktop mounted for
// the user (below /media/<user>/ or /run/media/<user>/), by mount path.
namespace RemovableMedia {

struct Volume
{
    QString mountPath;
    QString device; // "/dev/sdb1"
};

// The mount paths of the machine's removable volumes, in name order.
QStringList MountPaths();

// The choice MountPaths makes among `volumes`, with the block devices
// described below `sysBlock` ("/sys/class/block") and `userName` the
// account whose desktop mounts count.
QStringList Select(const QList<Volume> &volumes, const QString &sysBlock, const QString &userName);

} // namespace RemovableMedia

} // namespace Platform
