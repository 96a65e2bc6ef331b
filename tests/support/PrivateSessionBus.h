#pragma once
// A D-Bus session bus of the test's own: a dbus-daemon started for the
// test and stopped with it, its address read from the daemon.
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>

class PrivateSessionBus
{
public:
    explicit PrivateSessionBus(int patienceMs = 30000)
        : m_patience(patienceMs)
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                       QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(m_patience))
            return;
        QDeadlineTimer deadline(m_patience);
        while (!m_daemon.canReadLine() && !deadline.hasExpired())
            m_daemon.waitForReadyRead(100);
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateSessionBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(m_patience);
    }
    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    // Empty when the daemon could not start.
    QString Address() const { return m_address; }

private:
    int m_patience;
    QProcess m_daemon;
    QString m_address;
};
