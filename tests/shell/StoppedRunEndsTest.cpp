// Where the record of a synchronisation stopped between its two writes goes
// besides a run. A run of the user is killed in another process once it
// wrote the device. The record ends with its user, deleted in the users
// dialog: the next synchronisation of another database of the same user
// id, run from the menu as suggested, tells nothing and applies nothing of
// it, and the entry made there whose id the record listed lives on both
// sides. It follows its database when the options move the folders with
// their files and when the users dialog renames the user, and the run is
// then finished from the menu. A users folder only pointed elsewhere moves
// nothing: the database found there is told once that the record is not
// its own, and the record still serves its database when the first folder
// is chosen again; once that database is gone, the record goes, told once.
#include "AppFixture.h"
#include "CCommandTable.h"
#include "CConnexion.h"
#include "CDlgSynchro.h"
#include "CDlgUser.h"
#include "CDlgUsers.h"
#include "CLanguageSelector.h"
#include "CMainFrame.h"
#include "COptDir.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "CViewSynchro.h"
#include "DialogAnswers.h"
#include "Formatter.h"
#include "RefusedUserNames.h"
#include "ReviewedEntry.h"
#include "ShellWindows.h"
#include "SyncAnalysis.h"
#include "SyncPending.h"
#include "SyncRunAnswers.h"
#include "SyncRunPeer.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace {

constexpr const char *InstallKey = "[HKLM\\Software\\Apps\\Quellmark Zarvo]\r\nInstallDir=\\Program Files\\Zarvo\\\r\n";

class StoppedRunEndsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(1'700'000'000);
        CConnexion::SetMinimumAnalysisTime(0);
        root = TestFolders::file(QStringLiteral("Device"));
        deviceDb = root + QStringLiteral("/Program Files/Zarvo/Db/Zarvo.sdb");
        Platform::Settings().setString(u"Synchronisation", u"", u"DeviceFolder", root);
        Platform::Settings().setInt(u"Synchronisation", u"", u"Wmdc", 1);
    }
    void TearDown() override
    {
        COptionsDialog::SetRunner({});
        CPrefsDialog::SetTranslator({});
        CUsers::SetUsersFolderSource({});
        AppFixture::TearDown();
        CLanguageSelector::SetApplication(nullptr);
    }
    void start()
    {
        CLanguageSelector::SetApplication(&languages);
        RegisterShellWindows(*app, languages);
        COptionsDialog::Register(*app);
        ASSERT_TRUE(app->InitInstance());
        app->Configuration().backupSynchro = false;
        ASSERT_NE(app->MainFrame(), nullptr);
        app->MainFrame()->resize(1280, 800);
        app->MainFrame()->show();
    }

    static void exec(const QString &path, const QString &sql)
    {
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        for (const QString &statement : sql.split(u';', Qt::SkipEmptyParts))
            ASSERT_EQ(db.Execute(statement.trimmed()), 0) << statement.toStdString();
    }
    static QString json(const QString &path, const QString &sql)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {QStringLiteral("-json"), path, sql});
        EXPECT_TRUE(process.waitForFinished(60000));
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // Entry 201, which both sides held at their last synchronisation and
    // the device has deleted since; a run of the user `name` (`id`) killed
    // once it wrote the device: its record lists 201 as deleted.
    void stopARun(const QString &name, int id, const QString &localPath)
    {
        TestFolders::writeFile(QStringLiteral("Device/registry.ini"), InstallKey);
        QDir().mkpath(QFileInfo(deviceDb).absolutePath());
        for (const QString &side : {localPath, deviceDb})
            exec(side, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                       "Origine_Modif,Title) values (201,1000,2000,-1,-1,-1,0,1000,0,'e1')");
        exec(deviceDb, "update Taches set Deleted=1, Date_Modif=1600 where Id=201; "
                       "insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                       "(33,'appareil',-1,0,1500,1); update Infos set Value='1500' where Name='Modif'");
        TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), name.toUtf8());
        KillSyncRunPeer(localPath, root, id, "local");
        const std::optional<SyncPending::Record> kept = SyncPending::Load(id);
        ASSERT_TRUE(kept.has_value());
        ASSERT_EQ(kept->deleted.value(CBdD::TableTaches), std::vector<qint64>{201});
        ASSERT_EQ(json(deviceDb, "select count(*) n from Taches where Id=201"), "[{\"n\":0}]");
    }
    // Entry 201 made in another database, never synchronised, before the
    // stop.
    void makeEntryThere(const QString &path)
    {
        exec(path, "insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Date_Modif,"
                   "Origine_Modif,Title) values (201,20000,21000,-1,-1,-1,0,1800,1,'autre'); "
                   "update Infos set Value='1800' where Name='Modif'");
    }
    static void nothingKeptFor(int id)
    {
        for (const QString &path : {SyncPending::RecordPath(id), SyncPending::CopyPath(id),
                                    SyncPending::OldRecordPath(id), SyncPending::OldCopyPath(id)})
            EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }

    // The synchronisation from the menu, its decisions as suggested: nothing
    // is told, and entry 201 is offered as made here.
    void synchroniseAsSuggested()
    {
        QAction *sync = app->MainFrame()->Commands().Action(32794);
        ASSERT_NE(sync, nullptr);
        sync->trigger();
        QPointer<CConnexion> dialog = shownSynchronisation();
        ASSERT_TRUE(dialog);
        dialog->OnDeviceNotice(0);
        ASSERT_TRUE(dialog->Control(CConnexion::SynchroniseButton)->isEnabled());
        MessageBoxAnswers none;
        QTest::mouseClick(dialog->Control(CConnexion::SynchroniseButton), Qt::LeftButton);
        EXPECT_TRUE(none.AskedBoxes().empty());
        ASSERT_TRUE(dialog->ReviewPending());
        EXPECT_EQ(SuggestedAction(*dialog, 201), int(SyncItem::KeepLocal));
        DialogAnswers<CDlgSynchro> runs;
        SyncRun::Outcome outcome = SyncRun::Outcome::Failed;
        LetTheNextRunEnd(runs, outcome);
        QTest::mouseClick(dialog->Review()->SynchroniseButtonCtrl(), Qt::LeftButton);
        EXPECT_EQ(outcome, SyncRun::Outcome::Succeeded);
        QTest::mouseClick(dialog->Control(CConnexion::CloseButton), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The synchronisation from the menu, which finishes the stopped run at
    // once: only that is told, and entry 201, which the run deleted, is
    // back on neither side.
    void finishFromTheMenu(int id, const QString &localPath)
    {
        QPointer<CConnexion> dialog = openSynchronisation();
        ASSERT_TRUE(dialog);
        MessageBoxAnswers boxes;
        boxes.Push(1);
        QTest::mouseClick(dialog->Control(CConnexion::SynchroniseButton), Qt::LeftButton);
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_EQ(boxes.AskedBoxes().front().text, Platform::Texts::get(CConnexion::FinishedText));
        EXPECT_FALSE(dialog->ReviewPending());
        QTest::mouseClick(dialog->Control(CConnexion::CloseButton), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QString &side : {localPath, deviceDb})
            EXPECT_EQ(json(side, "select count(*) n from Taches where Id=201"), "[{\"n\":0}]") << side.toStdString();
        nothingKeptFor(id);
    }
    // The analysis from the menu, then Annuler in the review: the boxes it
    // showed, and entry 201 offered as made there.
    std::vector<QString> analyseThenCancel()
    {
        std::vector<QString> told;
        QPointer<CConnexion> dialog = openSynchronisation();
        EXPECT_TRUE(dialog);
        if (!dialog)
            return told;
        MessageBoxAnswers boxes;
        boxes.Push(1);
        QTest::mouseClick(dialog->Control(CConnexion::SynchroniseButton), Qt::LeftButton);
        for (const auto &box : boxes.AskedBoxes())
            told.push_back(box.text);
        EXPECT_TRUE(dialog->ReviewPending());
        if (dialog->ReviewPending()) {
            EXPECT_EQ(SuggestedAction(*dialog, 201), int(SyncItem::KeepLocal));
            dialog->Review()->Cancel();
        }
        QTest::mouseClick(dialog->Control(CConnexion::CloseButton), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return told;
    }
    QPointer<CConnexion> openSynchronisation()
    {
        QAction *sync = app->MainFrame()->Commands().Action(32794);
        EXPECT_NE(sync, nullptr);
        if (!sync)
            return nullptr;
        sync->trigger();
        QPointer<CConnexion> dialog = shownSynchronisation();
        if (dialog) {
            dialog->OnDeviceNotice(0);
            EXPECT_TRUE(dialog->Control(CConnexion::SynchroniseButton)->isEnabled());
        }
        return dialog;
    }
    // The synchronisation dialog shown (the last one listed), or null.
    static QPointer<CConnexion> shownSynchronisation()
    {
        QPointer<CConnexion> dialog;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<CConnexion *>(widget); found && found->isVisible())
                dialog = found;
        }
        return dialog;
    }
    // The folders page run through the options: `users` and `data` typed
    // (null: left as they are), `move` the answer to each question.
    void setFolders(const QString &users, const QString &data, int move)
    {
        COptionsDialog::SetRunner([&](CPrefsDialog &frame) {
            frame.InitDialog();
            frame.show();
            if (!users.isNull()) {
                frame.findChild<QLineEdit *>(QString::number(COptDir::UsersEdit))->setText(users);
            }
            if (!data.isNull()) {
                frame.findChild<QLineEdit *>(QString::number(COptDir::TemplatesEdit))->setText(data);
            }
            // One question for each folder typed.
            if (!users.isNull()) {
                answers->Push(move);
            }
            if (!data.isNull()) {
                answers->Push(move);
            }
            QTest::mouseClick(frame.OkButton(), Qt::LeftButton);
            return frame.result() == QDialog::Accepted ? 1 : 2;
        });
        app->ShowOptions(3);
        if (!users.isNull()) {
            EXPECT_EQ(app->Configuration().usersFolder, users);
        }
        if (!data.isNull()) {
            EXPECT_EQ(app->Configuration().dataFolder, data);
        }
    }
    // A users folder `folder` beside the program's, holding a user `name`
    // and that user's database; `id` is the user's id there.
    static void userInAnotherFolder(const QString &folder, const QString &name, int &id)
    {
        QDir().mkpath(folder + name);
        CUsers::SetUsersFolderSource([folder] { return folder; });
        {
            CUsers list;
            tUsers user;
            user.Nom = name;
            ASSERT_EQ(list.AddUser(user), CUsers::Done);
            id = user.Id;
            tUsers selected;
            ASSERT_TRUE(list.SelectUser(user.Id, selected));
            CBdD db(folder + name + QStringLiteral("/Zarvo.sdb"));
            ASSERT_TRUE(db.IsOpen());
        }
        CUsers::SetUsersFolderSource({});
    }
    static QString recordedDatabase(int id)
    {
        const std::optional<SyncPending::Record> kept = SyncPending::Load(id);
        return kept ? kept->databasePath : QString();
    }

    // Entry 201 as made in the other database, live on both sides.
    void entryLivesOnBothSides(const QString &localPath)
    {
        for (const QString &side : {localPath, deviceDb})
            EXPECT_EQ(json(side, "select Title, Deleted from Taches where Id=201"),
                      "[{\"Title\":\"autre\",\"Deleted\":0}]")
                << side.toStdString();
    }

    CLanguageSelector languages;
    QString root;
    QString deviceDb;
};

} // namespace

