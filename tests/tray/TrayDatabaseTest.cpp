// The tray's access to the user's database: what it opens, what a start,
// a stop and a reopen write, the day's entries, the favourites' lines, the
// project store's loads and the upgrade of older files.
#include "ShortBusyWait.h"
#include "TrayFixture.h"

#include "CComboBoxSuper.h"
#include "CTranslationStore.h"
#include "WidgetIds.h"
#include "tTacheParams.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <functional>

using Platform::Formatter;

namespace {

using TrayDatabaseTest = TrayFixture;

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A new entry as the tray makes one.
tTacheFull task(qint64 start, const QString &title = QString(), int project = -1)
{
    tTacheFull t;
    t.Id = 77; // ignored
    t.Debut = start;
    t.Title = title;
    t.IdProjet = project;
    return t;
}

} // namespace

// A file that is not a writable user database is never opened, made or
// written: every operation fails and leaves its outputs as said.
TEST_F(TrayDatabaseTest, AFileThatCannotBeUsedIsNeitherMadeNorWritten)
{
    const QString folder = TestFolders::root() + QStringLiteral("/others");
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile(folder + QStringLiteral("/empty.sdb")).open(QIODevice::WriteOnly);
    {
        QFile text(folder + QStringLiteral("/text.sdb"));
        text.open(QIODevice::WriteOnly);
        text.write("Zarvo\n");
    }
    const QStringList before = filesIn(folder);
    // With the log on, so that a log file made beside would show.
    CTrayDatabase::SetLogOn(true);
    for (const char *name : {"missing.sdb", "empty.sdb", "text.sdb"}) {
        SCOPED_TRACE(name);
        CTrayDatabase db(folder + u'/' + QString::fromLatin1(name));
        EXPECT_FALSE(db.IsOpen());
        EXPECT_FALSE(db.CanWrite());
        EXPECT_EQ(db.UpdateDb().outcome, CBdD::tUpgradeResult::Outcome::NotOpen);
        tTacheFull last = task(5);
        EXPECT_FALSE(db.GetLastTask(last));
        EXPECT_EQ(last.Id, -1) << "reset";
        EXPECT_FALSE(db.StartTask(task(now), -1));
        EXPECT_FALSE(db.StopTask(101, now));
        EXPECT_FALSE(db.ReopenTask(101, now));
        std::vector<tTacheFull> day{task(1)};
        bool running = false;
        EXPECT_FALSE(db.LoadDayTasks(day, Today, running));
        EXPECT_TRUE(day.empty());
        QString stamp = QStringLiteral("x");
        EXPECT_FALSE(db.GetModifStamp(stamp));
        EXPECT_TRUE(stamp.isEmpty());
        tTacheFull favourite = task(1);
        EXPECT_FALSE(db.GetFavourite(favourite, 2, true));
        std::vector<DataItems> items{DataItems{}};
        EXPECT_FALSE(db.FillFavourites(items, 0, store, TrayTexts()));
        EXPECT_EQ(items.size(), 1u) << "left as it was";
        EXPECT_FALSE(db.LoadProjects(store));
        EXPECT_FALSE(db.LoadHistory(store));
    }
    EXPECT_EQ(filesIn(folder), before);
    EXPECT_EQ(TestFolders::readFile(folder + QStringLiteral("/empty.sdb")), QByteArray());
}

