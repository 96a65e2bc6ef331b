// The network-folder update: every outcome, the replaced database seen by
// another connection, failures that leave both files.
#include "AppFixture.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CDlgForecast.h"
#include "CNetworkUpdate.h"
#include "CProjectStore.h"
#include "CmyDataBase.h"
#include "ForecastPages.h"
#include "RecordEditorServices.h"
#include "WritingPeer.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace {

class NetworkUpdateTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        share = TestFolders::root() + QStringLiteral("/share/");
        QDir().mkpath(share + QStringLiteral("Anne"));
        addUser(QStringLiteral("Anne"));
        local = databaseOf(QStringLiteral("Anne"));
        mark(local, QStringLiteral("local"));
        useMainWindow();
        ASSERT_TRUE(app->InitInstance());
        app->Configuration().lanFolder = share;
        clearBoxes();
    }
    void TearDown() override
    {
        CDatabaseFile::SetFaultHook({});
        AppFixture::TearDown();
    }

    QString sharedCopy() const { return share + QStringLiteral("Anne/Zarvo.sdb"); }
    // A copy of the local database in the share, marked, optionally padded
    // over many pages and of another version.
    void dropSharedCopy(const QString &text, int version = 2, int padding = 0)
    {
        ASSERT_TRUE(CDatabaseFile::CopyLive(local, sharedCopy(), CDatabaseFile::Target::Replace));
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(sharedCopy()), 0);
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Mark'").arg(text));
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='VersionDB'").arg(version));
        db.Execute(u"create table Padding (Text text)");
        db.BeginTransaction();
        for (int i = 0; i < padding; ++i)
            db.Execute(QStringLiteral("insert into Padding values ('%1')").arg(QString(1000, u'p')));
        ASSERT_TRUE(db.CommitTransaction());
    }
    void alterSharedCopy(QStringView sql)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(sharedCopy()), 0);
        ASSERT_EQ(db.Execute(sql), 0);
    }
    static void mark(const QString &path, const QString &text)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        db.Execute(u"delete from Infos where Name='Mark'");
        db.Execute(QStringLiteral("insert into Infos values ('Mark','%1')").arg(text));
    }
    static QString markOf(const QString &path)
    {
        SQLite::CmyDataBase db;
        if (db.OpenReadOnly(path) != 0)
            return QStringLiteral("<cannot open>");
        SQLite::MyTablePtr t = db.Query(u"select Value from Infos where Name='Mark'");
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    // The texts shown, by the start of each.
    QString lastBox() const { return boxes().empty() ? QString() : boxes().back().text; }

    QString share;
    QString local;
};

} // namespace

TEST_F(NetworkUpdateTest, EachRefusalSaysWhyAndChangesNothing)
{
    answers->AnswerNotices();
    using Outcome = CNetworkUpdate::Outcome;
    const struct
    {
        const char *what;
        std::function<void()> arrange;
        Outcome outcome;
        int textId;
    } cases[] = {
        {"no folder set", [this] { app->Configuration().lanFolder.clear(); }, Outcome::NotConfigured, 400},
        {"folder missing", [this] { app->Configuration().lanFolder = share + QStringLiteral("gone/"); },
         Outcome::FolderMissing, 401},
        {"nothing dropped", [] {}, Outcome::NothingAvailable, 255},
        {"another version", [this] { dropSharedCopy(QStringLiteral("share"), 1); }, Outcome::VersionDiffers, 471},
        {"a later version", [this] { dropSharedCopy(QStringLiteral("share"), 3); }, Outcome::VersionDiffers, 471},
        {"a damaged copy",
         [] { TestFolders::writeFile(QStringLiteral("share/Anne/Zarvo.sdb"), QByteArray(8192, 'x')); },
         Outcome::NothingAvailable, 255},
        {"local changes not passed on",
         [this] {
             dropSharedCopy(QStringLiteral("share"));
             CBdD db;
             db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Origine_Modif) values (90,'P',-1,0,1)");
         },
         Outcome::LocalChanges, 225},
    };
    for (const auto &c : cases) {
        app->Configuration().lanFolder = share;
        QFile::remove(sharedCopy());
        c.arrange();
        const bool dropped = QFileInfo::exists(sharedCopy());
        clearBoxes();
        app->UpdateFromLan(true);
        EXPECT_EQ(CNetworkUpdate::TextId(c.outcome), c.textId) << c.what;
        ASSERT_EQ(boxes().size(), 1u) << c.what;
        EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconAsterisk) << c.what;
        EXPECT_EQ(boxes()[0].caption, QStringLiteral("Information"));
        EXPECT_EQ(boxes()[0].text, CNetworkUpdate::Text(c.outcome)) << c.what;
        EXPECT_EQ(markOf(local), QStringLiteral("local")) << c.what;
        EXPECT_EQ(QFileInfo::exists(sharedCopy()), dropped) << c.what;
    }
}

