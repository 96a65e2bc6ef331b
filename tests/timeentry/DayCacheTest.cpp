#include "CAppData.h"
#include "CBdD.h"
#include "CDataChangedNotifier.h"
#include "CDayCache.h"
#include "CmyDataBase.h"
#include "Clock.h"
#include "LocalTime.h"
#include "QStringPrinter.h"
#include "TestFolders.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <vector>

// Readable failures: a date is shown as its ISO text.
void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

namespace {

QDate march(int day)
{
    return QDate(2026, 3, 1).addDays(day - 1);
}

// Day d holds 1 + d % 3 entries whose ids tell the day and the place, so
// that an entry kept in the wrong slot shows.
int idOf(const QDate &day, int k)
{
    return Platform::LocalTime::oleDay(day) * 10 + k;
}
int countOf(const QDate &day)
{
    return 1 + Platform::LocalTime::oleDay(day) % 3;
}

// What the counting source saw and what it is told to do.
struct SourceLog
{
    QString stamp = QStringLiteral("1000");
    bool stampFails = false;
    std::set<QDate> failingDays;
    int stampReads = 0;
    std::vector<QDate> daysRead;
};

class CountingSource : public CDayCacheSource
{
public:
    explicit CountingSource(SourceLog &log) : m_log(log) {}

    bool ReadStamp(QString &stamp) override
    {
        ++m_log.stampReads;
        stamp = m_log.stampFails ? QString() : m_log.stamp;
        return !m_log.stampFails;
    }
    bool ReadDay(const QDate &day, std::vector<tTacheParams> &entries) override
    {
        m_log.daysRead.push_back(day);
        entries.clear();
        if (m_log.failingDays.count(day))
            return false;
        for (int k = 0; k < countOf(day); ++k) {
            tTacheParams e;
            e.Id = idOf(day, k);
            entries.push_back(e);
        }
        return true;
    }

private:
    SourceLog &m_log;
};

class DayCacheTest : public ::testing::Test
{
protected:
    void TearDown() override { CAppData::Clear(); }

    // The days the next load reads.
    std::vector<QDate> load(const QDate &from, const QDate &to)
    {
        log.daysRead.clear();
        cache.Load(from, to);
        return log.daysRead;
    }

    // Every cached day holds its own entries, and exactly the days
    // first .. last are cached.
    void expectHolds(const QDate &first, const QDate &last)
    {
        ASSERT_FALSE(cache.IsEmpty());
        EXPECT_EQ(cache.FirstDay(), first);
        EXPECT_EQ(cache.LastDay(), last);
        EXPECT_FALSE(cache.IsCached(first.addDays(-1)));
        EXPECT_FALSE(cache.IsCached(last.addDays(1)));
        EXPECT_EQ(cache.GetCount(first.addDays(-1)), 0);
        EXPECT_EQ(cache.GetCount(last.addDays(1)), 0);
        for (QDate d = first; d <= last; d = d.addDays(1)) {
            ASSERT_EQ(cache.GetCount(d), countOf(d)) << d.toString(Qt::ISODate).toStdString();
            for (int k = 0; k < countOf(d); ++k)
                ASSERT_EQ(cache.GetEntry(d, k)->Id, idOf(d, k)) << d.toString(Qt::ISODate).toStdString();
        }
    }

    static std::vector<QDate> days(const QDate &from, const QDate &to)
    {
        std::vector<QDate> out;
        for (QDate d = from; d <= to; d = d.addDays(1))
            out.push_back(d);
        return out;
    }
    static std::vector<QDate> backwards(const QDate &from, const QDate &to)
    {
        std::vector<QDate> out = days(to, from);
        std::reverse(out.begin(), out.end());
        return out;
    }

    SourceLog log;
    CDayCache cache{[this] { return std::make_unique<CountingSource>(log); }};
};

} // namespace

