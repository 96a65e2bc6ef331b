#pragma once
#include <QString>
#include <memory>

class QLockFile;

// Keeps the main program to one running copy per user. The first copy holds
// a lock file named after the instance name in the user's runtime folder for
// its whole life (a lock left by a process that died does not count). A
// second copy asks every program of the user, over the message bus, whether
// it is the running copy; the one that answers with the probe's own number
// comes forward. The second copy ends whether or not anyone answered.
class CSingleInstance
{
public:
    static constexpr const char16_t *InstanceName = u"ZARVO-F95ED67D-22C0-4761-AF35-9651D55B1ACD";
    // How long the probe waits for the answers, in milliseconds.
    static constexpr int ProbeTimeoutMs = 200;

    explicit CSingleInstance(const QString &name = QString::fromUtf16(InstanceName));
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance &) = delete;
    CSingleInstance &operator=(const CSingleInstance &) = delete;

    // True when this process is the first copy (the lock is then held until
    // this object goes). False for a second copy, after the probe.
    bool Acquire();
    // Whether some other process answered the probe as the running copy.
    bool RunningCopyAnswered() const { return m_answered; }

    // The probe: true when a process other than this one answered with the
    // probe's number.
    static bool ProbeRunningCopy(int timeoutMs = ProbeTimeoutMs);
    static quint32 ProbeMessage();
    QString LockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_answered = false;
};
