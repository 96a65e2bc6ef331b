#include "CConfiguration.h"
#include "Clock.h"
#include "LocalTime.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <limits>

// Every case runs under TZ=Europe/Paris. In 2026 the clocks go forward on
// Sunday 29 March and back on Sunday 25 October; 5 January and 2 March 2026
// are Mondays.
namespace {

qint64 at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::LocalTime).toSecsSinceEpoch();
}

std::string show(qint64 t)
{
    return Platform::LocalTime::toLocal(t).toString(Qt::ISODate).toStdString();
}

constexpr qint64 H = 3600;

// Monday to Friday, 8:00-12:00 and 13:00-17:00.
class WorkingCalendar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.workingDays.ParseDay(0, u"480,720;780,1020;");
        config.workingDays.UpdateTotals();
    }
    void WorkEveryDay(const char16_t *periods)
    {
        config.workingDays.ParseDay(0, periods);
        config.workingDays.UpdateTotals();
        config.workDays.fill(true);
    }
    CConfiguration config;
};

} // namespace

TEST_F(WorkingCalendar, WorkingDays)
{
    EXPECT_EQ(config.CountWorkingWeekdays(), 5);
    EXPECT_TRUE(config.IsWorkingDay(QDate(2026, 3, 2)));
    EXPECT_FALSE(config.IsWorkingDay(QDate(2026, 3, 7)));
    EXPECT_FALSE(config.IsWorkingDay(QDate()));
    config.daysOff.SetRange(QDate(2026, 3, 3), QDate(2026, 3, 3), false);
    EXPECT_FALSE(config.IsWorkingDay(QDate(2026, 3, 3)));
    // A worked weekday whose own set is empty has no working time.
    config.workingDays.ParseDay(4, u"");
    config.workingDays.Set(4).useDefault = false;
    config.workingDays.UpdateTotals();
    EXPECT_FALSE(config.IsWorkingDay(QDate(2026, 3, 4)));
    EXPECT_EQ(config.GetWeekdayWorkingSeconds(2, 9 * H, 14 * H), 4 * H);
    EXPECT_EQ(config.GetWeekdayWorkingSeconds(9, 0, 86400), 0);
}

TEST_F(WorkingCalendar, Durations)
{
    struct Case { const char *name; qint64 t1, t2, expected; };
    const Case cases[] = {
        {"same instant", at(2026, 3, 2, 10), at(2026, 3, 2, 10), 0},
        {"one working day", at(2026, 3, 2, 17), at(2026, 3, 2, 8), 8 * H},
        {"t2 after t1 is negative", at(2026, 3, 2, 8), at(2026, 3, 2, 17), -8 * H},
        {"across lunch", at(2026, 3, 2, 13, 30), at(2026, 3, 2, 10, 30), 2 * H},
        {"before work to after work", at(2026, 3, 2, 22), at(2026, 3, 2, 6), 8 * H},
        {"over a weekend", at(2026, 3, 9, 9), at(2026, 3, 6, 16), 2 * H},
        {"weekend only", at(2026, 3, 8, 23), at(2026, 3, 7, 1), 0},
        {"one week", at(2026, 3, 9, 8), at(2026, 3, 2, 8), 40 * H},
        {"one year", at(2027, 1, 4, 8), at(2026, 1, 5, 8), 52 * 40 * H},
        {"across the spring change", at(2026, 3, 30, 9), at(2026, 3, 27, 16), 2 * H},
        {"across the autumn change", at(2026, 10, 26, 9), at(2026, 10, 23, 16), 2 * H},
        {"a spring-change week", at(2026, 4, 3, 17), at(2026, 3, 23, 8), 10 * 8 * H},
    };
    for (const Case &c : cases)
        EXPECT_EQ(config.GetWorkingDuration(c.t1, c.t2), c.expected) << c.name;
}

TEST_F(WorkingCalendar, DurationsWithDaysOff)
{
    config.daysOff.SetRange(QDate(2026, 3, 4), QDate(2026, 3, 4), false);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 6, 17), at(2026, 3, 2, 8)), 32 * H);
    // Wednesday as first or last day counts nothing either.
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 5, 8), at(2026, 3, 4, 9)), 0);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 4, 15), at(2026, 3, 3, 16)), H);
    // Three weeks off in the middle of a year.
    config.daysOff.SetRange(QDate(2026, 8, 3), QDate(2026, 8, 23), false);
    EXPECT_EQ(config.GetWorkingDuration(at(2027, 1, 4, 8), at(2026, 1, 5, 8)), (52 * 40 - 8 - 3 * 40) * H);
}

