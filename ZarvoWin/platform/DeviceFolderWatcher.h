#pragma once
#include "DeviceFolder.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Platform {

// Follows a device folder (see DeviceFolder) as a device's connection:
// the folder appearing tells that a device was connected, its going that
// the device was disconnected, and a folder that is there but cannot be
// listed a connection error. The notices are posted to the event loop,
// never delivered from inside the change that caused them.
//
// While the folder is there, a change of what it holds is told too
// (contentChanged): a device folder is often made first and filled
// afterwards, and what was looked for in it may only be there later. The
// folder's own entries are followed, and the places a caller looks at
// (Follow): each such file while it exists, and the deepest of its folders
// that exists, so that the folders made on the way to it are followed in
// turn.
class DeviceFolderWatcher : public QObject
{
    Q_OBJECT
public:
    enum Notice { Connected = 0, Disconnected = 1, ConnectionError = 2 };

    explicit DeviceFolderWatcher(const QString &root, QObject *parent = nullptr);

    QString root() const { return m_root; }
    DeviceFolder::State state() const { return m_state; }

    // The local paths of the files (or folders) in the device folder that
    // the caller looks at, whether they exist or not; replaces the earlier
    // list. Paths outside the folder are left alone.
    void Follow(const QStringList &paths);
    QStringList followed() const { return m_followed; }

signals:
    void notice(int code);
    // Something in the device folder or on a followed path changed while
    // the folder was there. Several changes in a row are told once.
    void contentChanged();

private:
    void Look(const QString &changed);
    void Watch();
    bool Inside(const QString &path) const;

    QString m_root;
    DeviceFolder::State m_state;
    QStringList m_followed;
    // The system's watch, a child of this object: it goes where this one
    // goes, and what it sees can be followed from outside.
    QFileSystemWatcher m_watcher;
    bool m_contentPosted = false;
};

} // namespace Platform
