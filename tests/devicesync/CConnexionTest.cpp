#include "CConnexion.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CDlgSynchro.h"
#include "CInfosProgression.h"
#include "CProgressDlg.h"
#include "CUsers.h"
#include "CViewPcInfos.h"
#include "CViewSynchro.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "DeviceExchange.h"
#include "DeviceFolderWatcher.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "MessageBoxAnswers.h"
#include "QStringPrinter.h"
#include "ReviewedEntry.h"
#include "SyncPending.h"
#include "SyncRunAnswers.h"
#include "SyncRunPeer.h"
#include "Texts.h"
#include "TestFolders.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\\\r\n";

// Two users of this computer, Léa's database with a project of its own,
// and a device folder that appears when the test plugs it in.
class CConnexionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CAppData::SetConfiguration(&config);
        Platform::Clock::setFixedNow(1'700'000'000);
        CConnexion::SetMinimumAnalysisTime(0);
        const QString usersFolder = TestFolders::file(QStringLiteral("users/"));
        QDir().mkpath(usersFolder);
        CUsers::SetUsersFolderSource([usersFolder] { return usersFolder; });
        for (const char *name : {"Léa", "Max"}) {
            tUsers user;
            user.Nom = QString::fromUtf8(name);
            ASSERT_EQ(users.AddUser(user), CUsers::Done);
            if (user.Nom == QStringLiteral("Léa"))
                leaId = user.Id;
        }
        local = usersFolder + QStringLiteral("Léa/Zarvo.sdb");
        make(local, "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'ici',-1,0,2000,1); "
                    "update Infos set Value='2000' where Name='Modif'");
        root = TestFolders::file(QStringLiteral("Device"));
        deviceDb = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
        hooks.currentUserId = [this] { return leaId; };
        hooks.emptyUndo = [this] { ++undoEmptied; };
        hooks.backupFirst = [] { return false; };
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        CUsers::SetUsersFolderSource({});
        Platform::Clock::reset();
    }

    static void make(const QString &path, const QString &sql)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        for (const QString &statement : sql.split(u';', Qt::SkipEmptyParts))
            ASSERT_EQ(db.Execute(statement.trimmed()), 0) << statement.toStdString();
    }
    void plug(CConnexion &dialog)
    {
        TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
        make(deviceDb, "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                       "(33,'appareil',-1,0,1500,1); update Infos set Value='1500' where Name='Modif'");
        dialog.OnDeviceNotice(0);
    }
    void associate(CConnexion &dialog, const QString &name)
    {
        auto *combo = static_cast<QComboBox *>(dialog.Control(CConnexion::UsersCombo));
        combo->setCurrentIndex(combo->findText(name));
        QTest::mouseClick(dialog.Control(CConnexion::AssociateButton), Qt::LeftButton);
    }
    void analyse(CConnexion &dialog)
    {
        QSignalSpy ended(&dialog, &CConnexion::analysisEnded);
        QTest::mouseClick(dialog.Control(CConnexion::SynchroniseButton), Qt::LeftButton);
        ASSERT_TRUE(ended.count() > 0 || ended.wait(30000));
    }
    static QString json(const QString &path, const QString &sql)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {QStringLiteral("-json"), path, sql});
        EXPECT_TRUE(process.waitForFinished(60000));
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    static bool shown(CConnexion &dialog, int id) { return !dialog.Control(id)->isHidden(); }

    CConfiguration config;
    CUsers users;
    int leaId = -1;
    QString local;
    QString root;
    QString deviceDb;
    CConnexion::Hooks hooks;
    int undoEmptied = 0;
};

} // namespace