TEST_F(WorkingCalendar, DaylightSavingSundayWorked)
{
    config.workDays[0] = true; // Sundays too
    // Saturday noon to Monday noon: the whole Sunday and Monday morning, on
    // the day that has 23 hours and the day that has 25.
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 30, 12), at(2026, 3, 28, 12)), 12 * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 10, 26, 12), at(2026, 10, 24, 12)), 12 * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 29, 14), at(2026, 3, 29, 9)), 4 * H);
    // Three hours from Friday 16:00 end on Sunday at 10:00, nine hours after
    // that Sunday's midnight.
    const qint64 sunday = config.AddWorkingTime(at(2026, 3, 27, 16), 3 * H);
    EXPECT_EQ(sunday, at(2026, 3, 29, 10)) << show(sunday);
    EXPECT_EQ(sunday - Platform::LocalTime::midnight(QDate(2026, 3, 29)), 9 * H);
    EXPECT_EQ(config.AddWorkingTime(at(2026, 10, 23, 16), 3 * H), at(2026, 10, 25, 10));
    EXPECT_EQ(config.NextWorkingTime(at(2026, 3, 29, 2, 30)), at(2026, 3, 29, 8));

    // A Sunday period starting at 2:30, a time the spring change skips:
    // working time is counted on the wall clock, and a wall-clock time in
    // the skipped hour stands for 3:00, two hours after midnight.
    config.workingDays.ParseDay(1, u"150,300;");
    config.workingDays.UpdateTotals();
    const qint64 midnight = Platform::LocalTime::midnight(QDate(2026, 3, 29));
    EXPECT_EQ(config.NextWorkingTime(midnight + 1800), midnight + 2 * H);
    const qint64 saturday = at(2026, 3, 28, 12);
    qint64 previous = saturday;
    for (qint64 s = 600; s <= 150 * 60; s += 600) {
        const qint64 r = config.AddWorkingTime(saturday, s);
        EXPECT_GE(r, previous) << s;
        EXPECT_GE(r, midnight + 2 * H) << s;
        previous = r;
    }
    EXPECT_EQ(config.AddWorkingTime(saturday, 3600), midnight + 2 * H + 1800); // 3:30
    EXPECT_EQ(config.AddWorkingTime(saturday, 150 * 60), at(2026, 3, 29, 5));
}

TEST_F(WorkingCalendar, AddedWorkingTime)
{
    struct Case { const char *name; qint64 t, seconds, expected; };
    const Case cases[] = {
        {"one day's total from the start", at(2026, 3, 2, 8), 8 * H, at(2026, 3, 2, 17)},
        {"from before work", at(2026, 3, 2, 7), 8 * H, at(2026, 3, 2, 17)},
        {"into the next day", at(2026, 3, 2, 16), 2 * H, at(2026, 3, 3, 9)},
        {"over lunch", at(2026, 3, 2, 11, 30), H, at(2026, 3, 2, 13, 30)},
        {"from lunch", at(2026, 3, 2, 12, 30), H, at(2026, 3, 2, 14)},
        {"to Friday's end", at(2026, 3, 6, 16), H, at(2026, 3, 6, 17)},
        {"over the weekend", at(2026, 3, 6, 16), 2 * H, at(2026, 3, 9, 9)},
        {"from Saturday, a whole day", at(2026, 3, 7, 10), 8 * H, at(2026, 3, 9, 17)},
        {"from Saturday, a morning", at(2026, 3, 7, 10), 4 * H, at(2026, 3, 9, 12)},
        {"from Saturday, a working week", at(2026, 3, 7, 10), 40 * H, at(2026, 3, 13, 17)},
        {"seconds kept", at(2026, 3, 2, 9, 0, 15), 90, at(2026, 3, 2, 9, 1, 45)},
        {"nothing to add", at(2026, 3, 7, 10), 0, at(2026, 3, 7, 10)},
        {"negative amount", at(2026, 3, 7, 10), -5, at(2026, 3, 7, 10)},
        {"across the spring change", at(2026, 3, 27, 16), 2 * H, at(2026, 3, 30, 9)},
        {"across the autumn change", at(2026, 10, 23, 16), 2 * H, at(2026, 10, 26, 9)},
        {"1000 hours", at(2026, 1, 5, 8), 1000 * H, at(2026, 6, 26, 17)},
        {"1000 hours and one", at(2026, 1, 5, 8), 1000 * H + 60, at(2026, 6, 29, 8, 1)},
    };
    for (const Case &c : cases) {
        bool reached = false;
        const qint64 r = config.AddWorkingTime(c.t, c.seconds, &reached);
        EXPECT_EQ(r, c.expected) << c.name << ": " << show(r);
        EXPECT_TRUE(reached) << c.name;
    }
}

