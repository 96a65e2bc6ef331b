#include "DrivenProgram.h"

#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

DrivenProgram::DrivenProgram(const QString &program, const QString &name, const QStringList &arguments,
                             const QStringList &environment)
    : m_socketPath(TestEnvironment::currentRoot() + QStringLiteral("/driver-") + name)
{
    const QStringList own{QStringLiteral("ZARVO_TEST_DRIVER=") + m_socketPath, QStringLiteral("TZ=Europe/Paris"),
                          QStringLiteral("QT_QPA_PLATFORM=")
                              + qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"))};
    // Its output goes to a file, so that a talkative program never blocks
    // on a full pipe.
    m_child.Process().setProcessChannelMode(QProcess::MergedChannels);
    m_child.Process().setStandardOutputFile(m_socketPath + QStringLiteral(".log"));
    m_child.Start(program, arguments, own + environment);
}

DrivenProgram::~DrivenProgram()
{
    if (!m_child.Running())
        return;
    if (m_socket.state() == QLocalSocket::ConnectedState)
        Ask(QStringLiteral("quit"));
    EXPECT_TRUE(m_child.Ends("\"quit\" at the end of the test"));
}

bool DrivenProgram::Ready()
{
    if (!m_child.Started())
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
    QObject::connect(&m_child.Process(), &QProcess::finished, &loop, &QEventLoop::quit);
    if (!QFileInfo::exists(mark) && m_child.Running())
        loop.exec();
    if (!QFileInfo::exists(mark)) {
        ADD_FAILURE() << "The driver's mark did not appear within " << Patience << " ms: the program was ended";
        m_child.End();
        return false;
    }
    m_socket.connectToServer(m_socketPath);
    if (!m_socket.waitForConnected(Patience)) {
        ADD_FAILURE() << "The driver's socket took no connection within " << Patience << " ms: the program was ended";
        m_child.End();
        return false;
    }
    return Ask(QStringLiteral("ping")) == u"pong" && WaitFor(QStringLiteral("ready"), QStringLiteral("1")) == u"ok";
}

QString DrivenProgram::Ask(const QString &command)
{
    return Ask(command, Patience);
}

QString DrivenProgram::Ask(const QString &command, int patience)
{
    if (m_socket.state() != QLocalSocket::ConnectedState)
        return QString();
    m_socket.write((command + u'\n').toUtf8());
    m_socket.flush();
    // The driver answers from the program's event loop: a program that
    // does not is stuck, and every later question would wait as long.
    const QDeadlineTimer deadline(patience + 5000);
    while (!m_socket.canReadLine()) {
        if (m_socket.state() != QLocalSocket::ConnectedState)
            return QString();
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "No answer to \"" << command.toStdString() << "\" within " << patience + 5000
                          << " ms: the program was ended";
            Kill();
            return QString();
        }
        m_socket.waitForReadyRead(int(deadline.remainingTime()));
    }
    return QString::fromUtf8(m_socket.readLine()).trimmed();
}

QString DrivenProgram::WaitFor(const QString &key, const QString &value, int ms)
{
    return Ask(QStringLiteral("wait %1 %2 = %3").arg(ms).arg(key, value), std::max(ms, Patience));
}

void DrivenProgram::Kill()
{
    m_child.End();
    m_socket.abort();
}

::testing::AssertionResult DrivenProgram::EndsWith(int code, const std::string &what)
{
    ::testing::AssertionResult ended = m_child.EndsWith(code, what);
    if (!m_child.Running())
        m_socket.abort();
    return ended;
}

QString DrivenProgram::Output()
{
    QFile log(m_socketPath + QStringLiteral(".log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