TEST_F(CConnexionTest, PlugAssociateReviewAndSynchronise)
{
    CConnexion dialog(users, nullptr, hooks, root);
    dialog.show();
    auto *guidance = static_cast<QLabel *>(dialog.Control(CConnexion::GuidanceText));
    EXPECT_EQ(guidance->text(), Platform::Texts::get(368));
    EXPECT_FALSE(shown(dialog, CConnexion::SynchroniseButton));

    plug(dialog);
    EXPECT_TRUE(shown(dialog, CConnexion::UsersCombo));
    EXPECT_TRUE(dialog.LocalPane()->isHidden());
    associate(dialog, QStringLiteral("Léa"));
    EXPECT_EQ(TestFolders::readFile(root + QStringLiteral("/Program Files/Zarvo/Id.txt")), QByteArray("Léa"));
    // The sizes of both databases read with their digits grouped.
    const QLocale french(QLocale::French, QLocale::France);
    for (const auto &[pane, path] : {std::pair{dialog.LocalPane(), local}, std::pair{dialog.DevicePane(), deviceDb}}) {
        const qint64 size = QFileInfo(path).size();
        ASSERT_GE(size, 1000);
        EXPECT_EQ(pane->Line(2), QStringLiteral("Taille : %1 octets").arg(french.toString(size)));
        EXPECT_TRUE(pane->Line(2).contains(french.groupSeparator())) << pane->Line(2).toStdString();
    }
    EXPECT_TRUE(shown(dialog, CConnexion::UserText));
    EXPECT_FALSE(dialog.LocalPane()->isHidden());
    ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());

    analyse(dialog);
    ASSERT_TRUE(dialog.ReviewPending());
    ASSERT_NE(dialog.Review(), nullptr);
    EXPECT_EQ(dialog.Review()->Count(), 2);
    EXPECT_TRUE(dialog.isHidden());

    DialogAnswers<CDlgSynchro> runs;
    QStringList steps;
    runs.Push([&steps](CDlgSynchro &run) {
        run.Start();
        run.WaitForEnd();
        for (const CInfosProgression::Step &step : run.StepList()->Steps())
            steps << QStringLiteral("%1:%2").arg(step.text).arg(step.state);
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(dialog.Review()->SynchroniseButtonCtrl(), Qt::LeftButton);
    EXPECT_EQ(runs.Asked(), 1);
    EXPECT_EQ(steps.last(), Platform::Texts::get(223) + QStringLiteral(":1"));
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_FALSE(dialog.isHidden());
    const QString rows = "select Id, Nom, Origine_Modif from Projets order by Id";
    EXPECT_EQ(json(local, rows), json(deviceDb, rows));
    EXPECT_EQ(json(local, rows), "[{\"Id\":32,\"Nom\":\"ici\",\"Origine_Modif\":0},\n"
                                 "{\"Id\":33,\"Nom\":\"appareil\",\"Origine_Modif\":0}]");
    EXPECT_EQ(undoEmptied, 1);
    // Both sides now hold the same stamps: nothing left to do.
    EXPECT_EQ(static_cast<QLabel *>(dialog.Control(CConnexion::IdenticalText))->text(), Platform::Texts::get(245));
    EXPECT_FALSE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    EXPECT_FALSE(dialog.Control(CConnexion::CopyToLocalButton)->isEnabled());
    EXPECT_FALSE(dialog.Control(CConnexion::CopyToDeviceButton)->isEnabled());
}

TEST_F(CConnexionTest, APendingReviewIsWarnedOfChangesAndAStaleOneCannotRun)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    analyse(dialog);
    ASSERT_TRUE(dialog.ReviewPending());
    CViewSynchro *review = dialog.Review();

    // The tray writes the local database meanwhile.
    make(local, "update Infos set Value='2100' where Name='Modif'");
    dialog.RefreshState();
    EXPECT_EQ(review->MessageShown(), Platform::Texts::get(251));
    EXPECT_FALSE(review->SynchroniseButtonCtrl()->isEnabled());

    // Pulled out (the folder goes): 248; back as it was, the local change
    // is still told.
    const QString away = root + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(root, away));
    dialog.OnDeviceNotice(1);
    EXPECT_EQ(review->MessageShown(), Platform::Texts::get(248));
    ASSERT_TRUE(QDir().rename(away, root));
    dialog.OnDeviceNotice(0);
    EXPECT_EQ(review->MessageShown(), Platform::Texts::get(251));

    // "Annuler" brings the dialog back, nothing written.
    const QByteArray device = TestFolders::readFile(deviceDb);
    review->Cancel();
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_EQ(TestFolders::readFile(deviceDb), device);
}

TEST_F(CConnexionTest, ABadDeviceDatabaseDisablesTheActions)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Db/Zarvo.sdb"), "not a database");
    dialog.RefreshState();
    EXPECT_EQ(dialog.DevicePane()->Line(1), Platform::Texts::get(208) + Platform::Texts::get(173));
    EXPECT_FALSE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    EXPECT_FALSE(dialog.Control(CConnexion::CopyToLocalButton)->isEnabled());
    EXPECT_FALSE(QFileInfo::exists(DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile)));
}