// A start ends the entry running since at or before it, stores the new
// one and marks its favourite used, as one commit; nothing is written on
// opening, nor by any read.
TEST_F(TrayDatabaseTest, AClickIsOneCommitAndOpeningWritesNothing)
{
    exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title) "
                        "values (2,-1,-1,-1,5,0,'Réunion')"));
    put(101, at(9, 0), 0);
    CommitCounter commits;
    {
        CTrayDatabase db(path);
        ASSERT_TRUE(db.CanWrite());
        EXPECT_EQ(commits.Take(), 0) << "written on opening";
        tTacheFull last;
        ASSERT_TRUE(db.GetLastTask(last));
        std::vector<tTacheFull> day;
        bool running = false;
        ASSERT_TRUE(db.LoadDayTasks(day, Today, running));
        db.LoadProjects(store);
        db.LoadActivities(store);
        db.LoadRates(store);
        db.LoadHistory(store);
        std::vector<DataItems> items;
        ASSERT_TRUE(db.FillFavourites(items, 1, store, TrayTexts()));
        tTacheFull favourite;
        ASSERT_TRUE(db.GetFavourite(favourite, 2, true));
        EXPECT_EQ(commits.Take(), 0) << "written by a read";

        favourite.Debut = now;
        ASSERT_TRUE(db.StartTask(favourite, 2));
        EXPECT_EQ(commits.Take(), 1) << "start from a favourite";
        ASSERT_TRUE(db.GetLastTask(last));
        EXPECT_EQ(last.Title, QStringLiteral("Réunion"));
        ++now;
        ASSERT_TRUE(db.StopTask(last.Id, now));
        EXPECT_EQ(commits.Take(), 1) << "pause";
        ++now;
        tTacheFull resumed = last;
        resumed.Debut = now;
        resumed.Fin = 0;
        ASSERT_TRUE(db.StartTask(resumed, -1));
        EXPECT_EQ(commits.Take(), 1) << "resume";
    }
    EXPECT_EQ(cell(QStringLiteral("select Fin from Taches where Id=101")), QString::number(now - 2));
    EXPECT_EQ(cell(QStringLiteral("select Ordre from Favoris where Id=2")), QString::number(now - 2));
    EXPECT_EQ(cell(QStringLiteral("select group_concat(Id||':'||Fin, ' ') from (select * from Taches order by Id)")),
              QStringLiteral("101:%1 104:%2 107:0").arg(now - 2).arg(now - 1));
}