TEST_F(WorkingCalendar, AddedTimeAndDurationAgree)
{
    config.daysOff.SetRange(QDate(2026, 3, 18), QDate(2026, 3, 20), false);
    config.workDays[0] = true;
    config.SetBookedIntervals({
        {at(2026, 3, 10, 9, 15), at(2026, 3, 10, 11, 0)},
        {at(2026, 3, 11, 16, 0), at(2026, 3, 12, 9, 30)},
        {at(2026, 3, 29, 9, 0), at(2026, 3, 29, 10, 0)},
    });
    const qint64 amounts[] = {60, 1800, 4 * H, 8 * H, 8 * H + 1, 19 * H, 40 * H, 123 * H + 17};
    for (qint64 t = at(2026, 3, 6, 0, 10); t < at(2026, 4, 2); t += 7 * H + 13 * 60) {
        for (qint64 s : amounts) {
            const qint64 r = config.AddWorkingTime(t, s);
            EXPECT_EQ(config.GetWorkingDuration(r, t), s) << show(t) << " + " << s << " = " << show(r);
        }
    }
}

TEST_F(WorkingCalendar, PeriodEndingAtMidnight)
{
    WorkEveryDay(u"1200,1440;");
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 3), at(2026, 3, 2, 23)), H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 4), at(2026, 3, 2, 20)), 8 * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 3, 0, 30), at(2026, 3, 2, 23, 30)), 1800);
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 2, 20), 4 * H), at(2026, 3, 3));
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 2, 23), 2 * H), at(2026, 3, 3, 21));
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 1, 20), 8 * H), at(2026, 3, 3));
    EXPECT_EQ(config.NextWorkingTime(at(2026, 3, 2, 23, 59, 30)), at(2026, 3, 2, 23, 59, 30));
    EXPECT_EQ(config.NextWorkingTime(at(2026, 3, 2, 12)), at(2026, 3, 2, 20));
}

// Every day worked around the clock: a day's 24 hours from its midnight end
// at the next midnight, also on the Sundays of 23 and 25 hours.
TEST_F(WorkingCalendar, WholeDaysWorkedOnClockChangeSundays)
{
    WorkEveryDay(u"0,1440;");
    for (const QDate sunday : {QDate(2026, 3, 29), QDate(2026, 10, 25)}) {
        const qint64 r = config.AddWorkingTime(at(sunday.year(), sunday.month(), sunday.day()), 24 * H);
        const QDate monday = sunday.addDays(1);
        EXPECT_EQ(r, at(monday.year(), monday.month(), monday.day())) << show(r);
    }
}

TEST_F(WorkingCalendar, NextWorkingInstant)
{
    config.daysOff.SetRange(QDate(2026, 3, 16), QDate(2026, 3, 16), false);
    struct Case { const char *name; qint64 t, expected; };
    const Case cases[] = {
        {"before the first period: its start", at(2026, 3, 2, 7, 30, 45), at(2026, 3, 2, 8)},
        {"inside a period", at(2026, 3, 2, 9, 12, 5), at(2026, 3, 2, 9, 12, 5)},
        {"half a minute into the first period", at(2026, 3, 2, 8, 0, 30), at(2026, 3, 2, 8, 0, 30)},
        {"at noon", at(2026, 3, 2, 12), at(2026, 3, 2, 13)},
        {"last minute of a period", at(2026, 3, 2, 16, 59, 59), at(2026, 3, 2, 16, 59, 59)},
        {"after work", at(2026, 3, 2, 17), at(2026, 3, 3, 8)},
        {"Friday evening", at(2026, 3, 6, 17, 30), at(2026, 3, 9, 8)},
        {"Monday off", at(2026, 3, 13, 18), at(2026, 3, 17, 8)},
        {"over the spring change", at(2026, 3, 28, 12), at(2026, 3, 30, 8)},
    };
    for (const Case &c : cases) {
        bool found = false;
        const qint64 r = config.NextWorkingTime(c.t, &found);
        EXPECT_EQ(r, c.expected) << c.name << ": " << show(r);
        EXPECT_TRUE(found) << c.name;
    }
}

