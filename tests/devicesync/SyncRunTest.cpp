#include "SyncAnalysis.h"
#include "SyncFileStages.h"
#include "SyncPending.h"
#include "SyncRun.h"
#include "SyncRunPeer.h"
#include "UserSyncSetup.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "Clock.h"
#include "Formatter.h"
#include "CmyDataBase.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "Texts.h"
#include "WithoutFileRights.h"
#include "WritingPeer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace {

// Steps written down as "text:state", the last one updated; the cancel
// flag is set by the test.
class Steps : public SyncSteps
{
public:
    void AppendStep(int textId, int state) override { list << QStringLiteral("%1:%2").arg(textId).arg(state); }
    void SetLastStepState(int state) override
    {
        if (!list.isEmpty())
            list.last() = list.last().section(u':', 0, 0) + u':' + QString::number(state);
    }
    bool Cancelled() override { return cancel; }

    QStringList list;
    bool cancel = false;
};

// --- The order of the stages, each replaced by a recording fake ---------

struct Fakes
{
    bool withList = true;
    bool mergeOk = true;
    bool touched = true;
    bool overlapsOk = true;
    bool cancelInMerge = false;
    CBdD::MergeOutcome order = CBdD::MergeOutcome::Done;
    bool finalisationOpen = true;
    bool purgeOk = true;
    bool unchanged = true;
    SyncRun::Kept kept = SyncRun::Kept::Yes;
    bool deviceOk = true;
    CDatabaseFile::ReplaceResult replaced = CDatabaseFile::ReplaceResult::Replaced;
};

struct OrderCase
{
    const char *name;
    Fakes fakes;
    const char *calls;
    SyncRun::Outcome outcome;
    const char *lastSteps;
};

SyncRun::Stages fakeStages(const Fakes &f, QStringList &calls, Steps &steps)
{
    SyncRun::Stages s;
    if (f.withList) {
        s.merge = [&, f](SyncSteps &, bool &touched) {
            calls << "merge";
            touched = f.touched;
            steps.cancel = f.cancelInMerge;
            return f.mergeOk;
        };
        s.overlaps = [&, f](SyncSteps &) { return calls << "overlaps", f.overlapsOk; };
    }
    s.favoriteOrder = [&, f](SyncSteps &) { return calls << "order", f.order; };
    s.beginFinalisation = [&, f] { return calls << "begin", f.finalisationOpen; };
    s.purge = [&, f] { return calls << "purge", f.purgeOk; };
    s.localUnchanged = [&, f] { return calls << "look", f.unchanged; };
    s.keepPending = [&, f](QString &why) {
        if (f.kept == SyncRun::Kept::No)
            why = QStringLiteral("the cause");
        return calls << "keep", f.kept;
    };
    s.writeDevice = [&, f] { return calls << "device", f.deviceOk; };
    s.replaceLocal = [&, f] { return calls << "local", f.replaced; };
    s.dropPending = [&] { calls << "drop"; };
    s.afterReplace = [&] { calls << "after"; };
    s.cleanUp = [&] { calls << "clean"; };
    return s;
}

Fakes with(std::function<void(Fakes &)> change)
{
    Fakes f;
    change(f);
    return f;
}

} // namespace

TEST(SyncRunTest, StagesRunInOrderAndStopWhereTheyFail)
{
    using O = SyncRun::Outcome;
    using R = CDatabaseFile::ReplaceResult;
    // The record of the run is kept before the device is written and
    // dropped only once the local database was replaced; the working
    // copies are cleaned up after every run.
    const OrderCase cases[] = {
        {"everything", Fakes(), "merge overlaps order begin purge look keep device local drop after clean",
         O::Succeeded, "392:1 223:1"},
        {"no list", with([](Fakes &f) { f.withList = false; }),
         "order begin purge look keep device local drop after clean", O::Succeeded, "392:1 223:1"},
        {"no time entry merged", with([](Fakes &f) { f.touched = false; }),
         "merge order begin purge look keep device local drop after clean", O::Succeeded, "392:1 223:1"},
        {"merge failed", with([](Fakes &f) { f.mergeOk = false; }), "merge clean", O::Failed, "285:2 380:2"},
        {"merge cancelled", with([](Fakes &f) { f.mergeOk = false, f.cancelInMerge = true; }), "merge clean",
         O::Cancelled, "285:2 372:2"},
        {"cancel seen after the merge", with([](Fakes &f) { f.cancelInMerge = true; }), "merge overlaps clean",
         O::Cancelled, "285:2 372:2"},
        {"overlaps failed", with([](Fakes &f) { f.overlapsOk = false; }), "merge overlaps clean", O::Failed,
         "285:2 380:2"},
        {"favourite order cancelled", with([](Fakes &f) { f.order = CBdD::MergeOutcome::Cancelled; }),
         "merge overlaps order clean", O::Cancelled, "393:2 372:2"},
        {"favourite order failed", with([](Fakes &f) { f.order = CBdD::MergeOutcome::Failed; }),
         "merge overlaps order clean", O::Failed, "393:2 380:2"},
        {"cancelled as the finalisation starts", with([](Fakes &f) { f.finalisationOpen = false; }),
         "merge overlaps order begin clean", O::Cancelled, "393:2 372:2"},
        {"purge failed", with([](Fakes &f) { f.purgeOk = false; }), "merge overlaps order begin purge clean",
         O::Failed, "391:2 380:2"},
        {"local changed since the analysis", with([](Fakes &f) { f.unchanged = false; }),
         "merge overlaps order begin purge look clean", O::LocalChanged, "391:2 251:2"},
        {"the run's record not kept", with([](Fakes &f) { f.kept = SyncRun::Kept::No; }),
         "merge overlaps order begin purge look keep clean", O::Failed, "391:2 380:2"},
        {"local changed as the run's record is kept", with([](Fakes &f) { f.kept = SyncRun::Kept::LocalChanged; }),
         "merge overlaps order begin purge look keep clean", O::LocalChanged, "391:2 251:2"},
        {"device write failed", with([](Fakes &f) { f.deviceOk = false; }),
         "merge overlaps order begin purge look keep device clean", O::Failed, "390:2 380:2"},
        {"local changed during the device write", with([](Fakes &f) { f.replaced = R::ChangedMeanwhile; }),
         "merge overlaps order begin purge look keep device local clean", O::LocalChanged, "392:2 251:2"},
        {"local replacement failed", with([](Fakes &f) { f.replaced = R::Failed; }),
         "merge overlaps order begin purge look keep device local clean", O::Failed, "392:2 380:2"},
    };
    for (const OrderCase &c : cases) {
        QStringList calls;
        Steps steps;
        SyncRun run(fakeStages(c.fakes, calls, steps));
        EXPECT_EQ(run.Run(steps), c.outcome) << c.name;
        EXPECT_EQ(calls.join(u' '), QString::fromLatin1(c.calls)) << c.name;
        EXPECT_EQ(steps.list.mid(steps.list.size() - 2).join(u' '), QString::fromLatin1(c.lastSteps)) << c.name;
        EXPECT_TRUE(steps.list.first().startsWith("285:")) << c.name;
        // Only the stage that cannot keep the record says more.
        EXPECT_EQ(run.Reason(), c.fakes.kept == SyncRun::Kept::No ? QStringLiteral("the cause") : QString()) << c.name;
    }
}

TEST(SyncRunTest, OutcomeTexts)
{
    EXPECT_EQ(SyncRun::TextId(SyncRun::Outcome::Succeeded), 223);
    EXPECT_EQ(SyncRun::TextId(SyncRun::Outcome::Cancelled), 372);
    EXPECT_EQ(SyncRun::TextId(SyncRun::Outcome::Failed), 380);
    EXPECT_EQ(SyncRun::TextId(SyncRun::Outcome::LocalChanged), 251);
}

// --- Runs over real files: a device folder, the user's database, the copy ---

namespace {

constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\r\n";

class SyncRunFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Clock::setFixedNow(1'700'000'000);
        local = TestFolders::file(QStringLiteral("local/Zarvo.sdb"));
        deviceDb = TestFolders::file(QStringLiteral("Device/Program Files/Zarvo/Db/Zarvo.sdb"));
        copy = TestFolders::file(QStringLiteral("work/Ppc.sdb"));
        QDir().mkpath(QFileInfo(copy).absolutePath());
        make(local, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1)",
                     "insert into Favoris (Id,Ordre,Deleted,Date_Modif) values (5,900,0,10)",
                     "update Infos set Value='2000' where Name='Modif'"});
        make(deviceDb, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (33,'appareil',-1,0,1500,1)",
                        "insert into Favoris (Id,Ordre,Deleted,Date_Modif) values (5,100,0,10)",
                        "update Infos set Value='1500' where Name='Modif'"});
        TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
        exchange = DeviceExchange(TestFolders::file(QStringLiteral("Device")));
        ASSERT_TRUE(exchange.Connect());
        ASSERT_TRUE(exchange.LocateDeviceDatabase());
        ASSERT_TRUE(exchange.CopyDatabaseFromDevice(copy));
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    static void make(const QString &path, std::initializer_list<const char *> statements)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        for (const char *sql : statements)
            ASSERT_EQ(db.Execute(QString::fromUtf8(sql)), 0) << sql;
    }
    static void exec(const QString &path, const QString &sql)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }
    static QByteArray hash(const QString &path)
    {
        return QCryptographicHash::hash(TestFolders::readFile(path), QCryptographicHash::Sha256);
    }
    // Rows read by the sqlite3 program, an independent reader, as JSON.
    static QString json(const QString &path, const QString &sql)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {QStringLiteral("-json"), path, sql});
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // The analysis: the differences and the local change counter.
    void analyse()
    {
        CConfiguration formats;
        int count = 0;
        CBdD db(local, CBdD::ReadOnly);
        ASSERT_EQ(db.CompareDatabases(copy, list, nullptr, count, formats, &setup.localCounter),
                  CBdD::CompareOutcome::Compared);
        ASSERT_TRUE(setup.localCounter.has_value());
        setup.localPath = local;
        setup.copyPath = copy;
        setup.list = &list;
        setup.exchange = exchange;
    }
    SyncRun::Outcome run(Steps &steps, std::function<void(SyncRun::Stages &)> change = {})
    {
        SyncRun::Stages stages = SyncFileStages::Make(setup);
        if (change)
            change(stages);
        return SyncRun(stages).Run(steps);
    }

    QString local;
    QString deviceDb;
    QString copy;
    DeviceExchange exchange;
    SyncReviewList list;
    SyncFileStages::Setup setup;
};

} // namespace

