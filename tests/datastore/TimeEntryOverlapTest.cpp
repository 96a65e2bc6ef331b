#include "EntryTimes.h"
#include "TimeEntryOverlap.h"

#include <gtest/gtest.h>

#include <random>

using namespace EntryTimes;
using namespace TimeEntryOverlap;

TEST(TimeEntryOverlap, CollidesMatchesTheOverlapQuery)
{
    const tTacheFull finished = entry(7, at(10, 0), at(11, 0));
    const tTacheFull running = entry(-1, at(10, 0), Running);
    struct Case { const char *what; tTacheFull row; bool withFinished; bool withRunning; };
    const Case cases[] = {
        {"ends at the start", entry(1, at(9, 0), at(10, 0)), false, false},
        {"ends a second after the start", entry(2, at(9, 0), at(10, 0, 1)), true, true},
        {"starts at the end", entry(3, at(11, 0), at(12, 0)), false, true},
        {"runs since before", entry(4, at(8, 0), Running), true, true},
        {"runs from after the end", entry(5, at(11, 30), Running), false, true},
        {"is the entry itself", entry(7, at(10, 0), at(11, 0)), false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Collides(finished, c.row), c.withFinished);
        EXPECT_EQ(Collides(running, c.row), c.withRunning);
    }
}

TEST(TimeEntryOverlap, EdgeToleranceOfThirtySeconds)
{
    const qint64 d = at(10, 0);
    struct Case {
        const char *what;
        tTacheFull entry;
        std::vector<tTacheFull> rows;
        bool trimmed;
        qint64 debut, fin; // the entry afterwards
    };
    const Case cases[] = {
        {"running, last entry ended 25 s after its start",
         entry(-1, d, Running), {entry(1, at(9, 0), d + 25)}, true, d + 25, Running},
        {"running, 29 s", entry(-1, d, Running), {entry(1, at(9, 0), d + 29)}, true, d + 29, Running},
        {"running, exactly 30 s is a collision", entry(-1, d, Running), {entry(1, at(9, 0), d + 30)}, false, d, Running},
        {"running, 31 s", entry(-1, d, Running), {entry(1, at(9, 0), d + 31)}, false, d, Running},
        {"running, the latest of two small overlaps wins",
         entry(-1, d, Running), {entry(1, at(9, 0), d + 20), entry(2, d + 5, d + 10)}, true, d + 20, Running},
        {"running, one real collision spoils the trim",
         entry(-1, d, Running), {entry(1, at(9, 0), d + 10), entry(2, d + 15, at(11, 0))}, false, d, Running},
        {"running over a running entry", entry(-1, d, Running), {entry(1, at(9, 0), Running)}, false, d, Running},
        {"an hour with a neighbour 20 s into its start is reported",
         entry(-1, d, at(11, 0)), {entry(1, at(9, 0), d + 20)}, false, d, at(11, 0)},
        {"an hour with a neighbour 20 s before its end is reported",
         entry(-1, d, at(11, 0)), {entry(1, at(11, 0) - 20, at(12, 0))}, false, d, at(11, 0)},
        {"a minute that ends 20 s into a running entry ends where it starts",
         entry(-1, d, d + 60), {entry(1, d + 40, Running)}, true, d, d + 40},
        {"a minute that ends 40 s into a running entry is reported",
         entry(-1, d, d + 60), {entry(1, d + 20, Running)}, false, d, d + 60},
        {"20 s starting with a running entry is reported",
         entry(-1, d, d + 20), {entry(1, d, Running)}, false, d, d + 20},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        tTacheFull e = c.entry;
        EXPECT_EQ(TrimToEdges(e, c.rows), c.trimmed);
        EXPECT_EQ(e.Debut, c.debut);
        EXPECT_EQ(e.Fin, c.fin);
    }
}

