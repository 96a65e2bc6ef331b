// The application's commands on a real frame and real databases.
#include "AppFixture.h"
#include "CAnnulation.h"
#include "CCommandRules.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CDatabaseFile.h"
#include "CMainFrame.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CProjectStore.h"
#include "CmyDataBase.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <sqlite3.h>
#include <unistd.h>

namespace {

using Decision = CCommandRules::StartDecision;
using Pause = CCommandRules::PauseDecision;

class CommandsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(Now);
        anne = addUser(QStringLiteral("Anne"));
        ASSERT_TRUE(app->InitInstance()); // the real main frame
        clearBoxes();
    }
    QAction *command(int id) const { return app->MainFrame()->Commands().Action(id); }
    static QString cell(QStringView sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    static void exec(QStringView sql)
    {
        CBdD db;
        ASSERT_EQ(db.Execute(sql), 0) << sql.toString().toStdString();
    }
    static void putEntry(int id, qint64 start, qint64 end)
    {
        exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,"
                            "Title,Notes,Date_Modif,Origine_Modif) values (%1,%2,%3,-1,-1,-1,0,0,'t','',0,2)")
                 .arg(id)
                 .arg(start)
                 .arg(end));
    }

    static constexpr qint64 Now = 1709629200; // Tuesday 5 March 2024, 10:00 in Paris
    int anne = -1;
};

} // namespace

