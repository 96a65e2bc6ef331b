#include "MessageBus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace Platform {

namespace {

constexpr quint32 FrameMagic = 0x5342525Au; // "ZRBS"
constexpr quint32 WantsAnswer = 1;
constexpr int ListenBacklog = 1024;
// While a peer's queue is full, a send tries again this often until its
// time-out.
constexpr int BusyRetryMs = 5;

// What travels on an endpoint: one frame per connection, one answer back
// when the sender waits for it. Both ends are processes of the same user
// on the same machine, so the layout is the native one.
struct Frame
{
    quint32 magic = FrameMagic;
    quint32 flags = 0;
    quint32 message = 0;
    quint32 reserved = 0;
    quint64 wParam = 0;
    qint64 lParam = 0;
    qint64 pid = 0;
};

struct AnswerFrame
{
    quint32 magic = FrameMagic;
    quint32 reserved = 0;
    qint64 result = 0;
    qint64 pid = 0;
};

std::vector<MessageBus *> &liveBuses()
{
    static std::vector<MessageBus *> buses;
    return buses;
}

QString folderPath(bool create)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return QString();
    const QString folder = runtime + QStringLiteral("/zarvo-bus");
    if (create && !QFileInfo::exists(folder)) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
            return QString();
    }
    return folder;
}

bool isOwnEndpoint(const QString &path)
{
    for (MessageBus *bus : liveBuses()) {
        if (bus->endpointPath() == path)
            return true;
    }
    return false;
}

// The endpoints of other processes.
QStringList peerEndpoints()
{
    QStringList peers;
    const QString folder = folderPath(false);
    if (folder.isEmpty())
        return peers;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*.sock")}, QDir::System | QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        if (!isOwnEndpoint(path))
            peers.append(path);
    }
    return peers;
}

