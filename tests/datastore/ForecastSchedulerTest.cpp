#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CForecastScheduler.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "Formatter.h"
#include "Settings.h"
#include "TestFolders.h"
#include "QStringPrinter.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace {

qint64 at(int y, int m, int d, int h, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
}

// "ddd dd/MM HH:mm:ss" in local time, "0" and "1" as they are.
QString local(qint64 t)
{
    if (t == 0 || t == 1)
        return QString::number(t);
    return QLocale::c().toString(QDateTime::fromSecsSinceEpoch(t), u"ddd dd/MM HH:mm:ss");
}

constexpr qint64 Hour = 3600;

struct NodeSpec
{
    int id;
    int parent = -1;
    qint64 work = 0;  // seconds of planned work
    int priority = 0;
    const char *links = "";
    int typeStart = 2;   // 2: waits for its links; 1: fixed start
    qint64 start = 0;
    int status = 1;
};

class ForecastSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.workingDays.ParseDay(0, u"480,720;780,1020;"); // 8-12, 13-17, Monday to Friday
        config.workingDays.UpdateTotals();
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    void build(const std::vector<NodeSpec> &nodes)
    {
        store.Clear();
        for (const NodeSpec &s : nodes) {
            tElement e;
            e.Id = s.id;
            e.Nom = QStringLiteral("N%1").arg(s.id);
            e.Parent = s.parent;
            CProject *node = store.AddProject(e, s.parent == -1 ? nullptr : store.GetNode(s.parent), QString());
            ASSERT_NE(node, nullptr);
            tForecast f = node->Forecast();
            f.Total = s.work;
            f.Prevu = 0;
            f.Priority = s.priority;
            f.Predecesseurs = QString::fromLatin1(s.links);
            f.TypeDateDebut = s.typeStart;
            f.DateDebut = s.start;
            f.Status = s.status;
            f.bModeAuto = true;
            store.SetForecast(f);
        }
    }

    QString dates(int id) const
    {
        const CProject *n = store.GetNode(id);
        return local(n->m_computedStart) + QStringLiteral(" -> ") + local(n->m_computedEnd);
    }

    CConfiguration config;
    CProjectStore store;
};

} // namespace

