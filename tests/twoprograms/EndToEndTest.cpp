// The main program and the tray as real processes on one user database,
// each with its own connection, bus endpoint and clock, driven from here
// through their test drivers: what one writes, the other shows.
#include "CBdD.h"
#include "CUsers.h"
#include "ChildProcess.h"
#include "DrivenProgram.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "tUsers.h"

#include "CmyDataBase.h"
#include "MessageBus.h"
#include "PrivateSessionBus.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Menu commands of the main program, and the tray's.
constexpr int MainUndo = 32942;
constexpr int MainPause = 32921;
constexpr int MainResume = 32920;
constexpr int TrayTaskButton = 1004;
constexpr int TrayStartZarvo = 33085;

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString root = TestEnvironment::currentRoot();
        const QString users = root + QStringLiteral("/users/");
        const QString data = root + QStringLiteral("/data/");
        ASSERT_TRUE(QDir().mkpath(users + QStringLiteral("Anne")));
        ASSERT_TRUE(QDir().mkpath(data));
        {
            Platform::Settings settings;
            settings.setString(u"Config", u"Rep", u"Users", users);
            settings.setString(u"Config", u"Rep", u"Data", data);
            settings.sync();
        }
        // The user and her database, made by the main program's own code.
        CUsers all;
        tUsers anne;
        anne.Nom = QStringLiteral("Anne");
        ASSERT_EQ(all.AddUser(anne), CUsers::Done);
        path = users + QStringLiteral("Anne/Zarvo.sdb");
        {
            CBdD db(path);
            ASSERT_TRUE(db.IsOpen());
        }
        tUsers selected;
        ASSERT_TRUE(all.SelectUser(anne.Id, selected));
        anneId = anne.Id;
        // The programs run on today's date, at noon on the clocks each test
        // sets, so that every entry of a test falls on the same day.
        now = QDateTime(QDate::currentDate(), QTime(12, 0)).toSecsSinceEpoch();
    }

    // Another user with a database of their own; their id.
    int addUser(const QString &name, QString &database)
    {
        const QString users = TestEnvironment::currentRoot() + QStringLiteral("/users/");
        EXPECT_TRUE(QDir().mkpath(users + name));
        CUsers all;
        tUsers user;
        user.Nom = name;
        EXPECT_EQ(all.AddUser(user), CUsers::Done);
        database = users + name + QStringLiteral("/Zarvo.sdb");
        CBdD db(database);
        EXPECT_TRUE(db.IsOpen());
        return user.Id;
    }
    void exec(const QString &sql, const QString &database = QString())
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(database.isEmpty() ? path : database), 0);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }
    QString cell(const QString &sql, const QString &database = QString())
    {
        SQLite::CmyDataBase db;
        if (db.Open(database.isEmpty() ? path : database) != 0)
            return QStringLiteral("<no file>");
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    }
    // The newest entry in the file, as the probes write it: "ID START END".
    QString newestInFile()
    {
        return cell(QStringLiteral("select Id||' '||Debut||' '||Fin from Taches where Deleted=0 "
                                   "order by Debut desc limit 1"));
    }
    void addFavourite(int id, const QString &title, const QString &database = QString())
    {
        exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title,"
                            "Date_Modif,Origine_Modif) values (%1,-1,-1,-1,0,0,'%2',1,1)")
                 .arg(id)
                 .arg(title),
             database);
    }
    // An entry of project 32 ("Chantier"), which the entry dialog needs
    // for OK.
    void addEntry(int id, qint64 start, qint64 end, const QString &title = QString())
    {
        exec(QStringLiteral("insert or ignore into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                            "(32,'Chantier',-1,0,1,1)"));
        exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,"
                            "Title,Date_Modif,Origine_Modif) values (%1,%2,%3,32,-1,-1,0,0,'%4',1,1)")
                 .arg(id)
                 .arg(start)
                 .arg(end)
                 .arg(title));
    }
    // Both programs, started, on clocks that read `now`; the tray showing
    // the favourites `favourites` when given. The tray's own poll is
    // stopped: what the main program changes reaches it by the change
    // notice alone, so that a lost notice fails the test (a test fires a
    // poll itself where it wants one).
    void startBoth(const QString &favourites = QString())
    {
        mainProgram = std::make_unique<DrivenProgram>(QStringLiteral(ZARVO_DRIVEN), QStringLiteral("main"));
        ASSERT_TRUE(mainProgram->Ready()) << mainProgram->Output().toStdString();
        trayProgram = std::make_unique<DrivenProgram>(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray"));
        ASSERT_TRUE(trayProgram->Ready()) << trayProgram->Output().toStdString();
        ASSERT_EQ(trayProgram->Ask(QStringLiteral("poll-timer off")), QStringLiteral("ok"));
        setClocks(*mainProgram, *trayProgram, now);
        if (!favourites.isEmpty()) {
            ASSERT_EQ(trayProgram->WaitFor(QStringLiteral("favourites"), favourites), QStringLiteral("ok"));
        }
    }
    void TearDown() override
    {
        trayProgram.reset();
        mainProgram.reset();
    }
    void setClocks(DrivenProgram &a, DrivenProgram &b, qint64 t)
    {
        ASSERT_EQ(a.Ask(QStringLiteral("clock %1").arg(t)), QStringLiteral("ok"));
        ASSERT_EQ(b.Ask(QStringLiteral("clock %1").arg(t)), QStringLiteral("ok"));
    }

    QString path;
    int anneId = -1;
    qint64 now = 0;
    std::unique_ptr<DrivenProgram> mainProgram;
    std::unique_ptr<DrivenProgram> trayProgram;
};

} // namespace

