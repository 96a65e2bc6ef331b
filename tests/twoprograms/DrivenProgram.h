#pragma once
#include <QLocalSocket>
#include <QProcess>
#include <QString>
#include <QStringList>

// One of the programs started by a test, as a process of its own in the
// test's environment (HOME, XDG folders, runtime folder, settings file),
// with its driver (ProgramDriver) listening on a socket in the test's
// folder. Every wait is for an event (a line on the socket, the process
// ending), bounded by a time-out far beyond what a loaded machine needs.
class DrivenProgram
{
public:
    static constexpr int Patience = 60000;

    // Starts `program` with `arguments`; `name` names its socket;
    // `environment` ("NAME=value") is set over the test's own.
    DrivenProgram(const QString &program, const QString &name, const QStringList &arguments = {},
                  const QStringList &environment = {});
    // Asks the program to end, then waits for it (killed when it does not).
    ~DrivenProgram();
    DrivenProgram(const DrivenProgram &) = delete;
    DrivenProgram &operator=(const DrivenProgram &) = delete;

    // Connected once the program answers from its event loop and says it
    // has started.
    bool Ready();
    // One command and its one-line answer (empty when the program is gone).
    QString Ask(const QString &command);
    // "ok" once the program's KEY reads `value` when it goes idle, else the
    // driver's "timeout <last value>".
    QString WaitFor(const QString &key, const QString &value, int ms = Patience);
    // Ends the program with SIGKILL, as a crash would.
    void Kill();
    // Waits for the program to end by itself; its exit code, -1 otherwise.
    int WaitForExit();
    qint64 ProcessId() const { return m_process.processId(); }
    QString Output();

private:
    QProcess m_process;
    QLocalSocket m_socket;
    QString m_socketPath;
};
