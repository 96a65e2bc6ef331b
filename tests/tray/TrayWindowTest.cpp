// The tray window offscreen, with a fake notification-area icon and a fixed
// clock, on a user database that the test writes as the main program would.
#include "ShortBusyWait.h"
#include "TrayStandby.h"
#include "TrayWindowFixture.h"

using namespace Qt::StringLiterals;

namespace {

class TrayWindowTest : public TrayWindowFixture
{
public:
    // How the window shows now.
    enum class Seen { Shown, Hidden, Minimised };
    Seen seen() const
    {
        if (!window->isVisible())
            return Seen::Hidden;
        return window->isMinimized() ? Seen::Minimised : Seen::Shown;
    }

    // What a wake wrote, or what is wrong with it ("" when right): entry
    // 101 runs again from its start; or it stays ended at the sleep and a
    // copy runs from now.
    QString reopened(qint64) const
    {
        const QString got = cell(QStringLiteral("select count(*)||'/'||Fin from Taches"));
        return got == QStringLiteral("1/0") ? QString() : got;
    }
    QString restarted(qint64 slept) const
    {
        const QString got = cell(QStringLiteral("select group_concat(Debut||'-'||Fin, ' ') from "
                                                "(select * from Taches order by Id)"));
        const QString wanted = QStringLiteral("%1-%2 %3-0").arg(at(17, 0)).arg(slept).arg(now);
        return got == wanted ? QString() : got + QStringLiteral(" instead of ") + wanted;
    }
};

} // namespace

TEST_F(TrayWindowTest, StartsHiddenBehindItsIconWithTheDayInTheTitleAndTheSummary)
{
    put(101, at(17, 0), 0);
    start();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(icon->shown);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 (en cours…)"));
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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 (en cours…)"));
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
    EXPECT_EQ(app->CompactMessage(), QStringLiteral("L'utilisateur n'existe pas, ou la base de données est "
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

TEST_F(TrayWindowTest, ATrayStartedWithoutAUserShowsTheFirstOneAtThePoll)
{
    const QString users = folder + QStringLiteral("Users.sdb");
    const QString aside = folder + QStringLiteral("Users.sdb.aside");
    const auto selectAnne = [&users](int selected) {
        return [&users, selected] {
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.Open(users), 0);
            ASSERT_EQ(db.Execute(QStringLiteral("update Users set Selected=%1").arg(selected)), 0);
        };
    };
    const struct
    {
        const char *name;
        std::function<void()> before, after;
        CZarvoTrayApp::CompactReason shown;
    } cases[] = {
        {"no users folder yet", [this] { settings.setString(u"Config", u"Rep", u"Users", QString()); },
         [this] { settings.setString(u"Config", u"Rep", u"Users", folder); }, CZarvoTrayApp::CompactReason::NoUsers},
        {"no users database yet", [&] { ASSERT_TRUE(QFile::rename(users, aside)); },
         [&] { ASSERT_TRUE(QFile::rename(aside, users)); }, CZarvoTrayApp::CompactReason::NoDatabase},
        {"no user selected yet", selectAnne(0), selectAnne(1), CZarvoTrayApp::CompactReason::NoDatabase},
    };
    // Without the toolbar the window is narrow: the message takes lines.
    settings.setInt(u"Tray", u"Config", u"ShowToolBar", 0);
    for (const auto &c : cases) {
        c.before();
        start(false);
        EXPECT_EQ(app->Compact(), c.shown) << c.name;
        EXPECT_EQ(app->User().databasePath, QString()) << c.name;
        // No user, no empty name: the program's name alone.
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Zarvo")) << c.name;
        EXPECT_EQ(icon->tip, QStringLiteral("Zarvo")) << c.name;
        // Whole from the first frame: the message as high as its lines at
        // the window's width, within the window.
        const CMyMFCButton *message = window->MessageButton();
        EXPECT_TRUE(message->isVisible()) << c.name;
        EXPECT_GE(message->height(), message->heightForWidth(message->width())) << c.name;
        EXPECT_LE(message->geometry().bottom(), window->height() - 1) << c.name;
        window->OnPollTimer();
        EXPECT_TRUE(app->IsCompact()) << c.name << ": still nobody";
        c.after();
        window->OnPollTimer();
        EXPECT_FALSE(app->IsCompact()) << c.name;
        EXPECT_EQ(app->User().userName, QStringLiteral("Anne")) << c.name;
        EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Anne : "))) << c.name;
        window = nullptr;
        app.reset();
        CAppData::Clear();
    }
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
                                  QStringLiteral("Nouvelle tâche"), QStringLiteral("Pause"), QStringLiteral("Favoris"),
                                  QStringLiteral("Historique"), QStringLiteral("-"), QStringLiteral("Configuration"),
                                  QStringLiteral("Aide"), QStringLiteral("-"), QStringLiteral("Quitter")}));
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