// A click on a favourite in the tray ends the main program's running entry
// and starts the favourite's: the main program shows it from the refresh
// message, and has nothing left to undo (its history would rewind the
// tray's write).
TEST_F(EndToEnd, ATrayClickShowsInTheMainProgramWithNothingLeftToUndo)
{
    addFavourite(2, QStringLiteral("Réunion"));
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,Title,"
                        "Date_Modif,Origine_Modif) values (98,%1,%2,-1,-1,-1,0,0,'',1,1)")
             .arg(now - 7200)
             .arg(now - 3600));
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;

    // The main program resumes the last entry: an undoable write, which the
    // tray shows from the change notice.
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainResume)), QStringLiteral("ok"));
    const QString resumed = newestInFile();
    ASSERT_TRUE(resumed.endsWith(QStringLiteral(" %1 0").arg(now))) << resumed.toStdString();
    EXPECT_EQ(main.WaitFor(QStringLiteral("undo"), QStringLiteral("1")), QStringLiteral("ok"));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("last"), resumed), QStringLiteral("ok"));

    setClocks(main, tray, now + 60);
    QElapsedTimer clickToView;
    clickToView.start();
    ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    const QString started = newestInFile();
    ASSERT_TRUE(started.endsWith(QStringLiteral(" %1 0").arg(now + 60))) << started.toStdString();
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), started), QStringLiteral("ok"));
    RecordProperty("ClickToMainProgramMs", QString::number(clickToView.elapsed()).toStdString());
    EXPECT_EQ(main.WaitFor(QStringLiteral("undo"), QStringLiteral("0")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("enabled %1").arg(MainUndo)), QStringLiteral("0"));
    // The week view's day holds the entries as the file does.
    EXPECT_EQ(main.WaitFor(QStringLiteral("day ") + QDateTime::fromSecsSinceEpoch(now).date().toString(Qt::ISODate),
                           QStringLiteral("98:%1 %2:%3 %4:0")
                               .arg(now - 3600)
                               .arg(resumed.section(u' ', 0, 0))
                               .arg(now + 60)
                               .arg(started.section(u' ', 0, 0))),
              QStringLiteral("ok"));
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=%1").arg(resumed.section(u' ', 0, 0))),
              QString::number(now + 60));
    EXPECT_EQ(cell(QStringLiteral("select Title from Taches where Fin=0")), QStringLiteral("Réunion"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
}

// A pause or a resume in the main program shows in the tray (its newest
// entry for the task button, today's entries for the day strip) through the
// change notice, also when it falls in the second of the tray's own last
// write (the 'Modif' stamp, in whole seconds, then does not change); with
// the tray's notices cut off, its next poll finds it.
TEST_F(EndToEnd, AChangeInTheMainProgramShowsInTheTrayByNoticeOrByPoll)
{
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,Title,"
                        "Date_Modif,Origine_Modif) values (98,%1,0,-1,-1,-1,0,0,'',1,1)")
             .arg(now - 3600));
    ASSERT_NO_FATAL_FAILURE(startBoth());
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(tray.WaitFor(QStringLiteral("last"), QStringLiteral("98 %1 0").arg(now - 3600)), QStringLiteral("ok"));

    // The tray pauses at `now`; the main program resumes in that second.
    ASSERT_EQ(tray.Ask(QStringLiteral("click %1").arg(TrayTaskButton)), QStringLiteral("ok"));
    ASSERT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now));
    ASSERT_EQ(main.WaitFor(QStringLiteral("running"), QStringLiteral("none")), QStringLiteral("ok"));
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainResume)), QStringLiteral("ok"));
    const QString resumed = newestInFile();
    ASSERT_TRUE(resumed.endsWith(QStringLiteral(" %1 0").arg(now))) << resumed.toStdString();
    EXPECT_EQ(cell(QStringLiteral("select Value from Infos where Name='Modif'")), QString::number(now));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("last"), resumed), QStringLiteral("ok"));
    EXPECT_EQ(tray.Ask(QStringLiteral("state day")), QStringLiteral("98:%1 %2:0").arg(now).arg(resumed.section(u' ', 0, 0)));

    // Notices cut off: the pause waits for the poll.
    ASSERT_EQ(tray.Ask(QStringLiteral("mute")), QStringLiteral("ok"));
    setClocks(main, tray, now + 120);
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainPause)), QStringLiteral("ok"));
    const QString paused = newestInFile();
    ASSERT_EQ(paused, resumed.section(u' ', 0, 1) + QStringLiteral(" %1").arg(now + 120));
    EXPECT_EQ(tray.Ask(QStringLiteral("state last")), resumed) << "no notice reached the tray";
    EXPECT_EQ(tray.Ask(QStringLiteral("poll")), QStringLiteral("ok"));
    EXPECT_EQ(tray.Ask(QStringLiteral("state last")), paused);
    EXPECT_EQ(tray.Ask(QStringLiteral("state day")),
              QStringLiteral("98:%1 %2:%3").arg(now).arg(resumed.section(u' ', 0, 0)).arg(now + 120));
    ASSERT_EQ(tray.Ask(QStringLiteral("unmute")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
}

// The main program chooses another user while the tray's task dialog is
// open on the first user's lists (the tray follows under the dialog): OK
// writes into neither database and says that the user changed and the
// task was not started. A pop-up menu opened before the change does not
// start its favourite in the other user's file, where the same number is
// another favourite, and says the same.
TEST_F(EndToEnd, TheTraysTaskDialogAndMenuWriteIntoNoUserChosenMeanwhile)
{
    exec(QStringLiteral("insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values "
                        "(32,'Chantier',-1,0,1,1)"));
    addFavourite(2, QStringLiteral("Réunion"));
    QString bruno;
    const int brunoId = addUser(QStringLiteral("Bruno"), bruno);
    addFavourite(2, QStringLiteral("Courrier"), bruno);
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    const QString userChanged = QStringLiteral("L'utilisateur a été changé dans Zarvo pendant que cette fenêtre était "
                                               "ouverte. La tâche n'a pas été démarrée.");
    const QString entries = QStringLiteral("select count(*) from Taches");

    ASSERT_EQ(tray.Ask(QStringLiteral("hold")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("later trigger 33083")), QStringLiteral("ok"));
    ASSERT_EQ(tray.WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgTask")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("key 1077 Down")), QStringLiteral("ok")) << "Anne's project 32";
    ASSERT_EQ(main.Ask(QStringLiteral("switch-user %1").arg(brunoId)), QStringLiteral("ok"));
    ASSERT_EQ(tray.WaitFor(QStringLiteral("user"), QStringLiteral("Bruno")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("click 1")), QStringLiteral("ok"));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), userChanged);
    EXPECT_EQ(cell(entries, bruno), QStringLiteral("0"));
    EXPECT_EQ(cell(entries), QStringLiteral("0"));

    ASSERT_EQ(main.Ask(QStringLiteral("switch-user %1").arg(anneId)), QStringLiteral("ok"));
    ASSERT_EQ(tray.WaitFor(QStringLiteral("user"), QStringLiteral("Anne")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("click 1035")), QStringLiteral("ok")) << "the menu, on Anne's favourites";
    ASSERT_EQ(main.Ask(QStringLiteral("switch-user %1").arg(brunoId)), QStringLiteral("ok"));
    ASSERT_EQ(tray.WaitFor(QStringLiteral("user"), QStringLiteral("Bruno")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("trigger 32783")), QStringLiteral("ok")) << "Anne's favourite 2";
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), userChanged + QStringLiteral(" | ") + userChanged);
    EXPECT_EQ(cell(entries, bruno), QStringLiteral("0"));
    EXPECT_EQ(cell(entries), QStringLiteral("0"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
}

// The main program's entry dialog is open on the running entry when the
// tray pauses it. OK tells that the entry changed, with both versions'
// times: going back writes nothing, and keeping the stored entry leaves
// the pause as the tray made it. On the entry the tray then resumes and
// pauses again, the user keeps their own: it runs again.
TEST_F(EndToEnd, TheMainProgramsEntryDialogDoesNotUndoAPauseMadeInTheTray)
{
    addEntry(98, now - 3600, 0, QStringLiteral("Rapport"));
    ASSERT_NO_FATAL_FAILURE(startBoth());
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(tray.WaitFor(QStringLiteral("last"), QStringLiteral("98 %1 0").arg(now - 3600)), QStringLiteral("ok"));
    ASSERT_EQ(main.Ask(QStringLiteral("hold")), QStringLiteral("ok"));

    ASSERT_EQ(main.Ask(QStringLiteral("later edit-entry 98")), QStringLiteral("ok"));
    ASSERT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgTask")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("click %1").arg(TrayTaskButton)), QStringLiteral("ok"));
    ASSERT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now));

    ASSERT_EQ(main.Ask(QStringLiteral("answer 25")), QStringLiteral("ok")) << "Annuler";
    ASSERT_EQ(main.Ask(QStringLiteral("click 1")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("state modal")), QStringLiteral("CDlgTask"));
    const QString asked = main.Ask(QStringLiteral("boxes"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Cette tâche a été modifiée entre-temps.* Tâche enregistrée : "
                                                  "[^-]*11:00[^-]* - [^-]*12:00.* Votre tâche : [^-]*11:00[^-]* - "
                                                  "En cours… .*garder \\?$"))
                    .match(asked)
                    .hasMatch())
        << asked.toStdString();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now));

    ASSERT_EQ(main.Ask(QStringLiteral("answer 23")), QStringLiteral("ok")) << "Garder l'enregistrée";
    ASSERT_EQ(main.Ask(QStringLiteral("click 1")), QStringLiteral("ok"));
    EXPECT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now)) << "the pause stands";
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), QStringLiteral("none")), QStringLiteral("ok"));

    setClocks(main, tray, now + 60);
    ASSERT_EQ(tray.Ask(QStringLiteral("click %1").arg(TrayTaskButton)), QStringLiteral("ok"));
    const QString resumed = newestInFile();
    ASSERT_EQ(resumed.section(u' ', 1), QStringLiteral("%1 0").arg(now + 60));
    const QString id = resumed.section(u' ', 0, 0);
    ASSERT_EQ(main.Ask(QStringLiteral("later edit-entry ") + id), QStringLiteral("ok"));
    ASSERT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgTask")), QStringLiteral("ok"));
    setClocks(main, tray, now + 120);
    ASSERT_EQ(tray.Ask(QStringLiteral("click %1").arg(TrayTaskButton)), QStringLiteral("ok"));
    ASSERT_EQ(cell(QStringLiteral("select Fin from Taches where Id=") + id), QString::number(now + 120));
    ASSERT_EQ(main.Ask(QStringLiteral("answer 24")), QStringLiteral("ok")) << "Garder la mienne";
    ASSERT_EQ(main.Ask(QStringLiteral("click 1")), QStringLiteral("ok"));
    EXPECT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=") + id), QStringLiteral("0"));
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), resumed), QStringLiteral("ok"));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("last"), resumed), QStringLiteral("ok")) << "by the change notice";
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")).count(QStringLiteral("Cette tâche a été modifiée entre-temps")), 3);
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
}

