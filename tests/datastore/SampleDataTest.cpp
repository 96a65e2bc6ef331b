#include "CBdD.h"
#include "TestFolders.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTimeZone>

#include <ctime>
#include <map>
#include <ostream>

using Platform::Formatter;

namespace {

qint64 at(int y, int m, int d, int h, int mi)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi)).toSecsSinceEpoch();
}

QString when(qint64 t)
{
    return Platform::LocalTime::toLocal(t).toString(QStringLiteral("ddd yyyy-MM-dd HH:mm"));
}

QString value(CBdD &db, QStringView sql)
{
    auto t = db.Query(sql);
    return t.hasRows() ? t->GetCell(0, 0) : QString();
}

void exec(CBdD &db, QStringView sql)
{
    ASSERT_EQ(db.Execute(sql), 0) << sql.toString().toStdString();
}

void addEntry(CBdD &db, int id, qint64 start, qint64 end)
{
    exec(db, Formatter::sprintf(u"insert into Taches(Id, Debut, Fin, IdActivite, IdProjet, Facture, IdTauxHoraire, "
                                u"Date_Modif, Origine_Modif, Deleted) values (%d, %I64d, %I64d, 1, 1, 0, -1, 5, 1, 0)",
                                {id, start, end}));
}

// Id -> "start..end" in local time, for readable comparisons.
std::map<int, std::pair<QString, QString>> entries(CBdD &db)
{
    std::map<int, std::pair<QString, QString>> out;
    auto t = db.Query(u"select Id, Debut, Fin from Taches order by Id");
    for (int r = 0; t && r < t->rowCount(); ++r)
        out[t->GetCell(r, 0).toInt()] = {when(t->GetCell(r, 1).toLongLong()), when(t->GetCell(r, 2).toLongLong())};
    return out;
}

// A small sample: a day crossing midnight, three days of entries in
// February 2026 (winter time) with a day without entries between them.
void fillSample(CBdD &db)
{
    addEntry(db, 1, at(2026, 2, 2, 23, 0), at(2026, 2, 3, 1, 0));   // Monday night to Tuesday
    addEntry(db, 2, at(2026, 2, 3, 9, 0), at(2026, 2, 3, 10, 0));   // Tuesday
    addEntry(db, 3, at(2026, 2, 3, 10, 30), at(2026, 2, 3, 12, 0));
    addEntry(db, 4, at(2026, 2, 3, 14, 0), at(2026, 2, 3, 15, 0));
    addEntry(db, 5, at(2026, 2, 4, 8, 0), at(2026, 2, 4, 9, 0));    // Wednesday
    addEntry(db, 6, at(2026, 2, 6, 9, 0), at(2026, 2, 6, 9, 20));   // Friday (Thursday empty)
    addEntry(db, 7, at(2026, 2, 6, 11, 15), at(2026, 2, 6, 12, 0));
    exec(db, Formatter::sprintf(u"insert into Forecast(IdProject, IdActivity, DateDebut, DateFin, DateAlerte, Date_Modif, "
                                u"Origine_Modif) values (1, -2, %I64d, 0, %I64d, 5, 1)",
                                {at(2026, 2, 2, 9, 0), at(2026, 2, 20, 9, 0)}));
    exec(db, u"insert into Projets(Id, Nom, Date_Modif) values (1, 'P', 5)");
    exec(db, u"insert into Activites(Id, Nom, Date_Modif) values (1, 'A', 5)");
    exec(db, u"insert into Favoris(Id, IdProject, Date_Modif) values (1, 1, 5)");
    exec(db, u"insert into TauxHoraire(Id, Nom, Date_Modif) values (1, 'T', 5)");
    exec(db, u"insert into ProjectChilds(IdProject, Childs, Date_Modif) values (-1, ';1;', 5)");
    exec(db, u"insert into Infos(Name, Value) values ('Demo', '1')");
    exec(db, u"update Infos set Value='777' where Name='Backup'");
    exec(db, u"update NextRowId set Pc=500 where Name='Taches'");
    exec(db, u"update NextRowId set Pc=77 where Name='Projets'");
    exec(db, u"update NextRowId set Pc=80 where Name='Activites'");
}

} // namespace

