#include "DeviceFolderWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace Platform {

DeviceFolderWatcher::DeviceFolderWatcher(const QString &root, QObject *parent)
    : QObject(parent)
    , m_root(QDir::cleanPath(QFileInfo(root).absoluteFilePath()))
    , m_state(DeviceFolder::StateOf(m_root))
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DeviceFolderWatcher::Look);
    Watch();
}

// The folder itself while it is there (a change of its rights shows
// there), and the nearest folder above it that exists, where it appears and
// goes.
void DeviceFolderWatcher::Watch()
{
    QStringList wanted;
    if (QFileInfo(m_root).isDir())
        wanted << m_root;
    QString above = QFileInfo(m_root).absolutePath();
    while (!QFileInfo(above).isDir()) {
        const QString up = QFileInfo(above).absolutePath();
        if (up == above)
            break;
        above = up;
    }
    if (QFileInfo(above).isDir())
        wanted << above;
    const QStringList watched = m_watcher.directories();
    for (const QString &path : watched)
        if (!wanted.contains(path))
            m_watcher.removePath(path);
    for (const QString &path : wanted)
        if (!watched.contains(path))
            m_watcher.addPath(path);
}

void DeviceFolderWatcher::Look()
{
    Watch();
    const DeviceFolder::State now = DeviceFolder::StateOf(m_root);
    if (now == m_state)
        return;
    m_state = now;
    const int code = now == DeviceFolder::State::Present ? Connected
                     : now == DeviceFolder::State::Absent ? Disconnected
                                                          : ConnectionError;
    QMetaObject::invokeMethod(this, [this, code] { emit notice(code); }, Qt::QueuedConnection);
}

} // namespace Platform