// An entry moved in the main program's week view, then given a later end
// in its entry dialog: the tray's day strip and current-task button draw
// each change, by the change notice.
TEST_F(EndToEnd, AnEntryMovedOrChangedInTheMainProgramShowsInTheTraysButtonAndStrip)
{
    const QDate today = QDateTime::fromSecsSinceEpoch(now).date();
    const auto at = [&today](int h, int m) { return QDateTime(today, QTime(h, m)).toSecsSinceEpoch(); };
    // The value of a line of the button ("Début", "Fin").
    const auto line = [](const QString &button, const QString &label) {
        for (const QString &l : button.split(u'|')) {
            if (l.startsWith(label + u'='))
                return l.mid(label.size() + 1);
        }
        return QStringLiteral("<no line>");
    };
    addEntry(98, at(7, 0), at(8, 0), QStringLiteral("Tri"));
    ASSERT_NO_FATAL_FAILURE(startBoth());
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(tray.WaitFor(QStringLiteral("day-strip"), QStringLiteral("420-480")), QStringLiteral("ok"));

    ASSERT_EQ(main.Ask(QStringLiteral("drag %1 %2").arg(at(7, 30)).arg(at(9, 30))), QStringLiteral("ok"));
    ASSERT_EQ(cell(QStringLiteral("select Debut||' '||Fin from Taches where Id=98")),
              QStringLiteral("%1 %2").arg(at(9, 0)).arg(at(10, 0)));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("day-strip"), QStringLiteral("540-600")), QStringLiteral("ok"));
    QString button = tray.Ask(QStringLiteral("task-button"));
    EXPECT_TRUE(line(button, QStringLiteral("Début")).endsWith(QStringLiteral("09:00"))) << button.toStdString();
    EXPECT_TRUE(line(button, QStringLiteral("Fin")).endsWith(QStringLiteral("10:00"))) << button.toStdString();

    ASSERT_EQ(main.Ask(QStringLiteral("hold")), QStringLiteral("ok"));
    ASSERT_EQ(main.Ask(QStringLiteral("later edit-entry 98")), QStringLiteral("ok"));
    ASSERT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("CDlgTask")), QStringLiteral("ok"));
    ASSERT_EQ(main.Ask(QStringLiteral("key 1171 Up")), QStringLiteral("ok")) << "the end an hour later";
    ASSERT_EQ(main.Ask(QStringLiteral("click 1")), QStringLiteral("ok"));
    ASSERT_EQ(main.WaitFor(QStringLiteral("modal"), QStringLiteral("none")), QStringLiteral("ok"));
    ASSERT_EQ(cell(QStringLiteral("select Debut||' '||Fin from Taches where Id=98")),
              QStringLiteral("%1 %2").arg(at(9, 0)).arg(at(11, 0)));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("day-strip"), QStringLiteral("540-660")), QStringLiteral("ok"));
    button = tray.Ask(QStringLiteral("task-button"));
    EXPECT_TRUE(line(button, QStringLiteral("Début")).endsWith(QStringLiteral("09:00"))) << button.toStdString();
    EXPECT_TRUE(line(button, QStringLiteral("Fin")).endsWith(QStringLiteral("11:00"))) << button.toStdString();
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
}