TEST(CommandRulesTest, MonthStepsKeepTheDayWhereTheMonthHasIt)
{
    const struct
    {
        QDate from;
        int direction;
        QDate to;
    } cases[] = {
        {QDate(2023, 1, 31), 1, QDate(2023, 2, 28)}, {QDate(2024, 1, 31), 1, QDate(2024, 2, 29)},
        {QDate(2023, 3, 31), -1, QDate(2023, 2, 28)}, {QDate(2024, 3, 31), -1, QDate(2024, 2, 29)},
        {QDate(2024, 1, 15), -1, QDate(2023, 12, 15)}, {QDate(2023, 12, 31), 1, QDate(2024, 1, 31)},
        {QDate(2024, 5, 31), 1, QDate(2024, 6, 30)},  {QDate(2024, 7, 10), 1, QDate(2024, 8, 10)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CCommandRules::MonthStep(c.from, c.direction), c.to) << c.from.toString().toStdString();
}

TEST(CommandRulesTest, AStartIsSavedOnlyWhenNothingStandsInItsWay)
{
    const qint64 t = 1000;
    const struct
    {
        int running;
        qint64 runningStart;
        bool after, failed;
        Decision decision;
    } cases[] = {
        {-1, 0, false, false, Decision::Save},      {0, 0, false, false, Decision::Save},
        {1, t - 60, false, false, Decision::Save},  {1, t, false, false, Decision::Dialog},
        {1, t + 60, false, false, Decision::Dialog}, {2, t - 60, false, false, Decision::Dialog},
        {0, 0, true, false, Decision::Dialog},      {1, t - 60, true, false, Decision::Dialog},
        {CBdD::ReadFailed, 0, false, false, Decision::ReadFailed}, {0, 0, false, true, Decision::ReadFailed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CCommandRules::DecideStart(c.running, c.runningStart, t, c.after, c.failed), c.decision)
            << c.running << " " << c.runningStart << " " << c.after;
    const struct
    {
        int running;
        qint64 start;
        Pause decision;
    } pauses[] = {{1, t - 1, Pause::Stop}, {1, t, Pause::Dialog}, {1, t + 5, Pause::Dialog}, {0, 0, Pause::List},
                  {-1, 0, Pause::List},    {2, 0, Pause::List},   {CBdD::ReadFailed, 0, Pause::ReadFailed}};
    for (const auto &p : pauses)
        EXPECT_EQ(CCommandRules::DecidePause(p.running, p.start, t), p.decision) << p.running << " " << p.start;
}

TEST(CommandRulesTest, OptionsPagesAndTheirStartPage)
{
    using P = CCommandRules::OptionsPage;
    const QList<P> withGeneral = {P::General, P::Display, P::DaysOff, P::Formats, P::Folders, P::Network,
                                  P::Backups, P::Reports, P::Forecast, P::Grid,   P::Misc};
    for (int languages : {1, 2}) {
        QList<P> pages;
        for (const auto &e : CCommandRules::OptionsPages(languages))
            pages << e.page;
        EXPECT_EQ(pages, languages > 1 ? withGeneral : withGeneral.mid(1)) << languages;
        const QList<P> wanted = {P::General, P::Display, P::DaysOff, P::Folders, P::Network, P::Backups,
                                 P::Reports, P::Forecast, P::Misc,   P::Grid};
        for (int start = 0; start <= 10; ++start) {
            const int index = CCommandRules::OptionsStartIndex(start, languages);
            const P expected = start >= 1 && start <= 9 ? wanted.at(start) : pages.first();
            EXPECT_EQ(pages.at(index), expected) << languages << " languages, start " << start;
        }
    }
    EXPECT_EQ(CCommandRules::OptionsPages(1).first().caption, QStringLiteral("Affichage"));
}

TEST_F(CommandsTest, AStartEndsTheRunningEntryAndTouchesTheFavouriteInOneCommitAndOneUndo)
{
    putEntry(101, Now - 3600, 0);
    exec(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Date_Modif,Origine_Modif,Deleted,Title) "
         u"values (5,-1,-1,-1,7,0,2,0,'Réunion')");
    app->Annulation().Reset();
    int commits = 0;
    {
        const CBdD open; // the connection the start borrows
        ASSERT_TRUE(open.IsOpen());
        sqlite3_commit_hook(open.Connection()->Handle(), [](void *n) { return ++*static_cast<int *>(n), 0; },
                            &commits);
        ASSERT_TRUE(app->StartFavoriteOrRecent(5, true, false));
        sqlite3_commit_hook(open.Connection()->Handle(), nullptr, nullptr);
    }
    EXPECT_EQ(commits, 1) << "the entry and the favourite's order land together";
    EXPECT_EQ(cell(u"select Fin from Taches where Id=101"), QString::number(Now));
    EXPECT_EQ(cell(u"select count(*) from Taches where Fin=0 and Deleted=0 and Title='Réunion'"), QStringLiteral("1"));
    EXPECT_EQ(cell(u"select Ordre from Favoris where Id=5"), QString::number(Now));
    EXPECT_TRUE(command(32942)->isEnabled());

    app->OnUndo();
    EXPECT_EQ(cell(u"select Fin from Taches where Id=101"), QStringLiteral("0"));
    EXPECT_EQ(cell(u"select count(*) from Taches where Deleted=0"), QStringLiteral("1"));
    EXPECT_EQ(cell(u"select Ordre from Favoris where Id=5"), QStringLiteral("7"));
    EXPECT_FALSE(command(32942)->isEnabled());
    EXPECT_TRUE(command(32943)->isEnabled());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(CommandsTest, StartsThatNeedTheEntryDialogWriteNothingWithoutIt)
{
    const struct
    {
        const char *what;
        QList<std::pair<qint64, qint64>> entries;
    } cases[] = {
        {"two running", {{Now - 600, 0}, {Now - 300, 0}}},
        {"one running that starts later", {{Now + 600, 0}}},
        {"an entry after the start", {{Now + 600, Now + 1200}}},
    };
    for (const auto &c : cases) {
        exec(u"delete from Taches");
        int id = 200;
        for (const auto &[start, end] : c.entries)
            putEntry(id++, start, end);
        const QString before = cell(u"select group_concat(Id||':'||Fin) from Taches");
        QList<tTacheFull> asked;
        app->Windows().entryDialog = {};
        EXPECT_FALSE(app->StartActivityTask(-1)) << c.what;
        EXPECT_EQ(cell(u"select group_concat(Id||':'||Fin) from Taches"), before) << c.what;
        app->Windows().entryDialog = [&asked](tTacheFull &entry) {
            asked << entry;
            return false;
        };
        EXPECT_FALSE(app->StartActivityTask(-1)) << c.what;
        ASSERT_EQ(asked.size(), 1) << c.what;
        EXPECT_EQ(asked.front().Debut, Now);
        EXPECT_EQ(cell(u"select group_concat(Id||':'||Fin) from Taches"), before) << c.what;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(CommandsTest, PauseEndsTheOneRunningEntryOrOffersTheList)
{
    answers->AnswerNotices();
    int lists = 0;
    app->Windows().runningEntries = [&lists] {
        ++lists;
        return false;
    };
    EXPECT_FALSE(command(32921)->isEnabled()); // nothing runs
    EXPECT_TRUE(command(32920)->isEnabled());
    EXPECT_FALSE(app->OnPause());
    EXPECT_EQ(lists, 1); // the (empty) list

    putEntry(300, Now - 900, 0);
    app->UpdateCommandStates();
    EXPECT_TRUE(command(32921)->isEnabled());
    EXPECT_FALSE(command(32920)->isEnabled());
    ASSERT_TRUE(app->OnPause());
    EXPECT_EQ(cell(u"select Fin from Taches where Id=300"), QString::number(Now));
    EXPECT_FALSE(command(32921)->isEnabled());

    // Resume starts the last entry's task again, now.
    ASSERT_TRUE(app->OnResume());
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0 and Debut=%1").arg(Now)), QStringLiteral("1"));

    // A read that fails says so and changes nothing.
    exec(u"alter table Taches rename to Ailleurs");
    EXPECT_FALSE(app->OnPause());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_FALSE(app->StartActivityTask(-1));
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(lists, 1);
}

TEST_F(CommandsTest, CommandsFollowTheirOpenersAndTheHistory)
{
    EXPECT_FALSE(command(32942)->isEnabled());
    EXPECT_FALSE(command(32943)->isEnabled());
    // The views need the calendar window: none checked, all greyed.
    for (int id : {32800, 32801, 32802}) {
        EXPECT_FALSE(command(id)->isEnabled()) << id;
        EXPECT_FALSE(command(id)->isChecked()) << id;
    }
    EXPECT_FALSE(command(32796)->isEnabled());
    QList<int> asked;
    app->Windows().options = [&asked](const CZarvoWinApp::OptionsRequest &request) {
        asked << request.startIndex << int(request.pages.size());
        return true;
    };
    app->UpdateCommandStates();
    EXPECT_TRUE(command(32796)->isEnabled());
    command(32796)->trigger();
    EXPECT_EQ(asked, (QList<int>{0, 10}));

    // After a synchronisation neither undo nor redo is offered.
    putEntry(400, Now - 60, 0);
    {
        CBdD db;
        ASSERT_TRUE(db.StopTimeEntry(400, Now));
    }
    app->UpdateCommandStates();
    EXPECT_TRUE(command(32942)->isEnabled());
    bool synchronised = false;
    app->Windows().syncDevice = [&synchronised](bool &usersChanged) {
        synchronised = true;
        usersChanged = true;
        return true;
    };
    app->UpdateCommandStates();
    command(32794)->trigger();
    EXPECT_TRUE(synchronised);
    EXPECT_FALSE(command(32942)->isEnabled());
    EXPECT_FALSE(command(32943)->isEnabled());
}

TEST_F(CommandsTest, NavigationMovesTheCurrentDate)
{
    app->SetCurrentDate(QDate(2024, 1, 31), false);
    command(32858)->setEnabled(true);
    command(32858)->trigger();
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 2, 29));
    command(32856)->setEnabled(true);
    command(32856)->trigger();
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 7));
    app->MoveCurrentDate(-1);
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 6));
    EXPECT_EQ(app->MainFrame()->DatePicker()->date(), QDate(2024, 3, 6));
    app->OnToday();
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 5));
}

