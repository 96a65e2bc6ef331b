#include "DeviceFolderWatcher.h"

#include <QDir>
#include <QFileInfo>

namespace Platform {

DeviceFolderWatcher::DeviceFolderWatcher(const QString &root, QObject *parent)
    : QObject(parent)
    , m_root(QDir::cleanPath(QFileInfo(root).absoluteFilePath()))
    , m_state(DeviceFolder::StateOf(m_root))
    , m_watcher(this)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DeviceFolderWatcher::Look);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DeviceFolderWatcher::Look);
    Watch();
}

void DeviceFolderWatcher::Follow(const QStringList &paths)
{
    QStringList followed;
    for (const QString &path : paths) {
        const QString clean = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        if (!clean.isEmpty() && Inside(clean) && !followed.contains(clean))
            followed << clean;
    }
    m_followed = followed;
    Watch();
}

// Whether a path lies in the device folder, named from the folder as given
// or from where its links lead.
bool DeviceFolderWatcher::Inside(const QString &path) const
{
    for (const QString &root : {m_root, QFileInfo(m_root).canonicalFilePath()}) {
        if (!root.isEmpty() && (path == root || path.startsWith(root + u'/')))
            return true;
    }
    return false;
}

// The folder itself while it is there (a change of its rights or entries
// shows there), the nearest folder above it that exists, where it appears
// and goes, and the followed places.
void DeviceFolderWatcher::Watch()
{
    QStringList folders;
    QStringList files;
    const bool present = QFileInfo(m_root).isDir();
    if (present)
        folders << m_root;
    QString above = QFileInfo(m_root).absolutePath();
    while (!QFileInfo(above).isDir()) {
        const QString up = QFileInfo(above).absolutePath();
        if (up == above)
            break;
        above = up;
    }
    if (QFileInfo(above).isDir())
        folders << above;
    if (present) {
        for (const QString &path : m_followed) {
            const QFileInfo info(path);
            if (info.isFile())
                files << path;
            // The deepest folder on the way that exists: the next one down
            // appears there.
            QString folder = info.isDir() ? path : info.absolutePath();
            while (Inside(folder) && !QFileInfo(folder).isDir())
                folder = QFileInfo(folder).absolutePath();
            if (Inside(folder) && QFileInfo(folder).isDir() && !folders.contains(folder))
                folders << folder;
        }
    }
    const QStringList watchedFolders = m_watcher.directories();
    const QStringList watchedFiles = m_watcher.files();
    for (const QString &path : watchedFolders)
        if (!folders.contains(path))
            m_watcher.removePath(path);
    for (const QString &path : watchedFiles)
        if (!files.contains(path))
            m_watcher.removePath(path);
    // A file replaced by a rename is dropped by the system's watch: it is
    // watched again here under its name.
    for (const QString &path : folders)
        if (!watchedFolders.contains(path))
            m_watcher.addPath(path);
    for (const QString &path : files)
        if (!watchedFiles.contains(path))
            m_watcher.addPath(path);
}

void DeviceFolderWatcher::Look(const QString &changed)
{
    Watch();
    const DeviceFolder::State now = DeviceFolder::StateOf(m_root);
    if (now != m_state) {
        m_state = now;
        const int code = now == DeviceFolder::State::Present ? Connected
                         : now == DeviceFolder::State::Absent ? Disconnected
                                                              : ConnectionError;
        QMetaObject::invokeMethod(this, [this, code] { emit notice(code); }, Qt::QueuedConnection);
        return;
    }
    // A change beside the device folder (in the folder above) is none of
    // the device's.
    if (now != DeviceFolder::State::Present || !Inside(QDir::cleanPath(changed)) || m_contentPosted)
        return;
    m_contentPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_contentPosted = false;
            emit contentChanged();
        },
        Qt::QueuedConnection);
}

} // namespace Platform
