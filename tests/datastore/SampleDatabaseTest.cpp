#include "CBdD.h"
#include "CmyDataBase.h"

#include "Clock.h"

#include "LocalTime.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

using SQLite::CmyDataBase;

namespace {

QString samplePath()
{
    return QStringLiteral(ZARVO_SAMPLE_DB_FRA);
}

int intOf(CmyDataBase &db, const QString &sql)
{
    auto t = db.Query(sql);
    return t && t->rowCount() > 0 ? t->GetCell(0, 0).toInt() : -1;
}

QSet<int> idsOf(CmyDataBase &db, const QString &sql)
{
    QSet<int> ids;
    auto t = db.Query(sql);
    for (int r = 0; t && r < t->rowCount(); ++r)
        ids.insert(t->GetCell(r, 0).toInt());
    return ids;
}

} // namespace

TEST(SampleDatabase, IsASoundVersion2FileMarkedAsSample)
{
    ASSERT_TRUE(QFile::exists(samplePath())) << samplePath().toStdString();
    CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(samplePath()), 0);
    auto check = db.Query(u"PRAGMA quick_check");
    ASSERT_TRUE(check && check->rowCount() == 1);
    EXPECT_EQ(check->GetCell(0, 0), QStringLiteral("ok"));
    EXPECT_EQ(intOf(db, QStringLiteral("select Value from Infos where Name='VersionDB'")), 2);
    EXPECT_EQ(intOf(db, QStringLiteral("select count(*) from Infos where Name='Demo'")), 1);
    for (const char *name : {"Backup", "Modif", "MajLan"})
        EXPECT_EQ(intOf(db, QStringLiteral("select count(*) from Infos where Name='%1'").arg(QLatin1String(name))), 1) << name;
    // Every table of a new file, with every column a new file has.
    EXPECT_EQ(intOf(db, QStringLiteral("select count(Visible) from Forecast")),
              intOf(db, QStringLiteral("select count(*) from Forecast")));
    EXPECT_EQ(db.GetLastCode(), 0);
}

TEST(SampleDatabase, HoldsAFewWeeksOfConsistentData)
{
    CmyDataBase db;
    ASSERT_EQ(db.OpenReadOnly(samplePath()), 0);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from Projets where Deleted=0")), 5);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from Activites where Deleted=0")), 5);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from TauxHoraire where Deleted=0")), 2);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from Favoris where Deleted=0")), 3);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from Forecast where IdActivity=-2")), 5);
    EXPECT_GE(intOf(db, QStringLiteral("select count(*) from Forecast where IdActivity>0")), 1);

    // The ids lie below the seeds that re-dating puts back into NextRowId, so
    // the next ids the program allocates never collide with them.
    EXPECT_LT(intOf(db, QStringLiteral("select max(Id) from Projets")), 32);
    EXPECT_LT(intOf(db, QStringLiteral("select max(Id) from Activites")), 32);
    EXPECT_LT(intOf(db, QStringLiteral("select max(Id) from Taches")), 101);
    EXPECT_LT(intOf(db, QStringLiteral("select max(Id) from TauxHoraire")),
              intOf(db, QStringLiteral("select Ppc from NextRowId where Name='TauxHoraire'")));
    EXPECT_LT(intOf(db, QStringLiteral("select max(Id) from Favoris")),
              intOf(db, QStringLiteral("select Ppc from NextRowId where Name='Favoris'")));

    // Every reference points at a row that exists.
    const QSet<int> projects = idsOf(db, QStringLiteral("select Id from Projets"));
    const QSet<int> activities = idsOf(db, QStringLiteral("select Id from Activites"));
    const QSet<int> rates = idsOf(db, QStringLiteral("select Id from TauxHoraire"));
    for (int id : idsOf(db, QStringLiteral("select IdProjet from Taches union select IdProject from Favoris union select IdProject from Forecast")))
        EXPECT_TRUE(projects.contains(id)) << "project " << id;
    for (int id : idsOf(db, QStringLiteral("select IdActivite from Taches union select IdActivite from Favoris union select IdActivity from Forecast where IdActivity<>-2")))
        EXPECT_TRUE(activities.contains(id)) << "activity " << id;
    for (int id : idsOf(db, QStringLiteral("select IdTauxHoraire from Taches union select IdTauxHoraire from Favoris union select IdTauxHoraire from Projets")))
        EXPECT_TRUE(rates.contains(id)) << "rate " << id;
    for (int id : idsOf(db, QStringLiteral("select Parent from Projets where Parent<>-1")))
        EXPECT_TRUE(projects.contains(id)) << "parent " << id;
    auto childs = db.Query(u"select IdProject, Childs from ProjectChilds");
    ASSERT_TRUE(childs);
    for (int r = 0; r < childs->rowCount(); ++r) {
        for (const QString &item : childs->GetCell(r, 1).split(u';', Qt::SkipEmptyParts)) {
            if (item.startsWith(u'A'))
                EXPECT_TRUE(activities.contains(item.mid(1).toInt())) << item.toStdString();
            else
                EXPECT_TRUE(projects.contains(item.toInt())) << item.toStdString();
        }
    }

    // Several weeks of finished entries on working days, none overlapping.
    auto entries = db.Query(u"select Debut, Fin from Taches where Deleted=0 order by Debut");
    ASSERT_TRUE(entries);
    ASSERT_GE(entries->rowCount(), 30);
    QSet<QDate> days;
    qint64 previousEnd = 0;
    for (int r = 0; r < entries->rowCount(); ++r) {
        const qint64 start = entries->GetCell(r, 0).toLongLong();
        const qint64 end = entries->GetCell(r, 1).toLongLong();
        EXPECT_GT(end, start);
        EXPECT_GE(start, previousEnd) << "entries overlap at row " << r;
        const QDate day = Platform::LocalTime::localDate(start);
        EXPECT_EQ(Platform::LocalTime::localDate(end - 1), day) << "an entry crosses midnight";
        EXPECT_LT(day.dayOfWeek(), 6) << "an entry on a weekend";
        days.insert(day);
        previousEnd = end;
    }
    EXPECT_GE(days.size(), 10);
}