TEST_F(CommandsTest, SaveAsCopiesTheLiveDatabaseAndNeverOverItself)
{
    answers->AnswerNotices();
    const QString current = databaseOf(QStringLiteral("Anne"));
    QString chosen;
    app->Windows().saveFileName = [&chosen](const QString &suggested) {
        EXPECT_EQ(suggested, QStringLiteral("Zarvo.sdb"));
        return chosen;
    };
    const QString target = TestFolders::file(QStringLiteral("copy.sdb"));
    TestFolders::writeFile(QStringLiteral("copy.sdb"), QByteArray("old bytes"));

    // Cancel on the question leaves the file; OK replaces it with a whole copy.
    chosen = target;
    answers->Push(MessageBoxAnswer::Cancel);
    EXPECT_FALSE(app->OnSaveDatabaseAs());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].text.contains(target));
    EXPECT_EQ(boxes()[0].caption, QStringLiteral("Confirmation"));
    EXPECT_EQ(boxes()[0].icon, MessageBoxType::IconQuestion);
    EXPECT_EQ(TestFolders::readFile(target), QByteArray("old bytes"));

    // A second connection writes while the copy is taken.
    SQLite::CmyDataBase writer;
    ASSERT_EQ(writer.Open(current), 0);
    ASSERT_TRUE(writer.BeginTransaction());
    writer.Execute(u"insert into Infos values ('Mark','uncommitted')");
    answers->Push(MessageBoxAnswer::Ok);
    EXPECT_TRUE(app->OnSaveDatabaseAs());
    writer.RollbackTransaction();
    EXPECT_TRUE(CDatabaseFile::Check(target).ok());
    EXPECT_EQ(CDatabaseFile::Check(target).version, 2);

    // The current database, by its name or a link to it, is refused.
    clearBoxes();
    const QString link = TestFolders::file(QStringLiteral("link.sdb"));
    ASSERT_TRUE(QFile::link(current, link));
    const QString hard = TestFolders::file(QStringLiteral("hard.sdb"));
    ASSERT_EQ(::link(QFile::encodeName(current).constData(), QFile::encodeName(hard).constData()), 0);
    const QByteArray before = TestFolders::readFile(current);
    for (const QString &path : {current, link, hard}) {
        chosen = path;
        EXPECT_FALSE(app->OnSaveDatabaseAs()) << path.toStdString();
    }
    ASSERT_EQ(boxes().size(), 3u);
    for (const auto &box : boxes())
        EXPECT_EQ(box.text, QStringLiteral("Impossible d'enregistrer la base de données."));
    EXPECT_EQ(TestFolders::readFile(current), before);

    // A folder that is a plain file cannot hold the copy.
    clearBoxes();
    TestFolders::writeFile(QStringLiteral("plain"), QByteArray("x"));
    chosen = TestFolders::file(QStringLiteral("plain/Zarvo.sdb"));
    EXPECT_FALSE(app->OnSaveDatabaseAs());
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, QStringLiteral("Impossible d'enregistrer la base de données."));

    // Cancelled file dialog: nothing.
    clearBoxes();
    chosen.clear();
    EXPECT_FALSE(app->OnSaveDatabaseAs());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(CommandsTest, ASwitchAsksTheReportWindowsFirst)
{
    tUsers bruno;
    bruno.Nom = QStringLiteral("Bruno");
    QDir().mkpath(usersFolder + bruno.Nom);
    ASSERT_EQ(app->Users().AddUser(bruno), CUsers::Done);
    {
        CBdD db(databaseOf(QStringLiteral("Bruno")));
        db.Execute(u"insert into Projets (Id,Nom,Parent,Deleted) values (32,'Projet de Bruno',-1,0)");
    }
    putEntry(500, Now - 60, Now);
    app->Annulation().AddStep(QStringLiteral("select 1"), QStringLiteral("select 1"));

    QWidget first;
    first.setProperty("reportId", 3);
    first.setProperty("preview", true);
    first.setProperty("zoom", 1);
    QWidget second;
    second.setProperty("reportId", -1);
    app->ReportWindows() = {&first, &second};
    QList<QWidget *> asked;
    bool cancelFirst = true;
    QList<CZarvoWinApp::OnScreenReport> saved;
    app->Reports().querySave = [&](QWidget *w) {
        asked << w;
        return !(cancelFirst && w == &first);
    };
    app->Reports().saveOnScreen = [&saved](const QList<CZarvoWinApp::OnScreenReport> &list) { saved = list; };

    first.show();
    EXPECT_FALSE(app->SwitchUser(bruno.Id));
    EXPECT_EQ(asked, QList<QWidget *>{&first});
    EXPECT_TRUE(first.isVisible());
    EXPECT_EQ(app->Users().GetCurrentName(), QStringLiteral("Anne"));
    EXPECT_TRUE(app->Annulation().CanUndo());

    cancelFirst = false;
    asked.clear();
    ASSERT_TRUE(app->SwitchUser(bruno.Id));
    EXPECT_EQ(asked, (QList<QWidget *>{&first, &second}));
    EXPECT_FALSE(first.isVisible());
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].reportId, 3);
    EXPECT_TRUE(saved[0].preview);
    EXPECT_EQ(saved[0].zoom, 1);
    EXPECT_EQ(app->MainWindow()->windowTitle(), QStringLiteral("Zarvo (Bruno)"));
    tElement project;
    EXPECT_TRUE(app->ProjectStore().GetProject(32, project));
    EXPECT_EQ(project.Nom, QStringLiteral("Projet de Bruno"));
    EXPECT_FALSE(app->Annulation().CanUndo());
    EXPECT_TRUE(app->IsReady());
}