// A menu built for Anne, used after the main program chose Bruno: its
// favourite, its recent combination and its pause are Anne's, so none of
// them is started or paused in Bruno's database; each says that the user
// changed and the task was not started (or not stopped), not that a write
// failed. The next menu is Bruno's and starts his favourite; a resume
// offered to Bruno and chosen once Anne is back starts nothing either.
TEST_F(TrayWindowTest, AMenuBuiltForOneUserWritesNothingForTheNext)
{
    put(101, at(17, 0), at(17, 30));
    put(102, at(17, 40), 0);
    const QString bruno = addBruno();
    start();
    const QString anne = entriesOf(path);
    icon->RightClick();
    QMenu *favourites = menuItems()[6]->menu();
    QMenu *recent = menuItems()[7]->menu();
    ASSERT_EQ(favourites->actions().size(), 1);
    ASSERT_FALSE(recent->actions().isEmpty());
    QAction *pause = menuItem(Pause);
    ASSERT_NE(pause, nullptr);
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(bruno), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                            "IdTauxHoraire,Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                            "(201,%1,0,32,-1,0,-1,1,1,0,'Bruno','')")
                                 .arg(at(17, 50))),
                  0);
    }
    const QString brunos = entriesOf(bruno);
    mainSelects(QStringLiteral("Bruno"));

    MessageBoxAnswers answers;

    answers.AnswerNotices();
    now = at(18, 5);
    favourites->actions()[0]->trigger();
    recent->actions()[0]->trigger();
    pause->trigger();
    const QString changed =
        QStringLiteral("L'utilisateur a été changé dans Zarvo pendant que cette fenêtre était ouverte.\n");
    const QString notStarted = changed + QStringLiteral("La tâche n'a pas été démarrée.");
    const QString notStopped = changed + QStringLiteral("La tâche n'a pas été arrêtée.");
    ASSERT_EQ(answers.AskedBoxes().size(), 3u);
    const QString told[] = {notStarted, notStarted, notStopped};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(answers.AskedBoxes()[i].text, told[i]) << i;
        EXPECT_EQ(answers.AskedBoxes()[i].caption, app->Text(124)) << i;
    }
    EXPECT_EQ(entriesOf(bruno), brunos);
    EXPECT_EQ(entriesOf(path), anne);

    icon->RightClick();
    menuItems()[6]->menu()->actions()[0]->trigger();
    EXPECT_EQ(answers.AskedBoxes().size(), 3u);
    const QString after = entriesOf(bruno);
    EXPECT_TRUE(after.contains(QStringLiteral("201/%1/%2/Bruno").arg(at(17, 50)).arg(at(18, 5)))) << after.toStdString();
    EXPECT_TRUE(after.contains(QStringLiteral("/%1/0/Courrier").arg(at(18, 5)))) << after.toStdString();
    EXPECT_EQ(after.count(u' '), 1) << after.toStdString();
    EXPECT_EQ(entriesOf(path), anne);

    // Bruno's favourite paused: his menu offers to resume it.
    now = at(18, 7);
    menuItem(Pause)->trigger();
    ASSERT_EQ(answers.AskedBoxes().size(), 3u);
    icon->RightClick();
    QAction *resume = menuItem(Resume);
    ASSERT_NE(resume, nullptr);
    const QString paused = entriesOf(bruno);
    mainSelects(QStringLiteral("Anne"));
    now = at(18, 10);
    resume->trigger();
    ASSERT_EQ(answers.AskedBoxes().size(), 4u);
    EXPECT_EQ(answers.AskedBoxes()[3].text, notStarted);
    EXPECT_EQ(entriesOf(bruno), paused);
    EXPECT_EQ(entriesOf(path), anne);
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