// The Part's cases of a start, each on a file of its own making.
TEST_F(TrayDatabaseTest, StartsEndTheRightEntryAndStoreWhatWasGiven)
{
    const qint64 in2039 = QDateTime(QDate(2039, 6, 1), QTime(9, 0)).toSecsSinceEpoch();
    struct Case
    {
        const char *what;
        std::function<void()> before;
        tTacheFull task;
        int favourite;
        bool landed;
        QString entries; // Id:Debut:Fin of every live entry after it, in id order
        QString check;   // a statement and its expected first cell, "sql=value"
    };
    const Case cases[] = {
        {"two running: only the first is ended",
         [&] { put(101, at(9, 0), 0); put(104, at(10, 0), 0); }, task(at(11, 0)), -1, true,
         QStringLiteral("101:%1:%2 104:%3:0 107:%2:0").arg(at(9, 0)).arg(at(11, 0)).arg(at(10, 0)), QString()},
        {"a start before every running entry ends none",
         [&] { put(101, at(9, 0), 0); }, task(at(8, 0)), -1, true,
         QStringLiteral("101:%1:0 104:%2:0").arg(at(9, 0)).arg(at(8, 0)), QString()},
        {"after 2038 the running entry is still ended",
         [&] { put(101, in2039 - 3600, 0); }, task(in2039), -1, true,
         QStringLiteral("101:%1:%2 104:%2:0").arg(in2039 - 3600).arg(in2039), QString()},
        {"quotes and other scripts come back unchanged",
         [] {}, task(at(9, 0), QStringLiteral("L'équipe « Ωmega » 東京 'x'")), -1, true,
         QStringLiteral("101:%1:0").arg(at(9, 0)),
         QStringLiteral("select Title from Taches where Id=101=L'équipe « Ωmega » 東京 'x'")},
        {"each start advances the counter by three",
         [] {}, task(at(9, 0)), -1, true, QStringLiteral("101:%1:0").arg(at(9, 0)),
         QStringLiteral("select Pc from NextRowId where Name='Taches'=104")},
        {"without a favourite the favourites are untouched",
         [&] { exec(QStringLiteral("insert into Favoris (Id,Ordre,Deleted) values (2,5,0)")); }, task(at(9, 0)), -1,
         true, QStringLiteral("101:%1:0").arg(at(9, 0)), QStringLiteral("select Ordre from Favoris where Id=2=5")},
        {"a favourite is marked used now",
         [&] { exec(QStringLiteral("insert into Favoris (Id,Ordre,Deleted) values (2,5,1)")); }, task(at(9, 0)), 2,
         true, QStringLiteral("101:%1:0").arg(at(9, 0)),
         QStringLiteral("select Ordre from Favoris where Id=2=%1").arg(at(18, 0))},
        {"a favourite that has no row starts nothing",
         [&] { put(101, at(9, 0), 0); }, task(at(10, 0)), 2, false, QStringLiteral("101:%1:0").arg(at(9, 0)),
         QStringLiteral("select Pc from NextRowId where Name='Taches'=101")},
        {"without an id counter nothing starts",
         [&] { put(101, at(9, 0), 0); exec(QStringLiteral("delete from NextRowId where Name='Taches'")); },
         task(at(10, 0)), -1, false, QStringLiteral("101:%1:0").arg(at(9, 0)), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        exec(QStringLiteral("delete from Taches"));
        exec(QStringLiteral("delete from Favoris"));
        exec(QStringLiteral("delete from NextRowId where Name='Taches'"));
        exec(QStringLiteral("insert into NextRowId values ('Taches',100,101,102)"));
        c.before();
        const QString before = dump();
        CTrayDatabase db(path);
        EXPECT_EQ(db.StartTask(c.task, c.favourite), c.landed);
        if (!c.landed) {
            EXPECT_EQ(dump(), before) << "written";
        }
        EXPECT_EQ(cell(QStringLiteral("select group_concat(Id||':'||Debut||':'||Fin, ' ') from "
                                      "(select * from Taches where Deleted=0 order by Id)")),
                  c.entries);
        if (!c.check.isEmpty()) {
            const qsizetype eq = c.check.lastIndexOf(u'=');
            EXPECT_EQ(cell(c.check.left(eq)), c.check.mid(eq + 1));
        }
    }
}

// A write meets the write lock of another program held past every wait:
// nothing of it stays, the id counter included.
TEST_F(TrayDatabaseTest, AStartThatCannotLockTheFileWritesNothing)
{
    put(101, at(9, 0), 0);
    const QString before = dump();
    const ShortBusyWait noWait;
    SQLite::CmyDataBase other;
    ASSERT_EQ(other.Open(path), 0);
    ASSERT_TRUE(other.BeginTransaction());
    {
        CTrayDatabase db(path);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_FALSE(db.StartTask(task(at(10, 0)), -1));
        EXPECT_FALSE(db.StopTask(101, at(10, 0)));
    }
    other.RollbackTransaction();
    EXPECT_EQ(dump(), before);
}

// A stop ends only an entry that still runs, and the reopen after a short
// standby runs again only the entry that stop ended.
TEST_F(TrayDatabaseTest, StopsAndReopensTouchOnlyTheEntryAsItWasLeft)
{
    put(101, at(9, 0), 0);
    put(104, at(7, 0), at(8, 0));
    put(107, at(12, 0), 0, QString(), 1);
    CTrayDatabase db(path);
    QString stamp;
    const struct
    {
        const char *what;
        std::function<bool()> write;
        bool landed;
        QString ends; // Fin of 101, 104, 107
    } cases[] = {
        {"stop of the running entry", [&] { return db.StopTask(101, at(17, 0)); }, true,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"stop again", [&] { return db.StopTask(101, at(17, 30)); }, false,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"stop of an ended entry", [&] { return db.StopTask(104, at(17, 30)); }, false,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"stop of a deleted entry", [&] { return db.StopTask(107, at(17, 30)); }, false,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"reopen with another end", [&] { return db.ReopenTask(101, at(17, 1)); }, false,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"reopen of a deleted entry", [&] { return db.ReopenTask(107, 0); }, false,
         QStringLiteral("%1 %2 0").arg(at(17, 0)).arg(at(8, 0))},
        {"reopen after the stop", [&] { return db.ReopenTask(101, at(17, 0)); }, true,
         QStringLiteral("0 %1 0").arg(at(8, 0))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString stampBefore = cell(QStringLiteral("select Value from Infos where Name='Modif'"));
        ++now;
        EXPECT_EQ(c.write(), c.landed);
        EXPECT_EQ(cell(QStringLiteral("select group_concat(Fin, ' ') from (select Fin from Taches order by Id)")),
                  c.ends);
        // 'Modif' changes with each write that lands, and only then.
        EXPECT_EQ(cell(QStringLiteral("select Value from Infos where Name='Modif'")),
                  c.landed ? QString::number(now) : stampBefore);
    }
}

// The newest entry is the one that started last, running or not.
TEST_F(TrayDatabaseTest, TheLastTaskIsTheNewestByStart)
{
    CTrayDatabase db(path);
    tTacheFull last = task(5);
    ASSERT_TRUE(db.GetLastTask(last)) << "no entry is no failure";
    EXPECT_EQ(last, tTacheFull()) << "the reset record";
    put(101, at(8, 0), at(17, 0), QStringLiteral("long"));
    put(104, at(9, 0), at(10, 0), QStringLiteral("newest"));
    put(107, at(11, 0), 0, QStringLiteral("deleted"), 1);
    ASSERT_TRUE(db.GetLastTask(last));
    EXPECT_EQ(last.Id, 104);
    EXPECT_EQ(last.Title, QStringLiteral("newest"));
    EXPECT_EQ(last.Fin, at(10, 0));
}

// Today's list holds every live entry that reaches into the day; a running
// one from its start day to today, and a later day only when it starts
// there. Days of the clock changes last 23 and 25 hours.
TEST_F(TrayDatabaseTest, ADaysTasksFollowTheRunningEntryRule)
{
    const QDate spring(2026, 3, 29);
    const QDate autumn(2026, 10, 25);
    put(101, at(Today.addDays(-1), 10, 0), 0, QStringLiteral("since yesterday"));
    put(104, at(Today, 8, 0), at(Today, 9, 0));
    put(107, at(Today.addDays(2), 9, 0), 0, QStringLiteral("in two days"));
    put(110, at(spring.addDays(-1), 23, 30), at(spring, 0, 30));
    put(113, at(spring, 23, 30), at(spring.addDays(1), 0, 10));
    put(125, at(spring.addDays(1), 0, 30), at(spring.addDays(1), 0, 45));
    put(116, at(autumn, 2, 30), at(autumn, 3, 30));
    put(119, at(autumn, 23, 59), at(autumn.addDays(1), 0, 1));
    put(122, at(Today, 12, 0), at(Today, 13, 0), QString(), 1);
    const struct
    {
        QDate day;
        const char *ids;
        bool running;
    } cases[] = {
        {Today.addDays(-1), "101", true},   {Today, "101 104", true},
        {Today.addDays(1), "", false},      {Today.addDays(2), "107", true},
        {spring.addDays(-1), "110", false}, {spring, "110 113", false}, {spring.addDays(1), "113 125", false},
        {autumn, "116 119", false},         {autumn.addDays(1), "119", false},
    };
    CTrayDatabase db(path);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        std::vector<tTacheFull> tasks;
        bool running = false;
        ASSERT_TRUE(db.LoadDayTasks(tasks, c.day, running));
        QStringList ids;
        for (const tTacheFull &t : tasks)
            ids << QString::number(t.Id);
        EXPECT_EQ(ids.join(u' '), QString::fromLatin1(c.ids));
        EXPECT_EQ(running, c.running);
    }
    // The flag is only ever set, and an invalid day is refused.
    std::vector<tTacheFull> tasks;
    bool running = true;
    ASSERT_TRUE(db.LoadDayTasks(tasks, Today.addDays(1), running));
    EXPECT_TRUE(running);
    EXPECT_FALSE(db.LoadDayTasks(tasks, QDate(2026, 2, 30), running));
}

// A favourite is read with its project, activity, rate and title, deleted
// or not as asked; one that has no row is not found and changes nothing.
TEST_F(TrayDatabaseTest, AFavouriteIsFoundOnlyWhenItHasARow)
{
    exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title) "
                        "values (2,32,35,5,1,1,'Ancien')"));
    CTrayDatabase db(path);
    tTacheFull t = task(at(9, 0), QStringLiteral("gardé"));
    EXPECT_FALSE(db.GetFavourite(t, 2, false));
    EXPECT_FALSE(db.GetFavourite(t, 4242, true));
    EXPECT_EQ(t.Title, QStringLiteral("gardé")) << "left as it was";
    ASSERT_TRUE(db.GetFavourite(t, 2, true));
    EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5").arg(t.IdProjet).arg(t.IdActivite).arg(t.IdTauxHoraire).arg(t.Title).arg(t.Debut),
              QStringLiteral("32 35 5 Ancien %1").arg(at(9, 0)));
}