// A lock another program holds beyond every wait fails a tray click with
// the tray's message and nothing written; once the lock is let go, the
// next click lands and the main program shows it.
TEST_F(EndToEnd, AClickOnAFileHeldByAThirdProgramFailsCleanlyThenLands)
{
    addFavourite(2, QStringLiteral("Réunion"));
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    // The program's own budget is 5 seconds a try over eleven tries: the
    // test shortens each try.
    ASSERT_EQ(tray.Ask(QStringLiteral("busy 100")), QStringLiteral("ok"));
    const QString before = cell(QStringLiteral("select count(*)||' '||ifnull(max(Id),0) from Taches"));
    {
        SQLite::CmyDataBase third;
        ASSERT_EQ(third.Open(path), 0);
        ASSERT_TRUE(third.BeginTransaction());
        ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
        third.RollbackTransaction();
    }
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_EQ(cell(QStringLiteral("select count(*)||' '||ifnull(max(Id),0) from Taches")), before);
    EXPECT_EQ(cell(QStringLiteral("select Ordre from Favoris where Id=2")), QStringLiteral("0"));

    ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    const QString started = newestInFile();
    ASSERT_TRUE(started.endsWith(QStringLiteral(" %1 0").arg(now))) << started.toStdString();
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), started), QStringLiteral("ok"));
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QStringLiteral("Erreur lors de l'écriture dans la base de données."))
        << "one message, for the first click only";
}

