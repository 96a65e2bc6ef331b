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
#include <algorithm>
#include <functional>
#include <random>
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
    EXPECT_EQ(run.Warning(), QStringLiteral("Délai de calcul dépassé\nCalcul en temps réel arrêté"));
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
    EXPECT_EQ(again.Warning(), QStringLiteral("Délai de calcul dépassé"));

    // Within the budget everything is placed and nothing is said.
    Platform::Clock::setTickSource([] { return qint64(10000); });
    const tForecastRun normal = store.ComputeForecast();
    EXPECT_FALSE(normal.timedOut);
    EXPECT_TRUE(normal.Warning().isEmpty());
    EXPECT_EQ(dates(2), QStringLiteral("Mon 04/03 08:00:00 -> Mon 04/03 17:00:00"));
}

namespace {

// The forecast run written plainly, step by step as its rule reads: passes
// over the whole tree and, at each event, a walk over the run list. Slow,
// but easy to check by eye; the scheduler must give the same dates. It
// keeps the scheduler's deliberate amendments: a priority below 0 weighs 1,
// and links to inactive or missing nodes hold a completed node back no more
// than an open one.
class PlainForecast
{
public:
    PlainForecast(CProjectStore &store, const CConfiguration &calendar, int pct, qint64 now)
        : m_store(store), m_calendar(calendar), m_pct(pct), m_now(now)
    {
    }

    void Run()
    {
        for (CProject *top : m_store.GetRoot()->Children())
            Prepare(top);
        if (!m_done.empty()) {
            for (int changes = 1; changes > 0;) {
                changes = 0;
                for (CProject *top : m_store.GetRoot()->Children())
                    DateCompleted(top, changes);
            }
            m_done.clear();
        }
        ReleaseAll();
        qint64 c = 0;
        for (const CProject *n : m_run)
            if (n->m_computedStart > 0 && (c == 0 || n->m_computedStart < c))
                c = n->m_computedStart;
        const long double counted = 1.0L - m_pct / 100.0L;
        while (c != 0 && !m_run.empty()) {
            std::vector<CProject *> ready;
            for (CProject *n : m_run)
                if (n->m_computedStart != 0 && n->m_computedStart <= c)
                    ready.push_back(n);
            if (ready.empty()) {
                qint64 next = 0;
                for (const CProject *n : m_run)
                    if (n->m_computedStart > c && (next == 0 || n->m_computedStart < next))
                        next = n->m_computedStart;
                if (next == 0)
                    break;
                c = m_calendar.NextWorkingTime(next);
                continue;
            }
            qint64 weights = 0;
            if (ready.size() >= 2)
                for (const CProject *n : ready)
                    weights += Weight(n);
            qint64 m = -1;
            for (const CProject *n : ready) {
                const qint64 remaining = weights == 0 ? n->m_remainingWork : n->m_remainingWork * weights / Weight(n);
                const qint64 need = m_pct < 100 ? static_cast<qint64>(remaining / counted) : 0;
                if (m < 0 || need < m)
                    m = need;
            }
            qint64 next = m_calendar.AddWorkingTime(c, m);
            for (const CProject *n : m_run)
                if (n->m_computedStart > c && n->m_computedStart < next)
                    next = n->m_computedStart;
            if (next <= c)
                break;
            const qint64 worked = static_cast<qint64>(m_calendar.GetWorkingDuration(next, c) * counted);
            if (worked < 0)
                break;
            for (CProject *n : ready) {
                n->m_remainingWork -= weights == 0 ? worked : worked * Weight(n) / weights;
                if (n->m_remainingWork > CForecastScheduler::EndTolerance)
                    continue;
                n->m_computedEnd = next;
                n->m_remainingWork = 0;
                if (!n->GetParent()->IsRoot())
                    PropagateEnd(n->GetParent());
                m_run.erase(std::find(m_run.begin(), m_run.end(), n));
                ReleaseAll();
            }
            c = next;
        }
        for (CProject *n : m_run)
            n->m_computedStart = n->m_computedEnd = n->m_remainingWork = 0;
    }

private:
    static qint64 Weight(const CProject *n) { return std::max(1, n->Forecast().Priority + 1); }
    static bool ChildrenCarryWork(const CProject *n) { return !n->Children().empty() && n->Forecast().bModeAuto; }
    static bool Contains(const std::vector<CProject *> &list, const CProject *n)
    {
        return std::find(list.begin(), list.end(), n) != list.end();
    }
    static bool SubtreeIn(const std::vector<CProject *> &list, const CProject *n)
    {
        if (Contains(list, n))
            return true;
        for (const CProject *child : n->Children())
            if (SubtreeIn(list, child))
                return true;
        return false;
    }
    qint64 ParentFixedStart(const CProject *n) const
    {
        return n->GetParent()->IsRoot() ? 0 : n->GetParent()->GetInheritedStart();
    }
    qint64 BaseStart(const CProject *n) const
    {
        const tForecast &f = n->Forecast();
        qint64 start = ChildrenCarryWork(n) || f.TypeDateDebut == 0 || f.TypeDateDebut == 2 ? m_now : f.DateDebut;
        return std::max({start, m_now, ParentFixedStart(n)});
    }
    qint64 AfterLag(const CPredecessor &link, qint64 end) const
    {
        const qint64 lag = link.GetLag();
        return lag > 0 ? m_calendar.NextWorkingTime(end + lag) : end;
    }