// "Annuler" in the run, Escape there and its window's close stop it before
// it writes: neither side changes.
TEST_F(CConnexionTest, AnnulerInTheRunWritesNeitherSide)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    struct Way
    {
        const char *name;
        std::function<void(CDlgSynchro &run)> stop;
    };
    const Way ways[] = {
        {"Annuler", [](CDlgSynchro &run) { QTest::mouseClick(run.CancelButton(), Qt::LeftButton); }},
        {"Escape", [](CDlgSynchro &run) { QTest::keyClick(&run, Qt::Key_Escape); }},
        {"the window's close", [](CDlgSynchro &run) { EXPECT_FALSE(run.close()); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        analyse(dialog);
        ASSERT_TRUE(dialog.ReviewPending());
        const QByteArray device = TestFolders::readFile(deviceDb);
        const QByteArray before = TestFolders::readFile(local);

        DialogAnswers<CDlgSynchro> runs;
        SyncRun::Outcome outcome = SyncRun::Outcome::Succeeded;
        runs.Push([&](CDlgSynchro &run) {
            way.stop(run);
            run.Start();
            run.WaitForEnd();
            outcome = run.Outcome();
            EXPECT_EQ(run.StatusLine()->text(), Platform::Texts::get(372));
            EXPECT_TRUE(run.CancelButton()->isHidden());
            EXPECT_FALSE(run.CloseButton()->isHidden());
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(dialog.Review()->SynchroniseButtonCtrl(), Qt::LeftButton);
        EXPECT_EQ(outcome, SyncRun::Outcome::Cancelled);
        EXPECT_EQ(TestFolders::readFile(deviceDb), device);
        EXPECT_EQ(TestFolders::readFile(local), before);
        EXPECT_EQ(undoEmptied, 0);
    }
}

TEST_F(CConnexionTest, TheAnalysisShowsItsProgressAndACancelEndsItAtOnce)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    const QByteArray device = TestFolders::readFile(deviceDb);
    const QByteArray before = TestFolders::readFile(local);
    // Without a cancel the analysis would be shown for ten minutes.
    CConnexion::SetMinimumAnalysisTime(600'000);
    MessageBoxAnswers boxes;
    boxes.Push(1);
    QString title;
    QTimer::singleShot(200, &dialog, [&dialog, &title] {
        auto *progress = dialog.findChild<CProgressDlg *>();
        ASSERT_NE(progress, nullptr);
        title = progress->windowTitle();
        QTest::mouseClick(progress->findChild<QPushButton *>(QString::number(CProgressDlg::CancelControl)),
                          Qt::LeftButton);
    });
    QElapsedTimer took;
    took.start();
    analyse(dialog);
    EXPECT_LT(took.elapsed(), 60'000);
    EXPECT_EQ(title, Platform::Texts::get(277));
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes().front().text, Platform::Texts::get(372));
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_EQ(TestFolders::readFile(deviceDb), device);
    EXPECT_EQ(TestFolders::readFile(local), before);
    EXPECT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
}

TEST_F(CConnexionTest, TheAnalysisComparesOnlyAWholeCopyOfTheDeviceAsItIsNow)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    const QString copy = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    ASSERT_TRUE(QFileInfo::exists(copy));

    // Something wrote the copy the refresh made: it is made again, so the
    // row written there is no difference.
    make(copy, "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (34,'intrus',-1,0,1600,1)");
    analyse(dialog);
    ASSERT_TRUE(dialog.ReviewPending());
    EXPECT_EQ(dialog.Review()->Count(), 2);
    dialog.Review()->Cancel();
    ASSERT_FALSE(dialog.ReviewPending());

    // The device's database damaged after the refresh, and the copy gone:
    // the copy fails, none is left, nothing is written and 219 is told.
    QFile::remove(copy);
    const QByteArray before = TestFolders::readFile(local);
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Db/Zarvo.sdb"), "not a database");
    MessageBoxAnswers boxes;
    boxes.Push(1);
    analyse(dialog);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes().front().text, Platform::Texts::get(219));
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(TestFolders::readFile(local), before);
    EXPECT_FALSE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    EXPECT_FALSE(dialog.Control(CConnexion::CopyToLocalButton)->isEnabled());
}

TEST_F(CConnexionTest, NoDifferenceRunsWithoutAReviewAndAlignsTheStamps)
{
    // The device holds what the local database holds, neither was ever
    // synchronised: their stamps are empty, so they do not count as
    // identical, and the analysis finds nothing to review.
    QDir().mkpath(QFileInfo(deviceDb).absolutePath());
    ASSERT_TRUE(QFile::copy(local, deviceDb));
    TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
    CConnexion dialog(users, nullptr, hooks, root);
    dialog.OnDeviceNotice(0);
    associate(dialog, QStringLiteral("Léa"));
    EXPECT_TRUE(static_cast<QLabel *>(dialog.Control(CConnexion::IdenticalText))->text().isEmpty());
    ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());

    MessageBoxAnswers boxes;
    DialogAnswers<CDlgSynchro> runs;
    SyncRun::Outcome outcome = SyncRun::Outcome::Failed;
    LetTheNextRunEnd(runs, outcome);
    analyse(dialog);
    EXPECT_TRUE(boxes.AskedBoxes().empty());
    EXPECT_EQ(runs.Asked(), 1);
    EXPECT_EQ(outcome, SyncRun::Outcome::Succeeded);
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_EQ(dialog.Review(), nullptr);
    const QString stamps = "select Name, Value from Infos where Name in ('Backup','Modif') order by Name";
    EXPECT_EQ(json(local, stamps), json(deviceDb, stamps));
    EXPECT_EQ(static_cast<QLabel *>(dialog.Control(CConnexion::IdenticalText))->text(), Platform::Texts::get(245));
}