TEST_F(DayCacheTest, ReadsOnlyTheDaysThatEnterWhileTheStampStays)
{
    struct Case
    {
        const char *what;
        QDate firstFrom, firstTo; // the load before
        QDate from, to;           // the load measured
        std::vector<QDate> reads;
        QDate first, last;        // held afterwards
    };
    const std::vector<Case> cases = {
        {"a week, then the next one sharing a day", march(1), march(8), march(8), march(15),
         days(march(9), march(15)), march(1), march(15)},
        {"a week, then the one before sharing a day", march(8), march(15), march(1), march(8),
         backwards(march(7), march(1)), march(1), march(15)},
        {"inside what is held", march(1), march(15), march(3), march(10), {}, march(1), march(15)},
        {"42 days, then one more drops the first", march(1), march(42), march(2), march(43), {march(43)},
         march(2), march(43)},
        {"42 days, then one earlier drops the last", march(2), march(43), march(1), march(42), {march(1)},
         march(1), march(42)},
        {"a range on both sides", march(10), march(20), march(5), march(25),
         [] {
             std::vector<QDate> d = backwards(march(9), march(5));
             for (const QDate &x : days(march(21), march(25)))
                 d.push_back(x);
             return d;
         }(),
         march(5), march(25)},
        {"a range just after the held one does not meet it", march(1), march(8), march(9), march(15),
         days(march(9), march(15)), march(9), march(15)},
        {"a month view after a week of a later month", march(50), march(56), march(1), march(42),
         days(march(1), march(42)), march(1), march(42)},
        {"a later month view meeting the held one", march(1), march(42), march(36), march(77),
         days(march(43), march(77)), march(36), march(77)},
        {"more than 42 days are cut to 42", march(1), march(1), march(1), march(60), days(march(2), march(42)),
         march(1), march(42)},
        {"more than 42 days elsewhere are cut to 42", march(1), march(1), march(100), march(200),
         days(march(100), march(141)), march(100), march(141)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        cache.Clear();
        load(c.firstFrom, c.firstTo);
        log.stampReads = 0;
        EXPECT_EQ(load(c.from, c.to), c.reads);
        EXPECT_EQ(log.stampReads, 1);
        expectHolds(c.first, c.last);
    }
}

TEST_F(DayCacheTest, KeptDaysKeepTheirEntriesAndDisplayFields)
{
    load(march(1), march(8));
    tTacheParams *kept = cache.GetEntry(march(3), 0);
    ASSERT_NE(kept, nullptr);
    kept->top = 77;
    kept->endSlot = 3;
    load(march(8), march(15));
    EXPECT_EQ(cache.GetEntry(march(3), 0), kept);
    EXPECT_EQ(kept->top, 77);
    EXPECT_EQ(kept->endSlot, 3);
    // A full read brings fresh display fields.
    log.stamp = QStringLiteral("1001");
    load(march(1), march(8));
    EXPECT_EQ(cache.GetEntry(march(3), 0)->top, 0);
    EXPECT_EQ(cache.GetEntry(march(3), 0)->endSlot, 1);
}

// Whatever tells that the file may have changed makes the next load read
// every day again, even for the same range.
TEST_F(DayCacheTest, WhatMakesTheNextLoadReadEverything)
{
    struct Case
    {
        const char *what;
        std::function<void(SourceLog &, CDayCache &)> between;
        size_t readsNext;  // days read by the next load of the same range
        size_t readsAfter; // and by the one after it, the file readable again
    };
    const std::vector<Case> cases = {
        {"nothing", [](SourceLog &, CDayCache &) {}, 0, 0},
        {"a new stamp", [](SourceLog &l, CDayCache &) { l.stamp = QStringLiteral("1001"); }, 8, 0},
        {"a stamp that differs by a blank", [](SourceLog &l, CDayCache &) { l.stamp = QStringLiteral("1000 "); }, 8, 0},
        // Two writes in one second leave the stamp as it was; the notice
        // that follows each write of this program still tells.
        {"a change notice with an equal stamp",
         [](SourceLog &, CDayCache &) { CAppData::DataChangedNotifier().Send(0, 0); }, 8, 0},
        {"the other program's refresh message", [](SourceLog &, CDayCache &c) { c.MarkForReload(); }, 8, 0},
        // A day read while the other program commits is not kept as empty,
        // and the load after the failed one reads everything again too.
        {"a failed read of one day",
         [](SourceLog &l, CDayCache &) {
             l.failingDays = {march(4)};
             l.stamp = QStringLiteral("1001");
         },
         8, 8},
        {"a failed read of the stamp", [](SourceLog &l, CDayCache &) { l.stampFails = true; }, 8, 8},
        {"a clear", [](SourceLog &, CDayCache &c) { c.Clear(); }, 8, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        log = SourceLog();
        cache.Clear();
        load(march(1), march(8));
        c.between(log, cache);
        EXPECT_EQ(load(march(1), march(8)).size(), c.readsNext);
        // The file readable again: the day that failed is read, and the
        // next load reads only what enters.
        log.failingDays.clear();
        log.stampFails = false;
        EXPECT_EQ(load(march(1), march(8)).size(), c.readsAfter);
        expectHolds(march(1), march(8));
        EXPECT_EQ(load(march(1), march(9)).size(), 1u);
    }
}

TEST_F(DayCacheTest, EntryIndexAndDaysOutsideTheCache)
{
    EXPECT_EQ(cache.GetCount(march(1)), 0);
    EXPECT_EQ(cache.GetEntry(march(1), 0), nullptr);
    load(march(2), march(8));
    const int n = cache.GetCount(march(2));
    ASSERT_GT(n, 0);
    EXPECT_NE(cache.GetEntry(march(2), n - 1), nullptr);
    EXPECT_EQ(cache.GetEntry(march(2), n), nullptr);
    EXPECT_EQ(cache.GetEntry(march(2), -1), nullptr);
    EXPECT_EQ(cache.GetEntry(march(1), 0), nullptr);
    EXPECT_EQ(cache.GetEntry(QDate(), 0), nullptr);
    EXPECT_TRUE(cache.GetDay(march(9)).empty());
    EXPECT_EQ(cache.GetDay(march(2)).size(), size_t(n));

    // `to` before `from`, or an invalid date, changes nothing.
    log.stampReads = 0;
    EXPECT_TRUE(load(march(8), march(2)).empty());
    EXPECT_TRUE(load(QDate(), march(2)).empty());
    EXPECT_EQ(log.stampReads, 0);
    expectHolds(march(2), march(8));

    cache.Clear();
    EXPECT_TRUE(cache.IsEmpty());
    EXPECT_EQ(cache.GetCount(march(2)), 0);
    EXPECT_EQ(cache.GetCount(march(3)), 0);
}

// A long walk of shifts and spans back and forth, the ring wrapping many
// times: every cached day always holds its own entries, as a fresh read
// would give them.
TEST_F(DayCacheTest, RingStaysSoundOverALongWalk)
{
    QDate from = march(1);
    unsigned seed = 7;
    const auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(n));
    };
    for (int step = 0; step < 300; ++step) {
        SCOPED_TRACE(step);
        from = from.addDays(next(21) - 10);
        const QDate to = from.addDays(next(42));
        cache.Load(from, to);
        ASSERT_LE(cache.FirstDay(), from);
        ASSERT_GE(cache.LastDay(), to);
        ASSERT_LE(cache.FirstDay().daysTo(cache.LastDay()), CDayCache::Capacity - 1);
        expectHolds(cache.FirstDay(), cache.LastDay());
        if (HasFatalFailure())
            return;
    }
}

