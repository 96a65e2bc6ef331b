#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <string>

// A program a test starts as a process of its own (a peer, a copy of a
// program, a display with a window manager and the tray under it), in a
// process group of its own so that ending it ends whatever it started.
// Every wait is for an event (a line of its output, its end), bounded by
// its patience, far beyond what a loaded machine needs. A wait that runs
// out fails the test at once, naming what it waited for, and ends the
// whole group: no later wait waits for it again, and nothing of it keeps
// running after the test.
class ChildProcess
{
public:
    static constexpr int DefaultPatience = 60000;

    // Not started yet: its process may be set up first (Process()).
    explicit ChildProcess(int patience = DefaultPatience);
    // Starts `program`; `environment` ("NAME=value") is set over the
    // test's own.
    ChildProcess(const QString &program, const QStringList &arguments = {}, const QStringList &environment = {},
                 int patience = DefaultPatience);
    // Asks the program to end (its input closed, or the line given to
    // AskToEndWith()) and waits for it; one that does not end fails the
    // test and is ended.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    void Start(const QString &program, const QStringList &arguments = {}, const QStringList &environment = {});
    // True once it runs (waited for within its patience).
    bool Started();

    // The line written to a program that ends on a command rather than at
    // the end of its input.
    void AskToEndWith(const QByteArray &line) { m_endLine = line; }

    // The program's process, for what it is sent and what it printed.
    QProcess &Process() { return m_process; }
    int Patience() const { return m_patience; }
    qint64 ProcessId() const { return m_process.processId(); }
    bool Running() const { return m_process.state() != QProcess::NotRunning; }

    // Its next line of output, trimmed; empty when it ended without one.
    // No line within its patience fails the test, naming `what` was waited
    // for, and ends it.
    QString Line(const std::string &what);
    // Its next line that starts with `prefix`, the others skipped.
    QString LineStartingWith(const QString &prefix, const std::string &what);
    // Success once it has ended by itself, within its patience; else it is
    // ended and the failure names `what` it was waited for after.
    ::testing::AssertionResult Ends(const std::string &what);
    // Success once it has ended by itself with `code`.
    ::testing::AssertionResult EndsWith(int code, const std::string &what);
    // Its exit code once ended normally, -1 for a crash or while it runs.
    int ExitCode() const;
    // Ends it and its group now (SIGKILL, as a crash would), and waits
    // for its end.
    void End();

    // Ends a process that the test did not start itself (one a program of
    // the test started): SIGTERM, then its end waited for within
    // `patience`; one still running is killed, and the failure names
    // `what` it is.
    static ::testing::AssertionResult EndOther(qint64 pid, const std::string &what, int patience = DefaultPatience);

private:
    // The program's file name, for what a failure says.
    std::string Name() const;

    QProcess m_process;
    int m_patience;
    QByteArray m_endLine;
};
