#pragma once
#include "ChildProcess.h"

#include <QLocalSocket>
#include <QString>
#include <QStringList>

#include <string>

// One of the programs started by a test, as a process of its own in the
// test's environment (HOME, XDG folders, runtime folder, settings file),
// with its driver (ProgramDriver) listening on a socket in the test's
// folder. Every wait is for an event (a line on the socket, the process
// ending), bounded by a time-out far beyond what a loaded machine needs;
// one that runs out fails the test, naming what it waited for, and ends
// the program with whatever it started (ChildProcess).
class DrivenProgram
{
public:
    static constexpr int Patience = 60000;

    // Starts `program` with `arguments`; `name` names its socket;
    // `environment` ("NAME=value") is set over the test's own.
    DrivenProgram(const QString &program, const QString &name, const QStringList &arguments = {},
                  const QStringList &environment = {});
    // Asks the program to end, then waits for it (ended when it does not).
    ~DrivenProgram();
    DrivenProgram(const DrivenProgram &) = delete;
    DrivenProgram &operator=(const DrivenProgram &) = delete;

    // Connected once the program answers from its event loop and says it
    // has started; ended when it does not.
    bool Ready();
    // One command and its one-line answer (empty when the program is gone;
    // a program that does not answer fails the test and is ended).
    QString Ask(const QString &command);
    // "ok" once the program's KEY reads `value` when it goes idle, else the
    // driver's "timeout <last value>".
    QString WaitFor(const QString &key, const QString &value, int ms = Patience);
    // Ends the program with SIGKILL, as a crash would.
    void Kill();
    // Success once the program has ended by itself with `code`; one still
    // running is ended, and the failure names `what` it was waited for
    // after.
    ::testing::AssertionResult EndsWith(int code, const std::string &what);
    qint64 ProcessId() const { return m_child.ProcessId(); }
    QString Output();

private:
    QString Ask(const QString &command, int patience);

    ChildProcess m_child{Patience};
    QLocalSocket m_socket;
    QString m_socketPath;
};