TEST_F(TrayWindowTest, AnEntryEndingInTheFutureStopsEveryStartWithTheMessage)
{
    // Begun an hour ago, ending in an hour.
    put(101, at(17, 0), at(19, 0));
    start();
    int newTasks = 0;
    CZarvoTrayDlg::Dialogs().newTask = [&](QWidget *) { return ++newTasks, true; };
    MessageBoxAnswers answers;
    for (int i = 0; i < 4; ++i)
        answers.Push(1);
    const QByteArray bytes = TestFolders::readFile(path);
    window->StartFrom(2, true, false); // a favourite
    window->StartFrom(0, false, false); // the newest history line
    window->NewTask();
    window->PauseOrResume();
    EXPECT_EQ(newTasks, 0);
    ASSERT_EQ(answers.AskedBoxes().size(), 4u);
    for (const auto &box : answers.AskedBoxes())
        EXPECT_EQ(box.text, app->Text(120));
    EXPECT_EQ(TestFolders::readFile(path), bytes);
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


TEST_F(TrayWindowTest, EveryHideLeavesTheWindowWithinReach)
{
    // Each way the window goes out of the way, and what it records for the
    // next start when it goes: a start from the list hides it as the user
    // would, while the task dialog's automatic hiding records nothing.
    const struct
    {
        const char *name;
        std::function<void()> act;
        bool onlyWithAutoHide;
        bool recordsHidden;
    } actions[] = {
        {"a favourite started from the list",
         [this] {
             COwnerDrawListBox *list = window->FavouritesList();
             list->setFocus();
             list->SetCurrentRow(0);
             QTest::keyClick(list, Qt::Key_Return);
         },
         true, true},
        {"a new task", [this] { window->NewTask(); }, true, false},
        {"closing", [this] { window->close(); }, false, true},
        {"Escape", [this] { QTest::keyClick(window->Tabs()->tabBar(), Qt::Key_Escape); }, false, true},
        {"the hide button", [this] { QTest::mouseClick(window->HideButton(), Qt::LeftButton); }, false, true},
    };
    for (bool tray : {true, false}) {
        for (bool autoHide : {true, false}) {
            for (const auto &action : actions) {
                const std::string name = std::string(action.name) + (tray ? ", with an icon" : ", without one")
                    + (autoHide ? ", hiding on" : ", hiding off");
                settings.setInt(u"Tray", u"Config", u"AutoHide", autoHide ? 1 : 0);
                start(tray, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
                // The task dialog, accepted.
                CZarvoTrayDlg::Dialogs().newTask = [](QWidget *) { return true; };
                ASSERT_EQ(seen(), Seen::Shown) << name;
                action.act();
                const bool goes = !action.onlyWithAutoHide || autoHide;
                const Seen expected = !goes ? Seen::Shown : tray ? Seen::Hidden : Seen::Minimised;
                EXPECT_EQ(int(seen()), int(expected)) << name;
                EXPECT_FALSE(seen() == Seen::Hidden && !icon->IsAvailable()) << name << ": out of reach";
                const bool recordedHidden = goes && action.recordsHidden;
                EXPECT_EQ(settings.getInt(u"Tray", u"Dialog", u"Visible", -1), recordedHidden ? 0 : 1) << name;

                // The next start shows the window as recorded (always where
                // no notification area would bring it back).
                window = nullptr;
                app.reset();
                CAppData::Clear();
                start(tray);
                EXPECT_EQ(int(seen()), int(!tray || !recordedHidden ? Seen::Shown : Seen::Hidden))
                    << name << ", started again";
                window = nullptr;
                app.reset();
                CAppData::Clear();
            }
        }
    }
}

// The notification area is looked at again at each poll and whenever the
// window would go out of the way: the window becomes the panel behind the
// icon when one appears, and a normal window within reach when it goes;
// never hidden while no icon can show.
TEST_F(TrayWindowTest, ANotificationAreaThatComesOrGoesIsFollowed)
{
    const struct
    {
        const char *name;
        bool areaAtStart;
        bool shownBefore;
        bool areaAfter;
        std::function<void()> then;
        Seen expected;
    } cases[] = {
        {"a hidden panel whose area goes, at the poll", true, false, false, [this] { window->OnPollTimer(); },
         Seen::Minimised},
        {"a shown panel whose area goes, at the poll", true, true, false, [this] { window->OnPollTimer(); },
         Seen::Shown},
        {"a shown panel whose area went, at Escape", true, true, false,
         [this] { QTest::keyClick(window, Qt::Key_Escape); }, Seen::Minimised},
        {"a shown panel whose area went, at a start from the list", true, true, false,
         [this] {
             COwnerDrawListBox *list = window->FavouritesList();
             list->SetCurrentRow(0);
             QTest::keyClick(list, Qt::Key_Return);
         },
         Seen::Minimised},
        {"a shown window whose area appears, at the poll", false, true, true, [this] { window->OnPollTimer(); },
         Seen::Shown},
        {"a minimised window whose area appears, at the poll", false, false, true, [this] { window->OnPollTimer(); },
         Seen::Hidden},
        {"a shown window whose area appeared, at closing", false, true, true, [this] { window->close(); },
         Seen::Hidden},
        {"a hidden panel whose area went, at a second copy", true, false, false,
         [this] { app->HandleMessage({Platform::MessageBus::registerMessage(CZarvoTrayApp::WakeMessageName), 0, 0}); },
         Seen::Shown},
    };
    for (const auto &c : cases) {
        start(c.areaAtStart);
        EXPECT_TRUE(icon->shown) << c.name << ": the icon is asked for on every desktop";
        if (c.shownBefore && !window->isVisible())
            window->ShowOrHide();
        if (!c.shownBefore && window->isVisible())
            window->HideWindow();
        ASSERT_EQ(int(seen()), int(c.shownBefore ? Seen::Shown : c.areaAtStart ? Seen::Hidden : Seen::Minimised))
            << c.name;
        icon->SetAvailable(c.areaAfter);
        c.then();
        EXPECT_EQ(int(seen()), int(c.expected)) << c.name;
        EXPECT_EQ(window->HasTrayIcon(), c.areaAfter) << c.name;
        // A panel behind the icon, or a window the window manager frames.
        EXPECT_EQ(bool(window->windowFlags() & Qt::FramelessWindowHint), c.areaAfter) << c.name;
        EXPECT_TRUE(icon->shown) << c.name;
        window = nullptr;
        app.reset();
        CAppData::Clear();
    }
}

// The window manager's frame counts only where it holds the inside on every
// side of a window that shows: one measured before the window manager
// framed the window is the window itself, whatever its size then, and a
// hidden or minimised window has none to go by.
TEST(TrayWindowFrameTest, OnlyAFrameHoldingTheInsideOfAShownWindowCounts)
{
    const QRect inside(100, 124, 300, 400);
    const QRect framed(96, 100, 308, 428); // 4 pixels each side, a 24-pixel title
    const struct
    {
        const char *what;
        QRect frame, inside;
        bool visible;
        Qt::WindowStates states;
        QMargins expected;
    } cases[] = {
        {"a real frame", framed, inside, true, Qt::WindowNoState, QMargins(4, 24, 4, 4)},
        {"a real frame, maximised", framed, inside, true, Qt::WindowMaximized, QMargins(4, 24, 4, 4)},
        {"a frame equal to the inside", inside, inside, true, Qt::WindowNoState, QMargins()},
        {"an inside 1600 pixels wide in a frame 250 wide", QRect(0, 0, 250, 428), QRect(0, 24, 1600, 400), true,
         Qt::WindowNoState, QMargins()},
        {"a frame short of the inside on its left", QRect(101, 100, 303, 428), inside, true, Qt::WindowNoState,
         QMargins()},
        {"a frame short of the inside on its top", QRect(96, 125, 308, 403), inside, true, Qt::WindowNoState,
         QMargins()},
        {"a frame short of the inside on its right", QRect(96, 100, 303, 428), inside, true, Qt::WindowNoState,
         QMargins()},
        {"a frame short of the inside on its bottom", QRect(96, 100, 308, 423), inside, true, Qt::WindowNoState,
         QMargins()},
        {"the frame of a hidden window", framed, inside, false, Qt::WindowNoState, QMargins()},
        {"the frame of a minimised window", framed, inside, true, Qt::WindowMinimized, QMargins()},
    };
    const auto text = [](const QMargins &m) {
        return QStringLiteral("%1 %2 %3 %4").arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom());
    };
    for (const auto &c : cases)
        EXPECT_EQ(text(TrayWindowSizing::FrameMargins(c.frame, c.inside, c.visible, c.states)), text(c.expected))
            << c.what;
}

TEST_F(TrayWindowTest, TheWholeWindowAndItsWholeCaptionShowOnTheScreen)
{
    // The user's name in the caption: a long one, then one no screen holds.
    const QString names[] = {u"Marie-Élodie de La Tour-Villeneuve"_s, QString(200, u'm')};
    QString current = QStringLiteral("Anne");
    for (const QString &name : names) {
        {
            SQLite::CmyDataBase users;
            ASSERT_EQ(users.Open(folder + QStringLiteral("Users.sdb")), 0);
            ASSERT_EQ(users.Execute(QStringLiteral("update Users set Nom='%1'").arg(name)), 0);
        }
        ASSERT_TRUE(QDir(folder).rename(current, name));
        current = name;
        path = folder + name + QStringLiteral("/Zarvo.sdb");
        put(101 + int(name.size()), at(17, 0), 0);
        for (bool tray : {false, true}) {
            const std::string what = name.left(10).toStdString() + (tray ? ", a panel" : ", a framed window");
            start(tray, {QStringLiteral("ZarvoTray"), QStringLiteral("-v")});
            QCoreApplication::processEvents();
            ASSERT_TRUE(window->isVisible()) << what;
            ASSERT_TRUE(window->windowTitle().startsWith(name + QStringLiteral(" : ")));
            const QRect area = window->screen()->availableGeometry();
            EXPECT_TRUE(area.contains(window->frameGeometry())) << what;
            QFont bold = window->font();
            bold.setBold(true);
            const int captionRoom = window->MenuButton()->x() - 5 - 6;
            if (name.size() < 100)
                EXPECT_LE(QFontMetrics(bold).horizontalAdvance(window->windowTitle()), captionRoom) << what;
            else
                EXPECT_GE(window->frameGeometry().width(), area.width() - 1) << what << ": as wide as the screen";
            // Taller for a titled entry, the window stays within.
            {
                SQLite::CmyDataBase main;
                ASSERT_EQ(main.Open(path), 0);
                ASSERT_EQ(main.Execute(u"update Taches set Title='Un titre'"), 0);
            }
            app->ForgetModif();
            window->Reload(false, false);
            QCoreApplication::processEvents();
            EXPECT_TRUE(area.contains(window->frameGeometry())) << what << ", titled";
            window = nullptr;
            app.reset();
            CAppData::Clear();
            settings.remove(u"Tray", u"Dialog", u"Left");
            settings.remove(u"Tray", u"Dialog", u"Top");
            {
                SQLite::CmyDataBase main;
                ASSERT_EQ(main.Open(path), 0);
                ASSERT_EQ(main.Execute(u"update Taches set Title=''"), 0);
            }
        }
    }
}

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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Anne : 1:00 (en cours…)"));
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
    // The row's details show in the tray's tip, wrapped to the screen; a
    // header has none.
    auto *tip = list->findChild<CTrayToolTip *>();
    ASSERT_NE(tip, nullptr);
    const auto askTip = [list](int row) {
        QHelpEvent help(QEvent::ToolTip, rowCentre(list, row), list->viewport()->mapToGlobal(rowCentre(list, row)));
        QCoreApplication::sendEvent(list->viewport(), &help);
    };
    askTip(1);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Content().description, hover);
    askTip(0);
    EXPECT_FALSE(tip->isVisible());

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
    // The tip shows at once over an entry.
    QTest::mouseMove(day, QPoint(g.X(570), day->height() - 3));
    const bool tipShown = day->ToolTip()->isVisible();
    const tToolTipContent dayTip = day->ToolTip()->Content();
    QHelpEvent taskHelp(QEvent::ToolTip, QPoint(10, 10), task->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(task, &taskHelp);
    const tToolTipContent taskTip = task->ToolTip()->Content();
    sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(&installTrace));
    s_statements = nullptr;
    EXPECT_TRUE(statements.isEmpty()) << statements.join(u'\n').toStdString();

    ASSERT_EQ(task->PaintedLines().size(), 4u);
    EXPECT_EQ(task->PaintedLines()[0].value, QStringLiteral("Client"));
    EXPECT_EQ(task->PaintedLines()[3].value, QStringLiteral("En cours…"));
    EXPECT_EQ(task->PaintedPicture(), CViewTask::Picture::Running);
    EXPECT_EQ(morning, 0);
    EXPECT_TRUE(tipShown);
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

