#pragma once
// The other program saving entries into a user database while this one
// works on it: a real second process (the data store's test peer in its
// "insert" mode) that saves one time entry through the data store each time
// it is asked, never waiting for a lock, and answers how it went.
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>

class WritingPeer
{
public:
    // Every wait is for the peer's answer, bounded far beyond what a loaded
    // machine needs; nothing is timed.
    static constexpr int Patience = 300000;

    WritingPeer(const QString &program, const QString &database)
    {
        m_process.start(program, {QStringLiteral("insert"), database});
        m_process.waitForStarted(Patience);
    }
    ~WritingPeer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(Patience)) {
            m_process.kill();
            m_process.waitForFinished(Patience);
        }
    }
    WritingPeer(const WritingPeer &) = delete;
    WritingPeer &operator=(const WritingPeer &) = delete;

    // Asks for one entry titled `title`; the answer: "saved", "busy" (the
    // database was locked) or "failed ..."; empty when none came.
    QString Insert(const QString &title)
    {
        m_process.write(title.toUtf8() + '\n');
        const QDeadlineTimer deadline(Patience);
        while (!m_process.canReadLine()) {
            if (m_process.state() == QProcess::NotRunning
                || !m_process.waitForReadyRead(int(deadline.remainingTime())))
                return QString();
        }
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};
