#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class MessageBoxAnswers;
class QDialog;
class QLocalServer;
class QLocalSocket;

// Test builds only: linked beside a program's own main, it lets a test
// drive the running program from outside. When the environment names a
// socket (ZARVO_TEST_DRIVER), it listens there from the moment the
// application object exists and answers one line per command line. The
// program's code knows nothing of it: widgets are found by the ids they
// carry, message boxes are answered through the boxes' seam, and state is
// read through the program's public objects (the probes each program's
// driver adds).
//
// Commands every program answers:
//   ping                            -> pong (once an event loop runs)
//   state ready                     -> 1 once the program has started
//   state KEY...                    -> the probe's value for KEY
//   wait MS KEY... = VALUE          -> ok, or "timeout <last value>": the
//                                      value is looked at each time the
//                                      program goes idle, never on a clock
//   busy MS                         -> ok: later connections wait MS for a
//                                      lock at each of their tries
//   clock T                         -> ok: the program's clock reads T
//   later COMMAND...                -> ok: the command runs once the program
//                                      is back in its event loop, so that a
//                                      modal window it opens does not hold
//                                      the answer
//   trigger COMMAND                 -> ok, disabled or none (a menu command)
//   enabled COMMAND                 -> 1, 0 or none
//   click CONTROL                   -> ok or none: a click in its middle
//   key CONTROL KEYNAME             -> ok or none (Qt key name: Return, Down)
//                                      (a control of the modal window shown
//                                      comes before the others)
//   answer BUTTON                   -> ok: the next message box answers it
//   boxes                           -> the texts of the boxes asked so far,
//                                      joined by " | "
//   windows                         -> the classes of the windows shown
//   dialogs                         -> the classes of the modal dialogs the
//                                      program opened: each is closed as by
//                                      Annuler, so that none stops it (one
//                                      that cannot be cancelled, as the
//                                      first-start wizard, stays)
//   hold / release                  -> ok: modal dialogs opened from now on
//                                      stay open for the test to drive, or
//                                      are closed again
//   state modal                     -> the class of the modal window shown,
//                                      or none
//   grab FILE                       -> ok: every visible window, side by side
//   mute / unmute                   -> ok: the program's bus endpoints are
//                                      hidden from posts, or shown again
//   quit                            -> ends the program's event loop
class ProgramDriver : public QObject
{
public:
    // A program's own commands: true when `words` was one of them, with the
    // answer in `answer`.
    using Probe = std::function<bool(const QStringList &words, QString &answer)>;
    static void AddProbe(Probe probe);

    explicit ProgramDriver(const QString &socketPath);
    ~ProgramDriver() override;

    // The widget (visible first) whose control id is `id`, or null; one of
    // the modal window shown comes first.
    static QWidget *FindControl(int id);

private:
    void OnConnection();
    void OnReadable(QLocalSocket *socket);
    void Reply(QLocalSocket *socket, const QString &answer);
    QString Run(const QStringList &words);
    QString State(const QStringList &key);
    void CheckWaits();
    void SetMuted(bool muted);

    struct Wait
    {
        QLocalSocket *socket;
        QStringList key;
        QString expected;
        qint64 deadline;
        QString last;
    };

    std::unique_ptr<QLocalServer> m_server;
    std::unique_ptr<MessageBoxAnswers> m_answers;
    std::vector<Wait> m_waits;
    bool m_quitting = false;
    bool m_holding = false;
    // The modal dialogs closed, by class.
    QStringList m_dialogs;
    QList<QPointer<QDialog>> m_closing;
    QStringList m_hidden;
};