// The user's database removed under both programs: the tray says so in
// place of its views, the main program when it writes; neither makes a new
// file in its place.
TEST_F(EndToEnd, AUserDatabaseRemovedUnderBothProgramsIsNotMadeAgain)
{
    ASSERT_NO_FATAL_FAILURE(startBoth());
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(tray.WaitFor(QStringLiteral("message"), QStringLiteral("none")), QStringLiteral("ok"));
    ASSERT_TRUE(QFile::remove(path));
    setClocks(*mainProgram, tray, now + 1);
    ASSERT_EQ(tray.Ask(QStringLiteral("poll")), QStringLiteral("ok"));
    EXPECT_TRUE(tray.Ask(QStringLiteral("state message")).startsWith(QStringLiteral("L'utilisateur n'existe pas")));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(tray.Ask(QStringLiteral("click 1004")), QStringLiteral("none")) << "no views to click";
    EXPECT_FALSE(QFileInfo::exists(path));
    // Nor by the main program: its next write fails and says so.
    EXPECT_EQ(mainProgram->Ask(QStringLiteral("trigger %1").arg(MainResume)), QStringLiteral("ok"));
    EXPECT_EQ(mainProgram->Ask(QStringLiteral("boxes")), QStringLiteral("Erreur lors de l'écriture dans la base de données."));
    EXPECT_FALSE(QFileInfo::exists(path));
}

// A second copy of either program ends with 0 and leaves the running one
// answering; a tray killed outright gives way to a new one, which shows
// the entry still running.
TEST_F(EndToEnd, SecondCopiesEndAndAKilledTrayIsReplaced)
{
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,Title,"
                        "Date_Modif,Origine_Modif) values (98,%1,0,-1,-1,-1,0,0,'Depuis ce matin',1,1)")
             .arg(now - 3600));
    ASSERT_NO_FATAL_FAILURE(startBoth());
    for (const char *program : {ZARVO_DRIVEN, TRAY_DRIVEN}) {
        SCOPED_TRACE(program);
        ChildProcess second;
        second.Process().setProcessChannelMode(QProcess::ForwardedChannels);
        second.Start(QString::fromUtf8(program));
        ASSERT_TRUE(second.EndsWith(0, "its start beside the running copy"));
    }
    EXPECT_EQ(mainProgram->Ask(QStringLiteral("ping")), QStringLiteral("pong"));
    const QString running = QStringLiteral("98 %1 0").arg(now - 3600);
    EXPECT_EQ(trayProgram->WaitFor(QStringLiteral("last"), running), QStringLiteral("ok"));

    trayProgram->Kill();
    trayProgram = std::make_unique<DrivenProgram>(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray-again"));
    ASSERT_TRUE(trayProgram->Ready()) << trayProgram->Output().toStdString();
    EXPECT_EQ(trayProgram->WaitFor(QStringLiteral("last"), running), QStringLiteral("ok"));
    EXPECT_TRUE(trayProgram->Ask(QStringLiteral("state title")).endsWith(QStringLiteral("(en cours…)")));
}

