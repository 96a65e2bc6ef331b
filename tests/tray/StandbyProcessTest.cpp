// Standby between real processes: a running tray on a bus of the test's
// own, told of a sleep and a wake as logind tells it (dbus-send of
// PrepareForSleep), ends the running entry with a record, then runs it
// again after a short pause.
#include "CBdD.h"
#include "CUsers.h"
#include "CmyDataBase.h"
#include "PrivateSessionBus.h"
#include "Settings.h"
#include "TrayTestUsers.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QThread>
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
    void TearDown() override
    {
        if (tray.state() != QProcess::NotRunning) {
            tray.closeWriteChannel();
            if (!tray.waitForFinished(Patience))
                tray.kill();
            tray.waitForFinished(Patience);
        }
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        env.insert(QStringLiteral("ZARVO_POWER_BUS"), QStringLiteral("session"));
        return env;
    }
    void sleepSignal(bool starting)
    {
        QProcess send;
        send.setProcessEnvironment(environment());
        send.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--type=signal"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager.PrepareForSleep"),
                    starting ? QStringLiteral("boolean:true") : QStringLiteral("boolean:false")});
        ASSERT_TRUE(send.waitForFinished(Patience));
        ASSERT_EQ(send.exitCode(), 0);
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
    QProcess tray;
    QString address;
    QString path;
    qint64 start = 0;
};

} // namespace

TEST_F(StandbyProcessTest, ASleepEndsTheRunningEntryAndAQuickWakeRunsItAgain)
{
    tray.setProcessEnvironment(environment());
    tray.start(QStringLiteral(TRAY_APP_PEER), {});
    QDeadlineTimer deadline(Patience);
    while (!tray.canReadLine() && !deadline.hasExpired())
        tray.waitForReadyRead(100);
    ASSERT_EQ(QString::fromUtf8(tray.readLine()).trimmed(), QStringLiteral("first"));

    const qint64 before = QDateTime::currentSecsSinceEpoch();
    sleepSignal(true);
    // The entry ends first, then the record is written.
    ASSERT_TRUE(waitFor([this] { return end() != QStringLiteral("0"); })) << "the entry was not ended";
    EXPECT_GE(end().toLongLong(), before);
    ASSERT_TRUE(waitFor([] { return recordedTask() == 101; })) << "no record";
    EXPECT_EQ(Platform::Settings().getBinary(u"Tray", u"Standby", u"Time").size(), 8);

    sleepSignal(false);
    ASSERT_TRUE(waitFor([this] { return end() == QStringLiteral("0"); })) << "not run again";
    // Cleared once the entry runs again: a record is used once.
    EXPECT_TRUE(waitFor([] { return recordedTask() == -1; })) << "the record is kept";
}