// ---------------------------------------------------------------------
// On a real database
// ---------------------------------------------------------------------

namespace {

qint64 at(const QDate &day, int h, int m)
{
    return QDateTime(day, QTime(h, m)).toSecsSinceEpoch();
}

class DayCacheOnDatabase : public ::testing::Test
{
protected:
    void SetUp() override { CAppData::SetCurrentDatabasePath(TestFolders::tempDb(QStringLiteral("Zarvo.sdb"))); }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }

    static bool save(qint64 start, qint64 end)
    {
        tTacheFull e;
        e.Debut = start;
        e.Fin = end;
        CBdD db;
        return db.SaveTimeEntry(e);
    }
};

} // namespace

// Clocks go forward on Sunday 29 March 2026: an entry running since Friday
// shows up to today, Sunday, and not on Monday.
TEST_F(DayCacheOnDatabase, RunningEntryShowsUpToTodayOnly)
{
    const QDate friday(2026, 3, 27);
    Platform::Clock::setFixedNow(at(friday, 9, 0));
    ASSERT_TRUE(save(at(friday, 9, 0), 0));
    Platform::Clock::setFixedNow(at(friday.addDays(2), 18, 0));
    CDayCache cache;
    cache.Load(friday.addDays(-1), friday.addDays(4));
    const std::vector<int> expected = {0, 1, 1, 1, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(cache.GetCount(friday.addDays(i - 1)), expected[size_t(i)]) << i;
}

// Two writes within one second leave the same 'Modif' stamp; the second
// one is seen all the same.
TEST_F(DayCacheOnDatabase, SecondWriteOfTheSameSecondIsSeen)
{
    const QDate day(2026, 3, 10);
    Platform::Clock::setFixedNow(at(day, 18, 0));
    CDayCache cache;
    ASSERT_TRUE(save(at(day, 9, 0), at(day, 10, 0)));
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 1);
    ASSERT_TRUE(save(at(day, 11, 0), at(day, 12, 0)));
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 2);

    // The other program writes within the same second: its refresh
    // message, passed on by the application, makes the cache read again.
    {
        CBdD other(CAppData::CurrentDatabasePath());
        ASSERT_EQ(other.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                               "IdTauxHoraire,Deleted,Title,Notes) values (500,%1,%2,-1,-1,0,-1,0,'','')")
                                    .arg(at(day, 13, 0))
                                    .arg(at(day, 14, 0))),
                  0);
    }
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 2);
    cache.MarkForReload();
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 3);
}

