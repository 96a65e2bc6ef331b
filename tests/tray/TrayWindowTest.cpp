// The tray window offscreen, with a fake notification-area icon and a fixed
// clock, on a user database that the test writes as the main program would.
#include "CAppData.h"
#include "CDayCtrl.h"
#include "CTrayToolTip.h"
#include "CViewTask.h"
#include "DayStripGeometry.h"
#include "CBdD.h"
#include "CMyDesktopButton.h"
#include "CMyMFCButton.h"
#include "COwnerDrawListBox.h"
#include "CUsers.h"
#include "CViewResume.h"
#include "CZarvoTrayApp.h"
#include "CZarvoTrayDlg.h"
#include "Clock.h"
#include "CmyDataBase.h"
#include "FakeTrayIcon.h"
#include "LocalTime.h"
#include "LookPalette.h"
#include "MessageBoxAnswers.h"
#include "QStringPrinter.h"
#include "RegisteredMessages.h"
#include "Settings.h"
#include "TestFolders.h"
#include "TrayCommands.h"
#include "WidgetIds.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QFile>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QScrollBar>

using namespace TrayCommands;

namespace {

class TrayWindowTest : public ::testing::Test
{
protected:
    // Tuesday 10 March 2026 in Paris.
    static inline const QDate Today{2026, 3, 10};
    static qint64 at(int h, int m, const QDate &day = Today) { return Platform::LocalTime::atMinute(day, h * 60 + m); }

    void SetUp() override
    {
        now = at(18, 0);
        Platform::Clock::setNowSource([this] { return now; });
        folder = TestFolders::root() + QStringLiteral("/users/");
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("Anne")));
        CUsers::SetUsersFolderSource({});
        settings.setString(u"Config", u"Rep", u"Users", folder);
        SQLite::CmyDataBase users;
        ASSERT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
        ASSERT_EQ(users.Execute(u"create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected "
                                u"integer, Key text, Color int, TypeColor int, LastBackup int)"),
                  0);
        ASSERT_EQ(users.Execute(u"insert into Users (Nom, Selected) values ('Anne', 1)"), 0);
        path = folder + QStringLiteral("Anne/Zarvo.sdb");
        makeDatabase();
    }
    void TearDown() override
    {
        window = nullptr;
        app.reset();
        CZarvoTrayDlg::Dialogs() = {};
        CAppData::Clear();
    }
    void makeDatabase()
    {
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'Client',-1,0,1,1)");
        db.Execute(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,"
                   u"Deleted,Title) values (2,32,-1,-1,5,1,1,0,'Réunion')");
    }
    // A time entry put in by another program, and 'Modif' stamped as its
    // writes stamp it.
    void put(int id, qint64 start, qint64 end) const
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                            "IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                            "(%1,%2,%3,32,-1,0,-1,%2,1,0,'','')")
                                 .arg(id)
                                 .arg(start)
                                 .arg(end)),
                  0);
        ASSERT_EQ(db.Execute(QStringLiteral("update Infos set Value='%1' where Name='Modif'").arg(now)), 0);
    }
    QString cell(const QString &sql) const
    {
        SQLite::CmyDataBase db;
        db.OpenReadOnly(path);
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }

    void start(bool trayAvailable = true, const QStringList &arguments = {QStringLiteral("ZarvoTray")})
    {
        app = std::make_unique<CZarvoTrayApp>();
        app->SetIconFactory([this, trayAvailable] {
            auto fake = std::make_unique<FakeTrayIcon>(trayAvailable);
            icon = fake.get();
            return fake;
        });
        app->SetProgramStarter([this](const QString &program) {
            started << program;
            return true;
        });
        app->SetProgramFolder(TestFolders::root());
        app->LoadSettings();
        app->SelectUserAndDatabase();
        window = app->CreateWindow(arguments);
        ASSERT_NE(window, nullptr);
    }
    void notice(quint64 kind)
    {
        app->HandleMessage({Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange), kind, 0});
    }
    QList<QAction *> menuItems() const { return window->PopupMenu()->actions(); }
    QAction *menuItem(int command) const
    {
        for (QAction *a : menuItems())
            if (WidgetIds::CommandId(a) == command)
                return a;
        return nullptr;
    }

    qint64 now = 0;
    QString folder;
    QString path;
    Platform::Settings settings;
    std::unique_ptr<CZarvoTrayApp> app;
    CZarvoTrayDlg *window = nullptr;
    FakeTrayIcon *icon = nullptr;
    QStringList started;
};

} // namespace

