#pragma once
#include <QString>
#include <memory>

class QLockFile;

// Keeps a program to one running copy per user. The first copy holds a lock
// file named after the instance name in the user's runtime folder for its
// whole life (a lock left by a process that died does not count). A second
// copy asks every program of the user, over the message bus, whether it is
// the running copy; the one that answers with the probe's own number comes
// forward. The second copy ends whether or not anyone answered.
//
// Both programs use it, each with its own instance name and probe.
class CSingleInstance
{
public:
    // The main program's instance name; the tray's.
    static constexpr const char16_t *InstanceName = u"ZARVO-F95ED67D-22C0-4761-AF35-9651D55B1ACD";
    static constexpr const char16_t *TrayInstanceName = u"ZARVO_TRAY-BC8D3C01-A531-4074-B208-C05068A0FF3C";
    // How long the probe waits for the answers, in milliseconds.
    static constexpr int ProbeTimeoutMs = 200;

    // The main program's lock and probe by default.
    CSingleInstance();
    // The lock `name` and the registered message `probeName` its running
    // copy answers.
    CSingleInstance(const QString &name, const QString &probeName);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance &) = delete;
    CSingleInstance &operator=(const CSingleInstance &) = delete;

    // The tray program's lock and probe.
    static std::unique_ptr<CSingleInstance> ForTray();

    // True when this process is the first copy (the lock is then held until
    // this object goes). False for a second copy, after the probe.
    bool Acquire();
    // Whether some other process answered the probe as the running copy.
    bool RunningCopyAnswered() const { return m_answered; }

    // The probe: true when a process other than this one answered with the
    // probe's number.
    bool ProbeRunningCopy(int timeoutMs = ProbeTimeoutMs) const;
    quint32 ProbeMessage() const { return m_probe; }
    QString LockPath() const { return m_path; }

private:
    QString m_path;
    quint32 m_probe = 0;
    std::unique_ptr<QLockFile> m_lock;
    bool m_answered = false;
};
