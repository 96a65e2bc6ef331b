// The power events against a logind of the test's own on a private bus:
// the delay lock is held while the program ends its work for a sleep, let
// go after it, and taken again on waking; a shut-down that can still be
// cancelled is not the session's end.
#include "PowerEvents.h"
#include "PrivateSessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int Patience = 30000;

// logind's manager as far as the events use it: Inhibit hands out the
// write end of a pipe whose read end the test watches.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    int readEnd = -1;
    int inhibits = 0;

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &, const QString &, const QString &mode)
    {
        ++inhibits;
        lastWhat = what;
        lastMode = mode;
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        if (readEnd != -1)
            ::close(readEnd);
        readEnd = ends[0];
        QDBusUnixFileDescriptor handed(ends[1]); // a copy of its own
        ::close(ends[1]);
        return handed;
    }

public:
    QString lastWhat, lastMode;
};

// Whether every write end of the pipe is closed (the lock let go).
bool released(int readEnd)
{
    pollfd p{readEnd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}

class PowerEventsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        address = bus.Address();
        ASSERT_FALSE(address.isEmpty()) << "dbus-daemon is needed";
        // The events follow the session bus, which is this one.
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        qputenv("ZARVO_POWER_BUS", "session");

        // logind answers from a thread of its own while the events wait.
        thread.start();
        logind.moveToThread(&thread);
        QDBusConnection side = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
        ASSERT_TRUE(side.isConnected());
        ASSERT_TRUE(side.registerObject(QStringLiteral("/org/freedesktop/login1"), &logind,
                                        QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(side.registerService(QStringLiteral("org.freedesktop.login1")));
    }
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
        thread.quit();
        thread.wait();
        qunsetenv("ZARVO_POWER_BUS");
    }
    void send(const char *name, bool starting)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
            QString::fromLatin1(name));
        signal << starting;
        QDBusConnection::connectToBus(address, QStringLiteral("logind")).send(signal);
    }
    template <typename Done>
    bool waitFor(Done done)
    {
        QDeadlineTimer deadline(Patience);
        while (!done() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(5);
        }
        return done();
    }

    PrivateSessionBus bus;
    QString address;
    QThread thread;
    FakeLogind logind;
};

} // namespace

TEST_F(PowerEventsTest, TheDelayLockIsHeldWhileTheSleepIsPreparedAndTakenAgainOnWaking)
{
    Platform::PowerEvents events;
    ASSERT_TRUE(events.IsFollowing());
    ASSERT_TRUE(events.HoldsDelay());
    EXPECT_EQ(logind.lastWhat, QStringLiteral("sleep:shutdown"));
    EXPECT_EQ(logind.lastMode, QStringLiteral("delay"));
    const int firstLock = logind.readEnd;
    EXPECT_FALSE(released(firstLock));

    bool heldDuringWork = false;
    int suspends = 0, resumes = 0, endings = 0;
    QObject::connect(&events, &Platform::PowerEvents::suspending, [&] {
        ++suspends;
        heldDuringWork = events.HoldsDelay() && !released(firstLock);
    });
    QObject::connect(&events, &Platform::PowerEvents::resumed, [&] { ++resumes; });
    QObject::connect(&events, &Platform::PowerEvents::sessionEnding, [&] { ++endings; });

    send("PrepareForSleep", true);
    ASSERT_TRUE(waitFor([&] { return suspends == 1; }));
    EXPECT_TRUE(heldDuringWork) << "the sleep waits for the work";
    EXPECT_TRUE(released(firstLock)) << "then goes on";
    EXPECT_FALSE(events.HoldsDelay());

    send("PrepareForSleep", false);
    ASSERT_TRUE(waitFor([&] { return resumes == 1; }));
    EXPECT_TRUE(events.HoldsDelay()) << "a lock for the next sleep";
    EXPECT_EQ(logind.inhibits, 2);

    // A shut-down that may still be cancelled is not the session's end:
    // a wake sent after it arrives after it, and nothing has ended then.
    send("PrepareForShutdown", false);
    send("PrepareForSleep", false);
    ASSERT_TRUE(waitFor([&] { return resumes == 2; }));
    EXPECT_EQ(endings, 0);
    send("PrepareForShutdown", true);
    ASSERT_TRUE(waitFor([&] { return endings == 1; }));
    EXPECT_EQ(suspends, 1);
}

TEST(PowerEventsWithoutLogind, FollowNothing)
{
    // A session bus nobody serves logind on, and no bus at all.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/zarvo-bus");
    qunsetenv("ZARVO_POWER_BUS");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/zarvo-system-bus");
    Platform::PowerEvents events;
    EXPECT_FALSE(events.IsFollowing());
    EXPECT_FALSE(events.HoldsDelay());
}

#include "PowerEventsTest.moc"