TEST_F(WorkingCalendar, BookedTime)
{
    config.SetBookedIntervals({
        {at(2026, 3, 2, 9), at(2026, 3, 2, 11)},
        {at(2026, 3, 3, 16), at(2026, 3, 4, 9)},
        // A long entry holding a short one behind it in the list.
        {at(2026, 3, 9, 8), at(2026, 3, 10, 9)},
        {at(2026, 3, 9, 10), at(2026, 3, 9, 11)},
    });
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 2, 10, 30), at(2026, 3, 2, 9, 30)), 0);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 2, 17), at(2026, 3, 2, 8)), 6 * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 4, 17), at(2026, 3, 2, 8)), (6 + 7 + 7) * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 11), at(2026, 3, 10)), 7 * H);
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 14), at(2026, 3, 7)), (7 + 8 + 8 + 8) * H);
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 2, 8), 8 * H), at(2026, 3, 3, 10));
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 3, 8), 7 * H), at(2026, 3, 3, 16));
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 3, 15), 2 * H), at(2026, 3, 4, 10));
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 6, 17), H), at(2026, 3, 10, 10));
    config.ClearBookedIntervals();
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 2, 17), at(2026, 3, 2, 8)), 8 * H);
}

TEST_F(WorkingCalendar, NowStandsForAMissingStart)
{
    Platform::Clock::setFixedNow(at(2026, 3, 2, 10));
    EXPECT_EQ(config.GetWorkingDuration(at(2026, 3, 2, 14), 0), 3 * H);
}

TEST_F(WorkingCalendar, WalksThatCannotEndStopWithAResult)
{
    const qint64 t = at(2026, 3, 2, 10);
    struct Setup { const char *name; std::function<void(CConfiguration &)> apply; };
    const Setup setups[] = {
        {"no worked weekday", [](CConfiguration &c) { c.workDays.fill(false); }},
        {"worked weekdays without working time", [](CConfiguration &c) {
             c.workingDays.ParseDay(0, u"");
             c.workingDays.UpdateTotals();
         }},
        {"days off for twenty years", [](CConfiguration &c) {
             c.daysOff.SetRange(QDate(2026, 3, 2), QDate(2046, 3, 2), false);
         }},
    };
    for (const Setup &s : setups) {
        CConfiguration c;
        c.workingDays.CopyFrom(config.workingDays);
        s.apply(c);
        bool ok = true;
        EXPECT_EQ(c.AddWorkingTime(t, H, &ok), t) << s.name;
        EXPECT_FALSE(ok) << s.name;
        ok = true;
        EXPECT_EQ(c.NextWorkingTime(t + 10 * H, &ok), t + 10 * H) << s.name;
        EXPECT_FALSE(ok) << s.name;
        EXPECT_EQ(c.GetWorkingDuration(t + 400 * 24 * H, t), 0) << s.name;
    }
    // Days off for two years are walked over.
    config.daysOff.SetRange(QDate(2026, 3, 3), QDate(2028, 3, 5), false);
    EXPECT_EQ(config.AddWorkingTime(at(2026, 3, 2, 16), 2 * H), at(2028, 3, 6, 9));
    EXPECT_EQ(config.NextWorkingTime(at(2026, 3, 2, 18)), at(2028, 3, 6, 8));

    // Instants without a local date are refused.
    for (qint64 bad : {std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min()}) {
        bool ok = true;
        EXPECT_EQ(config.AddWorkingTime(bad, H, &ok), bad);
        EXPECT_FALSE(ok);
        EXPECT_EQ(config.NextWorkingTime(bad, &ok), bad);
        EXPECT_FALSE(ok);
        EXPECT_EQ(config.GetWorkingDuration(bad, t), 0);
    }
}