    void Prepare(CProject *n)
    {
        n->m_computedStart = n->m_computedEnd = n->m_remainingWork = 0;
        const qint64 own = n->GetOwnRemainingWork();
        if (n->IsCompleted() || n->IsInactive()) {
            if (n->IsCompleted() && n->GetTaskCount(true) == 0)
                m_done.push_back(n);
        } else {
            if (own > 0) {
                m_run.push_back(n);
                n->m_remainingWork = own;
            } else if ((n->Children().empty() || !n->Forecast().bModeAuto) && !n->HasPredecessors(true)) {
                n->m_computedEnd = m_now;
            }
            if (!n->DependsOnPredecessors(true)) {
                n->m_computedStart = BaseStart(n);
                if (own <= 0)
                    n->m_computedEnd = n->m_computedStart;
            }
        }
        for (CProject *child : n->Children())
            Prepare(child);
    }

    void DateCompleted(CProject *n, int &changes)
    {
        for (CProject *child : n->Children())
            DateCompleted(child, changes);
        if (!Contains(m_done, n))
            return;
        const auto leave = [&] {
            m_done.erase(std::find(m_done.begin(), m_done.end(), n));
            ++changes;
        };
        if (!n->Children().empty()) {
            qint64 start = 0;
            qint64 end = 0;
            for (const CProject *child : n->Children()) {
                if (child->m_computedStart == 0) {
                    n->m_computedStart = n->m_computedEnd = 0;
                    return;
                }
                if (child->m_computedStart > 1 && (start == 0 || child->m_computedStart < start))
                    start = child->m_computedStart;
                end = std::max(end, child->m_computedEnd);
            }
            n->m_computedStart = start;
            n->m_computedEnd = end;
            if (start > 1) {
                n->m_computedStart = std::min(start, m_now);
                n->m_computedEnd = std::min(end, m_now);
                leave();
            }
            return;
        }
        const tForecast &f = n->Forecast();
        qint64 start = f.TypeDateDebut == 1 || f.TypeDateDebut == 3 ? f.DateDebut : 0;
        start = std::max(start, ParentFixedStart(n));
        bool linked = false;
        CProject::PredecessorCursor cursor;
        while (const CPredecessor *link = n->NextPredecessor(cursor, true)) {
            const CProject *pred = link->GetNode(m_store);
            if (!pred || pred->IsInactive())
                continue;
            linked = true;
            if (!pred->IsCompleted()) {
                start = m_now;
                break;
            }
            if (SubtreeIn(m_done, pred)) {
                start = 0;
                break;
            }
            const qint64 e = pred->GetEndDate();
            if (e <= 1) {
                start = 1;
                break;
            }
            start = std::max(start, AfterLag(*link, e));
        }
        if (!linked) {
            n->m_computedStart = n->m_computedEnd = std::max<qint64>(start, 1);
            leave();
        } else if (start < 2) {
            n->m_computedStart = start;
            n->m_computedEnd = 0;
        } else {
            n->m_computedStart = n->m_computedEnd = std::min(start, m_now);
            leave();
        }
    }

    bool Release(CProject *n)
    {
        bool released = false;
        if (n->m_computedStart == 0 && !n->IsCompleted() && !n->IsInactive() && n->HasPredecessors(true)) {
            qint64 start = BaseStart(n);
            bool hold = false;
            CProject::PredecessorCursor cursor;
            while (const CPredecessor *link = n->NextPredecessor(cursor, true)) {
                const CProject *pred = link->GetNode(m_store);
                if (!pred || pred->IsInactive())
                    continue;
                if (SubtreeIn(m_run, pred)) {
                    hold = true;
                    break;
                }
                const qint64 e = pred->GetEndDate();
                if (e == 0) {
                    hold = true;
                    break;
                }
                if (e != 1)
                    start = std::max(start, AfterLag(*link, e));
            }
            if (!hold) {
                n->m_computedStart = start;
                if (n->GetRemainingWork() <= 0)
                    n->m_computedEnd = start;
                released = true;
            }
        }
        for (CProject *child : n->Children())
            released = Release(child) || released;
        return released;
    }

