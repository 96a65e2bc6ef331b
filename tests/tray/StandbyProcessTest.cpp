// Standby between real processes: a running tray on a bus of the test's
// own, told of a sleep and a wake as logind tells it (dbus-send of
// PrepareForSleep), ends the running entry with a record, then runs it
// again after a short pause. Told of the session's end (PrepareForShutdown)
// and killed outright at any step, it leaves what its next start takes up,
// or nothing that start would act on.
#include "CBdD.h"
#include "CUsers.h"
#include "ChildProcess.h"
#include "CmyDataBase.h"
#include "PrivateSessionBus.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TrayTestUsers.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// Waits are for events, bounded far beyond what a loaded machine needs.
constexpr int Patience = 30000;

class StandbyProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        address = bus.Address();
        ASSERT_FALSE(address.isEmpty()) << "dbus-daemon is needed";

        const QString folder = MakeTrayTestUsers();
        ASSERT_FALSE(folder.isEmpty());
        path = folder + QStringLiteral("Anne/Zarvo.sdb");
        CBdD made(path);
        ASSERT_TRUE(made.IsOpen());
        start = QDateTime::currentSecsSinceEpoch() - 3600;
        ASSERT_EQ(made.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                              "IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                              "(101,%1,0,-1,-1,0,-1,%1,1,0,'','')")
                                   .arg(start)),
                  0);
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        env.insert(QStringLiteral("ZARVO_POWER_BUS"), QStringLiteral("session"));
        return env;
    }
    void sleepSignal(bool starting) { logindSignal("PrepareForSleep", starting); }
    void logindSignal(const char *name, bool starting)
    {
        QProcess send;
        send.setProcessEnvironment(environment());
        send.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--type=signal"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager.") + QLatin1String(name),
                    starting ? QStringLiteral("boolean:true") : QStringLiteral("boolean:false")});
        ASSERT_TRUE(send.waitForFinished(Patience));
        ASSERT_EQ(send.exitCode(), 0);
    }
    // The next line the tray prints, waited for.
    static QString nextLine(QProcess &process)
    {
        QDeadlineTimer deadline(Patience);
        while (!process.canReadLine() && !deadline.hasExpired() && process.state() != QProcess::NotRunning)
            process.waitForReadyRead(100);
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    // What the entries are: "id:start:end" each, by id.
    QString entries() const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(u"select group_concat(Id||':'||Debut||':'||Fin, ' ') from "
                                        u"(select * from Taches order by Id)");
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    }
    QString end() const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(u"select Fin from Taches where Id=101");
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    }
    // Waits, bounded, until `done` holds.
    static bool waitFor(const std::function<bool()> &done)
    {
        QDeadlineTimer deadline(Patience);
        while (!deadline.hasExpired()) {
            if (done())
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    // The record as the tray last wrote it, read afresh.
    static int recordedTask() { return Platform::Settings().getInt(u"Tray", u"StandBy", u"Task", -1); }

    PrivateSessionBus bus;
    // Ended at the test's end as its input closes.
    ChildProcess tray{Patience};
    QString address;
    QString path;
    qint64 start = 0;
};

} // namespace

TEST_F(StandbyProcessTest, ASleepEndsTheRunningEntryAndAQuickWakeRunsItAgain)
{
    tray.Start(QStringLiteral(TRAY_APP_PEER), {},
               {QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + address, QStringLiteral("ZARVO_POWER_BUS=session")});
    ASSERT_EQ(tray.Line("its start"), QStringLiteral("first"));

    const qint64 before = QDateTime::currentSecsSinceEpoch();
    sleepSignal(true);
    // The record is written first, then the entry ends.
    ASSERT_TRUE(waitFor([this] { return end() != QStringLiteral("0"); })) << "the entry was not ended";
    EXPECT_GE(end().toLongLong(), before);
    ASSERT_TRUE(waitFor([] { return recordedTask() == 101; })) << "no record";
    EXPECT_EQ(Platform::Settings().getBinary(u"Tray", u"Standby", u"Time").size(), 8);

    sleepSignal(false);
    ASSERT_TRUE(waitFor([this] { return end() == QStringLiteral("0"); })) << "not run again";
    // Cleared once the entry runs again: a record is used once.
    EXPECT_TRUE(waitFor([] { return recordedTask() == -1; })) << "the record is kept";
}

// The session's end kills the tray at some moment after it was told. Cut
// short once the entry has ended, the record is there already and the next
// start takes the entry up; cut short between the record and the end, the
// entry still runs and the next start neither ends it, nor starts a copy,
// nor tells of a failure, however long ago the record says it was.
TEST_F(StandbyProcessTest, ASessionEndCutShortAtEitherStepLeavesWhatTheNextStartTakesUp)
{
    const struct
    {
        const char *name;
        const char *killedAfter;
        qint64 recordAge; // how much older the record is made before the next start
        int actionOnRestart;
    } cases[] = {
        {"killed once the entry ended: taken up again", "ended", 0, 1},
        {"killed between the record and the end", "recorded", 0, 0},
        {"killed between the record and the end, started an hour later", "recorded", 3600, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        {
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.Open(path), 0);
            ASSERT_EQ(db.Execute(u"delete from Taches where Id<>101"), 0);
            ASSERT_EQ(db.Execute(u"update Taches set Fin=0 where Id=101"), 0);
            Platform::Settings settings;
            settings.setInt(u"Tray", u"StandBy", u"Task", -1);
            settings.setInt(u"Tray", u"StandBy", u"User", -1);
            settings.setInt(u"Tray", u"Config", u"ActionOnRestart", c.actionOnRestart);
            settings.sync();
        }
        const QString running = QStringLiteral("101:%1:0").arg(start);

        QProcess ending;
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("TRAY_PEER_STOP_AFTER"), QLatin1String(c.killedAfter));
        ending.setProcessEnvironment(env);
        ending.start(QStringLiteral(TRAY_APP_PEER), {});
        ASSERT_EQ(nextLine(ending), QStringLiteral("first"));
        logindSignal("PrepareForShutdown", true);
        ASSERT_EQ(nextLine(ending), QLatin1String(c.killedAfter));
        ending.kill();
        ASSERT_TRUE(ending.waitForFinished(Patience));
        ASSERT_EQ(recordedTask(), 101) << "no record";
        if (c.recordAge != 0) {
            Platform::Settings settings;
            QByteArray time = settings.getBinary(u"Tray", u"Standby", u"Time");
            ASSERT_EQ(time.size(), 8);
            qToLittleEndian<qint64>(qFromLittleEndian<qint64>(time.constData()) - c.recordAge, time.data());
            settings.setBinary(u"Tray", u"Standby", u"Time", time);
            settings.sync();
        }

        // The next start, as the next session starts it.
        QProcess next;
        next.setProcessEnvironment(environment());
        next.start(QStringLiteral(TRAY_APP_PEER), {});
        ASSERT_EQ(nextLine(next), QStringLiteral("first"));
        EXPECT_EQ(entries(), running) << "the entry runs on from its first start, alone";
        EXPECT_EQ(recordedTask(), -1) << "a record is used once";
        next.closeWriteChannel();
        EXPECT_TRUE(next.waitForFinished(Patience));
        EXPECT_EQ(QString::fromUtf8(next.readAllStandardOutput()).trimmed(), QString()) << "a window showed";
    }
}