TEST_F(TrayWindowTest, StartsHiddenBehindItsIconWithTheDayInTheTitleAndTheSummary)
{
    put(101, at(17, 0), 0);
    start();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(icon->shown);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 ( En cours ... )"));
    EXPECT_EQ(icon->tip, window->windowTitle());
    CViewResume *summary = window->Summary();
    EXPECT_EQ(summary->UserButton()->text(), QStringLiteral("Anne"));
    EXPECT_EQ(summary->TaskButton()->text(), QStringLiteral("1:00"));
    EXPECT_EQ(summary->TodayButton()->text(), QStringLiteral("1:00"));
    EXPECT_EQ(summary->CurrentPicture(), CViewResume::TaskPicture::Running);
    EXPECT_EQ(window->Tabs()->tabText(0), QStringLiteral("Favoris"));
    EXPECT_EQ(window->Tabs()->tabText(1), QStringLiteral("Historique"));
    // Nothing changed: the summary is not repainted.
    EXPECT_FALSE(summary->Refresh());
}

TEST_F(TrayWindowTest, ChangesOfTheOtherProgramShowAtThePollAndANoticeReadsTheSameSecond)
{
    put(101, at(17, 0), 0);
    start();
    // Another program stops the entry: 'Modif' moves, the poll reads it.
    now = at(18, 30);
    {
        CBdD main(path);
        ASSERT_TRUE(main.StopTimeEntry(101, at(18, 0)));
    }
    window->OnPollTimer();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00"));
    EXPECT_EQ(window->Summary()->TaskButton()->text(), QStringLiteral("..."));
    EXPECT_EQ(window->Summary()->CurrentPicture(), CViewResume::TaskPicture::Ended);

    // A write within the second the tray read leaves 'Modif' as it was: a
    // poll alone keeps the old day, the change notice reads it.
    put(102, at(18, 10), at(18, 20));
    window->OnPollTimer();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00"));
    notice(1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:10"));
}

TEST_F(TrayWindowTest, AtMidnightThePollReadsTheNewDayAndARunningEntryCountsFromMidnight)
{
    now = at(23, 0);
    put(101, at(22, 0), 0);
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 ( En cours ... )"));
    now = at(0, 30, Today.addDays(1));
    EXPECT_TRUE(app->PollData()) << "the day changed, 'Modif' did not";
    EXPECT_EQ(app->TodayText(), QStringLiteral("0:30"));
    EXPECT_EQ(app->LastTaskText(), QStringLiteral("0:30"));
    EXPECT_FALSE(app->PollData()) << "nothing changed since";
}

TEST_F(TrayWindowTest, NoticesAndReloadsDecideBetweenTheViewsAndTheMessage)
{
    start();
    ASSERT_FALSE(app->IsCompact());
    ASSERT_TRUE(QFile::remove(path));
    // Hidden: a reload asked only if shown does nothing, nor does a notice
    // of an unknown kind.
    window->Reload(true, false);
    EXPECT_FALSE(app->IsCompact());
    notice(6);
    EXPECT_FALSE(app->IsCompact());
    // The look changed in the main program: its palette is taken over.
    settings.setInt(u"Workspace", u"", u"ApplicationLook", 216);
    notice(5);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), LookPalette::ForLook(216).color(QPalette::Window));
    EXPECT_NE(LookPalette::ForLook(216).color(QPalette::Window), LookPalette::ForLook(214).color(QPalette::Window));
    notice(1);
    ASSERT_TRUE(app->IsCompact());
    EXPECT_EQ(app->CompactMessage(), QStringLiteral("L'utilisateur n'existe pas, ou la base de donnée est "
                                                    "introuvable.\nVeuillez sélectionner un autre utilisateur."));
    EXPECT_EQ(window->MessageButton()->text(), app->CompactMessage());

    // Made again by the main program: the next poll brings the views back.
    makeDatabase();
    window->OnPollTimer();
    EXPECT_FALSE(app->IsCompact());
    // Gone again, seen by the poll alone.
    ASSERT_TRUE(QFile::remove(path));
    window->OnPollTimer();
    EXPECT_TRUE(app->IsCompact());

    // Shown, the window holds only its message, at the required height.
    window->ShowOrHide();
    ASSERT_TRUE(window->isVisible());
    EXPECT_TRUE(window->MessageButton()->isVisible());
    EXPECT_FALSE(window->Summary()->isVisible());
    EXPECT_FALSE(window->Tabs()->isVisible());
    EXPECT_EQ(window->height(), TrayWindowSizing::RequiredHeight(window->Views()));
}