TEST_F(SyncRunFilesTest, ARunLeavesDeviceAndLocalTheSamePurgedRows)
{
    analyse();
    ASSERT_FALSE(list.IsEmpty());
    const QString shared = TestFolders::file(QStringLiteral("share/Léa/Zarvo.sdb"));
    TestFolders::writeFile(QStringLiteral("share/Léa/Zarvo.sdb"), "old");
    setup.sharedFolder = TestFolders::file(QStringLiteral("share"));
    setup.userName = QStringLiteral("Léa");
    int undone = 0;
    setup.emptyUndo = [&undone] { ++undone; };
    Steps steps;
    EXPECT_EQ(run(steps), SyncRun::Outcome::Succeeded);
    EXPECT_EQ(steps.list.last(), "223:1");
    const QString rows = "select Id, Nom, Origine_Modif, Deleted from Projets order by Id";
    EXPECT_EQ(json(deviceDb, rows), json(local, rows));
    EXPECT_TRUE(json(local, rows).contains("\"Nom\":\"appareil\""));
    EXPECT_TRUE(json(local, rows).contains("\"Nom\":\"ici\""));
    EXPECT_EQ(json(local, "select count(*) n from Projets where Origine_Modif<>0"), "[{\"n\":0}]");
    EXPECT_EQ(json(deviceDb, "select Ordre from Favoris"), "[{\"Ordre\":900}]");
    const QString stamp = "select Value from Infos where Name='Backup'";
    EXPECT_EQ(json(local, stamp), json(deviceDb, stamp));
    EXPECT_EQ(json(local, stamp), "[{\"Value\":\"1700000000\"}]");
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(QFileInfo::exists(shared));
}

TEST_F(SyncRunFilesTest, NoDifferenceStillCarriesTheOrderAndAlignsTheStamps)
{
    analyse();
    setup.list = nullptr; // the analysis found nothing to review
    Steps steps;
    EXPECT_EQ(run(steps), SyncRun::Outcome::Succeeded);
    EXPECT_FALSE(steps.list.join(u' ').contains("380"));
    EXPECT_EQ(json(deviceDb, "select Ordre from Favoris"), "[{\"Ordre\":900}]");
    const QString stamp = "select Value from Infos where Name='Backup'";
    EXPECT_EQ(json(local, stamp), json(deviceDb, stamp));
}

TEST_F(SyncRunFilesTest, ACancelBeforeTheFinalisationWritesNeitherSide)
{
    analyse();
    const QByteArray deviceBefore = hash(deviceDb);
    const QByteArray localBefore = hash(local);
    // Pressed during the merge (seen by its first row) and during the
    // favourite order.
    const std::function<void(SyncRun::Stages &, Steps &)> cancels[] = {
        [](SyncRun::Stages &s, Steps &steps) {
            auto merge = s.merge;
            s.merge = [merge, &steps](SyncSteps &x, bool &t) { steps.cancel = true; return merge(x, t); };
        },
        [](SyncRun::Stages &s, Steps &steps) {
            auto order = s.favoriteOrder;
            s.favoriteOrder = [order, &steps](SyncSteps &x) { steps.cancel = true; return order(x); };
        },
    };
    for (const auto &cancel : cancels) {
        Steps steps;
        EXPECT_EQ(run(steps, [&](SyncRun::Stages &s) { cancel(s, steps); }), SyncRun::Outcome::Cancelled);
        EXPECT_EQ(steps.list.last(), "372:2");
        EXPECT_EQ(hash(deviceDb), deviceBefore);
        EXPECT_EQ(hash(local), localBefore);
    }
}

TEST_F(SyncRunFilesTest, AChangeByAnotherConnectionIsNeverOverwritten)
{
    analyse();
    const QByteArray deviceBefore = hash(deviceDb);
    const QString change = "update Projets set Nom='tray' where Id=32; update Infos set Value='2100' where Name='Modif'";
    // Before the finalisation the device is not written; during the device
    // write the local database is not replaced.
    Steps before;
    EXPECT_EQ(run(before,
                  [&](SyncRun::Stages &s) {
                      auto order = s.favoriteOrder;
                      s.favoriteOrder = [&, order](SyncSteps &x) { exec(local, change); return order(x); };
                  }),
              SyncRun::Outcome::LocalChanged);
    EXPECT_EQ(before.list.last(), "251:2");
    EXPECT_EQ(hash(deviceDb), deviceBefore);
    EXPECT_EQ(json(local, "select Nom from Projets where Id=32"), "[{\"Nom\":\"tray\"}]");

    exec(local, "update Projets set Nom='ici' where Id=32; update Infos set Value='2000' where Name='Modif'");
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(copy));
    list.Clear();
    analyse();
    Steps during;
    EXPECT_EQ(run(during,
                  [&](SyncRun::Stages &s) {
                      auto device = s.writeDevice;
                      s.writeDevice = [&, device] { exec(local, change); return device(); };
                  }),
              SyncRun::Outcome::LocalChanged);
    EXPECT_EQ(during.list.last(), "251:2");
    EXPECT_EQ(json(local, "select Nom from Projets where Id=32"), "[{\"Nom\":\"tray\"}]");

    // Right after the run's last look, as the database is marked for the
    // record of the run: nothing is written to either side, nothing kept.
    exec(local, "update Projets set Nom='ici' where Id=32; update Infos set Value='2000' where Name='Modif'");
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(copy));
    list.Clear();
    analyse();
    setup.userId = 3;
    const QByteArray deviceNow = hash(deviceDb);
    Steps keeping;
    EXPECT_EQ(run(keeping,
                  [&](SyncRun::Stages &s) {
                      auto look = s.localUnchanged;
                      s.localUnchanged = [&, look] {
                          const bool unchanged = look();
                          exec(local, change);
                          return unchanged;
                      };
                  }),
              SyncRun::Outcome::LocalChanged);
    EXPECT_EQ(keeping.list.last(), "251:2");
    EXPECT_EQ(hash(deviceDb), deviceNow);
    EXPECT_EQ(json(local, "select Nom from Projets where Id=32"), "[{\"Nom\":\"tray\"}]");
    EXPECT_TRUE(SyncPending::TokenOf(local).isEmpty());
    EXPECT_FALSE(SyncPending::Load(3).has_value());
    EXPECT_EQ(QDir(SyncPending::FolderPath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(SyncRunFilesTest, TheDeviceGoneDuringItsWriteLeavesTheLocalDatabase)
{
    analyse();
    const QByteArray localBefore = hash(local);
    const QString folder = TestFolders::file(QStringLiteral("Device"));
    Steps steps;
    EXPECT_EQ(run(steps,
                  [&](SyncRun::Stages &s) {
                      auto device = s.writeDevice;
                      s.writeDevice = [&, device] {
                          EXPECT_TRUE(QDir().rename(folder, folder + QStringLiteral("-gone")));
                          return device();
                      };
                  }),
              SyncRun::Outcome::Failed);
    EXPECT_EQ(steps.list.mid(steps.list.size() - 2).join(u' '), "390:2 380:2");
    EXPECT_EQ(hash(local), localBefore);
}

// The other program saving entries while the run writes the local
// database: its save between any two steps is refused as busy, the run
// succeeds, and the local database holds the merge alone, sound.
TEST_F(SyncRunFilesTest, TheOtherProgramSavesNothingWhileTheLocalDatabaseIsWritten)
{
    // Enough entries from the device that the local database is written in
    // several steps.
    exec(deviceDb, "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1500) "
                   "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                   "Origine_Modif,Title) select 1000 + i, 100000 + i * 600, 100500 + i * 600, -1, -1, -1, 0, 1500, 1, "
                   "printf('device %d %s', i, hex(zeroblob(200))) from n");
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(copy));
    analyse();
    WritingPeer other(QStringLiteral(DATASTORE_PEER), local);
    QStringList answers;
    CDatabaseFile::SetFaultHook([&](CDatabaseFile::Stage stage) {
        if (stage == CDatabaseFile::Stage::ReplaceBetweenSteps)
            answers << other.Insert(QStringLiteral("during %1").arg(answers.size()));
        return false;
    });
    Steps steps;
    const SyncRun::Outcome outcome = run(steps);
    CDatabaseFile::SetFaultHook({});
    EXPECT_EQ(outcome, SyncRun::Outcome::Succeeded);
    EXPECT_EQ(steps.list.last(), "223:1");
    ASSERT_GE(answers.size(), 2);
    EXPECT_EQ(answers.count(QStringLiteral("busy")), answers.size()) << answers.join(u',').toStdString();
    EXPECT_EQ(json(local, "PRAGMA integrity_check"), "[{\"integrity_check\":\"ok\"}]");
    const QString rows = "select Id, Title from Taches order by Id";
    EXPECT_EQ(json(local, rows), json(deviceDb, rows));
    EXPECT_EQ(json(local, "select count(*) n from Taches"), "[{\"n\":1500}]");
    // Once the run is done, the other program saves again.
    EXPECT_EQ(other.Insert(QStringLiteral("after")), QStringLiteral("saved"));
    EXPECT_EQ(json(local, "select count(*) n from Taches"), "[{\"n\":1501}]");
}