// A refresh from the tray that never reached the main program leaves its
// history as it was: the undo that follows still takes no id twice and
// leaves the file whole.
TEST_F(EndToEnd, AnUndoAfterAMissedTrayRefreshReusesNoId)
{
    addFavourite(2, QStringLiteral("Réunion"));
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,Title,"
                        "Date_Modif,Origine_Modif) values (98,%1,%2,-1,-1,-1,0,0,'',1,1)")
             .arg(now - 7200)
             .arg(now - 3600));
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainResume)), QStringLiteral("ok"));
    ASSERT_EQ(main.WaitFor(QStringLiteral("undo"), QStringLiteral("1")), QStringLiteral("ok"));

    ASSERT_EQ(main.Ask(QStringLiteral("mute")), QStringLiteral("ok"));
    setClocks(main, tray, now + 60);
    ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    const QString trays = newestInFile();
    ASSERT_TRUE(trays.endsWith(QStringLiteral(" %1 0").arg(now + 60))) << trays.toStdString();
    ASSERT_EQ(main.Ask(QStringLiteral("unmute")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("state undo")), QStringLiteral("1")) << "the refresh was dropped";

    // The undo takes the main program's entry back; the tray's runs on and
    // is paused, then both programs start new entries.
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainUndo)), QStringLiteral("ok"));
    setClocks(main, tray, now + 120);
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainPause)), QStringLiteral("ok"));
    setClocks(main, tray, now + 180);
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainResume)), QStringLiteral("ok"));
    setClocks(main, tray, now + 240);
    ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    EXPECT_EQ(cell(QStringLiteral("select group_concat(Debut - %1, ' ') from (select Debut from Taches order by Debut)")
                       .arg(now)),
              QStringLiteral("-7200 60 180 240"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) = count(distinct Id) from Taches")), QStringLiteral("1"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Id=%1").arg(trays.section(u' ', 0, 0))),
              QStringLiteral("1"))
        << "the tray's entry stays";
    EXPECT_EQ(cell(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
}

// Both programs writing in turn as fast as they answer, each reloading on
// the other's notices meanwhile, with a third program reading the file
// all along: every write lands, none fails, no id is taken twice, the file
// stays whole and each program ends showing what the file holds.
TEST_F(EndToEnd, BothProgramsWritingWithAReaderBesideLoseNothing)
{
    addFavourite(2, QStringLiteral("Réunion"));
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;

    const QString stop = TestEnvironment::currentRoot() + QStringLiteral("/stop-reading");
    ChildProcess reader(QStringLiteral(DATASTORE_PEER), {QStringLiteral("read"), path, stop});
    ASSERT_TRUE(reader.Line("the reader's first read").startsWith(u"ready"));

    constexpr int Rounds = 10;
    QElapsedTimer clock;
    clock.start();
    for (int k = 0; k < Rounds; ++k) {
        SCOPED_TRACE(k);
        const qint64 t = now + 600 * k;
        const auto at = [](DrivenProgram &p, qint64 time, const QString &command) {
            EXPECT_EQ(p.Ask(QStringLiteral("clock %1").arg(time)), QStringLiteral("ok"));
            EXPECT_EQ(p.Ask(command), QStringLiteral("ok")) << command.toStdString();
        };
        at(tray, t, QStringLiteral("click-favourite 2"));
        at(tray, t + 100, QStringLiteral("click %1").arg(TrayTaskButton));
        // The tray's pause reached the main program: it may resume.
        EXPECT_EQ(main.WaitFor(QStringLiteral("enabled %1").arg(MainResume), QStringLiteral("1")), QStringLiteral("ok"));
        at(main, t + 200, QStringLiteral("trigger %1").arg(MainResume));
        at(main, t + 300, QStringLiteral("trigger %1").arg(MainPause));
    }
    const qint64 ms = clock.elapsed();
    QFile(stop).open(QIODevice::WriteOnly);
    ASSERT_TRUE(reader.Ends("its stop file"));
    const QString read = QString::fromUtf8(reader.Process().readAll()).trimmed();
    EXPECT_EQ(read.section(u' ', 2, 2), QStringLiteral("0")) << "failed reads: " << read.toStdString();
    RecordProperty("WritesPerSecond", QString::number(4 * Rounds * 1000.0 / std::max<qint64>(ms, 1)).toStdString());

    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin - Debut = 100")), QString::number(2 * Rounds));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), QString::number(2 * Rounds));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), QStringLiteral("0"));
    EXPECT_EQ(cell(QStringLiteral("select count(*) = count(distinct Id) from Taches")), QStringLiteral("1"));
    EXPECT_EQ(cell(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(main.Ask(QStringLiteral("dialogs")), QString()) << "a start or a pause asked instead of writing";
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), QStringLiteral("none")), QStringLiteral("ok"));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("last"), newestInFile()), QStringLiteral("ok"));
}

namespace {

// The process of `program` (a file name) that has an endpoint on the bus,
// once one appears; 0 when none comes. Endpoints are named after their
// process: the folder is watched, never looked at on a clock.
qint64 waitForEndpointOf(const QString &program)
{
    const QString folder = Platform::MessageBus::endpointFolder();
    const auto find = [&]() -> qint64 {
        for (const QString &name : QDir(folder).entryList({QStringLiteral("*.sock")}, QDir::System | QDir::Files)) {
            const qint64 pid = name.section(u'-', 0, 0).toLongLong();
            if (pid > 0 && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget().endsWith(u'/' + program))
                return pid;
        }
        return 0;
    };
    QFileSystemWatcher watcher({folder});
    QEventLoop loop;
    QTimer::singleShot(DrivenProgram::Patience, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (find() != 0)
            loop.quit();
    });
    if (find() == 0)
        loop.exec();
    return find();
}

} // namespace