TEST_F(NetworkUpdateTest, AnUpdateReplacesTheOpenDatabaseAndTakesTheCopyAway)
{
    answers->AnswerNotices();
    dropSharedCopy(QStringLiteral("share"));
    // The tray's connection stays open across the update.
    SQLite::CmyDataBase tray;
    ASSERT_EQ(tray.Open(local), 0);
    std::vector<std::string> refreshed;
    app->Frame().refreshAfterChange = [&] { refreshed.push_back("refresh"); };
    app->Frame().forgetCallingReport = [&] { refreshed.push_back("report"); };
    QStringList status;
    app->Frame().statusText = [&](const QString &t) { status << t; };

    app->UpdateFromLan(true);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Base de données mise à jour avec succès."));
    EXPECT_EQ(tray.Query(u"select Value from Infos where Name='Mark'")->GetCell(0, 0), QStringLiteral("share"));
    EXPECT_FALSE(QFileInfo::exists(sharedCopy()));
    EXPECT_EQ(refreshed, (std::vector<std::string>{"report", "refresh"}));
    EXPECT_EQ(status, (QStringList{QStringLiteral("Vérification des mises à jour de la base de données…"),
                                   QString()}));

    // The copy is gone: the next run finds nothing.
    app->UpdateFromLan(true);
    EXPECT_EQ(lastBox(), QStringLiteral("Aucune mise à jour disponible."));
}

TEST_F(NetworkUpdateTest, ACopyThatCannotBeInstalledWholeLeavesBothFiles)
{
    answers->AnswerNotices();
    const struct
    {
        const char *what;
        std::function<void()> arrange;
    } cases[] = {
        {"a failure while writing",
         [] {
             CDatabaseFile::SetFaultHook(
                 [](CDatabaseFile::Stage s) { return s == CDatabaseFile::Stage::ReplaceBetweenSteps; });
         }},
        // SQLite reads the missing byte as a zero and says nothing.
        {"a copy one byte short",
         [this] {
             const QByteArray whole = TestFolders::readFile(sharedCopy());
             TestFolders::writeFile(QStringLiteral("share/Anne/Zarvo.sdb"), whole.chopped(1));
         }},
        {"a copy without the entries", [this] { alterSharedCopy(u"drop table Taches"); }},
        {"a copy of a column short", [this] { alterSharedCopy(u"alter table Projets drop column Parent"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        dropSharedCopy(QStringLiteral("share"), 2, 300);
        c.arrange();
        const QByteArray dropped = TestFolders::readFile(sharedCopy());
        clearBoxes();
        app->UpdateFromLan(true);
        CDatabaseFile::SetFaultHook({});
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconExclamation);
        EXPECT_EQ(boxes()[0].caption, QStringLiteral("Erreur"));
        EXPECT_EQ(boxes()[0].text, QStringLiteral("Mise à jour de la base de données impossible."));
        EXPECT_EQ(markOf(local), QStringLiteral("local"));
        EXPECT_EQ(TestFolders::readFile(sharedCopy()), dropped);
        EXPECT_TRUE(CDatabaseFile::Check(local).ok());
    }
}

TEST_F(NetworkUpdateTest, AChangeCommittedWhileTheCopyIsTakenIsNeverOverwritten)
{
    answers->AnswerNotices();
    dropSharedCopy(QStringLiteral("share"));
    // The other program commits an entry after the look for local changes,
    // while the shared copy is being taken.
    bool written = false;
    CDatabaseFile::SetFaultHook([&](CDatabaseFile::Stage s) {
        if (s == CDatabaseFile::Stage::CopyBeforeRename && !written) {
            SQLite::CmyDataBase tray;
            written = tray.Open(local) == 0
                      && tray.Execute(u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Deleted,Origine_Modif) "
                                      u"values (500,1000,2000,-1,-1,0,1)")
                             == 0;
        }
        return false;
    });
    app->UpdateFromLan(true);
    ASSERT_TRUE(written);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, CNetworkUpdate::Text(CNetworkUpdate::Outcome::LocalChanges));
    EXPECT_EQ(markOf(local), QStringLiteral("local"));
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(local), 0);
    EXPECT_EQ(db.Query(u"select count(*) from Taches where Id=500")->GetFirstInt(), 1);
    EXPECT_EQ(markOf(sharedCopy()), QStringLiteral("share"));
}