TEST_F(TrayWindowTest, WithoutAUsersDatabaseOrWithALaterFileTheWindowShowsItsMessageAndWritesNothing)
{
    settings.setString(u"Config", u"Rep", u"Users", QString());
    start();
    EXPECT_EQ(app->Compact(), CZarvoTrayApp::CompactReason::NoUsers);
    EXPECT_TRUE(app->CompactMessage().startsWith(QStringLiteral("Aucune base de données")));
    app.reset();

    settings.setString(u"Config", u"Rep", u"Users", folder);
    {
        CBdD db(path);
        db.Execute(u"update Infos set Value='3' where Name='VersionDB'");
    }
    const QByteArray bytes = TestFolders::readFile(path);
    start();
    EXPECT_EQ(app->User().databasePath, path);
    EXPECT_EQ(app->Compact(), CZarvoTrayApp::CompactReason::TooNew);
    EXPECT_TRUE(app->CompactMessage().contains(QStringLiteral("version plus récente")));
    MessageBoxAnswers answers;
    window->StartFrom(2, true, true);
    window->PauseOrResume();
    notice(0);
    EXPECT_EQ(TestFolders::readFile(path), bytes);
    EXPECT_TRUE(answers.AskedBoxes().empty());

    // A file that is not a database at all: the user has none.
    app.reset();
    TestFolders::writeFile(QStringLiteral("users/Anne/Zarvo.sdb"), "pas une base");
    start();
    EXPECT_EQ(app->Compact(), CZarvoTrayApp::CompactReason::NoDatabase);
}

TEST_F(TrayWindowTest, TheLeftClickFollowsItsSettingAndTheWindowRemembersBeingShown)
{
    int newTasks = 0;
    CZarvoTrayDlg::Dialogs().newTask = [&](QWidget *) { return ++newTasks, false; };
    start();
    icon->LeftClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(settings.getInt(u"Tray", u"Dialog", u"Visible", 0), 1);
    icon->LeftClick();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings.getInt(u"Tray", u"Dialog", u"Visible", 1), 0);

    app->Settings().leftClick = 1;
    QFile::copy(path, TestFolders::root() + QStringLiteral("/Zarvo")); // "installed" beside the tray
    icon->LeftClick();
    EXPECT_EQ(started, QStringList{TestFolders::root() + QStringLiteral("/Zarvo")});

    app->Settings().leftClick = 2;
    icon->LeftClick();
    EXPECT_EQ(newTasks, 1);
    // An entry in the future blocks the new task.
    put(101, at(19, 0), 0);
    icon->LeftClick();
    EXPECT_EQ(newTasks, 1);
    app->Settings().leftClick = 9;
    icon->LeftClick();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(TrayWindowTest, TheMenuIsBuiltAtEachRightClickAndStartsAFavouriteWithoutHiding)
{
    put(101, at(17, 0), 0);
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-V ")});
    ASSERT_TRUE(window->isVisible()) << "-v shows the window at start";
    EXPECT_EQ(settings.getInt(u"Tray", u"Dialog", u"Visible", 0), 1);

    icon->RightClick();
    QStringList texts;
    for (QAction *a : menuItems())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Démarrer Zarvo"), QStringLiteral("Masquer la fenêtre"),
                                  QStringLiteral("Afficher la fenêtre Infos"), QStringLiteral("-"),
                                  QStringLiteral("Nouvelle Tâche"), QStringLiteral("Pause"), QStringLiteral("Favoris"),
                                  QStringLiteral("Historique"), QStringLiteral("-"), QStringLiteral("Configuration"),
                                  QStringLiteral("-"), QStringLiteral("Quitter")}));
    EXPECT_EQ(window->PopupMenu()->defaultAction(), menuItem(ShowWindow));
    EXPECT_TRUE(menuItem(ShowWindow)->font().bold());
    ASSERT_EQ(window->FavouriteIds(), std::vector<int>{2});
    QMenu *favourites = menuItems()[6]->menu();
    ASSERT_NE(favourites, nullptr);
    ASSERT_EQ(favourites->actions().size(), 1);
    EXPECT_EQ(favourites->actions()[0]->text(), QStringLiteral("Réunion"));

    now = at(18, 5);
    favourites->actions()[0]->trigger();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(at(18, 5)));
    EXPECT_EQ(cell(QStringLiteral("select Title from Taches where Fin=0 and Deleted=0")), QStringLiteral("Réunion"));
    EXPECT_TRUE(window->isVisible()) << "a favourite of the menu keeps the window";

    // Rebuilt at the next click: the entry runs, so "Pause"; pausing it
    // ends it and the next menu offers "Reprendre".
    icon->RightClick();
    menuItem(Pause)->trigger();
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), QStringLiteral("0"));
    icon->RightClick();
    EXPECT_EQ(menuItem(Pause), nullptr);
    ASSERT_NE(menuItem(Resume), nullptr);
    menuItem(Resume)->trigger();
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), QStringLiteral("1"));
}