TEST(TimeEntryOverlap, LongestFreeGap)
{
    struct Case {
        const char *what;
        tTacheFull entry;
        std::vector<tTacheFull> rows;
        std::optional<tDebutFin> gap;
    };
    const Case cases[] = {
        {"between two entries",
         entry(-1, at(9, 30), at(11, 0)), {entry(1, at(9, 0), at(10, 0)), entry(2, at(10, 30), at(12, 0))},
         tDebutFin{at(10, 0), at(10, 30)}},
        {"no free time: inside a longer entry",
         entry(-1, at(10, 0), at(11, 0)), {entry(1, at(9, 0), at(12, 0))}, std::nullopt},
        {"before the first neighbour", entry(-1, at(9, 0), at(12, 0)), {entry(1, at(11, 0), at(13, 0))},
         tDebutFin{at(9, 0), at(11, 0)}},
        {"after the last neighbour", entry(-1, at(9, 0), at(12, 0)), {entry(1, at(8, 0), at(10, 0))},
         tDebutFin{at(10, 0), at(12, 0)}},
        {"equal gaps: the earliest",
         entry(-1, at(9, 0), at(12, 0)),
         {entry(1, at(9, 30), at(10, 0)), entry(2, at(10, 30), at(11, 0)), entry(3, at(11, 30), at(12, 0))},
         tDebutFin{at(9, 0), at(9, 30)}},
        {"a later, strictly longer gap wins",
         entry(-1, at(9, 0), at(12, 0)), {entry(1, at(9, 30), at(10, 0)), entry(2, at(11, 0), at(11, 15))},
         tDebutFin{at(10, 0), at(11, 0)}},
        {"a running neighbour ends no gap",
         entry(-1, at(9, 0), at(12, 0)), {entry(1, at(8, 0), Running), entry(2, at(10, 0), at(11, 0))},
         std::nullopt},
        {"the only free time is before a running neighbour",
         entry(-1, at(9, 0), at(12, 0)), {entry(1, at(9, 30), Running), entry(2, at(10, 0), at(11, 0))},
         tDebutFin{at(9, 0), at(9, 30)}},
        {"neighbours overlapping each other leave no gap inside the longer one",
         entry(-1, at(8, 30), at(13, 0)),
         {entry(1, at(9, 0), at(12, 0)), entry(2, at(10, 0), at(11, 0)), entry(3, at(11, 30), at(12, 30))},
         tDebutFin{at(8, 30), at(9, 0)}},
        {"after neighbours nested in a longer one, the gap begins at the latest end",
         entry(-1, at(8, 50), at(13, 0)),
         {entry(1, at(9, 0), at(12, 0)), entry(2, at(10, 0), at(11, 0)), entry(3, at(11, 45), at(12, 30))},
         tDebutFin{at(12, 30), at(13, 0)}},
        {"running entry after finished neighbours keeps running from the last end",
         entry(-1, at(9, 0), Running), {entry(1, at(8, 0), at(9, 30)), entry(2, at(9, 45), at(10, 15))},
         tDebutFin{at(10, 15), Running}},
        {"running entry before a running neighbour gets the time before it",
         entry(-1, at(9, 0), Running), {entry(1, at(9, 30), Running)}, tDebutFin{at(9, 0), at(9, 30)}},
        {"running entry inside a running neighbour: nothing",
         entry(-1, at(9, 0), Running), {entry(1, at(8, 0), Running)}, std::nullopt},
        {"over midnight",
         entry(-1, at(23, 0), at(2, 0, 0, QDate(2026, 3, 11))),
         {entry(1, at(22, 0), at(23, 30)), entry(2, at(1, 0, 0, QDate(2026, 3, 11)), at(3, 0, 0, QDate(2026, 3, 11)))},
         tDebutFin{at(23, 30), at(1, 0, 0, QDate(2026, 3, 11))}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LongestFreeGap(c.entry, c.rows), c.gap);
    }
}

TEST(TimeEntryOverlap, LongestFreeGapCountsRealSecondsOnADaylightSavingNight)
{
    // 29 March 2026: the clocks go from 02:00 to 03:00. The gap 01:00-03:30
    // on the wall clock lasts 1 h 30; the gap 03:45-05:30 lasts 1 h 45.
    const QDate day(2026, 3, 29);
    const tTacheFull e = entry(-1, at(1, 0, 0, day), at(5, 30, 0, day));
    const std::vector<tTacheFull> rows = {entry(1, at(3, 30, 0, day), at(3, 45, 0, day))};
    EXPECT_EQ(LongestFreeGap(e, rows), (tDebutFin{at(3, 45, 0, day), at(5, 30, 0, day)}));
}

