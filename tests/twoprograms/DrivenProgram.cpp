#include "DrivenProgram.h"

#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QProcessEnvironment>

DrivenProgram::DrivenProgram(const QString &program, const QString &name, const QStringList &arguments,
                             const QStringList &environment)
    : m_socketPath(TestEnvironment::currentRoot() + QStringLiteral("/driver-") + name)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZARVO_TEST_DRIVER"), m_socketPath);
    env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/Paris"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")));
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    m_process.setProcessEnvironment(env);
    // Its output goes to a file, so that a talkative program never blocks
    // on a full pipe.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(m_socketPath + QStringLiteral(".log"));
    m_process.start(program, arguments);
}

DrivenProgram::~DrivenProgram()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    if (m_socket.state() == QLocalSocket::ConnectedState)
        Ask(QStringLiteral("quit"));
    if (!m_process.waitForFinished(Patience)) {
        m_process.kill();
        m_process.waitForFinished(Patience);
    }
}

bool DrivenProgram::Ready()
{
    if (!m_process.waitForStarted(Patience))
        return false;
    // The driver's mark appears in the test's folder once the program made
    // its application object and listens: watched for, not looked at on a
    // clock.
    const QString mark = m_socketPath + QStringLiteral(".ready");
    const QString folder = QFileInfo(m_socketPath).absolutePath();
    QFileSystemWatcher watcher({folder});
    QEventLoop loop;
    QTimer::singleShot(Patience, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (QFileInfo::exists(mark))
            loop.quit();
    });
    QObject::connect(&m_process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (!QFileInfo::exists(mark) && m_process.state() != QProcess::NotRunning)
        loop.exec();
    m_socket.connectToServer(m_socketPath);
    if (!m_socket.waitForConnected(Patience))
        return false;
    return Ask(QStringLiteral("ping")) == u"pong" && WaitFor(QStringLiteral("ready"), QStringLiteral("1")) == u"ok";
}

QString DrivenProgram::Ask(const QString &command)
{
    if (m_socket.state() != QLocalSocket::ConnectedState)
        return QString();
    m_socket.write((command + u'\n').toUtf8());
    m_socket.flush();
    QDeadlineTimer deadline(Patience + 5000);
    while (!m_socket.canReadLine()) {
        if (deadline.hasExpired() || m_socket.state() != QLocalSocket::ConnectedState)
            return QString();
        m_socket.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 1000)));
    }
    return QString::fromUtf8(m_socket.readLine()).trimmed();
}

QString DrivenProgram::WaitFor(const QString &key, const QString &value, int ms)
{
    return Ask(QStringLiteral("wait %1 %2 = %3").arg(ms).arg(key, value));
}

void DrivenProgram::Kill()
{
    m_process.kill();
    m_process.waitForFinished(Patience);
    m_socket.abort();
}

int DrivenProgram::WaitForExit()
{
    if (!m_process.waitForFinished(Patience))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString DrivenProgram::Output()
{
    QFile log(m_socketPath + QStringLiteral(".log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
