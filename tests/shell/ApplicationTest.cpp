// The application object: what it owns and plugs in, the layout version,
// the upgrade notice, the title and the start-up sequence.
#include "AppFixture.h"
#include "CAnnulation.h"
#include "CConfiguration.h"
#include "CFirstDayOfWeek.h"
#include "CProjectStore.h"
#include "CmyDataBase.h"
#include "FolderMoveMarker.h"
#include "Formatter.h"
#include "Texts.h"

#include <QApplication>
#include <QLocale>

namespace {

class ApplicationTest : public AppFixture
{
};

} // namespace

TEST_F(ApplicationTest, OwnsItsMembersAndPlugsThemIntoTheDataStore)
{
    EXPECT_EQ(CZarvoWinApp::Instance(), app.get());
    EXPECT_EQ(CAppData::Users(), &app->Users());
    EXPECT_EQ(CAppData::ProjectStore(), &app->ProjectStore());
    EXPECT_EQ(CAppData::Annulation(), &app->Annulation());
    EXPECT_EQ(CAppData::Configuration(), &app->Configuration());
    EXPECT_EQ(CAppData::CurrentEntry(), &app->CurrentEntry());
    EXPECT_EQ(app->CommonTexts().size(), CZarvoWinApp::CommonTextCount);
    EXPECT_EQ(app->CurrentEntry().Entry.Id, -1);
    EXPECT_TRUE(app->InStartup());
    EXPECT_FALSE(app->IsReady());
    // The calendars of the controls read the configured first day.
    for (int weekday : {7, 2}) {
        app->Configuration().firstDayOfWeek = weekday;
        EXPECT_EQ(CFirstDayOfWeek::Configured(), weekday);
    }
    app.reset();
    EXPECT_EQ(CZarvoWinApp::Instance(), nullptr);
    EXPECT_EQ(CAppData::Users(), nullptr);
    EXPECT_EQ(CAppData::ProjectStore(), nullptr);
    EXPECT_EQ(CFirstDayOfWeek::Configured(), CFirstDayOfWeek::FromLocale(QLocale::system()));
}

TEST_F(ApplicationTest, ASavedLayoutOfAnotherVersionIsReset)
{
    const struct
    {
        int workspace, toolbars; // -1: absent
        int reset;
        bool toolbarsKept, dockingKept;
    } cases[] = {
        {-1, -1, 2, false, false},
        {1, -1, 1, false, true},
        {1, 2, 0, true, true},
        {0, 2, 2, false, false},
    };
    for (const auto &c : cases) {
        Platform::Settings s;
        s.removePrefix(QStringLiteral("Misc/"));
        if (c.workspace >= 0)
            s.setInt(u"Misc", u"", u"Workspace", c.workspace);
        if (c.toolbars >= 0)
            s.setInt(u"Misc", u"", u"Toolbars", c.toolbars);
        s.setInt(u"Workspace", u"", u"ApplicationLook", 212);
        s.setInt(u"Workspace", u"MFCToolBar-129", u"Buttons", 7);
        s.setInt(u"Workspace", u"MFCToolBarParameters", u"Tooltips", 1);
        s.setInt(u"Workspace", u"Forecast", u"ForecastView", 1);
        s.setInt(u"Workspace", u"DockingManager", u"State", 3);

        EXPECT_EQ(CZarvoWinApp::CheckLayoutVersion(s), c.reset) << c.workspace << "/" << c.toolbars;
        EXPECT_EQ(s.getInt(u"Misc", u"", u"Workspace", 0), 1);
        EXPECT_EQ(s.contains(u"Misc", u"", u"Toolbars"), c.reset != 2 || c.toolbars >= 0);
        EXPECT_EQ(s.contains(u"Workspace", u"MFCToolBar-129", u"Buttons"), c.toolbarsKept);
        EXPECT_EQ(s.contains(u"Workspace", u"MFCToolBarParameters", u"Tooltips"), c.toolbarsKept);
        EXPECT_EQ(s.contains(u"Workspace", u"DockingManager", u"State"), c.dockingKept);
        EXPECT_EQ(s.contains(u"Workspace", u"Forecast", u"ForecastView"), c.dockingKept);
        // The visual style is a value of the base, no saved layout.
        EXPECT_EQ(s.getInt(u"Workspace", u"", u"ApplicationLook", 0), 212);
    }
    // From the first start on: two resets, then none.
    Platform::Settings s;
    s.removePrefix(QStringLiteral("Misc/"));
    EXPECT_EQ(CZarvoWinApp::CheckLayoutVersion(s), 2);
    EXPECT_EQ(CZarvoWinApp::CheckLayoutVersion(s), 1);
    EXPECT_EQ(CZarvoWinApp::CheckLayoutVersion(s), 0);
}

