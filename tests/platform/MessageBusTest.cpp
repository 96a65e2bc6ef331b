#include "ChildProcess.h"
#include "MessageBus.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using Platform::MessageBus;

namespace {

const QString ProbeName = QStringLiteral("UWM_ARE_YOU_ZARVO_TRAY");
const QString ChangeName = QStringLiteral("UWM_ZARVO_CHANGE_90E721E2-9CFF-4c13-8A9D-6F66F17429ED");

// Every wait of these tests is for an event, bounded by a time-out far
// beyond what a loaded machine needs; nothing is timed.
constexpr int Patience = 30000;

// A peer process, ended when the test ends (it ends when its input does).
class Peer
{
public:
    explicit Peer(const QStringList &args)
        : child(QStringLiteral(BUS_PEER), args, {}, Patience)
    {
    }
    // Waits for a line that starts with `prefix` (skipping the others);
    // returns it, empty when none came.
    QString waitForLine(const QString &prefix)
    {
        return child.LineStartingWith(prefix, "a line \"" + prefix.toStdString() + "...\"");
    }
    // Waits for this exact line; the lines before it are skipped.
    bool waitForExactLine(const QString &expected)
    {
        while (true) {
            const QString line = waitForLine(expected);
            if (line == expected)
                return true;
            if (line.isEmpty())
                return false;
        }
    }
    bool waitForReady() { return !waitForLine(QStringLiteral("ready")).isEmpty(); }
    qint64 pid() const { return child.ProcessId(); }
    ChildProcess child;
};

bool waitForSignals(QSignalSpy &spy, int count)
{
    while (spy.count() < count) {
        if (!spy.wait(Patience))
            return false;
    }
    return true;
}

QStringList endpoints()
{
    return QDir(MessageBus::endpointFolder()).entryList({QStringLiteral("*.sock")}, QDir::System | QDir::Files);
}

// An endpoint file named for process `pid` that nobody listens on.
QString makeDeadEndpoint(qint64 pid)
{
    const QString path = MessageBus::endpointFolder() + QStringLiteral("/%1-0.sock").arg(pid);
    const QByteArray bytes = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)), 0);
    ::close(fd);
    return path;
}

// A process id that no process can have: ids stay below the system's limit.
qint64 impossiblePid()
{
    QFile f(QStringLiteral("/proc/sys/kernel/pid_max"));
    const qint64 max = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : 0;
    return max > 0 ? max : 4194304;
}

} // namespace

TEST(MessageBusTest, NamesGiveTheSameNumberInEveryProcess)
{
    const QStringList names = {ProbeName, ChangeName, QStringLiteral("UWM_ARE_YOU_ZARVO"),
                               QStringLiteral("UWM_ZARVO_REFRESH_FROM_TRAY_D6386AB4-2D5D-4bfd-89F4-7883A7331BAB")};
    QSet<quint32> seen;
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const quint32 here = MessageBus::registerMessage(name);
        EXPECT_GE(here, 0xC000u);
        EXPECT_LE(here, 0xFFFFu);
        EXPECT_EQ(MessageBus::registerMessage(name.toLower()), here);
        seen.insert(here);
        Peer peer({QStringLiteral("number"), name});
        ASSERT_TRUE(peer.child.Ends("its number printed"));
        EXPECT_EQ(peer.child.Process().readAllStandardOutput().trimmed().toUInt(), here);
    }
    EXPECT_EQ(seen.size(), names.size());
}

TEST(MessageBusTest, PostAndSendReachAnotherProcess)
{
    Peer peer({QStringLiteral("answer"), ProbeName});
    ASSERT_TRUE(peer.waitForReady());
    const quint32 probe = MessageBus::registerMessage(ProbeName);
    const quint32 change = MessageBus::registerMessage(ChangeName);

    MessageBus::post(change, 4, -7);
    EXPECT_EQ(peer.waitForLine(QStringLiteral("got")), QStringLiteral("got %1 4 -7").arg(change));

    // The peer answers the probe with the probe's own number.
    const QList<MessageBus::Answer> answers = MessageBus::send(probe, 0, 0, Patience);
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0].pid, peer.pid());
    EXPECT_EQ(answers[0].result, static_cast<qint64>(probe));
    // Another message is answered with 0.
    const QList<MessageBus::Answer> other = MessageBus::send(change, 1, 0, Patience);
    ASSERT_EQ(other.size(), 1);
    EXPECT_EQ(other[0].result, 0);
}