TEST_F(WorkingCalendar, ToSeconds)
{
    struct Case { qint64 amount; int unit; qint64 expected; };
    const Case cases[] = {
        {90, 0, 5400}, {3, 1, 3 * H}, {2, 2, 16 * H}, {0, 1, 0}, {-4, 1, 0}, {5, 3, 0}, {5, -1, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(config.ToSeconds(c.amount, c.unit), c.expected) << c.amount << " unit " << c.unit;
}

TEST_F(WorkingCalendar, IsoWeeksAroundTheNewYear)
{
    config.weekNumbering = 1;
    struct Case { QDate date; int week; bool start; };
    const Case cases[] = {
        {QDate(2025, 12, 28), 52, false}, {QDate(2025, 12, 29), 1, true}, {QDate(2026, 1, 1), 1, false},
        {QDate(2026, 1, 4), 1, false},    {QDate(2026, 1, 5), 2, true},   {QDate(2026, 12, 31), 53, false},
        {QDate(2027, 1, 3), 53, false},   {QDate(2027, 1, 4), 1, true},   {QDate(2021, 1, 3), 53, false},
        {QDate(2024, 12, 30), 1, true},   {QDate(2020, 12, 31), 53, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(config.GetWeekNumber(c.date), c.week) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(config.IsWeekStart(c.date), c.start) << c.date.toString(Qt::ISODate).toStdString();
    }
    EXPECT_EQ(config.FormatWeekNumber(QDate(2027, 1, 1), false), u"Sem. : 53");
    EXPECT_EQ(config.FormatWeekNumber(QDate(2027, 1, 4), true), u"(S 1)");
    EXPECT_EQ(config.GetWeekNumber(QDate()), 0);
}

TEST_F(WorkingCalendar, WeeksFromTheFirstOfJanuary)
{
    config.weekNumbering = 0;
    struct Case { QDate date; int week; };
    const Case cases[] = {
        {QDate(2026, 1, 1), 1},  {QDate(2026, 1, 3), 1}, {QDate(2026, 1, 4), 2}, {QDate(2026, 1, 10), 2},
        {QDate(2026, 1, 11), 3}, {QDate(2023, 1, 1), 1}, {QDate(2023, 1, 7), 1}, {QDate(2023, 1, 8), 2},
        {QDate(2022, 1, 1), 1},  {QDate(2022, 1, 2), 2}, {QDate(2022, 12, 31), 53}, {QDate(2028, 12, 31), 54},
    };
    for (const Case &c : cases)
        EXPECT_EQ(config.GetWeekNumber(c.date), c.week) << c.date.toString(Qt::ISODate).toStdString();
    // The number changes exactly on the days that start a week.
    for (int year : {2021, 2022, 2023, 2026, 2028}) {
        for (QDate d(year, 1, 2); d.year() == year; d = d.addDays(1)) {
            const bool changed = config.GetWeekNumber(d) != config.GetWeekNumber(d.addDays(-1));
            EXPECT_EQ(changed, config.IsWeekStart(d)) << d.toString(Qt::ISODate).toStdString();
        }
        EXPECT_TRUE(config.IsWeekStart(QDate(year, 1, 1)));
    }
}

TEST_F(WorkingCalendar, RepeatedAutumnHourNeverGoesBack)
{
    // Round-the-clock working days, Sundays included. On 25 October 2026 the
    // wall clock runs from 2:00 to 3:00 twice; from an instant in the second
    // pass, the working time that follows lies after it, not an hour before.
    WorkEveryDay(u"0,1440;");
    const qint64 firstPass = QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC).toSecsSinceEpoch();
    const qint64 secondPass = firstPass + H;
    ASSERT_EQ(Platform::LocalTime::toLocal(firstPass).time(), QTime(2, 30));
    ASSERT_EQ(Platform::LocalTime::toLocal(secondPass).time(), QTime(2, 30));
    const qint64 r = config.AddWorkingTime(secondPass, 600);
    EXPECT_EQ(r, secondPass + 600) << show(r);
    EXPECT_EQ(config.GetWorkingDuration(r, secondPass), 600);
    EXPECT_EQ(config.AddWorkingTime(firstPass, 600), firstPass + 600);

    // A period starting inside the repeated hour, looked for from its second pass.
    config.workingDays.ParseDay(1, u"165,300;"); // Sundays from 2:45
    config.workingDays.UpdateTotals();
    const qint64 next = config.NextWorkingTime(secondPass);
    EXPECT_EQ(next, secondPass + 900) << show(next);
    const qint64 added = config.AddWorkingTime(secondPass, 60);
    EXPECT_EQ(added, secondPass + 960) << show(added);
}