namespace {

// A user database as an earlier version of the program left it: version 0
// or 1, or 2 without the plans' Visible column; a later version's; or a
// version 0 without the History table, whose upgrade cannot pass.
void makeFile(const QString &path, int version, bool visible = true, bool history = true)
{
    if (version >= 2) {
        CBdD db(path);
        if (!visible)
            db.Execute(u"alter table Forecast drop column Visible");
        db.Execute(QStringLiteral("update Infos set Value='%1' where Name='VersionDB'").arg(version));
        return;
    }
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.Open(path), 0);
    const QString titles = version >= 1 ? QStringLiteral(", Title text default ''") : QString();
    for (const QString &sql : {
             "create table Favoris(Id integer PRIMARY KEY, IdProject integer, IdActivite integer, IdTauxHoraire "
             "integer, Ordre integer, Date_Modif integer, Origine_Modif integer, Deleted integer, Share integer "
             "default 0" + titles + ")",
             "Create table Taches(Id integer primary key, Debut integer, Fin integer, IdActivite integer, IdProjet "
             "integer, Facture integer, IdTauxHoraire integer, Date_Modif integer, Origine_Modif integer, Deleted "
             "integer" + (version >= 1 ? QStringLiteral(", Title text default '', Notes text default ''") : QString()) + ")",
             QStringLiteral("create table Projets(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, "
                            "Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, "
                            "Date_Modif integer, Origine_Modif integer, Deleted integer, Parent integer default -1)"),
             QStringLiteral("create table Activites(Id integer PRIMARY KEY, Nom text, Commentaire text, Red integer, "
                            "Green integer, Blue integer, IdTauxHoraire integer, Visible integer, Ordre integer, "
                            "Date_Modif integer, Origine_Modif integer, Deleted integer)"),
             QStringLiteral("create table TauxHoraire(Id integer PRIMARY KEY, Nom text, Commentaire text, Valeur "
                            "real, Date_Modif integer, Origine_Modif integer, Deleted integer)"),
             QStringLiteral("create table NextRowId(Name text, Ppc integer, Pc integer, Serveur integer)"),
             QStringLiteral("insert into NextRowId values ('Taches',100,101,102)"),
             QStringLiteral("create table Infos(Name text, Value text)"),
             QStringLiteral("insert into Infos values ('Modif','5')"),
             QStringLiteral("insert into Taches(Id, Debut, Fin, Deleted) values (98, 1000, 2000, 0)"),
         })
        ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
    if (history) {
        ASSERT_EQ(db.Execute("create table History(IdProjet integer, IdActivite integer, IdTauxHoraire integer" + titles + ")"), 0);
    }
    if (version >= 1) {
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Infos values ('VersionDB','%1')").arg(version)), 0);
    }
}

} // namespace