TEST(RedateSampleData, OntoTodayAndThePrecedingWorkingDays)
{
    struct Case
    {
        const char *what;
        qint64 now;
        std::map<int, std::pair<QString, QString>> expected;
    };
    const Case cases[] = {
        // Today is a Monday just after the change to summer time: the
        // latest sample day lands on today, its entries still to come are
        // removed; the weekend is skipped for the next ones.
        {"Monday", at(2026, 3, 30, 9, 30),
         {{1, {"Mon 2026-02-02 23:00", "Tue 2026-02-03 01:00"}},
          {2, {"Thu 2026-03-26 09:00", "Thu 2026-03-26 10:00"}},
          {3, {"Thu 2026-03-26 10:30", "Thu 2026-03-26 12:00"}},
          {4, {"Thu 2026-03-26 14:00", "Thu 2026-03-26 15:00"}},
          {5, {"Fri 2026-03-27 08:00", "Fri 2026-03-27 09:00"}},
          {6, {"Mon 2026-03-30 09:00", "Mon 2026-03-30 09:20"}}}},
        // On a Saturday the latest day goes to the Friday before.
        {"Saturday", at(2026, 3, 28, 10, 0),
         {{1, {"Mon 2026-02-02 23:00", "Tue 2026-02-03 01:00"}},
          {2, {"Wed 2026-03-25 09:00", "Wed 2026-03-25 10:00"}},
          {3, {"Wed 2026-03-25 10:30", "Wed 2026-03-25 12:00"}},
          {4, {"Wed 2026-03-25 14:00", "Wed 2026-03-25 15:00"}},
          {5, {"Thu 2026-03-26 08:00", "Thu 2026-03-26 09:00"}},
          {6, {"Fri 2026-03-27 09:00", "Fri 2026-03-27 09:20"}},
          {7, {"Fri 2026-03-27 11:15", "Fri 2026-03-27 12:00"}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = TestFolders::tempDb(QString::fromLatin1(c.what) + QStringLiteral(".sdb"));
        CBdD db(path);
        ASSERT_TRUE(db.IsOpen());
        fillSample(db);
        Platform::Clock::setFixedNow(c.now);

        ASSERT_TRUE(db.RedateSampleData());

        EXPECT_EQ(entries(db), c.expected);
        // The plans move as far as the latest entry did to reach today's
        // date at its clock time; an unset date stays unset.
        const qint64 latest = at(2026, 2, 6, 11, 15);
        const QDate today = Platform::LocalTime::localDate(c.now);
        const qint64 shift = QDateTime(today, QTime(11, 15)).toSecsSinceEpoch() - latest;
        EXPECT_EQ(value(db, u"select DateDebut from Forecast").toLongLong(), at(2026, 2, 2, 9, 0) + shift);
        EXPECT_EQ(value(db, u"select DateFin from Forecast").toLongLong(), 0);
        EXPECT_EQ(value(db, u"select DateAlerte from Forecast").toLongLong(), at(2026, 2, 20, 9, 0) + shift);
        // Counters back to the seeds, stamps to now, the sample mark gone.
        EXPECT_EQ(value(db, u"select Pc from NextRowId where Name='Taches'"), QStringLiteral("101"));
        EXPECT_EQ(value(db, u"select Pc from NextRowId where Name='Projets'"), QStringLiteral("32"));
        EXPECT_EQ(value(db, u"select Pc from NextRowId where Name='Activites'"), QStringLiteral("32"));
        for (const char *table : {"Taches", "Projets", "Activites", "Favoris", "Forecast", "ProjectChilds", "TauxHoraire"}) {
            EXPECT_EQ(value(db, QStringLiteral("select count(*) from %1 where Date_Modif<>%2")
                                    .arg(QLatin1String(table)).arg(c.now)),
                      QStringLiteral("0"))
                << table;
        }
        EXPECT_EQ(value(db, u"select Value from Infos where Name='Modif'"), QString::number(c.now));
        EXPECT_EQ(value(db, u"select Value from Infos where Name='Backup'"), QString());
        EXPECT_EQ(value(db, u"select count(*) from Infos where Name='Demo'"), QStringLiteral("0"));
    }
}

TEST(RedateSampleData, MovedEntriesAreNotMovedTwice)
{
    // A sample whose days are recent: the Saturday's entries go back to the
    // Friday, a window that the sweep reaches afterwards.
    CBdD db(TestFolders::tempDb());
    addEntry(db, 1, at(2026, 3, 19, 9, 0), at(2026, 3, 19, 10, 0)); // Thursday
    addEntry(db, 2, at(2026, 3, 28, 9, 0), at(2026, 3, 28, 10, 0)); // Saturday
    addEntry(db, 3, at(2026, 3, 29, 9, 0), at(2026, 3, 29, 10, 0)); // Sunday
    Platform::Clock::setFixedNow(at(2026, 3, 30, 12, 0));           // Monday
    ASSERT_TRUE(db.RedateSampleData());
    const std::map<int, std::pair<QString, QString>> expected = {
        {1, {"Thu 2026-03-26 09:00", "Thu 2026-03-26 10:00"}},
        {2, {"Fri 2026-03-27 09:00", "Fri 2026-03-27 10:00"}},
        {3, {"Mon 2026-03-30 09:00", "Mon 2026-03-30 10:00"}},
    };
    EXPECT_EQ(entries(db), expected);
}

TEST(RedateSampleData, WithoutEntriesOnlyResetsTheCounters)
{
    CBdD db(TestFolders::tempDb());
    exec(db, u"insert into Forecast(IdProject, IdActivity, DateDebut) values (1, -2, 1000)");
    exec(db, u"update NextRowId set Pc=500 where Name='Taches'");
    Platform::Clock::setFixedNow(at(2026, 3, 30, 12, 0));
    ASSERT_TRUE(db.RedateSampleData());
    EXPECT_EQ(value(db, u"select Pc from NextRowId where Name='Taches'"), QStringLiteral("101"));
    EXPECT_EQ(value(db, u"select DateDebut from Forecast"), QStringLiteral("1000"));
}

TEST(RedateSampleData, FailsWithoutADatabase)
{
    CBdD none{QString()};
    EXPECT_FALSE(none.RedateSampleData());
}

namespace {

// A source file with projects up to id 35, two activities, a rate, a
// favourite and plans of projects and activities.
QString makeSource()
{
    const QString path = TestFolders::tempDb(QStringLiteral("source.sdb"));
    CBdD src(path);
    exec(src, u"insert into Projets(Id, Nom, Commentaire, Red, Parent, Deleted) values (2, 'Client d''été', 'c', 10, -1, 0)");
    exec(src, u"insert into Projets(Id, Nom, Commentaire, Red, Parent, Deleted) values (35, 'Sous-projet', NULL, 20, 2, 0)");
    exec(src, u"insert into Projets(Id, Nom, Commentaire, Red, Parent, Deleted) values (17, 'Autre', '', NULL, -1, 0)");
    exec(src, u"insert into ProjectChilds(IdProject, Childs) values (-1, ';2;17;')");
    exec(src, u"insert into ProjectChilds(IdProject, Childs) values (2, ';35;A11;')");
    exec(src, u"insert into Activites(Id, Nom, Deleted) values (3, 'Réunion', 0)");
    exec(src, u"insert into Activites(Id, Nom, Deleted) values (11, 'Tests', 0)");
    exec(src, u"insert into TauxHoraire(Id, Nom, Valeur, Deleted) values (4, 'Standard', 65.5, 0)");
    exec(src, u"insert into Favoris(Id, IdProject, IdActivite, Deleted) values (8, 2, 3, 0)");
    exec(src, u"insert into Forecast(IdProject, IdActivity, Prevu) values (2, -2, 10)");
    exec(src, u"insert into Forecast(IdProject, IdActivity, Prevu) values (35, -2, 20)");
    exec(src, u"insert into Forecast(IdProject, IdActivity, Prevu) values (2, 3, 30)");
    exec(src, u"insert into Forecast(IdProject, IdActivity, Prevu) values (35, 11, 40)");
    exec(src, u"insert into Taches(Id, Debut, Fin) values (200, 1, 2)");
    return path;
}

QString counters(CBdD &db, const char *table)
{
    auto t = db.Query(QStringLiteral("select Ppc, Pc, Serveur from NextRowId where Name='%1'").arg(QLatin1String(table)));
    return t.hasRows() ? t->GetCell(0, 0) + u',' + t->GetCell(0, 1) + u',' + t->GetCell(0, 2) : QString();
}

} // namespace

TEST(ImportTablesFrom, CopiesTheChosenTablesAndRaisesTheCounters)
{
    const QString source = makeSource();
    CBdD db(TestFolders::tempDb());
    ASSERT_TRUE(db.ImportTablesFrom(source, true, true, true, true, true));

    EXPECT_EQ(value(db, u"select count(*) from Projets"), QStringLiteral("3"));
    EXPECT_EQ(value(db, u"select Nom from Projets where Id=2"), QStringLiteral("Client d'été"));
    // NULL stays NULL; an empty text stays an empty text.
    EXPECT_EQ(value(db, u"select typeof(Commentaire) from Projets where Id=35"), QStringLiteral("null"));
    EXPECT_EQ(value(db, u"select typeof(Commentaire) from Projets where Id=17"), QStringLiteral("text"));
    EXPECT_EQ(value(db, u"select typeof(Red) from Projets where Id=17"), QStringLiteral("null"));
    EXPECT_EQ(value(db, u"select typeof(Red) from Projets where Id=2"), QStringLiteral("integer"));
    EXPECT_EQ(value(db, u"select Valeur from TauxHoraire where Id=4").toDouble(), 65.5);
    EXPECT_EQ(value(db, u"select Childs from ProjectChilds where IdProject=2"), QStringLiteral(";35;A11;"));
    EXPECT_EQ(value(db, u"select count(*) from Forecast"), QStringLiteral("4"));
    EXPECT_EQ(value(db, u"select count(*) from Favoris"), QStringLiteral("1"));
    EXPECT_EQ(value(db, u"select count(*) from Taches"), QStringLiteral("0")) << "time entries are never imported";

    // Above the largest copied id, one apart per origin.
    EXPECT_EQ(counters(db, "Projets"), QStringLiteral("37,38,39"));
    EXPECT_EQ(counters(db, "Activites"), QStringLiteral("13,14,15"));
    EXPECT_EQ(counters(db, "TauxHoraire"), QStringLiteral("7,8,9"));
    EXPECT_EQ(counters(db, "Favoris"), QStringLiteral("10,11,12"));
    EXPECT_EQ(counters(db, "Taches"), QStringLiteral("100,101,102"));
    EXPECT_EQ(db.AllocateRowId(CBdD::TableProjets), 38);
}

TEST(ImportTablesFrom, ChoicesOfTables)
{
    const QString source = makeSource();
    struct Case
    {
        const char *what;
        bool projects, activities, rates, favourites, forecast;
        bool ok;
        int projets, activites, taux, favoris, forecastRows, forecastActivities;
        const char *activityCounters;
    };
    const Case cases[] = {
        {"forecast without activities keeps the projects' own rows", true, false, false, false, true, true, 3, 0, 0, 0, 2, 0, "31,32,33"},
        {"projects alone", true, false, false, false, false, true, 3, 0, 0, 0, 0, 0, "31,32,33"},
        {"without projects nothing is written", false, true, true, true, true, false, 0, 0, 0, 0, 0, 0, "31,32,33"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD db(TestFolders::tempDb(QString::fromLatin1(c.what).left(12) + QStringLiteral(".sdb")));
        EXPECT_EQ(db.ImportTablesFrom(source, c.projects, c.activities, c.rates, c.favourites, c.forecast), c.ok);
        EXPECT_EQ(value(db, u"select count(*) from Projets").toInt(), c.projets);
        EXPECT_EQ(value(db, u"select count(*) from Activites").toInt(), c.activites);
        EXPECT_EQ(value(db, u"select count(*) from TauxHoraire").toInt(), c.taux);
        EXPECT_EQ(value(db, u"select count(*) from Favoris").toInt(), c.favoris);
        EXPECT_EQ(value(db, u"select count(*) from Forecast").toInt(), c.forecastRows);
        EXPECT_EQ(value(db, u"select count(*) from Forecast where IdActivity<>-2").toInt(), c.forecastActivities);
        EXPECT_EQ(counters(db, "Activites"), QString::fromLatin1(c.activityCounters));
    }
}

TEST(ImportTablesFrom, FailuresLeaveNothingBehind)
{
    // A source that does not exist is not created by the attempt.
    {
        const QString missing = TestFolders::file(QStringLiteral("absent.sdb"));
        CBdD db(TestFolders::tempDb(QStringLiteral("a.sdb")));
        EXPECT_FALSE(db.ImportTablesFrom(missing, true, true, true, true, true));
        EXPECT_FALSE(QFile::exists(missing));
    }
    // A source whose Projets lacks a column: the copy fails and the whole
    // import is rolled back, the tables copied before it included.
    {
        const QString old = TestFolders::tempDb(QStringLiteral("old.sdb"));
        {
            SQLite::CmyDataBase raw;
            ASSERT_EQ(raw.Open(old), 0);
            raw.Execute(u"create table Projets(Id integer PRIMARY KEY, Nom text)");
            raw.Execute(u"insert into Projets(Id, Nom) values (5, 'Ancien')");
            raw.Execute(u"create table ProjectChilds(IdProject integer, Childs text)");
            ASSERT_EQ(raw.GetLastCode(), 0);
        }
        CBdD db(TestFolders::tempDb(QStringLiteral("b.sdb")));
        EXPECT_FALSE(db.ImportTablesFrom(old, true, false, false, false, false));
        EXPECT_EQ(value(db, u"select count(*) from Projets"), QStringLiteral("0"));
        EXPECT_EQ(counters(db, "Projets"), QStringLiteral("31,32,33"));
        // The connection is usable again afterwards.
        EXPECT_EQ(db.Execute(u"insert into Projets(Id, Nom) values (40, 'x')"), 0);
    }
    // A destination without a connection.
    {
        CBdD none{QString()};
        EXPECT_FALSE(none.ImportTablesFrom(makeSource(), true, true, true, true, true));
    }
}

TEST(CopyTable, EmptyTableLeavesTheCountersAlone)
{
    const QString source = TestFolders::tempDb(QStringLiteral("empty-source.sdb"));
    { CBdD src(source); }
    CBdD db(TestFolders::tempDb());
    SQLite::CmyDataBase src;
    ASSERT_EQ(src.OpenReadOnly(source), 0);
    CBdD::CopyTable(src, *db.Connection(), QStringLiteral("Projets"));
    EXPECT_EQ(src.GetLastCode(), 0);
    EXPECT_EQ(db.LastCode(), 0);
    EXPECT_EQ(counters(db, "Projets"), QStringLiteral("31,32,33"));
}

namespace {

// Runs the test body in another system time zone and comes back to the
// harness's zone afterwards, whatever happens.
class ZoneScope
{
public:
    explicit ZoneScope(const char *zone) : m_saved(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneScope()
    {
        qputenv("TZ", m_saved);
        tzset();
    }

private:
    QByteArray m_saved;
};

} // namespace

TEST(RedateSampleData, KeepsTheClockTimesTheSampleWasWrittenWithInAnotherZone)
{
    // The sample's times are written for UTC+1 without daylight saving. On
    // a system in UTC the correction is one hour, and an entry written for
    // 09:00 lands at 09:00 on the local clock, whichever way it moves.
    const qint64 written = QDateTime(QDate(2025, 1, 15), QTime(9, 0), QTimeZone(3600)).toSecsSinceEpoch();
    ZoneScope utc("UTC");
    const qint64 saturday = QDateTime(QDate(2026, 6, 6), QTime(9, 0), QTimeZone(3600)).toSecsSinceEpoch();
    EXPECT_EQ(CBdD::SampleZoneCorrection(written), 3600);
    struct Case
    {
        const char *what;
        qint64 second; // start of the second entry
        QDate today;
        std::map<int, std::pair<QString, QString>> expected;
    };
    const Case cases[] = {
        // Both days move forward onto Monday and the Friday before.
        {"forward", written + 86400, QDate(2026, 6, 8),
         {{1, {"Fri 2026-06-05 09:00", "Fri 2026-06-05 10:30"}},
          {2, {"Mon 2026-06-08 09:00", "Mon 2026-06-08 10:00"}}}},
        // On a Saturday the Saturday's entry moves back onto the Friday.
        {"back", saturday, QDate(2026, 6, 6),
         {{1, {"Thu 2026-06-04 09:00", "Thu 2026-06-04 10:30"}},
          {2, {"Fri 2026-06-05 09:00", "Fri 2026-06-05 10:00"}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD db(TestFolders::tempDb(QString::fromLatin1(c.what) + QStringLiteral(".sdb")));
        ASSERT_TRUE(db.IsOpen());
        addEntry(db, 1, written, written + 5400);
        addEntry(db, 2, c.second, c.second + 3600);
        Platform::Clock::setFixedNow(QDateTime(c.today, QTime(18, 0), QTimeZone::utc()).toSecsSinceEpoch());
        ASSERT_TRUE(db.RedateSampleData());
        EXPECT_EQ(entries(db), c.expected);
    }
}