TEST_F(TrayWindowTest, ASleepEndsTheNewestRunningEntryAndAShortOneTakesItUpAgain)
{
    put(101, at(16, 0), at(17, 0));
    start();
    // Another program started an entry since the last poll: the suspend
    // reads the newest entry again and ends that one.
    now = at(17, 30);
    put(102, at(17, 10), 0);
    window->OnSuspend();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=102")), QString::number(now));
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), 102);
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"User", -1), app->User().userId);
    // Four minutes later: the same entry runs on from its first start.
    now += 240;
    window->OnResume();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=102")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("2"));
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1);
    // Nothing runs: a sleep writes nothing.
    {
        CBdD main(path);
        ASSERT_TRUE(main.StopTimeEntry(102, now));
    }
    window->OnSuspend();
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), -1);
}

// A stop that fails at the sleep (another program holds the file past
// every wait) leaves the entry running and no record (the one written
// before the stop is withdrawn): the wake that follows takes nothing up.
TEST_F(TrayWindowTest, ASleepWhoseStopFailsWritesNoRecord)
{
    put(101, at(17, 0), 0);
    start();
    {
        ShortBusyWait shortWait;
        SQLite::CmyDataBase third;
        ASSERT_EQ(third.Open(path), 0);
        ASSERT_TRUE(third.BeginTransaction());
        window->OnSuspend();
        third.RollbackTransaction();
    }
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QStringLiteral("0"));
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), -1);
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"User", -1), -1);
    EXPECT_EQ(settings.getBinary(u"Tray", u"Standby", u"Time"), QByteArray(8, '\0'));
    now += 60;
    window->OnResume();
    EXPECT_EQ(cell(QStringLiteral("select count(*)||'/'||Fin from Taches")), QStringLiteral("1/0"));
}