TEST(SampleDatabase, OpensAsVersion2AndRedates)
{
    // The wizards work on a copy; the shipped file is never changed.
    const QString copy = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    ASSERT_TRUE(QFile::copy(samplePath(), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    CBdD db(copy);
    ASSERT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetVersion(), 2);
    EXPECT_EQ(db.UpdateDb().outcome, CBdD::tUpgradeResult::Outcome::Current);

    int before = 0;
    if (auto t = db.Query(u"select count(*) from Taches"); t.hasRows())
        before = t->GetFirstInt();
    QSet<QDate> sampleDays;
    if (auto t = db.Query(u"select Debut from Taches"); t) {
        for (int r = 0; r < t->rowCount(); ++r)
            sampleDays.insert(Platform::LocalTime::localDate(t->GetCell(r, 0).toLongLong()));
    }

    // A Monday evening: every entry of the sample is in the past.
    const QDate monday(2026, 12, 7);
    const qint64 now = QDateTime(monday, QTime(19, 0)).toSecsSinceEpoch();
    Platform::Clock::setFixedNow(now);
    ASSERT_TRUE(db.RedateSampleData());

    auto t = db.Query(u"select Debut, Fin from Taches order by Debut");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), before);
    QSet<QDate> days;
    for (int r = 0; r < t->rowCount(); ++r) {
        const QDate day = Platform::LocalTime::localDate(t->GetCell(r, 0).toLongLong());
        EXPECT_LT(day.dayOfWeek(), 6);
        EXPECT_LE(t->GetCell(r, 1).toLongLong(), now);
        days.insert(day);
    }
    // The same number of working days, the newest one today, none skipped.
    EXPECT_EQ(days.size(), sampleDays.size());
    EXPECT_TRUE(days.contains(monday));
    QDate expected = monday;
    for (int i = 0; i < days.size(); ++i) {
        while (expected.dayOfWeek() >= 6)
            expected = expected.addDays(-1);
        EXPECT_TRUE(days.contains(expected)) << expected.toString(Qt::ISODate).toStdString();
        expected = expected.addDays(-1);
    }
    EXPECT_EQ(intOf(*db.Connection(), QStringLiteral("select count(*) from Infos where Name='Demo'")), 0);
    // The plans followed: no plan starts more than a year from today.
    EXPECT_LE(intOf(*db.Connection(), QStringLiteral("select count(*) from Forecast where DateDebut<>0 and abs(DateDebut-%1)>31536000").arg(now)), 0);
    // The file is still sound and still version 2.
    EXPECT_EQ(db.GetVersion(), 2);
}

TEST(SampleDatabase, HasTheTablesAndColumnsOfANewFile)
{
    // The sample is kept as its own SQL text: it must not drift from the
    // schema the program gives a new file, or the wizards would hand a new
    // user a file the program cannot read in full.
    const auto shape = [](CmyDataBase &db) {
        QStringList out;
        auto tables = db.Query(u"select name from sqlite_master where type='table' order by name");
        for (int r = 0; tables && r < tables->rowCount(); ++r) {
            const QString table = tables->GetCell(r, 0);
            auto columns = db.Query(QStringLiteral("pragma table_info(%1)").arg(table));
            for (int c = 0; columns && c < columns->rowCount(); ++c) {
                out << table + u'.' + columns->GetCell(c, columns->ColumnIndex(u"name")) + u' '
                           + columns->GetCell(c, columns->ColumnIndex(u"type")).toLower() + u' '
                           + columns->GetCell(c, columns->ColumnIndex(u"dflt_value")) + u' '
                           + columns->GetCell(c, columns->ColumnIndex(u"pk"));
            }
        }
        return out;
    };
    const QString fresh = TestFolders::tempDb(QStringLiteral("fresh.sdb"));
    { CBdD created(fresh); ASSERT_TRUE(created.IsOpen()); }
    CmyDataBase a, b;
    ASSERT_EQ(a.OpenReadOnly(fresh), 0);
    ASSERT_EQ(b.OpenReadOnly(samplePath()), 0);
    EXPECT_EQ(shape(b), shape(a));
    EXPECT_FALSE(shape(a).isEmpty());

    // The same Infos names apart from the sample's mark, and the same seeds
    // for the tables whose counters re-dating puts back.
    const auto names = [](CmyDataBase &db, const char16_t *sql) {
        QStringList out;
        auto t = db.Query(QStringView(sql));
        for (int r = 0; t && r < t->rowCount(); ++r)
            out << t->GetCell(r, 0);
        return out;
    };
    EXPECT_EQ(names(b, u"select Name from Infos where Name<>'Demo' order by Name"),
              names(a, u"select Name from Infos order by Name"));
    EXPECT_EQ(names(b, u"select Name||' '||Ppc||' '||Pc from NextRowId where Name in ('Projets','Activites','Taches') order by Name"),
              names(a, u"select Name||' '||Ppc||' '||Pc from NextRowId where Name in ('Projets','Activites','Taches') order by Name"));
}
