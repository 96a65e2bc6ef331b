#include "SyncFileStages.h"
#include "SyncRun.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "WritingPeer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

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
    s.writeDevice = [&, f] { return calls << "device", f.deviceOk; };
    s.replaceLocal = [&, f] { return calls << "local", f.replaced; };
    s.afterReplace = [&] { calls << "after"; };
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
    const OrderCase cases[] = {
        {"everything", Fakes(), "merge overlaps order begin purge look device local after", O::Succeeded,
         "392:1 223:1"},
        {"no list", with([](Fakes &f) { f.withList = false; }), "order begin purge look device local after",
         O::Succeeded, "392:1 223:1"},
        {"no time entry merged", with([](Fakes &f) { f.touched = false; }),
         "merge order begin purge look device local after", O::Succeeded, "392:1 223:1"},
        {"merge failed", with([](Fakes &f) { f.mergeOk = false; }), "merge", O::Failed, "285:2 380:2"},
        {"merge cancelled", with([](Fakes &f) { f.mergeOk = false, f.cancelInMerge = true; }), "merge",
         O::Cancelled, "285:2 372:2"},
        {"cancel seen after the merge", with([](Fakes &f) { f.cancelInMerge = true; }), "merge overlaps",
         O::Cancelled, "285:2 372:2"},
        {"overlaps failed", with([](Fakes &f) { f.overlapsOk = false; }), "merge overlaps", O::Failed,
         "285:2 380:2"},
        {"favourite order cancelled", with([](Fakes &f) { f.order = CBdD::MergeOutcome::Cancelled; }),
         "merge overlaps order", O::Cancelled, "393:2 372:2"},
        {"favourite order failed", with([](Fakes &f) { f.order = CBdD::MergeOutcome::Failed; }),
         "merge overlaps order", O::Failed, "393:2 380:2"},
        {"cancelled as the finalisation starts", with([](Fakes &f) { f.finalisationOpen = false; }),
         "merge overlaps order begin", O::Cancelled, "393:2 372:2"},
        {"purge failed", with([](Fakes &f) { f.purgeOk = false; }), "merge overlaps order begin purge", O::Failed,
         "391:2 380:2"},
        {"local changed since the analysis", with([](Fakes &f) { f.unchanged = false; }),
         "merge overlaps order begin purge look", O::LocalChanged, "391:2 251:2"},
        {"device write failed", with([](Fakes &f) { f.deviceOk = false; }),
         "merge overlaps order begin purge look device", O::Failed, "390:2 380:2"},
        {"local changed during the device write", with([](Fakes &f) { f.replaced = R::ChangedMeanwhile; }),
         "merge overlaps order begin purge look device local", O::LocalChanged, "392:2 251:2"},
        {"local replacement failed", with([](Fakes &f) { f.replaced = R::Failed; }),
         "merge overlaps order begin purge look device local", O::Failed, "392:2 380:2"},
    };
    for (const OrderCase &c : cases) {
        QStringList calls;
        Steps steps;
        SyncRun run(fakeStages(c.fakes, calls, steps));
        EXPECT_EQ(run.Run(steps), c.outcome) << c.name;
        EXPECT_EQ(calls.join(u' '), QString::fromLatin1(c.calls)) << c.name;
        EXPECT_EQ(steps.list.mid(steps.list.size() - 2).join(u' '), QString::fromLatin1(c.lastSteps)) << c.name;
        EXPECT_TRUE(steps.list.first().startsWith("285:")) << c.name;
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

    // The analysis: the differences and the local stamps.
    void analyse()
    {
        CConfiguration formats;
        int count = 0;
        CBdD db(local, CBdD::ReadOnly);
        ASSERT_EQ(db.CompareDatabases(copy, list, nullptr, count, formats), CBdD::CompareOutcome::Compared);
        ASSERT_EQ(db.GetSyncStamps(setup.localSync, setup.localChange), CBdD::StampsRead);
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
