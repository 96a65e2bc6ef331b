#pragma once
#include "DeviceFolder.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace Platform {

// Follows a device folder (see DeviceFolder) as a device's connection:
// the folder appearing tells that a device was connected, its going that
// the device was disconnected, and a folder that is there but cannot be
// listed a connection error. The notices are posted to the event loop,
// never delivered from inside the change that caused them.
class DeviceFolderWatcher : public QObject
{
    Q_OBJECT
public:
    enum Notice { Connected = 0, Disconnected = 1, ConnectionError = 2 };

    explicit DeviceFolderWatcher(const QString &root, QObject *parent = nullptr);

    QString root() const { return m_root; }
    DeviceFolder::State state() const { return m_state; }

signals:
    void notice(int code);

private:
    void Look();
    void Watch();

    QString m_root;
    DeviceFolder::State m_state;
    QFileSystemWatcher m_watcher;
};

} // namespace Platform