TEST(MessageBusTest, PostFromAnotherProcessAndFromThisOneArrive)
{
    MessageBus bus;
    ASSERT_TRUE(bus.listen());
    bus.setHandler([](const MessageBus::Message &m) { return static_cast<qint64>(m.wParam) * 10; });
    QSignalSpy spy(&bus, &MessageBus::received);
    const quint32 change = MessageBus::registerMessage(ChangeName);

    Peer poster({QStringLiteral("post"), ChangeName, QStringLiteral("2"), QStringLiteral("5")});
    ASSERT_TRUE(poster.child.Ends("its posts"));
    ASSERT_TRUE(waitForSignals(spy, 1));
    auto m = spy.takeFirst().at(0).value<MessageBus::Message>();
    EXPECT_EQ(m.message, change);
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_EQ(m.lParam, 5);

    // Inside the process a post is queued, a send is answered at once.
    MessageBus::post(change, 3, 0);
    EXPECT_EQ(spy.count(), 0);
    ASSERT_TRUE(waitForSignals(spy, 1));
    const QList<MessageBus::Answer> answers = MessageBus::send(change, 6, 0, 200);
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0].pid, QCoreApplication::applicationPid());
    EXPECT_EQ(answers[0].result, 60);
}

TEST(MessageBusTest, DeafAndDeadPeersNeitherBlockNorStay)
{
    const QString stale = makeDeadEndpoint(impossiblePid());
    Peer deaf({QStringLiteral("deaf")});
    ASSERT_TRUE(deaf.waitForReady());
    Peer live({QStringLiteral("answer"), ProbeName});
    ASSERT_TRUE(live.waitForReady());
    const quint32 change = MessageBus::registerMessage(ChangeName);
    const quint32 probe = MessageBus::registerMessage(ProbeName);

    // More posts than a peer that never takes them can queue: the loop
    // ends all the same.
    for (int i = 0; i < 1100; ++i)
        MessageBus::post(change, 0, i);
    EXPECT_FALSE(QFileInfo::exists(stale));
    // The live peer gets what was posted (the first post at least: a burst
    // beyond its queue may lose the latest ones, as a full message queue
    // would).
    EXPECT_TRUE(live.waitForExactLine(QStringLiteral("got %1 0 0").arg(change)));

    // A send is answered by the live peer once it has worked through the
    // posts; the deaf one only costs the time-out.
    const QList<MessageBus::Answer> answers = MessageBus::send(probe, 0, 0, 5000);
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers[0].pid, live.pid());

    // A peer that died without closing leaves an endpoint that the next
    // post removes.
    EXPECT_EQ(endpoints().size(), 2);
    deaf.child.End();
    MessageBus::post(change, 5, 0);
    EXPECT_EQ(endpoints().size(), 1);
    EXPECT_TRUE(live.waitForExactLine(QStringLiteral("got %1 5 0").arg(change)));
}

TEST(MessageBusTest, AnEndpointWhoseProcessLivesIsKeptWhileItRefuses)
{
    // Made but not yet listening, as a starting peer is for a moment.
    const QString starting = makeDeadEndpoint(QCoreApplication::applicationPid());
    const quint32 change = MessageBus::registerMessage(ChangeName);
    MessageBus::post(change, 0, 0);
    EXPECT_TRUE(MessageBus::send(change, 0, 0, 200).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(starting));
}

TEST(MessageBusTest, EndpointsArePrivateToTheUser)
{
    MessageBus bus;
    ASSERT_TRUE(bus.listen());
    struct stat folder{};
    ASSERT_EQ(::stat(QFile::encodeName(MessageBus::endpointFolder()).constData(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(folder.st_uid, ::getuid());
    struct stat socket{};
    ASSERT_EQ(::stat(QFile::encodeName(bus.endpointPath()).constData(), &socket), 0);
    EXPECT_EQ(socket.st_mode & 0077, 0u);
    // Closing removes the endpoint.
    const QString path = bus.endpointPath();
    {
        MessageBus other;
        ASSERT_TRUE(other.listen());
        EXPECT_EQ(endpoints().size(), 2);
    }
    EXPECT_EQ(endpoints(), QStringList{QFileInfo(path).fileName()});
}