// The process that made an endpoint, from its name "<pid>-<n>.sock"; 0
// when the name says nothing.
qint64 endpointOwner(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    bool ok = false;
    const qint64 pid = name.left(name.indexOf(u'-')).toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

// Whether the endpoint's process is gone. A refused connection alone does
// not tell: a peer may be between creating its endpoint and listening on
// it, and removing the file then would make that live peer unreachable.
bool ownerIsGone(const QString &path)
{
    const qint64 pid = endpointOwner(path);
    if (pid == 0)
        return true; // not an endpoint this layer made, and nobody listens
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

enum class Connect { Done, Busy, Gone };

// Connects without ever waiting. Busy when the peer's queue of waiting
// connections is full right now; Gone when nobody listens (the endpoint is
// removed when its process has ended).
Connect connectTo(const QString &path, int *fdOut)
{
    *fdOut = -1;
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (bytes.size() >= static_cast<qsizetype>(sizeof(addr.sun_path)))
        return Connect::Gone;
    std::memcpy(addr.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Connect::Busy;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof(addr)) == 0) {
        *fdOut = fd;
        return Connect::Done;
    }
    const int err = errno;
    ::close(fd);
    if (err == EAGAIN || err == EWOULDBLOCK || err == EINTR)
        return Connect::Busy;
    if ((err == ECONNREFUSED || err == ENOENT) && ownerIsGone(path))
        ::unlink(bytes.constData());
    return Connect::Gone;
}

bool sendFrame(int fd, const Frame &frame)
{
    const ssize_t n = ::send(fd, &frame, sizeof(frame), MSG_NOSIGNAL | MSG_DONTWAIT);
    return n == static_cast<ssize_t>(sizeof(frame));
}

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

quint32 MessageBus::registerMessage(QStringView name)
{
    // FNV-1a over the lower-cased name: the same in every process.
    quint32 hash = 2166136261u;
    for (QChar c : name) {
        const char16_t u = c.toLower().unicode();
        hash = (hash ^ (u & 0xFFu)) * 16777619u;
        hash = (hash ^ (u >> 8)) * 16777619u;
    }
    return 0xC000u + (hash % 0x4000u);
}

QString MessageBus::endpointFolder()
{
    return folderPath(true);
}

MessageBus::MessageBus(QObject *parent)
    : QObject(parent)
{
    liveBuses().push_back(this);
}

MessageBus::~MessageBus()
{
    auto &buses = liveBuses();
    std::erase(buses, this);
    if (m_server)
        m_server->close();
}

bool MessageBus::listen()
{
    if (isListening())
        return true;
    const QString folder = folderPath(true);
    if (folder.isEmpty())
        return false;
    static int counter = 0;
    const QString path = QStringLiteral("%1/%2-%3.sock").arg(folder).arg(::getpid()).arg(counter++);
    // A file of that name can only be left by a dead process.
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Every post is a connection of its own; a burst of posts waits in this
    // queue until the event loop takes them, so it is made long enough
    // that a busy receiver loses none of an ordinary burst.
    server->setListenBacklogSize(ListenBacklog);
    if (!server->listen(path))
        return false;
    connect(server.get(), &QLocalServer::newConnection, this, &MessageBus::onNewConnection);
    m_server = std::move(server);
    return true;
}

bool MessageBus::isListening() const
{
    return m_server && m_server->isListening();
}

QString MessageBus::endpointPath() const
{
    return isListening() ? m_server->fullServerName() : QString();
}

void MessageBus::setHandler(Handler handler)
{
    m_handler = std::move(handler);
}

void MessageBus::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // Only processes of this user may talk to us.
        ucred cred{};
        socklen_t len = sizeof(cred);
        if (::getsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0
            || cred.uid != ::getuid()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void MessageBus::onReadyRead(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < static_cast<qint64>(sizeof(Frame)))
        return;
    Frame frame;
    socket->read(reinterpret_cast<char *>(&frame), sizeof(frame));
    socket->disconnect(this);
    if (frame.magic != FrameMagic) {
        socket->abort();
        return;
    }
    const qint64 result = deliver(Message{frame.message, frame.wParam, frame.lParam});
    if (frame.flags & WantsAnswer) {
        AnswerFrame answer;
        answer.result = result;
        answer.pid = ::getpid();
        socket->write(reinterpret_cast<const char *>(&answer), sizeof(answer));
        socket->flush();
    }
    socket->disconnectFromServer();
}

qint64 MessageBus::deliver(const Message &message)
{
    emit received(message);
    return m_handler ? m_handler(message) : 0;
}

void MessageBus::post(quint32 message, quint64 wParam, qint64 lParam)
{
    const Message m{message, wParam, lParam};
    for (MessageBus *bus : liveBuses()) {
        if (bus->isListening())
            QMetaObject::invokeMethod(bus, [bus, m] { bus->deliver(m); }, Qt::QueuedConnection);
    }
    Frame frame;
    frame.message = message;
    frame.wParam = wParam;
    frame.lParam = lParam;
    frame.pid = ::getpid();
    for (const QString &peer : peerEndpoints()) {
        int fd = -1;
        if (connectTo(peer, &fd) != Connect::Done)
            continue; // gone, or its queue is full: a post never waits
        // The frame waits in the peer's queue; a peer that does not read
        // simply never sees it.
        sendFrame(fd, frame);
        ::close(fd);
    }
}

QList<MessageBus::Answer> MessageBus::send(quint32 message, quint64 wParam, qint64 lParam, int timeoutMs)
{
    QList<Answer> answers;
    const Message m{message, wParam, lParam};
    for (MessageBus *bus : liveBuses()) {
        if (bus->isListening())
            answers.append(Answer{::getpid(), bus->deliver(m)});
    }

    Frame frame;
    frame.flags = WantsAnswer;
    frame.message = message;
    frame.wParam = wParam;
    frame.lParam = lParam;
    frame.pid = ::getpid();
    struct Pending
    {
        int fd;
        AnswerFrame answer;
        size_t got = 0;
    };
    std::vector<Pending> pending;
    // Peers whose queue of waiting connections is full: tried again until
    // the time-out, since a send waits for its answers anyway.
    QStringList busy;
    const auto connectAll = [&](const QStringList &peers) {
        QStringList stillBusy;
        for (const QString &peer : peers) {
            int fd = -1;
            const Connect c = connectTo(peer, &fd);
            if (c == Connect::Busy)
                stillBusy.append(peer);
            if (c != Connect::Done)
                continue;
            if (sendFrame(fd, frame))
                pending.push_back(Pending{fd, AnswerFrame{}, 0});
            else
                ::close(fd);
        }
        return stillBusy;
    };

    const qint64 deadline = nowMs() + qMax(0, timeoutMs);
    busy = connectAll(peerEndpoints());
    while (!pending.empty() || !busy.isEmpty()) {
        const qint64 left = deadline - nowMs();
        if (left <= 0)
            break;
        std::vector<pollfd> fds;
        for (const Pending &p : pending)
            fds.push_back(pollfd{p.fd, POLLIN, 0});
        const int wait = busy.isEmpty() ? static_cast<int>(left) : static_cast<int>(qMin<qint64>(left, BusyRetryMs));
        const int ready = ::poll(fds.data(), fds.size(), wait);
        if (ready < 0 && errno != EINTR)
            break;
        for (size_t i = fds.size(); i-- > 0;) {
            if (fds[i].revents == 0)
                continue;
            Pending &p = pending[i];
            const ssize_t n = ::recv(p.fd, reinterpret_cast<char *>(&p.answer) + p.got, sizeof(AnswerFrame) - p.got,
                                     MSG_DONTWAIT);
            bool done = n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR));
            if (n > 0) {
                p.got += static_cast<size_t>(n);
                if (p.got == sizeof(AnswerFrame)) {
                    if (p.answer.magic == FrameMagic)
                        answers.append(Answer{p.answer.pid, p.answer.result});
                    done = true;
                }
            }
            if (done) {
                ::close(p.fd);
                pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (!busy.isEmpty())
            busy = connectAll(busy);
    }
    for (const Pending &p : pending)
        ::close(p.fd);
    return answers;
}

} // namespace Platform