TEST_F(CConnexionTest, AWriteIntoEitherDatabaseDuringAReviewIsToldWithoutARefresh)
{
    // Written by other programs (the device's, the tray): only the files'
    // changes tell the dialog.
    const struct
    {
        const char *what;
        bool device;
        int text;
        const char16_t *write;
    } cases[] = {
        {"device", true, 250, u"update Infos set Value='3000' where Name='Modif'"},
        {"local", false, 251, u"update Infos set Value='3000' where Name='Modif'"},
        // A row written in the second the stamps already hold: only the
        // change counter tells.
        {"local, its stamps as they were", false, 251, u"update Projets set Nom='tray' where Id=32"},
    };
    for (const auto &c : cases) {
        CConnexion dialog(users, nullptr, hooks, root);
        if (c.device)
            plug(dialog);
        else
            dialog.OnDeviceNotice(0); // plugged already
        associate(dialog, QStringLiteral("Léa"));
        analyse(dialog);
        ASSERT_TRUE(dialog.ReviewPending()) << c.what;
        CViewSynchro *review = dialog.Review();
        ASSERT_TRUE(review->SynchroniseButtonCtrl()->isEnabled()) << c.what;
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(c.device ? deviceDb : local), 0);
        ASSERT_EQ(other.Execute(c.write), 0);
        other.Close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return review->MessageShown() == Platform::Texts::get(c.text); }, 10000))
            << c.what << ": " << review->MessageShown().toStdString();
        EXPECT_FALSE(review->SynchroniseButtonCtrl()->isEnabled()) << c.what;
        review->Cancel();
    }
}

TEST_F(CConnexionTest, ALocalDatabaseOfAnEarlierVersionIsBroughtUpNotRefused)
{
    // Léa's database as the program's earlier version left it.
    {
        SQLite::CmyDataBase old;
        ASSERT_EQ(old.Open(local), 0);
        for (const char *sql : {"drop table Forecast", "drop table ProjectChilds", "alter table Projets drop column Type",
                                "alter table Projets drop column Activity", "alter table Projets drop column Title",
                                "update Infos set Value='1' where Name='VersionDB'"})
            ASSERT_EQ(old.Execute(QString::fromUtf8(sql)), 0) << sql;
    }
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    EXPECT_TRUE(dialog.Control(CConnexion::VersionText)->isHidden());
    EXPECT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    EXPECT_EQ(json(local, "select Value from Infos where Name='VersionDB'"), "[{\"Value\":\"2\"}]");
    EXPECT_EQ(json(local, "select Nom from Projets where Id=32"), "[{\"Nom\":\"ici\"}]");
}

TEST_F(CConnexionTest, TheNextAnalysisFinishesARunStoppedBetweenItsWritesAndSaysSo)
{
    // A run for Léa, in another process, killed once it wrote the device.
    TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
    make(deviceDb, "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                   "(33,'appareil',-1,0,1500,1); update Infos set Value='1500' where Name='Modif'");
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Léa");
    KillSyncRunPeer(local, root, leaId, "local");
    const QString rows = "select Id, Nom, Origine_Modif from Projets order by Id";
    ASSERT_NE(json(local, rows), json(deviceDb, rows));

    CConnexion dialog(users, nullptr, hooks, root);
    dialog.OnDeviceNotice(0);
    ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    MessageBoxAnswers boxes;
    boxes.Push(1);
    DialogAnswers<CDlgSynchro> runs;
    analyse(dialog);
    EXPECT_EQ(runs.Asked(), 0);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes().front().text, Platform::Texts::get(CConnexion::FinishedText));
    EXPECT_FALSE(boxes.AskedBoxes().front().text.isEmpty());
    EXPECT_FALSE(dialog.ReviewPending());
    EXPECT_EQ(json(local, rows), json(deviceDb, rows));
    EXPECT_FALSE(SyncPending::Load(leaId).has_value());
    EXPECT_EQ(undoEmptied, 1);
    EXPECT_EQ(static_cast<QLabel *>(dialog.Control(CConnexion::IdenticalText))->text(), Platform::Texts::get(245));
}

