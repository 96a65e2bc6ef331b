#include "ProgramDriver.h"

#include "Clock.h"
#include "CmyDataBase.h"
#include "MessageBoxAnswers.h"
#include "MessageBus.h"
#include "WidgetIds.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaEnum>
#include <QPainter>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

std::vector<ProgramDriver::Probe> &probes()
{
    static std::vector<ProgramDriver::Probe> list;
    return list;
}

// Started with the application object when the test asks for it.
void startDriver()
{
    const QString socket = qEnvironmentVariable("ZARVO_TEST_DRIVER");
    if (socket.isEmpty())
        return;
    auto *driver = new ProgramDriver(socket);
    driver->setParent(QCoreApplication::instance());
}

QAction *findCommand(int id)
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        for (QAction *action : top->findChildren<QAction *>()) {
            if (WidgetIds::CommandId(action) == id)
                return action;
        }
    }
    // Commands may live in a table owned by the application object.
    for (QAction *action : QCoreApplication::instance()->findChildren<QAction *>()) {
        if (WidgetIds::CommandId(action) == id)
            return action;
    }
    return nullptr;
}

// A socket file is renamed in place (QFile would copy what it cannot
// rename).
bool moveFile(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)

void ProgramDriver::AddProbe(Probe probe)
{
    probes().push_back(std::move(probe));
}

ProgramDriver::ProgramDriver(const QString &socketPath)
    : m_server(std::make_unique<QLocalServer>())
    , m_answers(std::make_unique<MessageBoxAnswers>())
{
    QLocalServer::removeServer(socketPath);
    // The test connects once the mark beside the socket tells that it
    // listens (the socket's file alone comes before that).
    if (m_server->listen(socketPath)) {
        QFile mark(socketPath + QStringLiteral(".ready"));
        mark.open(QIODevice::WriteOnly);
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &ProgramDriver::OnConnection);
    // Waits are looked at whenever the program has handled its events.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &ProgramDriver::CheckWaits);
}

ProgramDriver::~ProgramDriver()
{
    SetMuted(false);
}

QWidget *ProgramDriver::FindControl(int id)
{
    if (QWidget *modal = QApplication::activeModalWidget()) {
        for (QWidget *w : modal->findChildren<QWidget *>()) {
            if (WidgetIds::ControlId(w) == id && w->isVisible())
                return w;
        }
    }
    QWidget *hidden = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        QList<QWidget *> all = top->findChildren<QWidget *>();
        all.prepend(top);
        for (QWidget *w : all) {
            if (WidgetIds::ControlId(w) != id)
                continue;
            if (w->isVisible())
                return w;
            hidden = hidden ? hidden : w;
        }
    }
    return hidden;
}

void ProgramDriver::OnConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            std::erase_if(m_waits, [socket](const Wait &w) { return w.socket == socket; });
            socket->deleteLater();
        });
    }
}

void ProgramDriver::OnReadable(QLocalSocket *socket)
{
    while (socket->canReadLine()) {
        const QString line = QString::fromUtf8(socket->readLine()).trimmed();
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.value(0) == u"wait") {
            // wait MS KEY... = VALUE
            const qsizetype eq = words.indexOf(QStringLiteral("="));
            if (eq < 3) {
                Reply(socket, QStringLiteral("?"));
                continue;
            }
            Wait w{socket, words.mid(2, eq - 2), words.mid(eq + 1).join(u' '),
                   QDeadlineTimer(words.value(1).toInt()).deadline(), QString()};
            m_waits.push_back(w);
            // Resolved at the latest when its time is up: a precise timer,
            // as a coarse one may fire before the deadline and leave the
            // wait to whatever wakes an idle program next.
            QTimer::singleShot(words.value(1).toInt(), Qt::PreciseTimer, this, &ProgramDriver::CheckWaits);
            CheckWaits();
            continue;
        }
        const QString answer = Run(words);
        Reply(socket, answer);
        // Not quit(): that asks the windows first, and the test's program
        // ends even where a window would refuse.
        if (words.value(0) == u"quit") {
            m_quitting = true;
            QCoreApplication::exit(0);
        }
    }
}

void ProgramDriver::Reply(QLocalSocket *socket, const QString &answer)
{
    socket->write((QString(answer).replace(u'\n', u' ') + u'\n').toUtf8());
    socket->flush();
}