TEST_F(ApplicationTest, AnUpgradeNoticeNamesItsOutcome)
{
    const QString done = QStringLiteral("La mise à jour de la base de données s'est terminée avec succès.");
    const struct
    {
        QString notice;
        int textId;
        QString text;
    } cases[] = {
        {QString(), 620, done},
        {QStringLiteral("/home/anne/Zarvo_V1_20240131174502.sdb"), 621, done},
        {QStringLiteral("Error : -3"), 618, QStringLiteral("Erreur n° : -3")},
        {QStringLiteral("Error : 11"), 618, QStringLiteral("Erreur n° : 11")},
        {QStringLiteral("Error"), 618, QStringLiteral("Erreur n° : 0")},
        {QStringLiteral("Version : 3"), CBdD::TextTooNew,
         QStringLiteral("(version 3 de la base) : elle n'a pas été ouverte et n'a pas été modifiée.\n"
                        "Veuillez installer la dernière version de Zarvo pour l'utiliser.")},
    };
    for (const auto &c : cases) {
        int id = 0;
        const QString text = CZarvoWinApp::UpgradeNoticeText(c.notice, &id);
        EXPECT_EQ(id, c.textId) << c.notice.toStdString();
        EXPECT_TRUE(text.endsWith(c.text)) << text.toStdString();
    }
}

TEST_F(ApplicationTest, AnUpgradeNoticeWaitsForTheEndOfStartUpThenShowsAtOnce)
{
    answers->AnswerNotices();
    app->OnUpgradeNotice(QStringLiteral("Error : 5"));
    EXPECT_TRUE(app->HasPendingNotice());
    EXPECT_TRUE(boxes().empty());

    useMainWindow();
    ASSERT_TRUE(app->InitInstance());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconExclamation);
    EXPECT_EQ(boxes()[0].caption, QStringLiteral("Erreur"));
    EXPECT_TRUE(boxes()[0].text.endsWith(QStringLiteral("Erreur n° : 5")));
    EXPECT_FALSE(app->HasPendingNotice());

    app->OnUpgradeNotice(QString());
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].icon, MessageBoxType::IconAsterisk);
    EXPECT_EQ(boxes()[1].caption, QStringLiteral("Information"));
}

TEST_F(ApplicationTest, AUsersDatabaseOfALaterVersionIsToldOnceStartedAndLeftAsItIs)
{
    answers->AnswerNotices();
    addUser(QStringLiteral("Anne"));
    const QString usersDatabase = CUsers::GetUsersDatabasePath();
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(usersDatabase), 0);
        ASSERT_EQ(db.Execute(u"update Infos set Value='4' where Name='VersionDB'"), 0);
    }
    const QByteArray before = TestFolders::readFile(usersDatabase);
    clearBoxes();
    useMainWindow();
    ASSERT_TRUE(app->InitInstance());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconExclamation);
    EXPECT_EQ(boxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(CZarvoWinApp::TextLaterUsersDatabase),
                                                            {QDir::toNativeSeparators(usersDatabase), 4}));
    // Read all the same: the selected user is the current one.
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo (Anne)"));
    EXPECT_EQ(TestFolders::readFile(usersDatabase), before);
}

TEST_F(ApplicationTest, AFolderMoveKilledWhileItRemovedTheOriginalsIsEndedAtStart)
{
    addUser(QStringLiteral("Anne"));
    // What such a move leaves: the users folder the settings name holds the
    // copies and the move's record; the old one an original not yet removed
    // and a locked database set aside.
    const QString old = TestFolders::root() + QStringLiteral("/oldUsers/");
    TestFolders::writeFile(QStringLiteral("oldUsers/Anne/notes.txt"), "notes");
    TestFolders::writeFile(QStringLiteral("oldUsers/.zarvo-moved/0"), "database");
    TestFolders::writeFile(QStringLiteral("oldUsers/kept.txt"), "not moved");
    {
        FolderMoveMarker record;
        ASSERT_TRUE(record.Begin(old, usersFolder));
        ASSERT_TRUE(record.Add(QStringLiteral("Anne"), true));
        ASSERT_TRUE(record.Add(QStringLiteral("Anne/notes.txt"), false));
        ASSERT_TRUE(record.Add(QStringLiteral("Anne/Zarvo.sdb"), false));
        ASSERT_TRUE(record.MarkCopied());
        ASSERT_TRUE(record.MarkRemoving());
    }
    useMainWindow();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(QDir(old).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("kept.txt")});
    EXPECT_TRUE(FolderMoveMarker::RecordsIn(usersFolder).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(databaseOf(QStringLiteral("Anne"))));
}