// The other program saving entries while the update writes the local
// database: its save between any two steps is refused as busy, and the
// local database then holds the share's rows alone, sound.
TEST_F(NetworkUpdateTest, TheOtherProgramSavesNothingWhileTheLocalDatabaseIsWritten)
{
    answers->AnswerNotices();
    dropSharedCopy(QStringLiteral("share"), 2, 800);
    SQLite::CmyDataBase shared;
    ASSERT_EQ(shared.OpenReadOnly(sharedCopy()), 0);
    const QString sharedRows = shared.Query(u"select count(*) from Padding")->GetCell(0, 0);
    shared.Close();
    WritingPeer other(QStringLiteral(DATASTORE_PEER), local);
    QStringList answers;
    CDatabaseFile::SetFaultHook([&](CDatabaseFile::Stage stage) {
        if (stage == CDatabaseFile::Stage::ReplaceBetweenSteps)
            answers << other.Insert(QStringLiteral("during %1").arg(answers.size()));
        return false;
    });
    app->UpdateFromLan(true);
    CDatabaseFile::SetFaultHook({});
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, CNetworkUpdate::Text(CNetworkUpdate::Outcome::Updated));
    ASSERT_GE(answers.size(), 2);
    EXPECT_EQ(answers.count(QStringLiteral("busy")), answers.size()) << answers.join(u',').toStdString();
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(local), 0);
    EXPECT_EQ(db.Query(u"PRAGMA integrity_check")->GetCell(0, 0), QStringLiteral("ok"));
    EXPECT_EQ(db.Query(u"select count(*) from Taches")->GetCell(0, 0), QStringLiteral("0"));
    EXPECT_EQ(db.Query(u"select count(*) from Padding")->GetCell(0, 0), sharedRows);
    EXPECT_EQ(markOf(local), QStringLiteral("share"));
    // Once the update is done, the other program saves again.
    EXPECT_EQ(other.Insert(QStringLiteral("after")), QStringLiteral("saved"));
    EXPECT_EQ(db.Query(u"select group_concat(Title) from Taches")->GetCell(0, 0), QStringLiteral("after"));
}

TEST_F(NetworkUpdateTest, ACopyDroppedAgainMeanwhileStaysInTheShare)
{
    dropSharedCopy(QStringLiteral("first"));
    CNetworkUpdate::Steps steps;
    // While the first copy is installed, the other party drops a newer one.
    steps.backupIfDue = [this] { dropSharedCopy(QStringLiteral("second"), 2, 50); };
    const CNetworkUpdate::Outcome outcome =
        CNetworkUpdate::Run({share, QStringLiteral("Anne"), local}, steps);
    EXPECT_EQ(outcome, CNetworkUpdate::Outcome::Updated);
    EXPECT_EQ(markOf(local), QStringLiteral("first")); // the copy that was checked
    EXPECT_EQ(markOf(sharedCopy()), QStringLiteral("second"));
}