TEST_F(TrayWindowTest, AnEntryInTheFutureOrAFavouriteGoneStopsTheStartWithAMessage)
{
    MessageBoxAnswers answers;
    answers.Push(1);
    answers.Push(1);
    start();
    put(101, at(19, 0), 0);
    icon->RightClick();
    EXPECT_FALSE(menuItem(NewTask)->isEnabled());
    EXPECT_FALSE(menuItems()[6]->menu()->isEnabled());
    EXPECT_TRUE(window->FavouriteIds().empty());
    window->StartFrom(2, true, false);
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, QStringLiteral("La base de données contient une tâche dans le futur.\nIl "
                                                          "est impossible d'utiliser la fonction de lancement rapide."));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("1"));

    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"delete from Taches"), 0);
        ASSERT_EQ(db.Execute(u"delete from Favoris"), 0);
    }
    window->StartFrom(2, true, false);
    ASSERT_EQ(answers.AskedBoxes().size(), 2u);
    EXPECT_EQ(answers.AskedBoxes()[1].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(answers.AskedBoxes()[1].caption, QStringLiteral("Erreur"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("0"));
    EXPECT_TRUE(app->Favourites().empty()) << "the lists were read again";
}

TEST_F(TrayWindowTest, TheSummaryPausesAndResumesAndKeepsItsButtonsEvenWhenNarrower)
{
    put(101, at(17, 0), 0);
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    CViewResume *summary = window->Summary();
    QTest::mouseClick(summary->TaskButton(), Qt::LeftButton);
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(now));
    EXPECT_EQ(summary->CurrentPicture(), CViewResume::TaskPicture::Ended);
    now += 60;
    QTest::mouseClick(summary->TaskButton(), Qt::LeftButton);
    EXPECT_EQ(summary->CurrentPicture(), CViewResume::TaskPicture::Running);

    for (int width : {summary->RecordedSize().width(), 161, 400}) {
        const auto g = CViewResume::Geometry(width, 5, 5, 20, 30, 40);
        EXPECT_EQ(g.task.width(), g.today.width()) << width;
        EXPECT_EQ(g.task.left(), 5);
        EXPECT_EQ(g.today.left() - (g.task.left() + g.task.width()), 5) << "the same margin between them";
        EXPECT_LE(g.today.left() + g.today.width(), width - 5 + 1);
        EXPECT_EQ(g.user.width(), width - 10);
    }
}

TEST_F(TrayWindowTest, WithEveryViewOffTheWindowKeepsItsToolbarAndCaption)
{
    for (const char16_t *view : {u"ShowResume", u"ShowDay", u"ShowTask", u"ShowFav"})
        settings.setInt(u"Tray", u"Config", QStringView(view), 0);
    settings.setInt(u"Tray", u"Dialog", u"Height", 900);
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    EXPECT_TRUE(window->ToolBar()->isVisible());
    EXPECT_FALSE(window->Summary()->isVisible());
    EXPECT_FALSE(window->Tabs()->isVisible());
    EXPECT_EQ(window->height(), window->ToolBar()->height() + 5 + window->CaptionHeight());
    app->Settings().showToolBar = false;
    window->LayoutViews();
    EXPECT_FALSE(window->ToolBar()->isVisible());
    EXPECT_EQ(TrayWindowSizing::RequiredHeight(window->Views()), 5 + window->CaptionHeight());
}