TEST_F(CConnexionTest, ADeviceDatabaseOfALaterVersionIsToldAsSuch)
{
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    {
        SQLite::CmyDataBase device;
        ASSERT_EQ(device.Open(deviceDb), 0);
        ASSERT_EQ(device.Execute(u"update Infos set Value='3' where Name='VersionDB'"), 0);
    }
    const QByteArray bytes = TestFolders::readFile(deviceDb);
    dialog.RefreshState();
    EXPECT_EQ(static_cast<QLabel *>(dialog.Control(CConnexion::GuidanceText))->text(), Platform::Texts::get(599));
    EXPECT_TRUE(shown(dialog, CConnexion::VersionText));
    EXPECT_EQ(static_cast<QLabel *>(dialog.Control(CConnexion::VersionText))->text(), Platform::Texts::get(470));
    EXPECT_TRUE(dialog.DevicePane()->isHidden());
    EXPECT_TRUE(dialog.LocalPane()->isHidden());
    for (int id : {CConnexion::SynchroniseButton, CConnexion::CopyToLocalButton, CConnexion::CopyToDeviceButton})
        EXPECT_FALSE(shown(dialog, id)) << id;
    EXPECT_EQ(TestFolders::readFile(deviceDb), bytes);
}

TEST_F(CConnexionTest, WorkingCopiesLeftBehindHoldNothingUpAndNoneOutlivesTheDialog)
{
    // Left by a session killed during a merge: the copy, its journal, and
    // the other working files.
    const QString working = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    const auto leave = [](const QString &path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(512, 'x'));
    };
    for (const QString &path : {working, working + QStringLiteral("-journal"),
                                DeviceExchange::WorkingFile(DeviceExchange::PaneCopyFile),
                                DeviceExchange::WorkingFile(DeviceExchange::WholeCopyFile)})
        leave(path);
    const QString folder = DeviceExchange::WorkingFolder();
    {
        CConnexion dialog(users, nullptr, hooks, root);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
        plug(dialog);
        associate(dialog, QStringLiteral("Léa"));
        ASSERT_TRUE(QFileInfo::exists(working));

        // The same left beside the copy the dialog made: the next refresh
        // copies the device all the same.
        leave(working + QStringLiteral("-journal"));
        dialog.RefreshState();
        EXPECT_NE(dialog.DevicePane()->Line(1), Platform::Texts::get(208) + Platform::Texts::get(173));
        ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());

        analyse(dialog);
        ASSERT_TRUE(dialog.ReviewPending());
        DialogAnswers<CDlgSynchro> runs;
        SyncRun::Outcome outcome = SyncRun::Outcome::Failed;
        LetTheNextRunEnd(runs, outcome);
        QTest::mouseClick(dialog.Review()->SynchroniseButtonCtrl(), Qt::LeftButton);
        ASSERT_EQ(outcome, SyncRun::Outcome::Succeeded);
        static_cast<QPushButton *>(dialog.Control(CConnexion::CloseButton))->click();
        EXPECT_TRUE(dialog.isHidden());
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(CConnexionTest, ADeviceFolderMadeEmptyThenFilledIsFoundWithoutARename)
{
    // The device's files, made elsewhere and copied in afterwards.
    const QString made = TestFolders::file(QStringLiteral("made/Zarvo.sdb"));
    make(made, "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
               "(33,'appareil',-1,0,1500,1); update Infos set Value='1500' where Name='Modif'");
    const QByteArray database = TestFolders::readFile(made);
    ASSERT_GE(database.size(), 8192);
    const QLocale french(QLocale::French, QLocale::France);
    const QString wholeSize = QStringLiteral("Taille : %1 octets").arg(french.toString(qint64(database.size())));

    CConnexion dialog(users, nullptr, hooks, root);
    dialog.show();
    auto *guidance = static_cast<QLabel *>(dialog.Control(CConnexion::GuidanceText));
    QSignalSpy notices(dialog.DeviceWatcher(), &Platform::DeviceFolderWatcher::notice);
    QSignalSpy changes(dialog.DeviceWatcher(), &Platform::DeviceFolderWatcher::contentChanged);
    // Each step is waited for on the watcher's signal (the dialog hears it
    // first), as long as it takes for the step's outcome to show.
    const auto waitFor = [&](const std::function<bool()> &shows) {
        while (!shows() && changes.wait(20000)) {
        }
        return shows();
    };

    // Made empty: a device without the database.
    ASSERT_TRUE(QDir().mkpath(root));
    ASSERT_TRUE(notices.wait(20000));
    EXPECT_EQ(notices.takeFirst().at(0).toInt(), int(Platform::DeviceFolderWatcher::Connected));
    EXPECT_EQ(guidance->text(), Platform::Texts::get(669));

    // Filled afterwards, as a copy into it goes: the registry, the folders,
    // the database written in two pieces, the association last.
    TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
    ASSERT_TRUE(changes.wait(20000));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(deviceDb).absolutePath()));
    ASSERT_TRUE(changes.wait(20000));
    EXPECT_EQ(guidance->text(), Platform::Texts::get(669));
    {
        QFile file(deviceDb);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(database.left(4096)), 4096);
    }
    // Found, but not yet whole: not a database to copy.
    ASSERT_TRUE(waitFor([&] { return !dialog.Exchange().DeviceBase().isEmpty(); }));
    EXPECT_EQ(dialog.DevicePane()->Line(1), Platform::Texts::get(208) + Platform::Texts::get(173));
    {
        QFile file(deviceDb);
        ASSERT_TRUE(file.open(QIODevice::Append));
        ASSERT_EQ(file.write(database.mid(4096)), database.size() - 4096);
    }
    ASSERT_TRUE(waitFor([&] { return dialog.DevicePane()->Line(2) == wholeSize; }))
        << dialog.DevicePane()->Line(1).toStdString();
    EXPECT_TRUE(guidance->text().startsWith(Platform::Texts::get(442)));
    EXPECT_TRUE(shown(dialog, CConnexion::UsersCombo));

    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Léa");
    ASSERT_TRUE(waitFor([&] { return dialog.Exchange().GetLocalUserId() == leaId; }));
    EXPECT_TRUE(shown(dialog, CConnexion::UserText));
    EXPECT_FALSE(dialog.LocalPane()->isHidden());
    EXPECT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(CConnexionTest, ADeviceWhoseNoticeWasLostIsFoundWhenTheDialogLooksAgain)
{
    CConnexion dialog(users, nullptr, hooks, root);
    dialog.show();
    auto *guidance = static_cast<QLabel *>(dialog.Control(CConnexion::GuidanceText));
    // The dialog hears nothing of the watcher from here on.
    QObject::disconnect(dialog.DeviceWatcher(), nullptr, &dialog, nullptr);
    QSignalSpy notices(dialog.DeviceWatcher(), &Platform::DeviceFolderWatcher::notice);
    TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
    make(deviceDb, "update Infos set Value='1500' where Name='Modif'");
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Léa");
    ASSERT_TRUE(notices.wait(20000));
    EXPECT_EQ(guidance->text(), Platform::Texts::get(368));

    // The user picks the USB disk and the device again: each choice looks.
    auto *transport = static_cast<QComboBox *>(dialog.Control(CConnexion::TransportCombo));
    transport->setCurrentIndex(1);
    transport->setCurrentIndex(0);
    EXPECT_EQ(dialog.Exchange().GetLocalUserId(), leaId);
    EXPECT_TRUE(shown(dialog, CConnexion::UserText));
    EXPECT_FALSE(dialog.DevicePane()->Line(2).isEmpty());
}