TEST_F(SyncRunFilesTest, OverlapsAreAskedOnceForAllAndAFitWithoutRoomAsksAgain)
{
    // Two entries kept from here overlap entries of the device: the first
    // leaves room to fit into, the second lies wholly inside one.
    exec(local, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,Origine_Modif,Title) "
                "values (101,10000,20000,-1,-1,-1,0,2000,1,'a'), (104,50000,60000,-1,-1,-1,0,2000,1,'b')");
    exec(deviceDb, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,Origine_Modif,Title) "
                   "values (201,15000,25000,-1,-1,-1,0,1500,1,'c'), (202,40000,70000,-1,-1,-1,0,1500,1,'d')");
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(copy));
    analyse();
    QList<int> asked;
    setup.askOverlap = [&asked](const std::vector<tTacheFull> &entries) {
        asked << entries.front().Id;
        SyncFileStages::OverlapAnswer answer;
        answer.fit = asked.size() == 1;
        answer.applyToAll = true;
        return answer;
    };
    Steps steps;
    EXPECT_EQ(run(steps), SyncRun::Outcome::Succeeded);
    EXPECT_EQ(asked, (QList<int>{101, 104}));
    EXPECT_TRUE(steps.list.contains("387:1"));
    EXPECT_EQ(json(local, "select count(*) n from Taches where Origine_Modif<>0"), "[{\"n\":0}]");
    // 101 moved into the free time before 201; 202 gave way to 104.
    EXPECT_EQ(json(local, "select Id, Debut, Fin from Taches where Id=101 and Deleted=0"),
              "[{\"Id\":101,\"Debut\":10000,\"Fin\":15000}]");
    EXPECT_EQ(json(local, "select count(*) n from Taches where Deleted=0 and Debut<60000 and Fin>50000 and Id<>104"),
              "[{\"n\":0}]");
}

// --- A run stopped between its two writes, and the next one ---------------

namespace {

constexpr int UserId = 7;

// Rows both sides held at their last synchronisation, each deleted on one
// side since: entries 201 and 202, projects 40 and 41, favourites 7 and 8,
// the first of each pair on the device, the second here. Besides, a project
// made on each side, and entry 203 and rate 50 that both still hold.
class StoppedRunTest : public SyncRunFilesTest
{
protected:
    void makePair()
    {
        SyncPending::Drop(UserId);
        DeviceExchange::RemoveWorkingCopies();
        for (const QString &path : {local, deviceDb}) {
            for (const char *suffix : {"", "-journal", ".part"})
                QFile::remove(path + QLatin1String(suffix));
        }
        make(local, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1)",
                     "update Infos set Value='2000' where Name='Modif'"});
        make(deviceDb, {"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (33,'appareil',-1,0,1500,1)",
                        "update Infos set Value='1500' where Name='Modif'"});
        for (const QString &path : {local, deviceDb}) {
            exec(path, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                       "Origine_Modif,Title) values (201,1000,2000,-1,-1,-1,0,1000,0,'e1'), (202,3000,4000,-1,-1,-1,0,1000,0,'e2'), "
                       "(203,9000,10000,-1,-1,-1,0,1000,0,'e3');"
                       "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (40,'p1',-1,0,1000,0), "
                       "(41,'p2',-1,0,1000,0);"
                       "insert into Favoris (Id,Ordre,Deleted,Date_Modif) values (7,1,0,1000), (8,1,0,1000);"
                       "insert into TauxHoraire (Id,Nom,Valeur,Deleted,Date_Modif,Origine_Modif) values "
                       "(50,'Standard',65.0,0,1000,0)");
        }
        exec(deviceDb, "update Taches set Deleted=1, Date_Modif=1600 where Id=201;"
                       "update Projets set Deleted=1, Date_Modif=1600 where Id=40;"
                       "update Favoris set Deleted=1, Date_Modif=1600 where Id=7");
        exec(local, "update Taches set Deleted=1, Date_Modif=2100 where Id=202;"
                    "update Projets set Deleted=1, Date_Modif=2100 where Id=41;"
                    "update Favoris set Deleted=1, Date_Modif=2100 where Id=8");
    }
    // The analysis as the dialog runs it, into the working folder.
    SyncAnalysis::Result analyseForUser()
    {
        return SyncAnalysis::Run(UserAnalysisInput(exchange, local, UserId), nullptr);
    }
    SyncFileStages::Setup setupFor(const SyncAnalysis::Result &analysis)
    {
        return UserRunSetup(UserAnalysisInput(exchange, local, UserId), analysis);
    }
    // Another database of the user at `path`, never synchronised, where
    // entry 201 was made (titled 'autre').
    static void makeAnotherDatabase(const QString &path)
    {
        make(path, {"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                    "Origine_Modif,Title) values (201,20000,21000,-1,-1,-1,0,1800,1,'autre')",
                    "update Infos set Value='1800' where Name='Modif'"});
    }
    void killPeer(const char *stop)
    {
        KillSyncRunPeer(local, TestFolders::file(QStringLiteral("Device")), UserId, stop);
    }
};

} // namespace