void ProgramDriver::CheckWaits()
{
    // A loop of the start-up (the splash's) may be the one that was ended:
    // each loop that runs afterwards is ended too.
    if (m_quitting) {
        QCoreApplication::exit(0);
        return;
    }
    // A window the program opened modally (one a test does not drive)
    // would stop it: it is closed as by Annuler, and told in "dialogs".
    auto *dialog = m_holding ? nullptr : qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (dialog) {
        if (!m_closing.contains(dialog)) {
            m_closing.append(dialog);
            m_dialogs << QString::fromLatin1(dialog->metaObject()->className());
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
    }
    if (m_waits.empty())
        return;
    const qint64 now = QDeadlineTimer(0).deadline();
    std::vector<Wait> waits;
    waits.swap(m_waits);
    for (Wait &w : waits) {
        w.last = State(w.key);
        if (w.last == w.expected)
            Reply(w.socket, QStringLiteral("ok"));
        else if (now >= w.deadline)
            Reply(w.socket, QStringLiteral("timeout ") + w.last);
        else
            m_waits.push_back(w);
    }
    // Waits added while replying stay.
}

QString ProgramDriver::State(const QStringList &key)
{
    if (key.value(0) == u"enabled")
        return Run(key);
    if (key.value(0) == u"modal") {
        const QWidget *modal = QApplication::activeModalWidget();
        return modal ? QString::fromLatin1(modal->metaObject()->className()) : QStringLiteral("none");
    }
    QString answer;
    for (const Probe &probe : probes()) {
        if (probe(key, answer))
            return answer;
    }
    return QStringLiteral("?");
}

QString ProgramDriver::Run(const QStringList &words)
{
    const QString command = words.value(0);
    if (command == u"ping")
        return QStringLiteral("pong");
    if (command == u"state")
        return State(words.mid(1));
    if (command == u"busy") {
        // How long later connections wait for a lock at each try.
        SQLite::CmyDataBase::SetBusyTimeoutMs(words.value(1).toInt());
        return QStringLiteral("ok");
    }
    if (command == u"later") {
        const QStringList rest = words.mid(1);
        QTimer::singleShot(0, this, [this, rest] { Run(rest); });
        return QStringLiteral("ok");
    }
    if (command == u"hold" || command == u"release") {
        m_holding = command == u"hold";
        return QStringLiteral("ok");
    }
    if (command == u"clock") {
        const qint64 now = words.value(1).toLongLong();
        Platform::Clock::setNowSource([now] { return now; });
        return QStringLiteral("ok");
    }
    if (command == u"trigger" || command == u"enabled") {
        QAction *action = findCommand(words.value(1).toInt());
        if (!action)
            return QStringLiteral("none");
        if (command == u"enabled")
            return action->isEnabled() ? QStringLiteral("1") : QStringLiteral("0");
        if (!action->isEnabled())
            return QStringLiteral("disabled");
        action->trigger();
        return QStringLiteral("ok");
    }
    if (command == u"click") {
        // Where a view and its button share an id, the button takes clicks;
        // the modal window's own controls come first.
        QWidget *w = FindControl(words.value(1).toInt());
        QWidget *modal = QApplication::activeModalWidget();
        const QList<QWidget *> tops =
            modal && w && w->window() == modal ? QList<QWidget *>{modal} : QApplication::topLevelWidgets();
        for (QWidget *top : tops) {
            for (QAbstractButton *b : top->findChildren<QAbstractButton *>()) {
                if (WidgetIds::ControlId(b) == words.value(1).toInt() && b->isVisible())
                    w = b;
            }
        }
        if (!w || !w->isVisible())
            return QStringLiteral("none");
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        return QStringLiteral("ok");
    }
    if (command == u"key") {
        QWidget *w = FindControl(words.value(1).toInt());
        const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + words.value(2)).toLatin1().constData());
        if (!w || key < 0)
            return QStringLiteral("none");
        QTest::keyClick(w, Qt::Key(key));
        return QStringLiteral("ok");
    }
    if (command == u"answer") {
        m_answers->Push(words.value(1).toInt());
        return QStringLiteral("ok");
    }
    if (command == u"windows") {
        QStringList shown;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->isVisible())
                shown << QString::fromLatin1(top->metaObject()->className());
        }
        return shown.join(u' ');
    }
    if (command == u"dialogs")
        return m_dialogs.join(u' ');
    if (command == u"boxes") {
        QStringList texts;
        for (const MessageBoxAnswers::Asked &asked : m_answers->AskedBoxes())
            texts << asked.text;
        return texts.join(QStringLiteral(" | "));
    }
    if (command == u"grab") {
        QList<QPixmap> shots;
        int width = 0;
        int height = 0;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || top->isMinimized() || top->size().isEmpty())
                continue;
            shots << top->grab();
            width += shots.last().width();
            height = std::max(height, shots.last().height());
        }
        QPixmap all(std::max(width, 1), std::max(height, 1));
        all.fill(Qt::white);
        QPainter p(&all);
        int x = 0;
        for (const QPixmap &shot : shots) {
            p.drawPixmap(x, 0, shot);
            x += shot.width();
        }
        p.end();
        return all.save(words.value(1), "PNG") ? QStringLiteral("ok") : QStringLiteral("failed");
    }
    if (command == u"mute" || command == u"unmute") {
        SetMuted(command == u"mute");
        return QStringLiteral("ok");
    }
    if (command == u"quit")
        return QStringLiteral("ok");
    QString answer;
    for (const Probe &probe : probes()) {
        if (probe(words, answer))
            return answer;
    }
    return QStringLiteral("?");
}

// The endpoints are files named after the process in the bus folder: moved
// aside, posts no longer find them, while the program keeps listening.
void ProgramDriver::SetMuted(bool muted)
{
    const QDir folder(Platform::MessageBus::endpointFolder());
    if (muted) {
        const QString own = QString::number(::getpid()) + QStringLiteral("-*.sock");
        for (const QString &name : folder.entryList({own}, QDir::System | QDir::Files | QDir::Hidden)) {
            if (moveFile(folder.filePath(name), folder.filePath(name + QStringLiteral(".muted"))))
                m_hidden << name;
        }
    } else {
        for (const QString &name : std::as_const(m_hidden))
            moveFile(folder.filePath(name + QStringLiteral(".muted")), folder.filePath(name));
        m_hidden.clear();
    }
}
