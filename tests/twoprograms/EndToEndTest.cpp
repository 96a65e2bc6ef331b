// The main program and the tray as real processes on one user database,
// each with its own connection, bus endpoint and clock, driven from here
// through their test drivers: what one writes, the other shows.
#include "CBdD.h"
#include "CUsers.h"
#include "DrivenProgram.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "tUsers.h"

#include "CmyDataBase.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Menu commands of the main program, and the tray's.
constexpr int MainUndo = 32942;
constexpr int MainPause = 32921;
constexpr int MainResume = 32920;
constexpr int TrayTaskButton = 1004;

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
        // The programs run on the real day, on clocks each test sets.
        now = QDateTime::currentSecsSinceEpoch();
    }

    void exec(const QString &sql)
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(path), 0);
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    }
    QString cell(const QString &sql)
    {
        SQLite::CmyDataBase db;
        if (db.Open(path) != 0)
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
    void addFavourite(int id, const QString &title)
    {
        exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title,"
                            "Date_Modif,Origine_Modif) values (%1,-1,-1,-1,0,0,'%2',1,1)")
                 .arg(id)
                 .arg(title));
    }
    // Both programs, started, on clocks that read `now`.
    void startBoth()
    {
        mainProgram = std::make_unique<DrivenProgram>(QStringLiteral(ZARVO_DRIVEN), QStringLiteral("main"));
        ASSERT_TRUE(mainProgram->Ready()) << mainProgram->Output().toStdString();
        trayProgram = std::make_unique<DrivenProgram>(QStringLiteral(TRAY_DRIVEN), QStringLiteral("tray"));
        ASSERT_TRUE(trayProgram->Ready()) << trayProgram->Output().toStdString();
        setClocks(*mainProgram, *trayProgram, now);
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
    ASSERT_NO_FATAL_FAILURE(startBoth());
    DrivenProgram &main = *mainProgram;
    DrivenProgram &tray = *trayProgram;
    ASSERT_EQ(tray.WaitFor(QStringLiteral("favourites"), QStringLiteral("2")), QStringLiteral("ok"));

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
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=%1").arg(resumed.section(u' ', 0, 0))),
              QString::number(now + 60));
    EXPECT_EQ(cell(QStringLiteral("select Title from Taches where Fin=0")), QStringLiteral("Réunion"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
}

// A pause or a resume in the main program shows in the tray through the
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

    // Notices cut off: the pause waits for the poll.
    ASSERT_EQ(tray.Ask(QStringLiteral("mute")), QStringLiteral("ok"));
    setClocks(main, tray, now + 120);
    ASSERT_EQ(main.Ask(QStringLiteral("trigger %1").arg(MainPause)), QStringLiteral("ok"));
    const QString paused = newestInFile();
    ASSERT_EQ(paused, resumed.section(u' ', 0, 1) + QStringLiteral(" %1").arg(now + 120));
    EXPECT_EQ(tray.Ask(QStringLiteral("state last")), resumed) << "no notice reached the tray";
    EXPECT_EQ(tray.Ask(QStringLiteral("poll")), QStringLiteral("1"));
    EXPECT_EQ(tray.Ask(QStringLiteral("state last")), paused);
    ASSERT_EQ(tray.Ask(QStringLiteral("unmute")), QStringLiteral("ok"));
    EXPECT_EQ(main.Ask(QStringLiteral("boxes")), QString());
    EXPECT_EQ(tray.Ask(QStringLiteral("boxes")), QString());
}