// A wake whose write fails (another program holds the file past every
// wait) keeps the record and says so once; the next poll that can write
// takes the entry up, and clears the record then. The same for a long
// sleep whose setting restarts a copy.
TEST_F(TrayWindowTest, AWakeThatCannotWriteKeepsItsRecordSaysSoAndTheNextPollTakesTheEntryUp)
{
    const struct
    {
        const char *name;
        qint64 asleep;
        int actionOnRestart;
        QString (TrayWindowTest::*after)(qint64 slept) const;
    } cases[] = {
        {"four minutes: the same entry runs again", 240, 0, &TrayWindowTest::reopened},
        {"six minutes, restart: a copy starts", 360, 1, &TrayWindowTest::restarted},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        settings.setInt(u"Tray", u"Config", u"ActionOnRestart", c.actionOnRestart);
        put(101, at(17, 0), 0);
        start();
        window->OnSuspend();
        const qint64 slept = now;
        ASSERT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), 101);
        now += c.asleep;
        MessageBoxAnswers answers;
        answers.Push(1); // the notice that the entry could not be taken up
        {
            ShortBusyWait shortWait;
            SQLite::CmyDataBase third;
            ASSERT_EQ(third.Open(path), 0);
            ASSERT_TRUE(third.BeginTransaction());
            ASSERT_EQ(third.Execute(u"update Infos set Value=Value where Name='Modif'"), 0) << "a writer";
            window->OnResume();
            // Still held at the poll: tried again, told no more.
            now += 10;
            window->OnPollTimer();
            third.RollbackTransaction();
        }
        EXPECT_EQ(cell(QStringLiteral("select count(*)||'/'||Fin from Taches")), QStringLiteral("1/%1").arg(slept))
            << "nothing written";
        EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), 101) << "the record is kept";
        ASSERT_EQ(answers.AskedBoxes().size(), 1u);
        EXPECT_TRUE(answers.AskedBoxes().front().text.startsWith(
            QStringLiteral("La tâche arrêtée lors de la mise en veille")));
        EXPECT_TRUE(window->StandbyRetryPending());

        now += 10;
        window->OnPollTimer();
        EXPECT_EQ((this->*c.after)(slept), QString());
        EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1) << "used once";
        EXPECT_FALSE(window->StandbyRetryPending());
        EXPECT_EQ(answers.AskedBoxes().size(), 1u);
        window = nullptr;
        app.reset();
        CAppData::Clear();
        {
            SQLite::CmyDataBase db;
            ASSERT_EQ(db.Open(path), 0);
            ASSERT_EQ(db.Execute(u"delete from Taches"), 0);
        }
    }
}

