#include "RemovableMedia.h"

#include "UserAccount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace Platform::RemovableMedia {

namespace {

// Whether the disk of a block device ("/dev/sdb1") says it is removable; a
// partition asks the disk it belongs to.
bool removableDevice(const QString &device, const QString &sysBlock)
{
    if (!device.startsWith(QStringLiteral("/dev/")))
        return false;
    QString node = QFileInfo(sysBlock + u'/' + QFileInfo(device).fileName()).canonicalFilePath();
    if (node.isEmpty())
        return false;
    if (QFileInfo::exists(node + QStringLiteral("/partition")))
        node = QFileInfo(node).absolutePath();
    QFile flag(node + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.read(8).trimmed() == "1";
}

bool mountedForUser(const QString &mountPath, const QString &userName)
{
    if (userName.isEmpty())
        return false;
    for (const QString &prefix : {QStringLiteral("/media/"), QStringLiteral("/run/media/")})
        if (mountPath.startsWith(prefix + userName + u'/'))
            return true;
    return false;
}

} // namespace

QStringList Select(const QList<Volume> &volumes, const QString &sysBlock, const QString &userName)
{
    QStringList chosen;
    for (const Volume &volume : volumes) {
        if (volume.mountPath.isEmpty() || chosen.contains(volume.mountPath))
            continue;
        if (mountedForUser(volume.mountPath, userName) || removableDevice(volume.device, sysBlock))
            chosen << volume.mountPath;
    }
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

QStringList MountPaths()
{
    QList<Volume> volumes;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady())
            volumes.append({storage.rootPath(), QString::fromLocal8Bit(storage.device())});
    }
    return Select(volumes, QStringLiteral("/sys/class/block"), LoginName());
}

} // namespace Platform::RemovableMedia