TEST_F(StoppedRunEndsTest, TheRecordGoesWithItsUserAndServesNoneGivenTheSameIdLater)
{
    const int anne = addUser(QStringLiteral("Anne"));
    const int bruno = addUser(QStringLiteral("Bruno"));
    ASSERT_TRUE(app->Users().SwitchUser(anne));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(stopARun(QStringLiteral("Bruno"), bruno, databaseOf(QStringLiteral("Bruno"))));

    {
        CDlgUsers dialog(app->Users(), app->Configuration(), [](QWidget *) { return -1; });
        dialog.show();
        const auto found = dialog.ListControl()->findItems(QStringLiteral("Bruno"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        dialog.ListControl()->setCurrentItem(found.front());
        answers->Push(MessageBoxAnswer::Yes, true);
        QTest::mouseClick(dialog.findChild<QPushButton *>(QString::number(CDlgUsers::DeleteButton)), Qt::LeftButton);
    }
    tUsers gone;
    ASSERT_FALSE(app->Users().LoadUserByName(QStringLiteral("Bruno"), gone));
    nothingKeptFor(bruno);

    // The program installed again with a users folder made anew, whose
    // second user has Bruno's id and a database of its own.
    app.reset();
    usersFolder = TestFolders::root() + QStringLiteral("/users again/");
    {
        Platform::Settings settings;
        settings.setString(u"Config", u"Rep", u"Users", usersFolder);
        settings.sync();
    }
    app = std::make_unique<CZarvoWinApp>();
    addUser(QStringLiteral("Anne"));
    const int carla = addUser(QStringLiteral("Carla"));
    ASSERT_EQ(carla, bruno);
    makeEntryThere(databaseOf(QStringLiteral("Carla")));
    ASSERT_NO_FATAL_FAILURE(start());
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Carla");
    ASSERT_NO_FATAL_FAILURE(synchroniseAsSuggested());
    entryLivesOnBothSides(databaseOf(QStringLiteral("Carla")));
}

TEST_F(StoppedRunEndsTest, TheRecordStaysWhenTheOptionsPointTheUsersFolderElsewhere)
{
    const int anne = addUser(QStringLiteral("Anne"));
    const QString first = usersFolder;
    // Another users folder, with an Anne of the same id and her database.
    const QString other = TestFolders::root() + QStringLiteral("/other/");
    int there = -1;
    ASSERT_NO_FATAL_FAILURE(userInAnotherFolder(other, QStringLiteral("Anne"), there));
    ASSERT_EQ(there, anne);
    makeEntryThere(other + QStringLiteral("Anne/Zarvo.sdb"));
    ASSERT_NO_FATAL_FAILURE(start());
    const QString own = databaseOf(QStringLiteral("Anne"));
    ASSERT_NO_FATAL_FAILURE(stopARun(QStringLiteral("Anne"), anne, own));
    const QString record = SyncPending::RecordPath(anne);

    // The folders page: the other folder typed, its files not moved.
    setFolders(other, QString(), MessageBoxAnswer::No);
    ASSERT_EQ(app->Users().GetCurrentDatabasePath(true), other + QStringLiteral("Anne/Zarvo.sdb"));
    EXPECT_EQ(recordedDatabase(anne), own);

    // The database found there is told once, nothing of the record applied.
    EXPECT_EQ(analyseThenCancel(),
              std::vector<QString>{Platform::Formatter::sprintf(
                  Platform::Texts::get(SyncAnalysis::RecordOfAnotherDatabaseText), {own, record})});
    EXPECT_EQ(analyseThenCancel(), std::vector<QString>{});
    EXPECT_EQ(recordedDatabase(anne), own);

    // The first folder chosen again: the record finishes its run.
    setFolders(first, QString(), MessageBoxAnswer::No);
    ASSERT_EQ(app->Users().GetCurrentDatabasePath(true), own);
    ASSERT_NO_FATAL_FAILURE(finishFromTheMenu(anne, own));
    EXPECT_EQ(json(other + QStringLiteral("Anne/Zarvo.sdb"), "select Title from Taches where Id=201"),
              "[{\"Title\":\"autre\"}]");
}

TEST_F(StoppedRunEndsTest, TheRecordGoesToldOnceWhenItsDatabaseIsGone)
{
    const int anne = addUser(QStringLiteral("Anne"));
    const QString other = TestFolders::root() + QStringLiteral("/other/");
    int there = -1;
    ASSERT_NO_FATAL_FAILURE(userInAnotherFolder(other, QStringLiteral("Anne"), there));
    makeEntryThere(other + QStringLiteral("Anne/Zarvo.sdb"));
    ASSERT_NO_FATAL_FAILURE(start());
    const QString own = databaseOf(QStringLiteral("Anne"));
    ASSERT_NO_FATAL_FAILURE(stopARun(QStringLiteral("Anne"), anne, own));
    const QString record = SyncPending::RecordPath(anne);
    setFolders(other, QString(), MessageBoxAnswer::No);
    ASSERT_TRUE(QFile::remove(own));

    // Told once that what the run deleted may come back: it can never be
    // finished.
    EXPECT_EQ(analyseThenCancel(), std::vector<QString>{Platform::Formatter::sprintf(
                                       Platform::Texts::get(SyncAnalysis::RecordNoLongerServesText), {record})});
    nothingKeptFor(anne);
    EXPECT_EQ(analyseThenCancel(), std::vector<QString>{});
    ASSERT_NO_FATAL_FAILURE(synchroniseAsSuggested());
    entryLivesOnBothSides(other + QStringLiteral("Anne/Zarvo.sdb"));
}

TEST_F(StoppedRunEndsTest, TheRecordFollowsItsDatabaseWhenTheOptionsMoveTheFolders)
{
    const int anne = addUser(QStringLiteral("Anne"));
    ASSERT_NO_FATAL_FAILURE(start());
    const QString first = usersFolder;
    const QString firstData = dataFolder;
    TestFolders::writeFile(QStringLiteral("data/Facture.tpl"), "template");
    ASSERT_NO_FATAL_FAILURE(stopARun(QStringLiteral("Anne"), anne, databaseOf(QStringLiteral("Anne"))));

    // Moved with its files, the record names the database at its new
    // place; moved back, at the first again.
    const QString moved = TestFolders::root() + QStringLiteral("/Ailleurs/Utilisateurs/");
    setFolders(moved, QString(), MessageBoxAnswer::Yes);
    ASSERT_FALSE(QFileInfo::exists(databaseOf(QStringLiteral("Anne"))));
    EXPECT_EQ(recordedDatabase(anne), moved + QStringLiteral("Anne/Zarvo.sdb"));
    setFolders(first, QString(), MessageBoxAnswer::Yes);
    ASSERT_FALSE(QFileInfo::exists(moved + QStringLiteral("Anne/Zarvo.sdb")));
    EXPECT_EQ(recordedDatabase(anne), databaseOf(QStringLiteral("Anne")));
    // The templates folder holds no database: the record stays as it is.
    const QString data = TestFolders::root() + QStringLiteral("/Modeles/");
    setFolders(QString(), data, MessageBoxAnswer::Yes);
    ASSERT_FALSE(QFileInfo::exists(firstData + QStringLiteral("Facture.tpl")));
    EXPECT_EQ(recordedDatabase(anne), databaseOf(QStringLiteral("Anne")));

    // The users folder moved once more, and the run finished there.
    setFolders(moved, QString(), MessageBoxAnswer::Yes);
    ASSERT_EQ(app->Users().GetCurrentDatabasePath(true), moved + QStringLiteral("Anne/Zarvo.sdb"));
    ASSERT_NO_FATAL_FAILURE(finishFromTheMenu(anne, moved + QStringLiteral("Anne/Zarvo.sdb")));
}

TEST_F(StoppedRunEndsTest, TheRecordFollowsAUserRenamedInTheUsersDialog)
{
    addUser(QStringLiteral("Anne"));
    const int bruno = addUser(QStringLiteral("Bruno"));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(stopARun(QStringLiteral("Bruno"), bruno, databaseOf(QStringLiteral("Bruno"))));
    {
        CDlgUser dialog(app->Users(), bruno, false, 0xE6E6E6);
        dialog.show();
        EnterName(dialog.NameControl(), QStringLiteral("Bruno Martin"));
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("1")), Qt::LeftButton);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    const QString renamed = databaseOf(QStringLiteral("Bruno Martin"));
    ASSERT_TRUE(QFileInfo::exists(renamed));
    ASSERT_FALSE(QFileInfo::exists(databaseOf(QStringLiteral("Bruno"))));
    EXPECT_EQ(recordedDatabase(bruno), renamed);
    // The device associated again with the user by its new name.
    TestFolders::writeFile(QStringLiteral("Device/Program Files/Zarvo/Id.txt"), "Bruno Martin");
    ASSERT_NO_FATAL_FAILURE(finishFromTheMenu(bruno, renamed));
}
