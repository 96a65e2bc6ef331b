#pragma once
// The other program saving entries into a user database while this one
// works on it: a real second process (the data store's test peer in its
// "insert" mode) that saves one time entry through the data store each time
// it is asked, never waiting for a lock, and answers how it went.
#include "ChildProcess.h"

#include <QString>

class WritingPeer
{
public:
    // Every wait is for the peer's answer, bounded far beyond what a loaded
    // machine needs; nothing is timed.
    static constexpr int Patience = 300000;

    // It ends when its input closes, at the latest when the test ends.
    // `environment` ("NAME=value", such as the peer's clock) is set over
    // the test's own.
    WritingPeer(const QString &program, const QString &database, const QStringList &environment = {})
        : m_child(program, {QStringLiteral("insert"), database}, environment, Patience)
    {
    }

    // Asks for one entry titled `title`; the answer: "saved", "busy" (the
    // database was locked) or "failed ..."; empty when none came.
    QString Insert(const QString &title)
    {
        m_child.Process().write(title.toUtf8() + '\n');
        return m_child.Line("its answer to the entry \"" + title.toStdString() + '"');
    }

private:
    ChildProcess m_child;
};