TEST_F(StoppedRunTest, ARunStoppedBetweenItsWritesIsFinishedAndNoDeletionComesBack)
{
    const QString entryHere = "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                              "Origine_Modif,Title) values (%1,%2,%3,-1,-1,-1,0,2200,1,'ici'); "
                              "update Infos set Value='2200' where Name='Modif'";
    // What happens between the stop and the next analysis.
    enum class After {
        Nothing,
        EntryMadeHere,
        HeldEntryEditedHere,  // entry 203, which the device still holds
        ListedEntryEditedHere, // entry 201, which the device deleted and the record lists, edited later
        DeviceEndMoved,       // on the device, entry 203 ends a minute later: only a number
        DeviceRateAmount,     // on the device, rate 50's amount alone changes: a real number
        KeptCopyForeign,      // another sound database of ours in the kept copy's place
        KeptCopyMissing,      // the record kept, its copy gone
        CacheEmptied,         // the whole cache deleted, the working folder with it
        WhereTheOldVersionKeptIt, // the record and copy in the cache's working folder
        AnotherDatabase,      // the users folder made anew: another database of the same user id
        RecordGarbage,        // the record's bytes are no record
        RecordEmpty,
        RecordOfAnotherUser,  // it names user 8
        RecordGoneCopyKept,   // the record deleted, its copy left
        RecordOfAnEarlierVersion, // written by the version before records named their database
        // Written by the version before records kept their rows' stamps
        // (it names the database and the time it was written), then entry
        // 201 edited here a minute later.
        RecordOfThePreviousVersion,
        RecordOfThePreviousVersionListedEntryEdited,
        RecordCutAfterDigest, // its identity whole, what follows lost
        // Entry 201, which the record lists, edited here through the data
        // store with the clock an hour back (a time service putting a
        // clock right), ten minutes back (ahead at the stop, then put
        // right), and by the other program in the very second the record
        // was written.
        ListedEntryEditedClockBackAnHour,
        ListedEntryEditedClockPutRight,
        ListedEntryEditedByTheOtherProgramThatSecond,
        // Met first by another database of the same user id, then the
        // record's own: a byte copy of the file elsewhere (carrying the
        // token), or a database of its own made elsewhere.
        CopyElsewhereMetFirst,
        DatabaseOfItsOwnMetFirst,
    };
    // What happens before the stop.
    enum class Before {
        Nothing,
        // Entry 203, which both sides hold, edited here so that the review
        // keeps this side's version, and deleted by the user's decision
        // in the review: the record lists a row the device still holds
        // while the device is not written.
        HeldEntryEditedThenDeletedInTheReview,
        // Entry 201 came from a device whose clock runs a day ahead
        // (synchronised, Origine_Modif 0, a stamp in the computer's
        // future), then that device deleted it.
        ListedEntryStampedInTheFuture,
    };
    using O = SyncAnalysis::Outcome;
    // Which of entries 201, 202, 204, projects 40, 41 and favourites 7, 8
    // live on each side at the end: "-" none of a table.
    constexpr const char *NoneBack = "-|-|-";
    constexpr const char *DeletedBack = "201|40|7";
    const struct
    {
        const char *name;
        const char *killedAt;  // the peer's stop; none: a run in this process
        bool recordPlaceBlocked; // a file where the record's folder goes: the run stops first
        bool deviceWritten;    // the device holds the merge after the stop
        After after;
        O next;
        int told; // why the next analysis does not finish the run (0: it does, or there is none)
        const char *live = NoneBack;
        Before before = Before::Nothing;
    } cases[] = {
        {"killed while the device is written", "device", false, false, After::Nothing, O::Differences,
         SyncAnalysis::DeviceNotItsCopyText},
        {"killed after the device write", "local", false, true, After::Nothing, O::Finished, 0},
        {"the other program writes during the device write (251)", nullptr, false, true, After::Nothing,
         O::Differences, SyncAnalysis::LocalChangedText},
        {"killed after the device write, a local change since", "local", false, true, After::EntryMadeHere,
         O::Differences, SyncAnalysis::LocalChangedText},
        {"killed after the device write, an entry the device holds edited here", "local", false, true,
         After::HeldEntryEditedHere, O::Differences, SyncAnalysis::LocalChangedText},
        {"killed after the device write, the device changes only a number", "local", false, true,
         After::DeviceEndMoved, O::Differences, SyncAnalysis::DeviceNotItsCopyText},
        {"killed after the device write, the kept copy replaced by another database of ours", "local", false, true,
         After::KeptCopyForeign, O::Differences, SyncAnalysis::CopyForeignText},
        {"killed after the device write, the kept copy missing", "local", false, true, After::KeptCopyMissing,
         O::Differences, SyncAnalysis::CopyMissingText},
        {"killed after the device write, the cache and its working folder deleted", "local", false, true,
         After::CacheEmptied, O::Finished, 0},
        {"killed after the device write, kept where the earlier version kept it", "local", false, true,
         After::WhereTheOldVersionKeptIt, O::Finished, 0},
        {"the record's place cannot be written", nullptr, true, false, After::Nothing, O::Differences, 0},
        // An edit made since the stop wins as it would without a stop:
        // newer than the device's deletion, before or after the device
        // was written.
        {"killed while the device is written, an entry the record lists as deleted edited here", "device", false,
         false, After::ListedEntryEditedHere, O::Differences, SyncAnalysis::LocalChangedText, "201|-|-"},
        {"killed after the device write, an entry the device deleted edited here", "local", false, true,
         After::ListedEntryEditedHere, O::Differences, SyncAnalysis::LocalChangedText, "201|-|-"},
        {"killed after the device write, the device changes only a rate's amount", "local", false, true,
         After::DeviceRateAmount, O::Differences, SyncAnalysis::DeviceNotItsCopyText},
        // A record serves the database it was kept for alone: another one
        // of the same user id loses none of its rows whose ids the record
        // lists.
        {"killed after the device write, another database of the same user id", "local", false, true,
         After::AnotherDatabase, O::Differences, SyncAnalysis::RecordNoLongerServesText, "201,202,204|40,41|7,8"},
        {"killed after the device write, the record of an earlier version", "local", false, true,
         After::RecordOfAnEarlierVersion, O::Differences, SyncAnalysis::RecordNoLongerServesText, DeletedBack},
        // A record that cannot be read is told: what the run deleted comes
        // back.
        {"killed after the device write, the record garbage", "local", false, true, After::RecordGarbage,
         O::Differences, SyncAnalysis::RecordUnreadableText, DeletedBack},
        {"killed after the device write, the record empty", "local", false, true, After::RecordEmpty, O::Differences,
         SyncAnalysis::RecordUnreadableText, DeletedBack},
        {"killed after the device write, the record naming another user", "local", false, true,
         After::RecordOfAnotherUser, O::Differences, SyncAnalysis::RecordUnreadableText, DeletedBack},
        {"killed after the device write, the record gone and its copy kept", "local", false, true,
         After::RecordGoneCopyKept, O::Differences, SyncAnalysis::RecordUnreadableText, DeletedBack},
        {"killed after the device write, the record cut after its digest", "local", false, true,
         After::RecordCutAfterDigest, O::Differences, SyncAnalysis::RecordUnreadableText, DeletedBack},
        // A record of the version before is read as it was then.
        {"killed after the device write, the record of the previous version", "local", false, true,
         After::RecordOfThePreviousVersion, O::Finished, 0},
        {"killed after the device write, the record of the previous version, an entry it lists edited here",
         "local", false, true, After::RecordOfThePreviousVersionListedEntryEdited, O::Differences,
         SyncAnalysis::LocalChangedText, "201|-|-"},
        // Killed once both writes were made, before the record went: the
        // run was done.
        {"killed after the local write, before the record is dropped", "drop", false, true, After::Nothing,
         O::Finished, 0},
        // Whatever the clock says of an edit made since the stop, the edit
        // wins as it would without a stop.
        {"killed after the device write, an entry it deleted edited with the clock an hour back", "local", false,
         true, After::ListedEntryEditedClockBackAnHour, O::Differences, SyncAnalysis::LocalChangedText, "201|-|-"},
        {"killed after the device write with the clock ahead, an entry it deleted edited once the clock was put right",
         "local", false, true, After::ListedEntryEditedClockPutRight, O::Differences, SyncAnalysis::LocalChangedText,
         "201|-|-"},
        {"killed after the device write, an entry it deleted edited by the other program in the record's second",
         "local", false, true, After::ListedEntryEditedByTheOtherProgramThatSecond, O::Differences,
         SyncAnalysis::LocalChangedText, "201|-|-"},
        // An entry the run deleted and nobody touched since stays deleted,
        // whatever its stamp.
        {"killed after the device write, an entry stamped in the computer's future deleted, another made", "local",
         false, true, After::EntryMadeHere, O::Differences, SyncAnalysis::LocalChangedText, NoneBack,
         Before::ListedEntryStampedInTheFuture},
        // Only a row the device no longer holds is taken for one the run
        // deleted: stopped before the device was written, the entry the
        // user deleted in the review is compared as it is.
        {"killed while the device is written, an entry edited here and deleted in the review", "device", false, false,
         After::Nothing, O::Differences, SyncAnalysis::DeviceNotItsCopyText, NoneBack,
         Before::HeldEntryEditedThenDeletedInTheReview},
        // Another database of the same user id applies nothing of the
        // record and is told once; the record then finishes the run of its
        // own database.
        {"killed after the device write, a copy of the file elsewhere met first", "local", false, true,
         After::CopyElsewhereMetFirst, O::Finished, 0},
        {"killed after the device write, a database of its own elsewhere met first", "local", false, true,
         After::DatabaseOfItsOwnMetFirst, O::Finished, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Platform::Clock::setFixedNow(1'700'000'000);
        makePair();
        QStringList peerOptions;
        switch (c.before) {
        case Before::Nothing:
            break;
        case Before::HeldEntryEditedThenDeletedInTheReview:
            exec(local, "update Taches set Title='ici', Date_Modif=2050, Origine_Modif=1 where Id=203; "
                        "update Infos set Value='2050' where Name='Modif'");
            peerOptions << QStringLiteral("delete=%1:203").arg(CBdD::TableTaches);
            break;
        case Before::ListedEntryStampedInTheFuture: {
            const qint64 future = Platform::Clock::now() + 86400;
            for (const QString &side : {local, deviceDb})
                exec(side, QStringLiteral("update Taches set Deleted=0, Date_Modif=%1, Origine_Modif=0 where Id=201")
                               .arg(future));
            exec(deviceDb, QStringLiteral("update Taches set Deleted=1, Date_Modif=%1 where Id=201").arg(future + 100));
            break;
        }
        }
        // A sound database of ours, older than the run: the device's as it
        // was before.
        const QString stale = TestFolders::file(QStringLiteral("stale.sdb"));
        QFile::remove(stale);
        ASSERT_TRUE(QFile::copy(deviceDb, stale));
        const QString folder = SyncPending::FolderPath();
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        bool entryMade = false;
        qint64 recordTime = 0;
        if (c.killedAt) {
            KillSyncRunPeer(local, TestFolders::file(QStringLiteral("Device")), UserId, c.killedAt, peerOptions);
        } else {
            if (c.recordPlaceBlocked)
                TestFolders::writeFile(folder.mid(TestFolders::root().size() + 1), "not a folder");
            const QByteArray deviceBefore = hash(deviceDb);
            const QByteArray localBefore = hash(local);
            const SyncAnalysis::Result first = analyseForUser();
            ASSERT_EQ(first.outcome, SyncAnalysis::Outcome::Differences);
            SyncRun::Stages stages = SyncFileStages::Make(setupFor(first));
            const auto write = stages.writeDevice;
            stages.writeDevice = [&, write] {
                exec(local, entryHere.arg(300).arg(5000).arg(6000));
                return write();
            };
            Steps steps;
            SyncRun run(stages);
            if (c.recordPlaceBlocked) {
                // Stopped before anything is written, and told where and why.
                EXPECT_EQ(run.Run(steps), SyncRun::Outcome::Failed);
                EXPECT_EQ(steps.list.mid(steps.list.size() - 2).join(u' '), "391:2 380:2");
                EXPECT_TRUE(run.Reason().contains(folder + QStringLiteral("/Pending-%1.ini").arg(UserId)))
                    << run.Reason().toStdString();
                EXPECT_TRUE(run.Reason().contains(Platform::Texts::get(SyncPending::FileInPlaceText)))
                    << run.Reason().toStdString();
                EXPECT_EQ(hash(deviceDb), deviceBefore);
                EXPECT_EQ(hash(local), localBefore);
                EXPECT_FALSE(SyncPending::Load(UserId).has_value());
                // The place mended, the next run goes as any other.
                ASSERT_TRUE(QFile::remove(folder));
            } else {
                EXPECT_EQ(run.Run(steps), SyncRun::Outcome::LocalChanged);
                entryMade = true;
            }
        }
        if (!c.recordPlaceBlocked) {
            const std::optional<SyncPending::Record> kept = SyncPending::Load(UserId);
            ASSERT_TRUE(kept.has_value());
            // The record's deletions: the rows the run deleted, never one
            // the device holds.
            const std::vector<qint64> entries = kept->deleted.value(CBdD::TableTaches);
            EXPECT_NE(std::find(entries.begin(), entries.end(), 201), entries.end());
            EXPECT_EQ(std::find(entries.begin(), entries.end(), 203) != entries.end(),
                      c.before == Before::HeldEntryEditedThenDeletedInTheReview);
            // Each with its own stamp.
            EXPECT_EQ(kept->rowStamps.value(CBdD::TableTaches).size(), qsizetype(entries.size()));
            // Kept in the program's data, none of it in the cache.
            EXPECT_EQ(QFileInfo(kept->copyPath).absolutePath(), folder);
            EXPECT_TRUE(QFileInfo::exists(SyncPending::RecordPath(UserId)));
            EXPECT_EQ(QDir(DeviceExchange::WorkingFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
            // It names the local database, which carries its token (until
            // the run's own replacement), and the time it was written.
            EXPECT_EQ(kept->databasePath, local);
            EXPECT_FALSE(kept->token.isEmpty());
            EXPECT_EQ(SyncPending::TokenOf(local),
                      c.killedAt && QByteArray(c.killedAt) == "drop" ? QByteArray() : kept->token);
            EXPECT_EQ(kept->time, Platform::Clock::now());
            recordTime = kept->time;
        }
        EXPECT_EQ(json(deviceDb, "select count(*) n from Taches where Id=201"),
                  c.deviceWritten ? "[{\"n\":0}]" : "[{\"n\":1}]");
        const QString copy = SyncPending::CopyPath(UserId);
        const QString record = SyncPending::RecordPath(UserId);
        const auto rewriteRecord = [&record](const QByteArray &text) {
            TestFolders::writeFile(record.mid(TestFolders::root().size() + 1), text);
        };
        // The record as the version before wrote it: no form line, its
        // database after its digest, no stamp of its rows, no end line.
        const auto previousVersion = [&] {
            QByteArray text;
            QByteArray identity;
            for (const QByteArray &line : TestFolders::readFile(record).split('\n')) {
                if (line.startsWith("Database=") || line.startsWith("Token=") || line.startsWith("Time=")) {
                    identity += line + '\n';
                } else if (line.startsWith("User=") || line.startsWith("Counter=") || line.startsWith("Digest=")) {
                    text += line + '\n';
                }
            }
            text += identity;
            for (const QByteArray &line : TestFolders::readFile(record).split('\n')) {
                if (!line.startsWith("Deleted"))
                    continue;
                QByteArrayList ids;
                for (const QByteArray &row : line.mid(line.indexOf('=') + 1).split(','))
                    ids << row.left(row.indexOf(':'));
                text += line.left(line.indexOf('=') + 1) + ids.join(',') + '\n';
            }
            return text;
        };
        // Entry 201 edited through the data store, stamped by the clock.
        const auto editListedEntry = [this] {
            CBdD db(local, CBdD::OtherFile);
            tTacheFull entry;
            ASSERT_TRUE(db.GetTimeEntry(entry, 201));
            entry.Title = QStringLiteral("édité");
            ASSERT_TRUE(db.SaveTimeEntry(entry));
        };
        // The database met first, then told it is not the record's.
        const auto meetFirst = [&](const QString &other) {
            SyncAnalysis::Input in = UserAnalysisInput(exchange, other, UserId);
            const QByteArray otherBefore = hash(other);
            const QByteArray deviceBefore = hash(deviceDb);
            SyncAnalysis::Result met = SyncAnalysis::Run(in, nullptr);
            ASSERT_EQ(met.outcome, O::Differences);
            EXPECT_EQ(met.notFinished, SyncAnalysis::RecordOfAnotherDatabaseText);
            EXPECT_EQ(met.notFinishedFile, record);
            EXPECT_EQ(met.notFinishedDatabase, local);
            EXPECT_EQ(SyncAnalysis::NotFinishedMessage(met),
                      Platform::Formatter::sprintf(Platform::Texts::get(SyncAnalysis::RecordOfAnotherDatabaseText),
                                                   {local, record}));
            // Nothing of the record applied: the rows it lists are offered
            // as the comparison finds them there, made there.
            for (int row = 0; row < met.list.Count(); ++row) {
                const SyncItem *item = met.list.Item(row);
                if (item && item->deviceId == -1) {
                    EXPECT_EQ(item->action, SyncItem::KeepLocal) << item->kind << ' ' << item->localId;
                }
            }
            SyncAnalysis::Told(met);
            EXPECT_EQ(hash(other), otherBefore);
            EXPECT_EQ(hash(deviceDb), deviceBefore);
            EXPECT_TRUE(QFileInfo::exists(record));
            // Told once: its next analysis says nothing.
            in.copyPath = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
            const SyncAnalysis::Result again = SyncAnalysis::Run(in, nullptr);
            EXPECT_EQ(again.outcome, O::Differences);
            EXPECT_EQ(again.notFinished, 0);
            EXPECT_EQ(again.afterTelling, SyncAnalysis::Result::AfterTelling::Nothing);
            DeviceExchange::RemoveWorkingCopies();
        };
        switch (c.after) {
        case After::Nothing:
            break;
        case After::EntryMadeHere:
            exec(local, entryHere.arg(301).arg(7000).arg(8000));
            entryMade = true;
            break;
        case After::HeldEntryEditedHere:
            exec(local, "update Taches set Title='édité', Date_Modif=2300, Origine_Modif=1 where Id=203; "
                        "update Infos set Value='2300' where Name='Modif'");
            break;
        case After::ListedEntryEditedHere:
            // A minute after the record was written.
            exec(local, QStringLiteral("update Taches set Title='édité', Date_Modif=%1, Origine_Modif=1 where Id=201; "
                                       "update Infos set Value='%1' where Name='Modif'")
                            .arg(recordTime + 60));
            break;
        case After::DeviceEndMoved:
            exec(deviceDb, "update Taches set Fin=Fin+60 where Id=203");
            break;
        case After::DeviceRateAmount:
            exec(deviceDb, "update TauxHoraire set Valeur=72.5 where Id=50");
            break;
        case After::AnotherDatabase:
            // Made there and never synchronised, before the record was
            // written: only the record's database tells them apart.
            for (const char *suffix : {"", "-journal"})
                QFile::remove(local + QLatin1String(suffix));
            make(local, {"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                         "Origine_Modif,Title) values (201,20000,21000,-1,-1,-1,0,1800,1,'autre'), "
                         "(202,22000,23000,-1,-1,-1,0,1800,1,'autre'), (204,24000,25000,-1,-1,-1,0,1800,1,'autre')",
                         "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                         "(40,'autre',-1,0,1800,1), (41,'autre',-1,0,1800,1)",
                         "insert into Favoris (Id,Ordre,Deleted,Date_Modif,Origine_Modif) values (7,1,0,1800,1), "
                         "(8,1,0,1800,1)",
                         "insert into TauxHoraire (Id,Nom,Valeur,Deleted,Date_Modif,Origine_Modif) values "
                         "(50,'Standard',65.0,0,1000,0)",
                         "update Infos set Value='1800' where Name='Modif'"});
            break;
        case After::RecordGarbage:
            TestFolders::writeFile(SyncPending::RecordPath(UserId).mid(TestFolders::root().size() + 1),
                                   QByteArray("Zarvo\0\x93\xff", 8));
            break;
        case After::RecordEmpty:
            TestFolders::writeFile(SyncPending::RecordPath(UserId).mid(TestFolders::root().size() + 1), QByteArray());
            break;
        case After::RecordOfAnotherUser: {
            QByteArray text = TestFolders::readFile(SyncPending::RecordPath(UserId));
            ASSERT_TRUE(text.contains("User=7\n"));
            text.replace("User=7\n", "User=8\n");
            TestFolders::writeFile(SyncPending::RecordPath(UserId).mid(TestFolders::root().size() + 1), text);
            break;
        }
        case After::RecordGoneCopyKept:
            ASSERT_TRUE(QFile::remove(SyncPending::RecordPath(UserId)));
            ASSERT_TRUE(QFileInfo::exists(copy));
            break;
        case After::RecordOfAnEarlierVersion: {
            QList<QByteArray> lines = previousVersion().split('\n');
            const qsizetype before = lines.size();
            lines.removeIf([](const QByteArray &line) {
                return line.startsWith("Database=") || line.startsWith("Token=") || line.startsWith("Time=");
            });
            ASSERT_EQ(lines.size(), before - 3);
            rewriteRecord(lines.join('\n'));
            break;
        }
        case After::RecordOfThePreviousVersion:
            rewriteRecord(previousVersion());
            break;
        case After::RecordOfThePreviousVersionListedEntryEdited:
            rewriteRecord(previousVersion());
            exec(local, QStringLiteral("update Taches set Title='édité', Date_Modif=%1, Origine_Modif=1 where Id=201; "
                                       "update Infos set Value='%1' where Name='Modif'")
                            .arg(recordTime + 60));
            break;
        case After::RecordCutAfterDigest: {
            const QByteArray text = TestFolders::readFile(record);
            const qsizetype digest = text.indexOf("\nDigest=");
            ASSERT_GT(digest, 0);
            ASSERT_GT(text.indexOf("\nDatabase="), 0);
            ASSERT_LT(text.indexOf("\nDatabase="), digest);
            rewriteRecord(text.left(text.indexOf('\n', digest + 1) + 1));
            break;
        }
        case After::ListedEntryEditedClockBackAnHour:
            Platform::Clock::setFixedNow(recordTime - 3600);
            editListedEntry();
            break;
        case After::ListedEntryEditedClockPutRight:
            Platform::Clock::setFixedNow(recordTime - 600);
            editListedEntry();
            break;
        case After::ListedEntryEditedByTheOtherProgramThatSecond: {
            ChildProcess other(QStringLiteral(DATASTORE_PEER),
                               {QStringLiteral("retitle"), local, QStringLiteral("201"), QStringLiteral("édité")},
                               {QStringLiteral("ZARVO_PEER_NOW=%1").arg(recordTime)});
            EXPECT_EQ(other.Line("the other program's edit"), QStringLiteral("saved"));
            EXPECT_TRUE(other.EndsWith(0, "the other program's end"));
            EXPECT_EQ(json(local, "select Date_Modif from Taches where Id=201"),
                      QStringLiteral("[{\"Date_Modif\":%1}]").arg(recordTime));
            break;
        }
        case After::CopyElsewhereMetFirst: {
            const QString elsewhere = TestFolders::file(QStringLiteral("elsewhere/Zarvo.sdb"));
            QDir().mkpath(QFileInfo(elsewhere).absolutePath());
            QFile::remove(elsewhere);
            ASSERT_TRUE(QFile::copy(local, elsewhere));
            ASSERT_EQ(SyncPending::TokenOf(elsewhere), SyncPending::TokenOf(local));
            meetFirst(elsewhere);
            break;
        }
        case After::DatabaseOfItsOwnMetFirst: {
            const QString elsewhere = TestFolders::file(QStringLiteral("elsewhere/Zarvo.sdb"));
            QFile::remove(elsewhere);
            makeAnotherDatabase(elsewhere);
            meetFirst(elsewhere);
            break;
        }
        case After::KeptCopyForeign:
            ASSERT_TRUE(QFile::remove(copy));
            ASSERT_TRUE(QFile::copy(stale, copy));
            break;
        case After::KeptCopyMissing:
            ASSERT_TRUE(QFile::remove(copy));
            break;
        case After::CacheEmptied:
            // As a cleaning tool does: the whole cache, the working folder in it.
            ASSERT_TRUE(QFileInfo(DeviceExchange::WorkingFolderPath()).isDir());
            ASSERT_TRUE(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)).removeRecursively());
            break;
        case After::WhereTheOldVersionKeptIt:
            ASSERT_TRUE(QFile::rename(copy, SyncPending::OldCopyPath(UserId)));
            ASSERT_TRUE(QFile::rename(SyncPending::RecordPath(UserId), SyncPending::OldRecordPath(UserId)));
            break;
        }

        SyncAnalysis::Result next = analyseForUser();
        ASSERT_EQ(next.outcome, c.next);
        // Where the run cannot go on, the user is told why, and which file.
        EXPECT_EQ(next.notFinished, c.told);
        EXPECT_EQ(SyncAnalysis::NotFinishedMessage(next).isEmpty(), c.told == 0);
        const bool namesTheCopy = c.told == SyncAnalysis::CopyForeignText || c.told == SyncAnalysis::CopyMissingText;
        const bool namesTheRecord =
            c.told == SyncAnalysis::RecordNoLongerServesText || c.told == SyncAnalysis::RecordUnreadableText;
        const QString named = namesTheCopy ? copy : namesTheRecord ? SyncPending::RecordPath(UserId) : QString();
        EXPECT_EQ(next.notFinishedFile, named);
        if (!named.isEmpty()) {
            EXPECT_TRUE(SyncAnalysis::NotFinishedMessage(next).contains(named));
        }
        // A record that can never serve goes once it was told.
        EXPECT_EQ(next.afterTelling == SyncAnalysis::Result::AfterTelling::DropRecord, namesTheRecord);
        SyncAnalysis::Told(next);
        if (next.outcome == SyncAnalysis::Outcome::Differences) {
            Steps steps;
            ASSERT_EQ(SyncRun(SyncFileStages::Make(setupFor(next))).Run(steps), SyncRun::Outcome::Succeeded)
                << steps.list.join(u' ').toStdString();
        }

        // Both sides the same; nothing deleted on either side before the
        // stop lives again; what was made here after it is kept.
        for (const char *rows : {"select Id, Fin, Title, Deleted from Taches order by Id",
                                 "select Id, Nom, Deleted from Projets order by Id",
                                 "select Id, Deleted from Favoris order by Id",
                                 "select Id, Valeur, Deleted from TauxHoraire order by Id"})
            EXPECT_EQ(json(deviceDb, rows), json(local, rows)) << rows;
        const QString live = QStringLiteral("select coalesce((select group_concat(Id) from (select Id from Taches where "
                                            "Id in (201,202,204) and Deleted=0 order by Id)),'-') || '|' || "
                                            "coalesce((select group_concat(Id) from (select Id from Projets where Id in "
                                            "(40,41) and Deleted=0 order by Id)),'-') || '|' || coalesce((select "
                                            "group_concat(Id) from (select Id from Favoris where Id in (7,8) and "
                                            "Deleted=0 order by Id)),'-') as live");
        for (const QString &side : {local, deviceDb}) {
            EXPECT_EQ(json(side, live), QStringLiteral("[{\"live\":\"%1\"}]").arg(QLatin1String(c.live)));
            EXPECT_EQ(json(side, "select count(*) n from Projets where Id in (32,33) and Deleted=0"), "[{\"n\":2}]");
            EXPECT_EQ(json(side, "select Valeur from TauxHoraire where Id=50 and Deleted=0"),
                      c.after == After::DeviceRateAmount ? "[{\"Valeur\":72.5}]" : "[{\"Valeur\":65.0}]");
            if (QByteArray(c.live) == "201|-|-") {
                EXPECT_EQ(json(side, "select Title from Taches where Id=201"), "[{\"Title\":\"édité\"}]");
            }
            EXPECT_EQ(json(side, "select count(*) n from Taches where Id in (300,301) and Deleted=0"),
                      QStringLiteral("[{\"n\":%1}]").arg(entryMade ? 1 : 0));
            // The entry both sides hold stays live, with the last change
            // of either side.
            EXPECT_EQ(json(side, "select Fin, Title from Taches where Id=203 and Deleted=0"),
                      c.after == After::HeldEntryEditedHere ? "[{\"Fin\":10000,\"Title\":\"édité\"}]"
                      : c.after == After::DeviceEndMoved    ? "[{\"Fin\":10060,\"Title\":\"e3\"}]"
                      : c.before == Before::HeldEntryEditedThenDeletedInTheReview
                          ? "[{\"Fin\":10000,\"Title\":\"ici\"}]"
                          : "[{\"Fin\":10000,\"Title\":\"e3\"}]");
        }
        // Finished: no record, and no copy of the user's data left behind.
        EXPECT_FALSE(SyncPending::Load(UserId).has_value());
        EXPECT_EQ(QDir(DeviceExchange::WorkingFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        // Told once: the analysis after finds nothing to tell.
        EXPECT_EQ(analyseForUser().notFinished, 0);
        // No copy the synchronisation made keeps the record's token.
        EXPECT_TRUE(SyncPending::TokenOf(local).isEmpty());
        EXPECT_TRUE(SyncPending::TokenOf(deviceDb).isEmpty());
    }
}

// The other program (with the same clock as every process here) saves an
// entry before the analysis, and another once the comparison has read the
// local database, in the same second: 'Modif' reads as it did, the change
// counter does not. The run writes neither side, the entry lives here,
// and the next synchronisation carries both entries to the device.
TEST_F(StoppedRunTest, AnEntrySavedAfterTheComparisonInItsSecondIsNeverWrittenOver)
{
    enum class How {
        Run,             // the run of the dialog, here
        StoppedRunAfter, // the same, a run stopped before it that cannot be finished
        RunElsewhere,    // the whole synchronisation in another process, paused once analysed
    };
    const struct
    {
        const char *name;
        How how;
    } cases[] = {
        {"a run after its analysis", How::Run},
        {"a run after an analysis that could not finish a stopped run", How::StoppedRunAfter},
        {"a run in another process", How::RunElsewhere},
    };
    const QString modif = "select Value from Infos where Name='Modif'";
    const QString entries = "select Title from Taches where Title in ('avant','après') order by Title";
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        makePair();
        if (c.how == How::StoppedRunAfter)
            killPeer("local");
        const QByteArray deviceBefore = hash(deviceDb);
        const std::optional<SyncPending::Record> stopped = SyncPending::Load(UserId);
        WritingPeer tray(QStringLiteral(DATASTORE_PEER), local,
                         {QStringLiteral("ZARVO_PEER_NOW=%1").arg(Platform::Clock::now())});
        ASSERT_EQ(tray.Insert(QStringLiteral("avant")), QStringLiteral("saved"));
        const QString stamped = json(local, modif);
        Steps steps;
        SyncRun::Outcome outcome = SyncRun::Outcome::Succeeded;
        if (c.how == How::RunElsewhere) {
            ChildProcess peer(QStringLiteral(SYNC_RUN_PEER),
                              {local, TestFolders::file(QStringLiteral("Device")), QString::number(UserId),
                               QStringLiteral("local"), QStringLiteral("pause")},
                              {QStringLiteral("ZARVO_PEER_NOW=%1").arg(Platform::Clock::now())});
            ASSERT_EQ(peer.Line("the peer's analysis"), QStringLiteral("analysed"));
            ASSERT_EQ(tray.Insert(QStringLiteral("après")), QStringLiteral("saved"));
            peer.Process().write("\n");
            // Never as far as the device's write.
            const QString stop = peer.Line("the peer's run");
            EXPECT_EQ(stop, QString());
            if (stop.isEmpty()) {
                EXPECT_TRUE(peer.EndsWith(6, "the peer's run told the change (251)"));
            } else {
                peer.End();
            }
        } else {
            const SyncAnalysis::Result analysis = analyseForUser();
            ASSERT_EQ(analysis.outcome, SyncAnalysis::Outcome::Differences);
            EXPECT_EQ(analysis.notFinished, c.how == How::StoppedRunAfter ? SyncAnalysis::LocalChangedText : 0);
            ASSERT_EQ(tray.Insert(QStringLiteral("après")), QStringLiteral("saved"));
            outcome = SyncRun(SyncFileStages::Make(setupFor(analysis))).Run(steps);
            EXPECT_EQ(outcome, SyncRun::Outcome::LocalChanged);
            EXPECT_EQ(steps.list.last(), "251:2");
        }
        // Both saves in the second the analysis read.
        EXPECT_EQ(json(local, modif), stamped);
        EXPECT_EQ(hash(deviceDb), deviceBefore);
        EXPECT_EQ(json(local, entries), "[{\"Title\":\"après\"},\n{\"Title\":\"avant\"}]");
        // A stopped run's record stays as it was, with what it deleted.
        const std::optional<SyncPending::Record> after = SyncPending::Load(UserId);
        ASSERT_EQ(after.has_value(), stopped.has_value());
        if (stopped) {
            EXPECT_EQ(after->digest, stopped->digest);
            EXPECT_EQ(after->deleted, stopped->deleted);
        }
        DeviceExchange::RemoveWorkingCopies();

        // The next synchronisation: both entries on both sides, nothing the
        // stopped run deleted back.
        const SyncAnalysis::Result next = analyseForUser();
        ASSERT_EQ(next.outcome, SyncAnalysis::Outcome::Differences);
        Steps nextSteps;
        EXPECT_EQ(SyncRun(SyncFileStages::Make(setupFor(next))).Run(nextSteps), SyncRun::Outcome::Succeeded)
            << nextSteps.list.join(u' ').toStdString();
        for (const QString &side : {local, deviceDb}) {
            EXPECT_EQ(json(side, entries), "[{\"Title\":\"après\"},\n{\"Title\":\"avant\"}]");
            EXPECT_EQ(json(side, "select count(*) n from Taches where Id=201 and Deleted=0"), "[{\"n\":0}]");
        }
        EXPECT_FALSE(SyncPending::Load(UserId).has_value());
    }
}

// Two databases of one user id (two users folders), the first with a
// stopped run: a run of the second keeps its own record beside the first's
// and drops only its own, so that the first's deletions still hold at its
// next synchronisation.
TEST_F(StoppedRunTest, ARunOfAnotherDatabaseOfTheSameIdLeavesTheRecordOfThisOne)
{
    makePair();
    killPeer("local");
    const std::optional<SyncPending::Record> stopped = SyncPending::Load(UserId);
    ASSERT_TRUE(stopped.has_value());
    const QString other = TestFolders::file(QStringLiteral("other users/Anne/Zarvo.sdb"));
    makeAnotherDatabase(other);

    const SyncAnalysis::Input in = UserAnalysisInput(exchange, other, UserId);
    const SyncAnalysis::Result analysis = SyncAnalysis::Run(in, nullptr);
    ASSERT_EQ(analysis.outcome, SyncAnalysis::Outcome::Differences);
    EXPECT_EQ(analysis.notFinished, SyncAnalysis::RecordOfAnotherDatabaseText);
    SyncAnalysis::Told(analysis);
    SyncRun::Stages stages = SyncFileStages::Make(UserRunSetup(in, analysis));
    QList<int> slotsWhileWriting;
    QString firstWhileWriting;
    const auto write = stages.writeDevice;
    stages.writeDevice = [&, write] {
        slotsWhileWriting = SyncPending::Slots(UserId);
        const std::optional<SyncPending::Record> kept = SyncPending::Load(UserId, 1);
        firstWhileWriting = kept ? kept->databasePath : QString();
        return write();
    };
    Steps steps;
    ASSERT_EQ(SyncRun(stages).Run(steps), SyncRun::Outcome::Succeeded) << steps.list.join(u' ').toStdString();
    EXPECT_EQ(slotsWhileWriting, (QList<int>{0, 1}));
    EXPECT_EQ(firstWhileWriting, other);
    // The first database's record as it was, and alone.
    EXPECT_EQ(SyncPending::Slots(UserId), QList<int>{0});
    const std::optional<SyncPending::Record> kept = SyncPending::Load(UserId);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->databasePath, local);
    EXPECT_EQ(kept->deleted, stopped->deleted);
    EXPECT_EQ(kept->told, QStringList{other});

    // The first database: the device holds another run's rows now, so it
    // is compared afresh, and what its stopped run deleted stays deleted.
    const SyncAnalysis::Result next = analyseForUser();
    ASSERT_EQ(next.outcome, SyncAnalysis::Outcome::Differences);
    EXPECT_EQ(next.notFinished, SyncAnalysis::DeviceNotItsCopyText);
    ASSERT_EQ(SyncRun(SyncFileStages::Make(setupFor(next))).Run(steps), SyncRun::Outcome::Succeeded);
    for (const QString &side : {local, deviceDb}) {
        EXPECT_EQ(json(side, "select count(*) n from Projets where Id in (40,41) and Deleted=0"), "[{\"n\":0}]");
        EXPECT_EQ(json(side, "select count(*) n from Favoris where Id in (7,8) and Deleted=0"), "[{\"n\":0}]");
    }
    EXPECT_TRUE(SyncPending::Slots(UserId).isEmpty());
}