// Two users' files with the same stamp (new files hold an empty one): the
// cache never goes on showing the entries of the file it read before, even
// when nobody empties it on the change of user.
TEST_F(DayCacheOnDatabase, AnotherFileWithTheSameStampIsReadAgain)
{
    const QDate day(2026, 3, 10);
    Platform::Clock::setFixedNow(at(day, 18, 0));
    const QString first = CAppData::CurrentDatabasePath();
    const QString second = TestFolders::tempDb(QStringLiteral("Other.sdb"));
    for (const QString &path : {first, second}) {
        CBdD db(path);
        ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,"
                                            "IdTauxHoraire,Deleted,Title,Notes) values (500,%1,%2,-1,-1,0,-1,0,'%3','')")
                                 .arg(at(day, 9, 0))
                                 .arg(at(day, 10, 0))
                                 .arg(path == first ? QStringLiteral("first") : QStringLiteral("second"))),
                  0);
    }
    CDayCache cache;
    cache.Load(day, day);
    ASSERT_EQ(cache.GetCount(day), 1);
    EXPECT_EQ(cache.GetEntry(day, 0)->Title, "first");
    CAppData::SetCurrentDatabasePath(second);
    cache.Load(day, day);
    ASSERT_EQ(cache.GetCount(day), 1);
    EXPECT_EQ(cache.GetEntry(day, 0)->Title, "second");
}

// A load reads from one snapshot and gives the file back at its end: the
// other program can write right after it. Inside a transaction of its own
// caller it reads what that transaction wrote and leaves it open.
TEST_F(DayCacheOnDatabase, ALoadLeavesNoTransactionBehindAndKeepsTheCallers)
{
    const QDate day(2026, 3, 10);
    Platform::Clock::setFixedNow(at(day, 18, 0));
    ASSERT_TRUE(save(at(day, 9, 0), at(day, 10, 0)));
    CBdD db;
    sqlite3 *handle = db.Connection()->Handle();
    CDayCache cache;
    cache.Load(day.addDays(-3), day.addDays(3));
    EXPECT_EQ(cache.GetCount(day), 1);
    EXPECT_NE(sqlite3_get_autocommit(handle), 0);
    {
        CBdD other(CAppData::CurrentDatabasePath());
        EXPECT_EQ(other.Execute(QStringLiteral("update Taches set Title='autre' where Deleted=0")), 0);
    }

    ASSERT_TRUE(db.Connection()->BeginTransaction());
    ASSERT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,"
                                        "Deleted,Title,Notes) values (500,%1,%2,-1,-1,0,-1,0,'','')")
                             .arg(at(day, 11, 0))
                             .arg(at(day, 12, 0))),
              0);
    cache.MarkForReload();
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 2);
    EXPECT_EQ(sqlite3_get_autocommit(handle), 0) << "the caller's transaction is still open";
    EXPECT_TRUE(db.Connection()->RollbackTransaction());
    cache.MarkForReload();
    cache.Load(day, day);
    EXPECT_EQ(cache.GetCount(day), 1);
}