// Each choice of user runs the main program's upgrade: older files are
// copied aside and brought to the current version, a later version's file
// is left byte for byte, and a file the upgrade could not bring up is not
// written afterwards. The tray logs the failure under its own name.
TEST_F(TrayDatabaseTest, TheUpgradeOfEachVersionAndWhatIsWrittenAfter)
{
    using Outcome = CBdD::tUpgradeResult::Outcome;
    CTrayDatabase::SetLogOn(true);
    const struct
    {
        const char *name;
        int version;
        bool visible, history;
        Outcome outcome;
        const char *copy; // the dated copy beside the file, or ""
        bool writable;
    } cases[] = {
        {"v0", 0, true, true, Outcome::Upgraded, "Zarvo_V0_20260310180000.sdb", true},
        {"v1", 1, true, true, Outcome::Upgraded, "Zarvo_V1_20260310180000.sdb", true},
        {"v2 without Visible", 2, false, true, Outcome::Completed, "", true},
        {"v2", 2, true, true, Outcome::Current, "", true},
        {"v3", 3, true, true, Outcome::TooNew, "", false},
        {"v0 whose upgrade fails", 0, true, false, Outcome::Failed, "Zarvo_V0_20260310180000.sdb", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = TestFolders::root() + u'/' + QString::fromLatin1(c.name).replace(u' ', u'_');
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString file = folder + QStringLiteral("/Zarvo.sdb");
        makeFile(file, c.version, c.visible, c.history);
        const QByteArray bytes = TestFolders::readFile(file);
        {
            CTrayDatabase db(file);
            EXPECT_EQ(db.CanWrite(), c.version == 2);
            EXPECT_EQ(db.UpdateDb().outcome, c.outcome);
            EXPECT_EQ(db.CanWrite(), c.writable);
            EXPECT_EQ(db.StartTask(task(now), -1), c.writable);
        }
        QStringList expected{QStringLiteral("Zarvo.sdb")};
        if (*c.copy)
            expected << QString::fromLatin1(c.copy);
        if (c.outcome == Outcome::Failed)
            expected << QStringLiteral("Zarvo.log");
        expected.sort();
        EXPECT_EQ(filesIn(folder), expected);
        if (!c.writable) {
            EXPECT_EQ(TestFolders::readFile(file), bytes) << "written";
        }
        if (c.writable) {
            CTrayDatabase again(file);
            EXPECT_TRUE(again.CanWrite());
            EXPECT_EQ(again.UpdateDb().outcome, Outcome::Current);
        }
        if (c.outcome == Outcome::Failed) {
            EXPECT_TRUE(TestFolders::readFile(folder + QStringLiteral("/Zarvo.log"))
                            .startsWith("10/03/2026 18:00:00 ZarvoTray : sqlite error '1' in 'UpdateDb'"));
        }
    }
}