// The rows a stopped run deleted become deletions only where the local
// database tells which of them nobody changed since: when it cannot be
// read, none does, and the review offers them as they are.
TEST_F(StoppedRunTest, NoDeletionWhereTheRowsChangedSinceCannotBeRead)
{
    makePair();
    killPeer("local");
    const std::optional<SyncPending::Record> record = SyncPending::Load(UserId);
    ASSERT_TRUE(record.has_value());
    const QString deviceCopy = TestFolders::file(QStringLiteral("work/device.sdb"));
    ASSERT_TRUE(exchange.CopyDatabaseFromDevice(deviceCopy));
    const QString garbage = TestFolders::writeFile(QStringLiteral("garbage.sdb"), QByteArray(4096, 'x'));
    const struct
    {
        const char *name;
        QString path;
        bool locked; // another connection writes it all along
        int deletions;
    } cases[] = {
        {"read", local, false, 3},
        {"gone", TestFolders::file(QStringLiteral("gone/Zarvo.sdb")), false, 0},
        {"not a database", garbage, false, 0},
        {"locked by a writer past every wait", local, true, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SyncReviewList fresh;
        int count = 0;
        CConfiguration formats;
        {
            CBdD db(local, CBdD::ReadOnly);
            ASSERT_EQ(db.CompareDatabases(deviceCopy, fresh, nullptr, count, formats), CBdD::CompareOutcome::Compared);
        }
        SQLite::CmyDataBase writer;
        const int wait = SQLite::CmyDataBase::BusyTimeoutMs();
        if (c.locked) {
            ASSERT_EQ(writer.Open(local), 0);
            ASSERT_EQ(writer.Execute(u"BEGIN EXCLUSIVE"), 0);
            SQLite::CmyDataBase::SetBusyTimeoutMs(0);
        }
        EXPECT_EQ(SyncPending::KeepDeletions(fresh, *record, c.path), c.deletions);
        SQLite::CmyDataBase::SetBusyTimeoutMs(wait);
        if (c.locked)
            writer.Execute(u"ROLLBACK");
        // The rows it lists, only here now: deleted, or offered as made here.
        QStringList actions;
        for (int row = 0; row < fresh.Count(); ++row) {
            const SyncItem *item = fresh.Item(row);
            if (item && item->deviceId == -1 && item->localId >= 0)
                actions << QStringLiteral("%1:%2:%3").arg(item->kind).arg(item->localId).arg(item->action);
        }
        actions.sort();
        const int action = c.deletions > 0 ? int(SyncItem::Delete) : int(SyncItem::KeepLocal);
        EXPECT_EQ(actions, QStringList({QStringLiteral("%1:40:%2").arg(CBdD::TableProjets).arg(action),
                                        QStringLiteral("%1:201:%2").arg(CBdD::TableTaches).arg(action),
                                        QStringLiteral("%1:7:%2").arg(CBdD::TableFavoris).arg(action)}))
            << actions.join(u' ').toStdString();
    }
}

// A record names its database by the path as the system gives it: any
// character a folder's name may hold is read back as it was written, and
// the record serves that database.
TEST_F(SyncRunFilesTest, ARecordNamesADatabaseWhateverItsPathHolds)
{
    const QString odd = TestFolders::file(QStringLiteral("users %41 50%\nsuite é/Zoé/Zarvo.sdb"));
    QDir().mkpath(QFileInfo(odd).absolutePath());
    ASSERT_TRUE(QFile::copy(local, odd));
    quint32 counter = 0;
    ASSERT_TRUE(CDatabaseFile::ReadChangeCounter(odd, counter));
    const QByteArray token = SyncPending::NewToken();
    ASSERT_EQ(SyncPending::MarkDatabase(odd, token, counter), CDatabaseFile::WriteResult::Written);
    const QString merged = TestFolders::file(QStringLiteral("merged.sdb"));
    ASSERT_TRUE(QFile::copy(copy, merged));
    const QString placed = SyncPending::Place(3, merged);
    ASSERT_FALSE(placed.isEmpty());
    SyncPending::Record record;
    record.userId = 3;
    record.localCounter = counter + 1;
    record.time = Platform::Clock::now();
    ASSERT_TRUE(SyncPending::Describe(odd, placed, record));
    EXPECT_EQ(record.databasePath, odd);
    EXPECT_EQ(record.token, token);
    record.told << TestFolders::file(QStringLiteral("autre %2F dossier\n\u00e0/Zarvo.sdb"));
    ASSERT_TRUE(SyncPending::Keep(record));
    const std::optional<SyncPending::Record> read = SyncPending::Load(3);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->databasePath, odd);
    EXPECT_EQ(read->told, record.told);
    EXPECT_EQ(read->token, token);
    EXPECT_EQ(read->deleted, record.deleted);
    EXPECT_EQ(read->rowStamps, record.rowStamps);
    EXPECT_EQ(read->localCounter, record.localCounter);
    EXPECT_EQ(read->time, record.time);
    EXPECT_EQ(read->digest, record.digest);
    const SyncPending::Found found = SyncPending::Find(3, odd);
    EXPECT_EQ(found.state, SyncPending::Found::State::Kept);
    EXPECT_EQ(found.file, SyncPending::RecordPath(3));
}

