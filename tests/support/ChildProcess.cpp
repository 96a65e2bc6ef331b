#include "ChildProcess.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

ChildProcess::ChildProcess(int patience)
    : m_patience(patience)
{
    // A group of its own: what it starts (an X server, a window manager,
    // a program under them) ends with it.
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

ChildProcess::ChildProcess(const QString &program, const QStringList &arguments, const QStringList &environment,
                           int patience)
    : ChildProcess(patience)
{
    Start(program, arguments, environment);
}

ChildProcess::~ChildProcess()
{
    if (!Running())
        return;
    if (m_endLine.isEmpty())
        m_process.closeWriteChannel();
    else
        m_process.write(m_endLine);
    if (m_process.waitForFinished(m_patience))
        return;
    ADD_FAILURE() << Name() << " did not end within " << m_patience << " ms when asked to at the end of the test: "
                  << "ended by the test";
    End();
}

void ChildProcess::Start(const QString &program, const QStringList &arguments, const QStringList &environment)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    m_process.setProcessEnvironment(env);
    m_process.start(program, arguments);
}

bool ChildProcess::Started()
{
    return m_process.state() == QProcess::Running || m_process.waitForStarted(m_patience);
}

QString ChildProcess::Line(const std::string &what)
{
    const QDeadlineTimer deadline(m_patience);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning)
            return QString::fromUtf8(m_process.readAll()).trimmed();
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "No line from " << Name() << " within " << m_patience << " ms while waiting for " << what
                          << ": ended by the test";
            End();
            return QString();
        }
        // Back at once when a line comes or the program ends.
        m_process.waitForReadyRead(int(deadline.remainingTime()));
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString ChildProcess::LineStartingWith(const QString &prefix, const std::string &what)
{
    while (true) {
        const QString line = Line(what);
        if (line.startsWith(prefix) || (line.isEmpty() && !Running()))
            return line.startsWith(prefix) ? line : QString();
    }
}

::testing::AssertionResult ChildProcess::Ends(const std::string &what)
{
    if (m_process.state() == QProcess::NotRunning || m_process.waitForFinished(m_patience))
        return ::testing::AssertionSuccess();
    End();
    return ::testing::AssertionFailure() << Name() << " still ran " << m_patience << " ms after " << what
                                         << ": ended by the test";
}

::testing::AssertionResult ChildProcess::EndsWith(int code, const std::string &what)
{
    if (::testing::AssertionResult ended = Ends(what); !ended)
        return ended;
    if (ExitCode() == code)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Name() << " ended after " << what << " with "
                                         << (m_process.exitStatus() == QProcess::NormalExit
                                                 ? "code " + std::to_string(m_process.exitCode())
                                                 : std::string("a crash"))
                                         << ", not with code " << code;
}

int ChildProcess::ExitCode() const
{
    if (m_process.state() != QProcess::NotRunning || m_process.exitStatus() != QProcess::NormalExit
        || m_process.error() == QProcess::FailedToStart)
        return -1;
    return m_process.exitCode();
}

void ChildProcess::End()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // While the process is not waited for, its id (its group's too) is
    // taken by no other.
    if (const qint64 pid = m_process.processId(); pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    m_process.kill();
    m_process.waitForFinished(m_patience);
}

::testing::AssertionResult ChildProcess::EndOther(qint64 pid, const std::string &what, int patience)
{
    // Its end is told by a descriptor of the process, which becomes
    // readable then (it is not this process's child to wait for).
    const int fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (pid <= 0 || fd < 0)
        return ::testing::AssertionFailure() << what << " (process " << pid << ") is not there to end";
    ::syscall(SYS_pidfd_send_signal, fd, SIGTERM, nullptr, 0);
    pollfd ended{fd, POLLIN, 0};
    if (::poll(&ended, 1, 0) == 0) {
        QSocketNotifier notifier(fd, QSocketNotifier::Read);
        QEventLoop loop;
        QTimer::singleShot(patience, &loop, &QEventLoop::quit);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const bool gone = ::poll(&ended, 1, 0) == 1;
    if (!gone)
        ::syscall(SYS_pidfd_send_signal, fd, SIGKILL, nullptr, 0);
    ::close(fd);
    if (gone)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " (process " << pid << ") still ran " << patience
                                         << " ms after SIGTERM: killed by the test";
}

std::string ChildProcess::Name() const
{
    return QFileInfo(m_process.program()).fileName().toStdString();
}