    void ReleaseAll()
    {
        for (bool released = true; released;) {
            released = false;
            for (CProject *top : m_store.GetRoot()->Children())
                released = Release(top) || released;
        }
    }

    void PropagateEnd(CProject *n)
    {
        for (; !n->IsRoot(); n = n->GetParent()) {
            if (n->m_remainingWork > 0 || n->m_computedEnd != 0)
                return;
            if (n->GetOwnRemainingWork() == 0 && n->m_computedStart != 0) {
                n->m_computedEnd = n->m_computedStart;
                continue;
            }
            qint64 latest = 0;
            for (const CProject *child : n->Children()) {
                if (child->m_remainingWork > 0)
                    return;
                latest = std::max(latest, child->m_computedEnd);
            }
            if (n->Children().empty() || latest == 0)
                return;
            n->m_computedEnd = latest;
        }
    }

    CProjectStore &m_store;
    const CConfiguration &m_calendar;
    int m_pct;
    qint64 m_now;
    std::vector<CProject *> m_run;
    std::vector<CProject *> m_done;
};

} // namespace

// Random plans (trees, work, priorities, fixed starts, links with lags,
// inactive and completed nodes, a non-counted share) scheduled by the
// scheduler and by the plain transcription: the same dates for every node.
TEST_F(ForecastSchedulerTest, GivesTheDatesOfThePlainRuleOnRandomPlans)
{
    std::mt19937 random(1143);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int plan = 0; plan < 300; ++plan) {
        SCOPED_TRACE(plan);
        const qint64 now = at(2024, 3, 4 + pick(7), 6 + pick(14), pick(60));
        Platform::Clock::setFixedNow(now);
        config.pctNonComptabilise = std::vector<int>{0, 0, 20, 50}[size_t(pick(4))];
        const int count = 5 + pick(30);
        std::vector<NodeSpec> nodes;
        for (int id = 1; id <= count; ++id) {
            NodeSpec s{id};
            s.parent = id > 1 && pick(3) > 0 ? 1 + pick(id - 1) : -1;
            s.work = pick(4) == 0 ? 0 : pick(24 * 60) * 60 + pick(60);
            s.priority = pick(5) - 1;
            const int kind = pick(10);
            s.typeStart = kind < 6 ? 2 : kind < 8 ? 0 : 1;
            if (s.typeStart == 1)
                s.start = now + pick(21 * 24 * 60) * 60 - 3 * 86400;
            s.status = pick(20) == 0 ? tForecast::StatusInactive : pick(20) == 0 ? tForecast::StatusCompleted : 1;
            nodes.push_back(s);
        }
        build(nodes);
        // Links through the store, which refuses those that would close a loop.
        for (int k = pick(count); k > 0; --k) {
            CProject *node = store.GetNode(1 + pick(count));
            CProject *predecessor = store.GetNode(1 + pick(count));
            store.AddPredecessorLink(node, predecessor, pick(3), pick(2) == 0 ? 4 : 1);
        }

        ASSERT_FALSE(store.ComputeForecast().timedOut);
        std::vector<QString> scheduled;
        for (int id = 1; id <= count; ++id)
            scheduled.push_back(dates(id));
        PlainForecast(store, config, config.pctNonComptabilise, now).Run();
        // The plan and both answers, when they differ.
        const auto describe = [&] {
            QString text = QStringLiteral("now %1, %2 %% not counted\n").arg(local(now)).arg(config.pctNonComptabilise);
            for (int k = 1; k <= count; ++k) {
                const CProject *n = store.GetNode(k);
                const tForecast &f = n->Forecast();
                text += QStringLiteral("%1 under %2: work %3, priority %4, start type %5 %6, status %7, links %8: %9 | %10\n")
                            .arg(k)
                            .arg(n->GetParent()->IsRoot() ? -1 : n->GetParent()->ProjectId())
                            .arg(f.Total)
                            .arg(f.Priority)
                            .arg(f.TypeDateDebut)
                            .arg(local(f.DateDebut))
                            .arg(f.Status)
                            .arg(f.Predecesseurs, scheduled[size_t(k - 1)], dates(k));
            }
            return text.toStdString();
        };
        for (int id = 1; id <= count; ++id) {
            ASSERT_EQ(scheduled[size_t(id - 1)], dates(id)) << "node " << id << "\n" << describe();
        }
    }
}