namespace {

// Entry 201, which both sides held at their last synchronisation and the
// device has deleted since, and a run for Léa in another process, killed
// once it wrote the device: the run's record lists 201 as deleted.
class StoppedRunDialogTest : public CConnexionTest
{
protected:
    void StopARun()
    {
        TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
        make(deviceDb, "delete from Projets where Id=33; insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,"
                       "Origine_Modif) values (33,'appareil',-1,0,1500,1); update Infos set Value='1500' where Name='Modif'");
        for (const QString &side : {local, deviceDb})
            make(side, "delete from Taches where Id=201; insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,"
                       "IdTauxHoraire,Deleted,Date_Modif,Origine_Modif,Title) values "
                       "(201,1000,2000,-1,-1,-1,0,1000,0,'e1')");
        make(deviceDb, "update Taches set Deleted=1, Date_Modif=1600 where Id=201");
        TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Léa");
        KillSyncRunPeer(local, root, leaId, "local");
        const std::optional<SyncPending::Record> kept = SyncPending::Load(leaId);
        ASSERT_TRUE(kept.has_value());
        ASSERT_EQ(kept->deleted.value(CBdD::TableTaches), std::vector<qint64>{201});
    }
    // Nothing of a run of Léa's kept anywhere.
    void NothingKept()
    {
        EXPECT_FALSE(SyncPending::Load(leaId).has_value());
        for (const QString &path : {SyncPending::RecordPath(leaId), SyncPending::CopyPath(leaId),
                                    SyncPending::OldRecordPath(leaId), SyncPending::OldCopyPath(leaId)})
            EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
};

} // namespace

TEST_F(StoppedRunDialogTest, AWholeCopyEitherWayLeavesNoRecordAndNoOldDeletionList)
{
    for (const int button : {int(CConnexion::CopyToLocalButton), int(CConnexion::CopyToDeviceButton)}) {
        SCOPED_TRACE(button);
        // Each run a minute after what came before: the whole copy leaves
        // both sides synchronised at its own time.
        Platform::Clock::setFixedNow(Platform::Clock::now() + 60);
        StopARun();
        {
            CConnexion dialog(users, nullptr, hooks, root);
            dialog.OnDeviceNotice(0);
            ASSERT_TRUE(dialog.Control(button)->isEnabled());
            MessageBoxAnswers boxes;
            boxes.Push(MessageBoxAnswer::Yes);
            boxes.Push(1);
            QTest::mouseClick(dialog.Control(button), Qt::LeftButton);
            ASSERT_EQ(boxes.AskedBoxes().size(), 2u);
            EXPECT_EQ(boxes.AskedBoxes().back().text, Platform::Texts::get(243));
        }
        NothingKept();
        // The token that named Léa's database for the record went with it:
        // neither side carries it, whichever was copied over the other.
        EXPECT_TRUE(SyncPending::TokenOf(local).isEmpty());
        EXPECT_TRUE(SyncPending::TokenOf(deviceDb).isEmpty());

        // Entry 201 only here again (made anew here, or gone from the
        // device): a later analysis keeps it, no old list deletes it.
        make(local, "delete from Taches where Id=201; insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,"
                    "IdTauxHoraire,Deleted,Date_Modif,Origine_Modif,Title) values "
                    "(201,1000,2000,-1,-1,-1,0,2400,1,'e1'); update Infos set Value='2400' where Name='Modif'");
        make(deviceDb, "delete from Taches where Id=201; update Infos set Value='2500' where Name='Modif'");
        CConnexion dialog(users, nullptr, hooks, root);
        dialog.OnDeviceNotice(0);
        ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
        MessageBoxAnswers none;
        analyse(dialog);
        EXPECT_TRUE(none.AskedBoxes().empty());
        ASSERT_TRUE(dialog.ReviewPending());
        EXPECT_EQ(SuggestedAction(dialog, 201), SyncItem::KeepLocal);
        dialog.Review()->Cancel();
    }
}

TEST_F(StoppedRunDialogTest, AStoppedRunThatCannotBeFinishedIsToldAndItsDeletionsStay)
{
    StopARun();
    // Its kept copy gone (the record is what matters).
    const QString copy = SyncPending::CopyPath(leaId);
    ASSERT_TRUE(QFile::remove(copy));
    CConnexion dialog(users, nullptr, hooks, root);
    dialog.OnDeviceNotice(0);
    MessageBoxAnswers boxes;
    boxes.Push(1);
    analyse(dialog);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    const QString told = boxes.AskedBoxes().front().text;
    EXPECT_TRUE(told.contains(copy)) << told.toStdString();
    EXPECT_TRUE(told.startsWith(Platform::Texts::get(SyncAnalysis::NotFinishedText).section(u'%', 0, 0)))
        << told.toStdString();
    ASSERT_TRUE(dialog.ReviewPending());
    EXPECT_EQ(SuggestedAction(dialog, 201), SyncItem::Delete);
    dialog.Review()->Cancel();
}

TEST_F(StoppedRunDialogTest, ARecordThatCannotBeWrittenIsToldWithItsFileAndCause)
{
    // A file where the record's folder goes.
    const QString folder = SyncPending::FolderPath();
    QDir(folder).removeRecursively();
    TestFolders::writeFile(folder.mid(TestFolders::root().size() + 1), "not a folder");
    CConnexion dialog(users, nullptr, hooks, root);
    plug(dialog);
    associate(dialog, QStringLiteral("Léa"));
    analyse(dialog);
    ASSERT_TRUE(dialog.ReviewPending());
    const QByteArray device = TestFolders::readFile(deviceDb);
    const QByteArray before = TestFolders::readFile(local);

    DialogAnswers<CDlgSynchro> runs;
    QString status;
    QString reason;
    bool reasonShown = false;
    runs.Push([&](CDlgSynchro &run) {
        run.Start();
        run.WaitForEnd();
        status = run.StatusLine()->text();
        reason = run.ReasonLine()->text();
        reasonShown = !run.ReasonLine()->isHidden();
        return int(QDialog::Accepted);
    });
    QTest::mouseClick(dialog.Review()->SynchroniseButtonCtrl(), Qt::LeftButton);
    EXPECT_EQ(status, Platform::Texts::get(380));
    EXPECT_TRUE(reasonShown);
    EXPECT_TRUE(reason.contains(folder + QStringLiteral("/Pending-%1.ini").arg(leaId))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(Platform::Texts::get(SyncPending::FileInPlaceText))) << reason.toStdString();
    EXPECT_EQ(TestFolders::readFile(deviceDb), device);
    EXPECT_EQ(TestFolders::readFile(local), before);
}

// A stopped run whose local database was brought meanwhile, by writes of
// its own, to the rows the run would have written: the fresh comparison
// finds nothing, and the user is still told, once, that the run could not
// be finished.
TEST_F(StoppedRunDialogTest, AStoppedRunComparedToNoDifferenceIsStillToldOnce)
{
    StopARun();
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(local), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("attach database '%1' as Kept").arg(SyncPending::CopyPath(leaId))), 0);
        for (const char *table : {"Taches", "Projets", "Activites", "TauxHoraire", "Favoris", "Forecast",
                                  "ProjectChilds"}) {
            ASSERT_EQ(db.Execute(QStringLiteral("delete from main.%1; insert into main.%1 select * from Kept.%1")
                                     .arg(QLatin1String(table))),
                      0)
                << table;
        }
        ASSERT_EQ(db.Execute(u"update main.Infos set Value=(select Value from Kept.Infos where Name='Modif') "
                             u"where Name='Modif'"),
                  0);
        ASSERT_EQ(db.Execute(u"detach database Kept"), 0);
    }
    CConnexion dialog(users, nullptr, hooks, root);
    dialog.OnDeviceNotice(0);
    ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
    MessageBoxAnswers boxes;
    boxes.Push(1);
    DialogAnswers<CDlgSynchro> runs;
    SyncRun::Outcome outcome = SyncRun::Outcome::Failed;
    LetTheNextRunEnd(runs, outcome);
    analyse(dialog);
    // Nothing to review: the run without a list went, after the message.
    EXPECT_EQ(dialog.Review(), nullptr);
    EXPECT_EQ(runs.Asked(), 1);
    EXPECT_EQ(outcome, SyncRun::Outcome::Succeeded);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes().front().text,
              Platform::Formatter::sprintf(Platform::Texts::get(SyncAnalysis::NotFinishedText),
                                           {Platform::Texts::get(SyncAnalysis::LocalChangedText)}));
    NothingKept();
    const QString rows = "select Id, Nom, Deleted from Projets order by Id";
    EXPECT_EQ(json(local, rows), json(deviceDb, rows));
    EXPECT_EQ(json(local, "select count(*) n from Taches where Id=201"), "[{\"n\":0}]");
}