TEST(TimeEntryOverlap, OverwritePlan)
{
    struct Case {
        const char *what;
        tTacheFull entry;
        std::vector<tTacheFull> rows;
        std::vector<int> deleted, cut, moved, split;
    };
    const QDate dst(2026, 3, 29);
    const Case cases[] = {
        {"a spanning entry is split", entry(-1, at(10, 0), at(11, 0)), {entry(1, at(9, 0), at(12, 0))},
         {}, {}, {}, {1}},
        {"a running entry that began before is split", entry(-1, at(10, 0), at(11, 0)), {entry(1, at(9, 0), Running)},
         {}, {}, {}, {1}},
        {"every kind at once",
         entry(-1, at(10, 0), at(11, 0)),
         {entry(1, at(9, 0), at(10, 30)), entry(2, at(10, 30), at(10, 40)), entry(3, at(10, 50), at(11, 0)),
          entry(4, at(10, 55), at(11, 30))},
         {2, 3}, {1}, {4}, {}},
        {"an entry ending exactly at the end is removed, also when it starts at the start",
         entry(-1, at(10, 0), at(11, 0)), {entry(1, at(10, 0), at(11, 0))}, {1}, {}, {}, {}},
        {"a running entry starting inside is moved", entry(-1, at(10, 0), at(11, 0)), {entry(1, at(10, 30), Running)},
         {}, {}, {1}, {}},
        {"the stored row of the entry itself is left alone", entry(9, at(10, 0), at(11, 0)),
         {entry(9, at(9, 0), at(12, 0)), entry(1, at(10, 15), at(10, 20))}, {1}, {}, {}, {}},
        {"rows that do not collide are left alone", entry(-1, at(10, 0), at(11, 0)),
         {entry(1, at(9, 0), at(10, 0)), entry(2, at(11, 0), Running)}, {}, {}, {}, {}},
        {"running: later entries go, open earlier ones end at its start",
         entry(-1, at(10, 0), Running),
         {entry(1, at(9, 0), at(10, 30)), entry(2, at(8, 0), Running), entry(3, at(10, 0), at(10, 30)),
          entry(4, at(14, 0), at(15, 0)), entry(5, at(16, 0), Running)},
         {3, 4, 5}, {2, 1}, {}, {}},
        {"across a daylight-saving night", entry(-1, at(1, 30, 0, dst), at(3, 30, 0, dst)),
         {entry(1, at(23, 0, 0, dst.addDays(-1)), at(1, 45, 0, dst)), entry(2, at(3, 15, 0, dst), at(4, 0, 0, dst))},
         {}, {1}, {2}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const tOverwritePlan plan = PlanOverwrite(c.entry, c.rows);
        EXPECT_EQ(plan.deleted, c.deleted);
        EXPECT_EQ(plan.cut, c.cut);
        EXPECT_EQ(plan.moved, c.moved);
        std::vector<int> split;
        for (const tTacheFull &row : plan.split)
            split.push_back(row.Id);
        EXPECT_EQ(split, c.split);
    }
}

namespace {

// Applies a plan the way the database layer does, giving remainders of
// split rows the ids from 1000 on.
std::vector<tTacheFull> applied(const tTacheFull &e, std::vector<tTacheFull> rows, const tOverwritePlan &plan)
{
    auto find = [&](int id) -> tTacheFull & {
        for (tTacheFull &r : rows)
            if (r.Id == id)
                return r;
        ADD_FAILURE() << "no row " << id;
        return rows.front();
    };
    std::vector<tTacheFull> out;
    for (int id : plan.deleted)
        find(id).Id = -100 - id; // marks it gone
    for (int id : plan.cut)
        find(id).Fin = e.Debut;
    for (int id : plan.moved)
        find(id).Debut = e.Fin;
    int next = 1000;
    for (const tTacheFull &s : plan.split) {
        tTacheFull rest = s;
        rest.Id = next++;
        rest.Debut = e.Fin;
        find(s.Id).Fin = e.Debut;
        out.push_back(rest);
    }
    for (const tTacheFull &r : rows)
        if (r.Id >= 0)
            out.push_back(r);
    return out;
}

bool occupied(const std::vector<tTacheFull> &rows, qint64 t)
{
    for (const tTacheFull &r : rows)
        if (r.Debut <= t && (r.Fin == 0 || t < r.Fin))
            return true;
    return false;
}

} // namespace

// Whatever the neighbours, an overwrite frees exactly the entry's period:
// no live row overlaps it afterwards, and time outside it stays booked as
// it was.
TEST(TimeEntryOverlap, OverwriteFreesTheEntryAndNothingElse)
{
    std::mt19937 rng(20260310);
    const qint64 base = at(8, 0);
    std::uniform_int_distribution<int> minute(0, 8 * 60);
    std::uniform_int_distribution<int> length(0, 3 * 60);
    for (int round = 0; round < 500; ++round) {
        // Non-overlapping finished neighbours, sometimes one running last.
        std::vector<tTacheFull> rows;
        qint64 t = base + 60 * minute(rng) / 8;
        for (int id = 1; id <= 6; ++id) {
            const qint64 start = t + 60 * (length(rng) / 3);
            const qint64 end = start + 60 * length(rng) + 60;
            rows.push_back(entry(id, start, end));
            t = end;
        }
        if (round % 3 == 0)
            rows.back().Fin = Running;
        const qint64 d = base + 60 * minute(rng);
        const tTacheFull e = entry(-1, d, d + 60 * length(rng) + 60);

        std::vector<tTacheFull> colliding;
        for (const tTacheFull &r : rows)
            if (Collides(e, r))
                colliding.push_back(r);
        const std::vector<tTacheFull> after = applied(e, rows, PlanOverwrite(e, colliding));

        SCOPED_TRACE(round);
        for (const tTacheFull &r : after)
            ASSERT_FALSE(Collides(e, r)) << "row " << r.Id << " still overlaps";
        for (qint64 probe = base - 3600; probe < base + 12 * 3600; probe += 60) {
            if (probe >= e.Debut && probe < e.Fin)
                continue;
            ASSERT_EQ(occupied(after, probe), occupied(rows, probe)) << "at " << probe - base;
        }
    }
}