TEST_F(ForecastSchedulerTest, PlacesWorkByCalendarPrioritiesLinksAndFixedStarts)
{
    const qint64 monday = at(2024, 3, 4, 8);
    const qint64 friday = at(2024, 3, 8, 8);
    struct Case
    {
        const char *what;
        qint64 now;
        int pct;
        std::vector<NodeSpec> nodes;
        std::vector<std::pair<int, const char *>> expected;
    };
    const Case cases[] = {
        {"one node of 8 h", monday, 0, {{1, -1, 8 * Hour}},
         {{1, "Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"}}},
        {"half the time does not count", monday, 50, {{1, -1, 8 * Hour}},
         {{1, "Mon 04/03 08:00:00 -> Tue 05/03 17:00:00"}}},
        {"nothing counts", monday, 100, {{1, -1, 8 * Hour}}, {{1, "0 -> 0"}}},
        {"priorities share the time", monday, 0,
         {{1, -1, 8 * Hour, 0}, {2, -1, 8 * Hour, 2}},
         {{2, "Mon 04/03 08:00:00 -> Tue 05/03 10:40:00"},
          {1, "Mon 04/03 08:00:00 -> Tue 05/03 17:00:00"}}},
        {"a negative priority weighs as the lowest", monday, 0,
         {{1, -1, 8 * Hour, -1}, {2, -1, 8 * Hour, -3}},
         {{1, "Mon 04/03 08:00:00 -> Tue 05/03 17:00:00"},
          {2, "Mon 04/03 08:00:00 -> Tue 05/03 17:00:00"}}},
        {"a one-day lag over the weekend", friday, 0,
         {{1, -1, 8 * Hour}, {2, -1, 8 * Hour, 0, ";1,-2,1,4;"}},
         {{1, "Fri 08/03 08:00:00 -> Fri 08/03 17:00:00"},
          {2, "Mon 11/03 08:00:00 -> Mon 11/03 17:00:00"}}},
        {"a lag in hours, links closed by ';' only", friday, 0,
         {{1, -1, 4 * Hour}, {2, -1, 2 * Hour, 0, "1,-2,2,3;"}},
         {{2, "Fri 08/03 14:00:00 -> Fri 08/03 16:00:00"}}},
        {"an inactive predecessor holds nothing back", monday, 0,
         {{1, -1, 8 * Hour, 0, "", 2, 0, 5}, {2, -1, 8 * Hour, 0, ";1,-2,0,4;"}},
         {{1, "0 -> 0"}, {2, "Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"}}},
        {"a link inherited from the parent", monday, 0,
         {{1, -1, 2 * Hour}, {3, -1, 0, 0, ";1,-2,0,4;"}, {4, 3, 2 * Hour}},
         {{4, "Mon 04/03 10:00:00 -> Mon 04/03 12:00:00"}}},
        {"90 seconds left ends at the event", monday, 0,
         {{1, -1, 4 * Hour}, {2, -1, 4 * Hour + 80}},
         {{1, "Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"},
          {2, "Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"}}},
        {"more than 90 seconds goes on", monday, 0,
         {{1, -1, 4 * Hour}, {2, -1, 4 * Hour + 100}},
         {{2, "Mon 04/03 08:00:00 -> Tue 05/03 08:01:40"}}},
        // 31 March is the spring clock change in Paris.
        {"a fixed start next month", monday, 0,
         {{1, -1, 8 * Hour, 0, "", 1, at(2024, 4, 6, 10)}},
         {{1, "Sat 06/04 10:00:00 -> Mon 08/04 17:00:00"}}},
        {"a fixed start holds one node while another runs", monday, 0,
         {{1, -1, 8 * Hour}, {2, -1, 4 * Hour, 0, "", 1, at(2024, 3, 4, 13)}},
         {{1, "Mon 04/03 08:00:00 -> Tue 05/03 12:00:00"},
          {2, "Mon 04/03 13:00:00 -> Tue 05/03 12:00:00"}}},
        {"a parent ends with its last child", monday, 0,
         {{3, -1}, {4, 3, 2 * Hour}, {5, 3, 4 * Hour}},
         {{4, "Mon 04/03 08:00:00 -> Mon 04/03 12:00:00"},
          {5, "Mon 04/03 08:00:00 -> Mon 04/03 15:00:00"}}},
        {"completed without recorded time", monday, 0,
         {{1, -1, 8 * Hour, 0, "", 2, 0, 4}, {2, -1, 0, 0, "", 1, at(2024, 3, 1, 9), 4}},
         {{1, "1 -> 1"}, {2, "Fri 01/03 09:00:00 -> Fri 01/03 09:00:00"}}},
        // Completed nodes take dates from their links, over several passes;
        // a link to an open node means now.
        {"completed nodes dated by their links", monday, 0,
         {{1, -1, 0, 0, "", 1, at(2024, 2, 29, 9), 4},
          {2, -1, 0, 0, ";1,-2,1,4;", 2, 0, 4},
          {3, -1, 0, 0, ";4,-2,0,4;", 2, 0, 4},
          {4, -1, 8 * Hour}},
         {{1, "Thu 29/02 09:00:00 -> Thu 29/02 09:00:00"},
          {2, "Fri 01/03 09:00:00 -> Fri 01/03 09:00:00"},
          {3, "Mon 04/03 08:00:00 -> Mon 04/03 08:00:00"}}},
        // Links to an inactive node or to a node that is gone hold a
        // completed node back no more than an open one: it is finished
        // without a date, and its completed parent takes its dates from
        // the other children.
        {"completed nodes whose links lead nowhere active", monday, 0,
         {{1, -1, 8 * Hour, 0, "", 2, 0, 5},
          {2, -1, 0, 0, ";1,-2,0,4;", 2, 0, 4},
          {3, -1, 0, 0, ";99,-2,0,4;", 2, 0, 4},
          {6, -1, 0, 0, "", 2, 0, 4},
          {7, 6, 0, 0, ";1,-2,0,4;"},
          {8, 6, 0, 0, "", 1, at(2024, 3, 1, 9)}},
         {{2, "1 -> 1"}, {3, "1 -> 1"}, {7, "1 -> 1"},
          {6, "Fri 01/03 09:00:00 -> Fri 01/03 09:00:00"}}},
    };
    for (const Case &c : cases) {
        Platform::Clock::setFixedNow(c.now);
        config.pctNonComptabilise = c.pct;
        build(c.nodes);
        const tForecastRun run = store.ComputeForecast();
        EXPECT_TRUE(run.ran);
        EXPECT_FALSE(run.timedOut);
        for (const auto &[id, expected] : c.expected)
            EXPECT_EQ(dates(id), QString::fromLatin1(expected)) << c.what << " node " << id;
    }
}