// The record and its copy lie in a folder of the program's data that only
// the user may enter, made so when it is missing.
TEST_F(SyncRunFilesTest, TheRecordOfAStoppedRunLiesInAPrivateFolderOfTheProgramsData)
{
    const QString expected = TestFolders::root() + QStringLiteral("/home/.local/share/Quellmark/Zarvo/Synchronisation");
    ASSERT_FALSE(QFileInfo::exists(TestFolders::root() + QStringLiteral("/home/.local/share/Quellmark")));
    EXPECT_EQ(SyncPending::Folder(), expected);
    EXPECT_EQ(SyncPending::RecordPath(3), expected + QStringLiteral("/Pending-3.ini"));
    EXPECT_EQ(SyncPending::CopyPath(3), expected + QStringLiteral("/Pending-3.sdb"));
    // The folders above it are made as any the user makes, under the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const struct
    {
        const char *made;
        mode_t mode;
    } folders[] = {{"/home/.local/share/Quellmark", 0777 & ~mask},
                   {"/home/.local/share/Quellmark/Zarvo", 0777 & ~mask},
                   {"/home/.local/share/Quellmark/Zarvo/Synchronisation", 0700}};
    for (const auto &folder : folders) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(TestFolders::root() + QLatin1String(folder.made)).constData(), &info), 0)
            << folder.made;
        EXPECT_EQ(info.st_mode & 07777, folder.mode) << folder.made;
    }
    // Opened to others since: made private again.
    ASSERT_EQ(::chmod(QFile::encodeName(expected).constData(), 0755), 0);
    EXPECT_EQ(SyncPending::Folder(), expected);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(expected).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    // A link in its place is not taken; the cause is told.
    ASSERT_TRUE(QDir(expected).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(TestFolders::file(QStringLiteral("shared"))));
    ASSERT_TRUE(QFile::link(TestFolders::file(QStringLiteral("shared")), expected));
    QString why;
    EXPECT_TRUE(SyncPending::Folder(&why).isEmpty());
    EXPECT_EQ(why, Platform::Texts::get(SyncPending::FileInPlaceText));
    EXPECT_TRUE(SyncPending::RecordPath(3).isEmpty());
}