// A database whose upgrade failed shows the compact window with the
// failure and its code, writes nothing, and is tried again at each reload
// (a copy is made before each try); once mended, the next reload shows the
// views.
TEST_F(TrayWindowTest, AFailedUpgradeShowsItsMessageAndIsTriedAgainAtEachReload)
{
    {
        // Marked as the first version, the file's tables already hold what
        // the upgrade adds: the upgrade fails on its first statement.
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(u"update Infos set Value='1' where Name='VersionDB'"), 0);
    }
    const auto copies = [this] {
        return QDir(folder + QStringLiteral("Anne")).entryList({QStringLiteral("Zarvo_V1_*")}, QDir::Files).size();
    };
    start();
    ASSERT_EQ(app->Compact(), CZarvoTrayApp::CompactReason::UpgradeFailed);
    EXPECT_EQ(app->CompactMessage(), QStringLiteral("La mise à jour de la base de données de cet utilisateur a échoué "
                                                    "(erreur 1).\nElle sera tentée de nouveau au prochain "
                                                    "rafraîchissement."));
    const qsizetype tried = copies();
    EXPECT_GE(tried, 1);
    window->ShowOrHide();
    EXPECT_TRUE(window->MessageButton()->isVisible());
    EXPECT_EQ(window->MessageButton()->text(), app->CompactMessage());
    EXPECT_FALSE(window->Tabs()->isVisible());
    EXPECT_EQ(copies(), tried + 1) << "tried again when shown";
    MessageBoxAnswers answers;
    window->PauseOrResume();
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QStringLiteral("0"));

    window->Reload(false, false);
    EXPECT_EQ(copies(), tried + 2);
    EXPECT_TRUE(window->MessageButton()->isVisible());
    notice(1);
    EXPECT_EQ(copies(), tried + 3);

    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(QStringLiteral("update Infos set Value='%1' where Name='VersionDB'").arg(CBdD::CurrentVersion)),
                  0);
    }
    notice(1);
    EXPECT_FALSE(app->IsCompact());
    EXPECT_FALSE(window->MessageButton()->isVisible());
    EXPECT_TRUE(window->Tabs()->isVisible());
    EXPECT_EQ(copies(), tried + 3) << "a current file is not copied";
}