TEST_F(TrayWindowTest, WithoutANotificationAreaTheWindowIsANormalOneThatClosingMinimises)
{
    start(false);
    ASSERT_TRUE(window->isVisible()) << "shown at start";
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
    // A second copy brings it back.
    app->HandleMessage({Platform::MessageBus::registerMessage(CZarvoTrayApp::WakeMessageName), 0, 0});
    EXPECT_FALSE(window->isMinimized());
    // Every command stays within reach of the menu button.
    QTest::mouseClick(window->MenuButton(), Qt::LeftButton);
    ASSERT_NE(window->PopupMenu(), nullptr);
    EXPECT_NE(menuItem(Quit), nullptr);
}

namespace {
// Collects the statements every connection of this process runs.
QStringList *s_statements = nullptr;
int traceStatement(unsigned, void *, void *p, void *)
{
    if (s_statements)
        *s_statements << QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(p)));
    return 0;
}
int installTrace(sqlite3 *db, char **, const void *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &traceStatement, nullptr);
    return SQLITE_OK;
}
} // namespace

TEST_F(TrayWindowTest, APollWithNothingChangedReadsOnlyModif)
{
    put(101, at(17, 0), 0);
    start();
    QStringList statements;
    s_statements = &statements;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    now += 10;
    window->OnPollTimer();
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    s_statements = nullptr;
    QStringList reads;
    for (const QString &s : statements)
        if (!s.contains(u"sqlite_master") && (s.contains(u"Taches", Qt::CaseInsensitive) || s.contains(u"Favoris", Qt::CaseInsensitive)
            || s.contains(u"Projets", Qt::CaseInsensitive) || s.contains(u"Modif'", Qt::CaseInsensitive)))
            reads << s;
    ASSERT_EQ(reads.size(), 1) << reads.join(u'\n').toStdString();
    EXPECT_TRUE(reads[0].contains(QStringLiteral("Modif")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 ( En cours ... )"));
}

namespace {

// Two project groups: Client with "Réunion" (favourite 2), Interne with an
// untitled favourite 3; by projects the rows are Client, Réunion, Interne,
// the untitled one.
void addInterne(const QString &path)
{
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.Open(path), 0);
    ASSERT_EQ(db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                         u"(33,'Interne',-1,0,1,1)"),
              0);
    ASSERT_EQ(db.Execute(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,"
                         u"Origine_Modif,Deleted,Title) values (3,33,-1,-1,6,1,1,0,'')"),
              0);
}

QPoint rowCentre(COwnerDrawListBox *list, int row)
{
    return list->RowRect(row).center();
}

} // namespace

TEST_F(TrayWindowTest, AClickOrEnterOnAFavouriteStartsItWhileHeadersFoldAndArrowsOnlyMove)
{
    addInterne(path);
    settings.setInt(u"Tray", u"Favoris", u"Sorting", 1);
    put(101, at(17, 0), at(17, 30));
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    window->resize(320, 700);
    COwnerDrawListBox *list = window->FavouritesList();
    ASSERT_EQ(list->Model().RowCount(), 4);
    EXPECT_TRUE(list->Model().IsHeader(0));
    EXPECT_EQ(list->Model().RowItem(1).Text, QStringLiteral("Réunion"));
    const QString running = QStringLiteral("select count(*) from Taches where Fin=0 and Deleted=0");

    // A header click folds and unfolds, and neither selects nor starts.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
    EXPECT_EQ(list->Model().RowCount(), 3);
    EXPECT_EQ(list->Model().RowItem(2).State, DataItems::CollapsedGroup);
    EXPECT_EQ(cell(running), QStringLiteral("0"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
    EXPECT_EQ(list->Model().RowCount(), 4);

    // The arrows move the current row and start nothing; Enter starts.
    list->setFocus();
    list->SetCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->CurrentRow(), 1);
    EXPECT_EQ(cell(running), QStringLiteral("0"));
    now = at(18, 2);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(cell(QStringLiteral("select Title from Taches where Fin=0 and Deleted=0")), QStringLiteral("Réunion"));
    EXPECT_EQ(cell(QStringLiteral("select Debut from Taches where Fin=0 and Deleted=0")), QString::number(at(18, 2)));
    EXPECT_FALSE(window->isVisible()) << "a start from the window hides it";
    window->ShowOrHide();

    // A click on the untitled one ends it and starts that one.
    now = at(18, 10);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 3));
    EXPECT_EQ(cell(QStringLiteral("select IdProjet from Taches where Fin=0 and Deleted=0")), QStringLiteral("33"));
    EXPECT_EQ(cell(running), QStringLiteral("1"));

    // The history list, newest first, starts its combination on a click.
    window->ShowOrHide();
    window->Tabs()->setCurrentIndex(1);
    COwnerDrawListBox *history = window->HistoryList();
    ASSERT_EQ(history->Model().RowCount(), 2);
    EXPECT_TRUE(history->Model().HoverText(0, app->Store(), app->Texts()).contains(u"Interne"));
    now = at(18, 20);
    QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, rowCentre(history, 1));
    EXPECT_EQ(cell(QStringLiteral("select IdProjet from Taches where Fin=0 and Deleted=0")), QStringLiteral("32"));
    EXPECT_EQ(cell(QStringLiteral("select Debut from Taches where Fin=0 and Deleted=0")), QString::number(at(18, 20)));
}