TEST_F(ApplicationTest, OpeningAnOldDatabaseTellsTheUpgrade)
{
    addUser(QStringLiteral("Anne"));
    clearBoxes();
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(databaseOf(QStringLiteral("Anne"))), 0);
        // A version the program knows nothing of is left alone and told as
        // nothing; a version 1 mark on a current schema is upgraded or fails,
        // and either way the user hears of it.
        ASSERT_EQ(db.Execute(u"update Infos set Value='1' where Name='VersionDB'"), 0);
    }
    CBdD::CloseSharedConnection();
    app->Users().LoadSelectedUser();
    EXPECT_TRUE(app->HasPendingNotice()); // still starting: kept for later
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ApplicationTest, StartUpSetsTheTitleAndRunsTheStepsInOrder)
{
    addUser(QStringLiteral("Anne"));
    std::vector<std::string> steps;
    auto &s = app->Startup();
    s.chooseLanguage = [&] { steps.push_back("language"); };
    s.loadReportColumns = [&] { steps.push_back("columns"); };
    s.showSplash = [&]() -> QWidget * {
        steps.push_back("splash");
        return nullptr;
    };
    s.runFirstStartWizard = [&] { steps.push_back("wizard"); };
    s.restoreTaskPane = [&] { steps.push_back("tasks"); };
    s.openCalendar = [&] { steps.push_back("calendar"); };
    s.restoreForecastView = [&] {
        steps.push_back("forecast");
        return false;
    };
    s.reopenReports = [&] { steps.push_back("reports"); };
    useMainWindow();
    Platform::Clock::setFixedNow(QDateTime(QDate(2024, 3, 31), QTime(12, 0)).toSecsSinceEpoch());
    ASSERT_TRUE(app->InitInstance());
    // The data folder exists: no wizard.
    EXPECT_EQ(steps, (std::vector<std::string>{"language", "columns", "splash", "tasks", "calendar", "forecast",
                                               "reports"}));
    ASSERT_NE(app->MainWindow(), nullptr);
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo (Anne)"));
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 31));
    EXPECT_TRUE(app->IsReady());
    EXPECT_FALSE(app->InStartup());
}

TEST_F(ApplicationTest, TheTitleNamesTheUserOrWithoutOneTheProgramAlone)
{
    // Started without a user: no empty parentheses after the name.
    useMainWindow();
    ASSERT_TRUE(app->InitInstance());
    ASSERT_NE(app->MainWindow(), nullptr);
    EXPECT_EQ(app->Users().GetCurrentName(), QString());
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo"));
    // A user made and chosen: named; a users folder without one: the
    // name alone again.
    addUser(QStringLiteral("Anne"));
    app->UpdateMainTitle();
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo (Anne)"));
    const QString empty = TestFolders::root() + QStringLiteral("/no users/");
    QDir().mkpath(empty);
    Platform::Settings().setString(u"Config", u"Rep", u"Users", empty);
    app->Users().LoadSelectedUser();
    app->UpdateMainTitle();
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo"));
}

TEST_F(ApplicationTest, WithoutADataFolderTheWizardRunsAndTheTrayStartsWhenInstalled)
{
    Platform::Settings().setString(u"Config", u"Rep", u"Data", TestFolders::root() + QStringLiteral("/gone/"));
    int wizards = 0;
    QStringList started;
    app->Startup().runFirstStartWizard = [&] { ++wizards; };
    app->SetTrayLauncher([&](const QString &path) {
        started << path;
        return true;
    });
    app->Configuration().Load();
    // No tray program installed: the wizard runs, nothing is started.
    app->SetProgramFolder(TestFolders::root());
    app->RunFirstStart();
    EXPECT_EQ(wizards, 1);
    EXPECT_TRUE(started.isEmpty());
    // Installed beside the program: started after the wizard.
    const QString tray = TestFolders::writeFile(QStringLiteral("ZarvoTray"), QByteArray("#!/bin/sh\n"));
    app->RunFirstStart();
    EXPECT_EQ(wizards, 2);
    EXPECT_EQ(started, QStringList{tray});
    // A data folder that exists: neither.
    app->Configuration().dataFolder = dataFolder;
    app->RunFirstStart();
    EXPECT_EQ(wizards, 2);
    EXPECT_EQ(started.size(), 1);
}

TEST_F(ApplicationTest, NoMainWindowEndsTheStart)
{
    app->SetMainWindowFactory([] { return nullptr; });
    EXPECT_FALSE(app->InitInstance());
}