TEST_F(ForecastSchedulerTest, BookedTimeComesFromTheEntriesAndIsReadAgainAfterAReset)
{
    const qint64 monday = at(2024, 3, 4, 8);
    Platform::Clock::setFixedNow(monday - 7 * 86400);
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
    CAppData::SetCurrentDatabasePath(path);
    {
        CBdD db;
        ASSERT_TRUE(db.IsOpen());
        ASSERT_EQ(db.Execute(Platform::Formatter::sprintf(
                      u"insert into Taches(Id, Debut, Fin, IdProjet, IdActivite, Deleted) values "
                      u"(100, %I64d, %I64d, 1, -1, 0)",
                      {monday, monday + 2 * Hour})),
                  0);
    }
    Platform::Clock::setFixedNow(monday);
    build({{1, -1, 8 * Hour}});
    store.ComputeForecast();
    EXPECT_EQ(dates(1), QStringLiteral("Mon 04/03 08:00:00 -> Tue 05/03 10:00:00"));
    EXPECT_EQ(store.m_bookedFrom, monday);
    EXPECT_EQ(config.BookedIntervals().Count(), 1);

    // Read once: a later run keeps the list even though the entry is gone...
    {
        CBdD db;
        ASSERT_EQ(db.Execute(u"update Taches set Deleted=1"), 0);
    }
    Platform::Clock::setFixedNow(monday + 60);
    store.ComputeForecast();
    EXPECT_EQ(store.m_bookedFrom, monday);
    EXPECT_EQ(dates(1), QStringLiteral("Mon 04/03 08:01:00 -> Tue 05/03 10:00:00"));
    // ...until time entries change or the store is cleared.
    store.ResetBookedPeriods();
    store.ComputeForecast();
    EXPECT_EQ(dates(1), QStringLiteral("Mon 04/03 08:01:00 -> Tue 05/03 08:01:00"));
    EXPECT_EQ(config.BookedIntervals().Count(), 0);
}

TEST_F(ForecastSchedulerTest, TimeOutWarnsOnceAfterTheRunAndNeverRestartsIt)
{
    Platform::Settings settings;
    settings.setInt(u"Config", u"Forecast", u"Real Time", 1);
    config.realTime = true;
    Platform::Clock::setFixedNow(at(2024, 3, 4, 8));
    build({{1, -1, 8 * Hour}, {2, -1, 4 * Hour}});

    // The clock jumps by 20 s after the run's first reading.
    int ticks = 0;
    Platform::Clock::setTickSource([&ticks] { return ticks++ == 0 ? qint64(0) : qint64(20000); });
    int nestedRuns = 0;
    int statusCalls = 0;
    store.SetForecastStatusHook([&](const QString &) {
        ++statusCalls;
        // A timer or refresh arriving meanwhile does not start the run again.
        if (store.IsForecastRunning() && store.ComputeForecast().ran)
            ++nestedRuns;
    });
    const tForecastRun run = store.ComputeForecast();
    EXPECT_TRUE(run.ran);
    EXPECT_TRUE(run.timedOut);
    EXPECT_TRUE(run.realTimeStopped);
    EXPECT_EQ(run.Warning(), QStringLiteral("TimeOut calcul\nArret temps reel"));
    EXPECT_EQ(nestedRuns, 0);
    EXPECT_EQ(statusCalls, 2);
    EXPECT_FALSE(config.realTime);
    settings.sync();
    EXPECT_EQ(settings.getInt(u"Config", u"Forecast", u"Real Time", 1), 0);
    EXPECT_EQ(dates(1), QStringLiteral("0 -> 0")); // unplaced work gets no dates
    EXPECT_FALSE(store.IsForecastTimedOut());     // no run any more

    // Real time already off: the warning says only that the time ran out.
    ticks = 0;
    const tForecastRun again = store.ComputeForecast();
    EXPECT_TRUE(again.timedOut);
    EXPECT_FALSE(again.realTimeStopped);
    EXPECT_EQ(again.Warning(), QStringLiteral("TimeOut calcul"));

    // Within the budget everything is placed and nothing is said.
    Platform::Clock::setTickSource([] { return qint64(10000); });
    const tForecastRun normal = store.ComputeForecast();
    EXPECT_FALSE(normal.timedOut);
    EXPECT_TRUE(normal.Warning().isEmpty());
    EXPECT_EQ(dates(2), QStringLiteral("Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"));
}