// Where the record cannot be written, nothing is kept and the text names
// the file and the cause.
TEST_F(SyncRunFilesTest, ARecordThatCannotBeWrittenNamesItsFileAndCause)
{
    const QString folder = SyncPending::FolderPath();
    const QString record = folder + QStringLiteral("/Pending-3.ini");
    const QString above = QFileInfo(folder).absolutePath();
    ASSERT_TRUE(QDir().mkpath(above));
    const struct
    {
        const char *name;
        std::function<void()> block;
        QString file;
        int cause;
    } cases[] = {
        {"a file where the folder goes",
         [&] { TestFolders::writeFile(folder.mid(TestFolders::root().size() + 1), "x"); }, record,
         SyncPending::FileInPlaceText},
        {"a folder where the record goes", [&] { QDir().mkpath(record); }, record,
         SyncPending::FolderInPlaceText},
        {"a folder above it the user may not write",
         [&] { ::chmod(QFile::encodeName(above).constData(), 0500); }, record, SyncPending::DeniedText},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ::chmod(QFile::encodeName(above).constData(), 0700);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        c.block();
        const QString merged = TestFolders::file(QStringLiteral("merged.sdb"));
        QFile::remove(merged);
        ASSERT_TRUE(QFile::copy(copy, merged));
        // As a run keeps itself: the copy placed, then the record, with
        // no more rights than a user has (root's put aside).
        QString why;
        {
            WithoutFileRights asAnyUser;
            const QString placed = SyncPending::Place(3, merged, &why);
            if (!placed.isEmpty()) {
                SyncPending::Record kept;
                kept.userId = 3;
                ASSERT_TRUE(SyncPending::Describe(local, placed, kept));
                EXPECT_FALSE(SyncPending::Keep(kept, &why));
                EXPECT_FALSE(QFileInfo::exists(placed));
            }
        }
        EXPECT_EQ(why, Platform::Formatter::sprintf(Platform::Texts::get(SyncPending::NotKeptText),
                                                    {c.file, Platform::Texts::get(c.cause)}));
        EXPECT_FALSE(SyncPending::Load(3).has_value());
    }
    ::chmod(QFile::encodeName(above).constData(), 0700);
    // The causes the system tells, in the user's words.
    const std::pair<int, int> causes[] = {
        {EACCES, SyncPending::DeniedText},   {EPERM, SyncPending::DeniedText},
        {ENOSPC, SyncPending::FullText},     {EDQUOT, SyncPending::FullText},
        {EROFS, SyncPending::ReadOnlyText},  {ENOTDIR, SyncPending::FileInPlaceText},
        {EISDIR, SyncPending::FolderInPlaceText},
    };
    for (const auto &[error, text] : causes)
        EXPECT_EQ(SyncPending::CauseText(error), Platform::Texts::get(text)) << error;
    EXPECT_FALSE(SyncPending::CauseText(EIO).isEmpty());
}

TEST_F(SyncRunFilesTest, AWorkingCopyLeftWithItsJournalHoldsUpNoAnalysis)
{
    // A run killed during its merge left the copy and its journal.
    const QString working = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    ASSERT_TRUE(QFile::copy(copy, working));
    {
        QFile journal(working + QStringLiteral("-journal"));
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write(QByteArray(512, 'j'));
    }
    SyncAnalysis::Input in;
    in.exchange = exchange;
    in.copyPath = working;
    in.localPath = local;
    in.minimumMs = 0;
    const SyncAnalysis::Result result = SyncAnalysis::Run(in, nullptr);
    EXPECT_EQ(result.outcome, SyncAnalysis::Outcome::Differences);
    EXPECT_FALSE(QFileInfo::exists(working + QStringLiteral("-journal")));
    // A file of the same name outside the working folder is the user's.
    const QString users = TestFolders::writeFile(QStringLiteral("mine/Ppc.sdb-journal"), "j");
    DeviceExchange::RemoveWorkingCopy(TestFolders::file(QStringLiteral("mine/Ppc.sdb")));
    EXPECT_TRUE(QFileInfo::exists(users));
}