// "Démarrer Zarvo" in the tray starts the main program installed beside
// it.
TEST_F(EndToEnd, DemarrerZarvoStartsTheMainProgramFromTheTraysFolder)
{
    DrivenProgram tray(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray"));
    ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
    ASSERT_EQ(tray.Ask(QStringLiteral("trigger %1").arg(TrayStartZarvo)), QStringLiteral("ok"));
    const qint64 zarvo = waitForEndpointOf(QStringLiteral("Zarvo"));
    ASSERT_NE(zarvo, 0);
    EXPECT_TRUE(ChildProcess::EndOther(zarvo, "the main program started by the tray"));

}

// Both programs on X servers of their own (xvfb-run), with a running entry
// started from the tray: pictures of both windows are kept beside the
// tests for a person to look at.
TEST_F(EndToEnd, BothWindowsOnADisplayArePictured)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    addFavourite(2, QStringLiteral("Réunion"));
    {
        // The tray's window stays after the click, for its picture.
        Platform::Settings settings;
        settings.setInt(u"Tray", u"Config", u"AutoHide", 0);
        settings.sync();
    }
    const QStringList display{QStringLiteral("QT_QPA_PLATFORM=xcb")};
    const QStringList server{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1600x1000x24")};
    DrivenProgram main(QStringLiteral("xvfb-run"), QStringLiteral("main"), server + QStringList{ZARVO_DRIVEN}, display);
    ASSERT_TRUE(main.Ready()) << main.Output().toStdString();
    DrivenProgram tray(QStringLiteral("xvfb-run"), QStringLiteral("tray"), server + QStringList{TRAY_DRIVEN}, display);
    ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
    ASSERT_EQ(tray.WaitFor(QStringLiteral("favourites"), QStringLiteral("2")), QStringLiteral("ok"));
    ASSERT_EQ(tray.Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    const QString started = newestInFile();
    ASSERT_EQ(main.WaitFor(QStringLiteral("running"), started), QStringLiteral("ok"));

    const QString folder = QStringLiteral(SCREENSHOT_FOLDER);
    ASSERT_TRUE(QDir().mkpath(folder));
    for (DrivenProgram *program : {&main, &tray}) {
        const QString file = folder + (program == &main ? QStringLiteral("/zarvo.png") : QStringLiteral("/zarvotray.png"));
        ASSERT_EQ(program->Ask(QStringLiteral("grab ") + file), QStringLiteral("ok"));
        const QImage picture(file);
        EXPECT_GE(picture.width(), 200) << file.toStdString();
        EXPECT_GE(picture.height(), 150) << file.toStdString();
    }
}

// A sleep of the machine while an entry runs, told as logind tells it: the
// tray ends the entry and the main program shows it stopped; a wake within
// five minutes runs it again in both programs; after a longer sleep, with
// "ActionOnRestart" 1, a new entry starts at the wake.
TEST_F(EndToEnd, AStandbyWhileAnEntryRunsIsFollowedByBothPrograms)
{
    PrivateSessionBus bus;
    if (bus.Address().isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    const QStringList power{QStringLiteral("DBUS_SESSION_BUS_ADDRESS=") + bus.Address(),
                            QStringLiteral("ZARVO_POWER_BUS=session")};
    {
        Platform::Settings settings;
        settings.setInt(u"Tray", u"Config", u"ActionOnRestart", 1);
        settings.sync();
    }
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Facture,Deleted,Title,"
                        "Date_Modif,Origine_Modif) values (98,%1,0,-1,-1,-1,0,0,'',1,1)")
             .arg(now - 3600));
    DrivenProgram main(QStringLiteral(ZARVO_DRIVEN), QStringLiteral("main"), {}, power);
    ASSERT_TRUE(main.Ready()) << main.Output().toStdString();
    DrivenProgram tray(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray"), {}, power);
    ASSERT_TRUE(tray.Ready()) << tray.Output().toStdString();
    // The tray shows its own writes without waiting for its poll.
    ASSERT_EQ(tray.Ask(QStringLiteral("poll-timer off")), QStringLiteral("ok"));
    const QString running = QStringLiteral("98 %1 0").arg(now - 3600);
    ASSERT_EQ(main.WaitFor(QStringLiteral("running"), running), QStringLiteral("ok"));
    ASSERT_EQ(tray.WaitFor(QStringLiteral("last"), running), QStringLiteral("ok"));
    const auto sleep = [&bus](bool starting) {
        QProcess send;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
        send.setProcessEnvironment(env);
        send.start(QStringLiteral("dbus-send"),
                   {QStringLiteral("--session"), QStringLiteral("--type=signal"), QStringLiteral("/org/freedesktop/login1"),
                    QStringLiteral("org.freedesktop.login1.Manager.PrepareForSleep"),
                    starting ? QStringLiteral("boolean:true") : QStringLiteral("boolean:false")});
        return send.waitForFinished(DrivenProgram::Patience) && send.exitCode() == 0;
    };

    setClocks(main, tray, now);
    ASSERT_TRUE(sleep(true));
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), QStringLiteral("none")), QStringLiteral("ok"));
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now));
    setClocks(main, tray, now + 120);
    ASSERT_TRUE(sleep(false));
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), running), QStringLiteral("ok"));
    EXPECT_EQ(tray.WaitFor(QStringLiteral("last"), running), QStringLiteral("ok"));

    ASSERT_TRUE(sleep(true));
    EXPECT_EQ(main.WaitFor(QStringLiteral("running"), QStringLiteral("none")), QStringLiteral("ok"));
    setClocks(main, tray, now + 900);
    ASSERT_TRUE(sleep(false));
    EXPECT_EQ(main.WaitFor(QStringLiteral("running-start"), QString::number(now + 900)), QStringLiteral("ok"));
    EXPECT_TRUE(newestInFile().endsWith(QStringLiteral(" %1 0").arg(now + 900))) << newestInFile().toStdString();
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=98")), QString::number(now + 120));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
}