TEST_F(TrayWindowTest, TheListsHoverWithoutReadingTheDatabaseAndKeepTheirFoldsForTheSameUserOnly)
{
    addInterne(path);
    settings.setInt(u"Tray", u"Favoris", u"Sorting", 1);
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    window->resize(320, 700);
    COwnerDrawListBox *list = window->FavouritesList();
    ASSERT_EQ(list->Model().RowCount(), 4);

    // Painting and hovering run no statement.
    QStringList statements;
    s_statements = &statements;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    QTest::mouseMove(list->viewport(), rowCentre(list, 1));
    list->viewport()->repaint();
    const QString hover = list->HoverText();
    QTest::mouseMove(list->viewport(), rowCentre(list, 0));
    list->viewport()->repaint();
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    s_statements = nullptr;
    EXPECT_TRUE(statements.isEmpty()) << statements.join(u'\n').toStdString();
    EXPECT_EQ(hover, QStringLiteral("Projet : Client\nActivité : <Activité non définie>\nTitre : Réunion\n\n"
                                    "(Cliquez pour reprendre maintenant)"));
    EXPECT_EQ(list->HoverRow(), 0);
    EXPECT_EQ(list->HoverText(), QString()) << "a header has no hover text";

    // Folded and kept across a reload and across a run of the same user.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
    window->Reload(false, false);
    EXPECT_EQ(list->Model().RowCount(), 3);
    window->Quit();
    EXPECT_EQ(settings.getString(u"Tray", u"Favoris", u"Collapsed", QString()), QStringLiteral("2;"));
    EXPECT_EQ(settings.getInt(u"Tray", u"Favoris", u"User", -1), app->User().userId);
    window = nullptr;
    app.reset();
    CAppData::Clear();
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    EXPECT_EQ(window->FavouritesList()->Model().RowCount(), 3);

    // Stored for another user, or not a list of positions: all unfolded.
    for (const auto &[user, collapsed] : {std::pair{app->User().userId + 1, QStringLiteral("2;")},
                                          std::pair{app->User().userId, QStringLiteral("a;;-3;99999;")}}) {
        window = nullptr;
        app.reset();
        CAppData::Clear();
        settings.setInt(u"Tray", u"Favoris", u"User", user);
        settings.setString(u"Tray", u"Favoris", u"Collapsed", collapsed);
        start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
        EXPECT_EQ(window->FavouritesList()->Model().RowCount(), 4) << collapsed.toStdString();
    }

    // Another order forgets the folds.
    QTest::mouseClick(window->FavouritesList()->viewport(), Qt::LeftButton, {}, rowCentre(window->FavouritesList(), 0));
    EXPECT_EQ(window->FavouritesList()->Model().RowCount(), 3);
    window->Sort(2);
    EXPECT_TRUE(std::all_of(window->FavouritesList()->Model().Records().begin(),
                            window->FavouritesList()->Model().Records().end(),
                            [](const DataItems &d) { return d.State != DataItems::CollapsedGroup; }));
}

