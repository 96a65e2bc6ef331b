#include "EntryDialogRules.h"

#include <gtest/gtest.h>

#include <QDateTime>

using namespace EntryDialogRules;

namespace {
qint64 at(const QDate &day, int h, int m, int s = 0)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}
const QDate Day{2026, 3, 25};
} // namespace

TEST(EntryDialogRules, TaskStateGivesTheWarningsAndOk)
{
    struct Case
    {
        const char *what;
        int project;
        int activity;
        qint64 start;
        qint64 end;
        bool hasEnd;
        bool noRecord;
        bool endWarning;
        bool ok;
    };
    const qint64 start = at(Day, 9, 0);
    const Case cases[] = {
        {"new, running, no record", -1, -1, start, 0, false, true, false, false},
        {"activity only", -1, 4, start, 0, false, false, false, true},
        {"project only, with an end", 3, -1, start, start + 60, true, false, false, true},
        {"end equal to the start", 3, -1, start, start, true, false, true, false},
        {"end before the start", 3, 4, start, start - 1, true, false, true, false},
        {"both warnings", -1, -1, start, start - 3600, true, true, true, false},
        // A running entry has no end to compare, whatever the pickers hold.
        {"running with an old end", 3, -1, start, 0, false, false, false, true},
    };
    for (const Case &c : cases) {
        const tTaskState s = TaskState(c.project, c.activity, c.start, c.end, c.hasEnd);
        EXPECT_EQ(s.noRecordWarning, c.noRecord) << c.what;
        EXPECT_EQ(s.endWarning, c.endWarning) << c.what;
        EXPECT_EQ(s.okEnabled, c.ok) << c.what;
    }
}

TEST(EntryDialogRules, AnEndGivenToARunningEntryIsNowOrAnHourAfterAFutureStart)
{
    const qint64 now = at(Day, 10, 0);
    EXPECT_EQ(ProposedEnd(at(Day, 9, 0), now), now);
    EXPECT_EQ(ProposedEnd(now, now), now + 3600) << "a start at now is not before now";
    EXPECT_EQ(ProposedEnd(at(Day, 14, 0), now), at(Day, 15, 0));
}

TEST(EntryDialogRules, SeveralEntriesStateAndChosenIds)
{
    struct Case
    {
        bool project, activity, rate;
        int projectId, activityId;
        bool warning, ok;
    };
    const Case cases[] = {
        {false, false, false, -1, -1, false, false}, // nothing ticked
        {true, false, false, -1, -1, false, true},   // clear the project alone
        {true, true, false, -1, -1, true, false},    // clear both: refused
        {true, true, false, 3, -1, false, true},
        {false, false, true, -1, -1, false, true},   // clear the rate
    };
    for (const Case &c : cases) {
        const tSeveralState s = SeveralState(c.project, c.activity, c.rate, c.projectId, c.activityId);
        EXPECT_EQ(s.warning, c.warning);
        EXPECT_EQ(s.okEnabled, c.ok);
    }
    EXPECT_EQ(ChosenId(false, true, 7), Unchanged);
    EXPECT_EQ(ChosenId(true, false, 7), Unchanged);
    EXPECT_EQ(ChosenId(true, true, -1), -1);
    EXPECT_EQ(ChosenId(true, true, 7), 7);
}

TEST(EntryDialogRules, LocalInstantAcrossTheClockChanges)
{
    const QDate spring(2026, 3, 29);
    const QDate autumn(2026, 10, 25);
    // 02:00 to 03:00 does not exist on the spring Sunday: 03:00 CEST.
    const qint64 afterGap = QDateTime(spring, QTime(1, 0), Qt::UTC).toSecsSinceEpoch();
    EXPECT_EQ(LocalInstant(spring, QTime(2, 30)), afterGap);
    EXPECT_EQ(LocalInstant(spring, QTime(2, 0)), afterGap);
    EXPECT_EQ(LocalInstant(spring, QTime(2, 59, 59)), afterGap);
    EXPECT_EQ(LocalInstant(spring, QTime(3, 0)), afterGap);
    EXPECT_EQ(LocalInstant(spring, QTime(1, 59, 59)), afterGap - 1);
    // 02:30 comes twice in autumn: the first, still in summer time.
    EXPECT_EQ(LocalInstant(autumn, QTime(2, 30)),
              QDateTime(autumn, QTime(0, 30), Qt::UTC).toSecsSinceEpoch());
    EXPECT_EQ(LocalInstant(Day, QTime(9, 15, 30)), at(Day, 9, 15, 30));
    EXPECT_EQ(LocalInstant(QDate(), QTime(9, 0)), 0);
}

TEST(EntryDialogRules, ANewEntryRunsOnlyFromTodaysSlots)
{
    const qint64 now = at(Day, 10, 0);
    const QDate before = Day.addDays(-1);
    struct Case
    {
        const char *what;
        qint64 start, nextStart, end;
    };
    const Case cases[] = {
        {"today before now: running", at(Day, 8, 0), at(Day, 8, 30), 0},
        {"today after now: running", at(Day, 15, 0), 0, 0},
        {"a past day: an hour", at(before, 14, 0), 0, at(before, 15, 0)},
        {"a past day, the next entry sooner: up to it", at(before, 14, 0), at(before, 14, 20), at(before, 14, 20)},
        {"a past day, the next entry later: an hour", at(before, 14, 0), at(before, 16, 0), at(before, 15, 0)},
        {"a past day, late: an hour into the next day", at(before, 23, 30), 0, at(Day, 0, 30)},
        {"a day to come: an hour", at(Day.addDays(3), 9, 0), 0, at(Day.addDays(3), 10, 0)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NewEntryEnd(c.start, now, c.nextStart), c.end) << c.what;
}

// Seconds are shown only where two different instants of the question fall
// within one minute.
TEST(EntryDialogRules, SecondsOnlyWhereTwoTimesShareTheirMinute)
{
    const qint64 m = QDateTime(QDate(2026, 3, 26), QTime(23, 7), Qt::LocalTime).toSecsSinceEpoch();
    const struct
    {
        const char *what;
        qint64 instant;
        std::vector<qint64> shown;
        bool seconds;
    } cases[] = {
        {"alone in its minute", m + 10, {m + 10, m + 600, 0}, false},
        {"the same instant twice", m + 10, {m + 10, m + 10}, false},
        {"another one 20 s later", m + 10, {m + 10, m + 30}, true},
        {"another one in the next minute", m + 50, {m + 50, m + 70}, false},
        {"the minute's first and last second", m, {m, m + 59}, true},
        {"a running end (0) beside it", m + 5, {m + 5, 0}, false},
        {"0 itself", 0, {0, m}, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EntryDialogRules::NeedsSeconds(c.instant, c.shown), c.seconds) << c.what;
}