TEST_F(NetworkUpdateTest, ASilentRunShowsNothing)
{
    dropSharedCopy(QStringLiteral("share"));
    app->UpdateFromLan(false);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(markOf(local), QStringLiteral("share"));
    app->Configuration().lanFolder.clear();
    app->UpdateFromLan(false);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(NetworkUpdateTest, NoUpdateWhileADeviceSynchronisationIsOpen)
{
    answers->AnswerNotices();
    // The synchronisation would write its merge over the copy taken in.
    dropSharedCopy(QStringLiteral("share"));
    app->SetDeviceSyncOpen(true);
    app->UpdateFromLan(true);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(markOf(local), QStringLiteral("local"));
    EXPECT_TRUE(QFileInfo::exists(sharedCopy()));

    app->SetDeviceSyncOpen(false);
    app->UpdateFromLan(true);
    EXPECT_EQ(markOf(local), QStringLiteral("share"));
}

// The project editor and its planning pages keep pointers into the project
// store. While one is open, neither the network update (the frame's timer)
// nor the planning window's reload of the tree frees them: the update
// waits for the editor to close, the reload keeps the nodes, and OK saves
// the project. At the close the tree is read again and the update runs: it
// finds the saved project a local change and replaces nothing. Opened
// again and left without a change, the editor lets the update that waited
// replace the database once it is closed.
TEST_F(NetworkUpdateTest, AnOpenProjectEditorPutsOffTheUpdateAndNoReloadFreesItsNodes)
{
    {
        CBdD db;
        ASSERT_EQ(db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                             u"(40,'Chantier',-1,0,1,2),(41,'Lot',40,0,1,2)"),
                  0);
        ASSERT_TRUE(db.LoadProjects(-1, nullptr));
    }
    dropSharedCopy(QStringLiteral("share"));
    const RecordEditorServices saved = RecordEditorServices::Registered();
    RecordEditorServices::Registered().forecastPage = &MakeForecastPage;
    const auto nameOf = [this](int id) {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(local);
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select Nom from Projets where Id=%1").arg(id));
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    };

    {
        CDlgForecast editor(false, false, app->ProjectStore().GetNode(40), CDlgForecast::GeneralTab);
        editor.Prepare();
        const CProject *child = app->ProjectStore().GetNode(41);
        app->UpdateFromLan(false);
        EXPECT_TRUE(app->IsNetworkUpdatePutOff());
        EXPECT_EQ(markOf(local), QStringLiteral("local"));
        {
            CBdD db;
            EXPECT_FALSE(db.LoadProjects(-1, nullptr)) << "put off";
        }
        EXPECT_EQ(app->ProjectStore().GetNode(41), child) << "the nodes stay";
        editor.NameEdit()->setText(QStringLiteral("Chantier B"));
        editor.OnOk();
        EXPECT_EQ(editor.result(), QDialog::Accepted);
        EXPECT_EQ(editor.SavedId(), 40);
    }
    EXPECT_FALSE(app->IsNetworkUpdatePutOff());
    EXPECT_EQ(nameOf(40), QStringLiteral("Chantier B"));
    EXPECT_EQ(markOf(local), QStringLiteral("local")) << "the saved project is a local change";
    EXPECT_TRUE(QFileInfo::exists(sharedCopy()));
    EXPECT_EQ(app->ProjectStore().GetProjectName(40), QStringLiteral("Chantier B"));

    {
        CBdD db;
        ASSERT_EQ(db.Execute(u"update Projets set Origine_Modif=2"), 0);
    }
    {
        CDlgForecast editor(false, false, app->ProjectStore().GetNode(40), CDlgForecast::GeneralTab);
        editor.Prepare();
        app->UpdateFromLan(false);
        EXPECT_EQ(markOf(local), QStringLiteral("local"));
        editor.OnOk();
        EXPECT_EQ(editor.result(), QDialog::Rejected) << "nothing changed";
    }
    EXPECT_EQ(markOf(local), QStringLiteral("share"));
    EXPECT_FALSE(QFileInfo::exists(sharedCopy()));
    EXPECT_EQ(app->ProjectStore().GetProjectName(40), QStringLiteral("Chantier"));
    RecordEditorServices::Registered() = saved;
}