TEST_F(TrayWindowTest, ALongSleepFollowsTheSettingAndAnOldRecordWaitsForTheNextStart)
{
    put(101, at(17, 0), 0);
    settings.setInt(u"Tray", u"Config", u"ActionOnRestart", 1);
    start();
    window->OnSuspend();
    const qint64 slept = now;
    now += 360;
    window->OnResume();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(slept)) << "stays ended";
    EXPECT_EQ(cell(QStringLiteral("select Debut||'/'||Fin||'/'||IdProjet from Taches order by Id desc limit 1")),
              QStringLiteral("%1/0/32").arg(now));

    // "EndTaskOnStandby" off: no record; a record left before is ignored at
    // waking, then applied at the next start.
    app->Settings().endTaskOnStandby = false;
    const QString newest = cell(QStringLiteral("select max(Id) from Taches"));
    window->OnSuspend();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=%1").arg(newest)), QStringLiteral("0"));
    {
        CBdD main(path);
        ASSERT_TRUE(main.StopTimeEntry(newest.toInt(), now));
    }
    Platform::Settings record;
    TrayStandby::Write(record, app->User().userId, newest.toInt(), now);
    now += 60;
    window->OnResume();
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", -1), newest.toInt()) << "kept for the next start";
    window = nullptr;
    app.reset();
    CAppData::Clear();
    settings.setInt(u"Tray", u"Config", u"EndTaskOnStandby", 0);
    start();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=%1").arg(newest)), QStringLiteral("0"))
        << "a minute: taken up again at start";
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1);
}