// A record that serves nothing (another database's of the same user id, or
// one that cannot be read): the user is told once, naming the record's
// file, before the review shows the rows; nothing of it applies, and it is
// gone once told, whether or not the review goes on.
TEST_F(StoppedRunDialogTest, ARecordThatServesNothingIsToldOnceNamingItsFileAndNeverApplied)
{
    const struct
    {
        const char *name;
        std::function<void()> act;
        int told;
    } cases[] = {
        {"another database of Léa's id, entry 201 made there before the stop",
         [this] {
             QFile::remove(local);
             make(local, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                         "Origine_Modif,Title) values (201,20000,21000,-1,-1,-1,0,1800,1,'autre'); "
                         "update Infos set Value='1800' where Name='Modif'");
         },
         SyncAnalysis::RecordNoLongerServesText},
        {"the record garbage",
         [this] {
             TestFolders::writeFile(SyncPending::RecordPath(leaId).mid(TestFolders::root().size() + 1),
                                    QByteArray("\x01\x02 pas un relevé"));
         },
         SyncAnalysis::RecordUnreadableText},
        {"the record empty",
         [this] {
             TestFolders::writeFile(SyncPending::RecordPath(leaId).mid(TestFolders::root().size() + 1), QByteArray());
         },
         SyncAnalysis::RecordUnreadableText},
        {"the record naming another user",
         [this] {
             QByteArray text = TestFolders::readFile(SyncPending::RecordPath(leaId));
             text.replace(QByteArray("User=") + QByteArray::number(leaId) + '\n',
                          QByteArray("User=") + QByteArray::number(leaId + 40) + '\n');
             TestFolders::writeFile(SyncPending::RecordPath(leaId).mid(TestFolders::root().size() + 1), text);
         },
         SyncAnalysis::RecordUnreadableText},
        {"the record gone, its copy kept",
         [this] { QFile::remove(SyncPending::RecordPath(leaId)); },
         SyncAnalysis::RecordUnreadableText},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StopARun();
        const QString record = SyncPending::RecordPath(leaId);
        c.act();
        CConnexion dialog(users, nullptr, hooks, root);
        dialog.OnDeviceNotice(0);
        ASSERT_TRUE(dialog.Control(CConnexion::SynchroniseButton)->isEnabled());
        MessageBoxAnswers boxes;
        bool reviewShownFirst = true;
        boxes.PushAfter([&] { reviewShownFirst = dialog.ReviewPending(); }, 1);
        analyse(dialog);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_EQ(boxes.AskedBoxes().front().text,
                  Platform::Formatter::sprintf(Platform::Texts::get(c.told), {record}));
        EXPECT_FALSE(reviewShownFirst);
        NothingKept();
        // Entry 201 is offered as it is found: only here, kept.
        ASSERT_TRUE(dialog.ReviewPending());
        EXPECT_EQ(SuggestedAction(dialog, 201), SyncItem::KeepLocal);
        dialog.Review()->Cancel();

        // Annuler, then the analysis again: nothing more to tell.
        MessageBoxAnswers none;
        analyse(dialog);
        EXPECT_TRUE(none.AskedBoxes().empty());
        ASSERT_TRUE(dialog.ReviewPending());
        EXPECT_EQ(SuggestedAction(dialog, 201), SyncItem::KeepLocal);
        dialog.Review()->Cancel();
    }
}