TEST_F(TrayWindowTest, TheTaskButtonAndTheDayStripShowTheDayFromMemory)
{
    put(100, at(9, 0), at(10, 0));
    put(101, at(17, 0), 0);
    start(true, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
    CViewTask *task = window->TaskButton();
    CDayCtrl *day = window->DayStrip();
    ASSERT_TRUE(task->isVisible());
    ASSERT_TRUE(day->isVisible());
    const int fourLines = task->height();

    // Painting, hovering and the tips' texts run no statement.
    QStringList statements;
    s_statements = &statements;
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    task->repaint();
    day->repaint();
    const DayStripGeometry g = day->Geometry();
    const int morning = day->EntryAt(QPoint(g.X(570), day->height() - 3));
    QTest::mouseMove(day, QPoint(g.X(570), day->height() - 3));
    QHelpEvent help(QEvent::ToolTip, QPoint(g.X(570), day->height() - 3), day->mapToGlobal(QPoint(g.X(570), 30)));
    QApplication::sendEvent(day, &help);
    const tToolTipContent dayTip = day->ToolTip()->Content();
    QHelpEvent taskHelp(QEvent::ToolTip, QPoint(10, 10), task->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(task, &taskHelp);
    const tToolTipContent taskTip = task->ToolTip()->Content();
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    s_statements = nullptr;
    EXPECT_TRUE(statements.isEmpty()) << statements.join(u'\n').toStdString();

    ASSERT_EQ(task->PaintedLines().size(), 4u);
    EXPECT_EQ(task->PaintedLines()[0].value, QStringLiteral("Client"));
    EXPECT_EQ(task->PaintedLines()[3].value, QStringLiteral("En cours ..."));
    EXPECT_EQ(task->PaintedPicture(), CViewTask::Picture::Running);
    EXPECT_EQ(morning, 0);
    EXPECT_EQ(dayTip.title, QStringLiteral("Projet : Client\nActivité :"));
    EXPECT_TRUE(dayTip.description.startsWith(QStringLiteral("Début : "))) << dayTip.description.toStdString();
    EXPECT_TRUE(dayTip.description.endsWith(QStringLiteral("Durée : 1:00")));
    EXPECT_EQ(taskTip.title, QStringLiteral("Mettre la tâche en pause."));
    EXPECT_TRUE(taskTip.description.endsWith(QStringLiteral("(Cliquez pour mettre en pause)")));

    // A click pauses; a title makes five lines and a taller button.
    QTest::mouseClick(task, Qt::LeftButton);
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(now));
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"update Taches set Title='Revue & suivi' where Id=101"), 0);
    }
    notice(1);
    EXPECT_EQ(task->LineCount(), 5);
    EXPECT_EQ(task->height(), fourLines * 5 / 4);
    task->repaint();
    EXPECT_EQ(task->PaintedLines()[0].value, QStringLiteral("Revue & suivi"));
    EXPECT_EQ(task->PaintedPicture(), CViewTask::Picture::Ended);
    QApplication::sendEvent(task, &taskHelp);
    EXPECT_EQ(task->ToolTip()->Content().title, QStringLiteral("Reprendre la tâche."));
    EXPECT_EQ(window->TaskButton()->geometry().bottom() < window->Tabs()->geometry().top(), true);
}

TEST_F(TrayWindowTest, TheShowCommandsTipsSayHideWhileTheirWindowShows)
{
    start();
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowWindow)).title, QStringLiteral("Afficher la fenêtre"));
    window->ShowOrHide();
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowWindow)).title, QStringLiteral("Masquer la fenêtre"));
    bool infos = true;
    CZarvoTrayDlg::Dialogs().infosShown = [&] { return infos; };
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowInfos)).title, QStringLiteral("Masquer la fenêtre Infos"));
    infos = false;
    EXPECT_EQ(CTrayToolTip::CommandContent(window->CommandText(ShowInfos)).title, QStringLiteral("Fenêtre Infos"));
    // The toolbar button shows that text in the tray's tip.
    QWidget *button = window->ToolBar()->widgetForAction(window->Command(ShowWindow));
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(button, &help);
    auto *tip = button->findChild<CTrayToolTip *>();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->Content().title, QStringLiteral("Masquer la fenêtre"));
    EXPECT_EQ(tip->Content().description, QStringLiteral("Masque la fenêtre de lancement rapide."));
}