// A settings file edited by hand between two runs, with values no option
// takes: each program starts on its defaults and works.
TEST_F(EndToEnd, JunkInTheSettingsFileGivesEachProgramItsDefaults)
{
    {
        Platform::Settings settings;
        settings.setString(u"Tray", u"Config", u"LeftClick", QStringLiteral("abc"));
        settings.setString(u"Tray", u"Config", u"Opacity", QStringLiteral("99999"));
        settings.setString(u"Tray", u"Config", u"ActionOnRestart", QStringLiteral("-4"));
        settings.setString(u"Tray", u"Favoris", u"Sorting", QStringLiteral("-7"));
        settings.setString(u"Tray", u"Favoris", u"Collapsed", QStringLiteral("a;;-3;99999;"));
        settings.setString(u"Config", u"Format", u"sDuree", QStringLiteral("%9!s!%"));
        settings.setString(u"Config", u"Format", u"Date", QStringLiteral("zz"));
        settings.setString(u"Workspace", u"", u"ApplicationLook", QStringLiteral("\u00ff\u00fe"));
        settings.sync();
    }
    addFavourite(2, QStringLiteral("Réunion"));
    ASSERT_NO_FATAL_FAILURE(startBoth(QStringLiteral("2")));
    ASSERT_EQ(trayProgram->Ask(QStringLiteral("click-favourite 2")), QStringLiteral("ok"));
    const QString started = newestInFile();
    ASSERT_TRUE(started.endsWith(QStringLiteral(" %1 0").arg(now))) << started.toStdString();
    EXPECT_EQ(mainProgram->WaitFor(QStringLiteral("running"), started), QStringLiteral("ok"));
    EXPECT_FALSE(trayProgram->Ask(QStringLiteral("state title")).isEmpty());
    EXPECT_EQ(mainProgram->Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(trayProgram->Ask(QStringLiteral("boxes")), QString());
}

// The tray started as a process on ten years of entries (about 40 000):
// from its start to its window made and first poll read, timed; it shows
// the entry running today.
TEST_F(EndToEnd, TheTrayStartsOnTenYearsOfEntries)
{
    {
        CBdD db(path);
        ASSERT_TRUE(db.Connection()->BeginTransaction());
        int id = 1;
        for (QDate d(2017, 1, 2); d < QDate::currentDate(); d = d.addDays(1)) {
            for (int k = 0; k < 11; ++k, ++id) {
                const qint64 start = QDateTime(d, QTime(8, 0)).toSecsSinceEpoch() + 45 * 60 * k;
                db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,"
                                          "Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                          "(%1,%2,%3,-1,-1,0,-1,%2,1,0,'Tâche %1','')")
                               .arg(id)
                               .arg(start)
                               .arg(start + 40 * 60));
            }
        }
        db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,"
                                  "Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                  "(%1,%2,0,-1,-1,0,-1,%2,1,0,'Aujourd''hui','')")
                       .arg(id)
                       .arg(now - 3600));
        db.Execute(QStringLiteral("update NextRowId set Pc=%1 where Name='Taches'").arg(id + 3));
        ASSERT_TRUE(db.Connection()->CommitTransaction());
    }
    QElapsedTimer clock;
    clock.start();
    trayProgram = std::make_unique<DrivenProgram>(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray"));
    ASSERT_TRUE(trayProgram->Ready()) << trayProgram->Output().toStdString();
    RecordProperty("TrayStartMs", QString::number(clock.elapsed()).toStdString());
    EXPECT_EQ(trayProgram->WaitFor(QStringLiteral("last"), newestInFile()), QStringLiteral("ok"));
    EXPECT_TRUE(trayProgram->Ask(QStringLiteral("state title")).endsWith(QStringLiteral("(en cours…)")));
}
