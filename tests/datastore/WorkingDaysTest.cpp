#include "CBookedIntervals.h"
#include "CDayOff.h"
#include "CWorkingDays.h"
#include "LocalTime.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <set>

namespace {

std::vector<tWorkingPeriode> P(std::initializer_list<tWorkingPeriode> list)
{
    return list;
}

qint64 at(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::LocalTime).toSecsSinceEpoch();
}

} // namespace

TEST(WorkingDays, ParsePeriodLists)
{
    struct Case
    {
        const char16_t *text;
        bool flagBefore;
        bool flagAfter;
        std::vector<tWorkingPeriode> periods;
    };
    const Case cases[] = {
        {u"480,720;780,1020;", true, false, P({{480, 720}, {780, 1020}})},
        {u"480,720;780,1020", true, false, P({{480, 720}, {780, 1020}})}, // last item without ";"
        {u"d;480,600;", false, true, P({{480, 600}})},                    // "d" keeps its own periods
        {u"480,600;", true, false, P({{480, 600}})},
        {u"", true, true, P({})},   // an empty text leaves the flag
        {u"", false, false, P({})},
        {u"480,720;1300,1500;-5,10;abc;,5;600;", true, false, P({{480, 720}})}, // bad items skipped
        {u"x;d;480,720;", true, false, P({{480, 720}})}, // only the first item may be "d"
        // Out of order or overlapping periods are put right, so nothing counts twice.
        {u"780,1020;480,720;", true, false, P({{480, 720}, {780, 1020}})},
        {u"480,720;600,800;900,900;", true, false, P({{480, 800}})},
        {u"0,1440;", true, false, P({{0, 1440}})},
    };
    for (const Case &c : cases) {
        CWorkingDays days;
        days.Set(3).useDefault = c.flagBefore;
        days.AddPeriod(3, 1, 2);
        days.ParseDay(3, c.text);
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(days.Set(3).useDefault, c.flagAfter);
        EXPECT_EQ(days.Set(3).periods, c.periods);
    }
}

TEST(WorkingDays, EffectiveSetsTotalsAndTexts)
{
    CWorkingDays days;
    days.ParseDay(0, u"480,720;780,1020;");
    days.ParseDay(2, u"540,720;");
    days.ParseDay(3, u"d;600,660;");
    days.UpdateTotals();
    EXPECT_EQ(days.GetDaySeconds(0), 8 * 3600);
    EXPECT_EQ(days.GetDaySeconds(2), 3 * 3600);
    EXPECT_EQ(days.GetDaySeconds(3), 8 * 3600); // uses the default set
    EXPECT_EQ(days.GetDaySeconds(5), 8 * 3600); // never set: default
    int s = 0, e = 0;
    EXPECT_TRUE(days.GetPeriod(3, 1, s, e));
    EXPECT_EQ(s, 780);
    EXPECT_EQ(e, 1020);
    EXPECT_FALSE(days.GetPeriod(3, 2, s, e));
    EXPECT_FALSE(days.GetPeriod(8, 0, s, e));
    EXPECT_FALSE(days.GetPeriod(3, -1, s, e));

    EXPECT_EQ(days.FormatDay(0), u"480,720;780,1020;");
    EXPECT_EQ(days.FormatDay(3), u"d;600,660;");
    EXPECT_EQ(days.FormatDay(2), u"540,720;");
    // A weekday using the default with no periods of its own; set 0 never
    // writes the "d" item.
    days.Set(4).periods.clear();
    days.Set(4).useDefault = true;
    EXPECT_EQ(days.FormatDay(4), u"d;");
    days.Set(0).useDefault = true;
    EXPECT_EQ(days.FormatDay(0), u"480,720;780,1020;");
    // A weekday of its own without periods reads back as such.
    days.Set(5).periods.clear();
    days.Set(5).useDefault = false;
    const QString own = days.FormatDay(5);
    CWorkingDays reread;
    reread.ParseDay(5, own);
    EXPECT_FALSE(reread.Set(5).useDefault);
    EXPECT_TRUE(reread.Set(5).periods.empty());

    Platform::Settings settings;
    days.SaveDay(settings, 0);
    days.SaveDay(settings, 4);
    EXPECT_EQ(settings.getString(u"Config", u"Affichage", u"WorkingDay"), u"480,720;780,1020;");
    EXPECT_EQ(settings.getString(u"Config", u"Affichage", u"WorkingDay_4"), u"d;");

    CWorkingDays copy;
    copy.CopyFrom(days);
    EXPECT_EQ(copy.FormatDay(3), u"d;600,660;");
    EXPECT_EQ(copy.GetDaySeconds(2), 3 * 3600);
    days.Clear();
    EXPECT_TRUE(days.Set(0).periods.empty());
    EXPECT_TRUE(days.Set(3).useDefault);
}

TEST(WorkingDay, SecondsConsumeAndEndOfDay)
{
    CWorkingDay day;
    day.periods = P({{480, 720}, {780, 1020}});
    struct Span { qint64 from, to, expected; };
    const Span spans[] = {
        {0, 86400, 8 * 3600},
        {9 * 3600, 10 * 3600, 3600},
        {11 * 3600, 14 * 3600, 2 * 3600},
        {12 * 3600, 13 * 3600, 0},
        {17 * 3600, 86400, 0},
        {10 * 3600, 10 * 3600, 0},
        {14 * 3600, 10 * 3600, 0}, // reversed bounds count nothing
    };
    for (const Span &s : spans)
        EXPECT_EQ(day.GetWorkingSeconds(s.from, s.to), s.expected) << s.from << ".." << s.to;

    struct Consume { qint64 remaining, position, expRemaining, expPosition; };
    const Consume consumes[] = {
        {3600, 0, 0, 9 * 3600},
        {4 * 3600, 8 * 3600, 0, 12 * 3600},
        {5 * 3600, 8 * 3600, 0, 14 * 3600},
        {10 * 3600, 8 * 3600, 2 * 3600, 17 * 3600},
        {3600, 12 * 3600 + 1800, 0, 14 * 3600},
        {3600, 18 * 3600, 3600, 18 * 3600},
    };
    for (const Consume &c : consumes) {
        qint64 r = c.remaining, p = c.position;
        day.ConsumeWorkingTime(r, p);
        EXPECT_EQ(r, c.expRemaining);
        EXPECT_EQ(p, c.expPosition);
    }
    int h = 0, m = 0;
    day.GetEndOfDay(h, m);
    EXPECT_EQ(h, 17);
    EXPECT_EQ(m, 0);
    day.periods = P({{1200, 1440}});
    day.GetEndOfDay(h, m);
    EXPECT_EQ(h, 24);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(day.GetWorkingSeconds(23 * 3600, 86400), 3600);
    day.periods.clear();
    day.GetEndOfDay(h, m);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(m, 59);
}

TEST(WorkingDays, DayPeriodsWithBookedTimeCutOut)
{
    CWorkingDays days;
    days.ParseDay(0, u"480,720;780,1020;");
    days.UpdateTotals();
    // Monday 2 March 2026 and the days after.
    CBookedIntervals booked;
    booked.Set({
        {at(2026, 3, 2, 9, 0), at(2026, 3, 2, 10, 0, 40)},  // rounds to 10:01
        {at(2026, 3, 2, 11, 30), at(2026, 3, 2, 13, 30)},
        {at(2026, 3, 3, 16, 0), at(2026, 3, 4, 9, 0)},      // across midnight
        {at(2026, 3, 5, 7, 0), at(2026, 3, 6, 9, 0)},       // long one ...
        {at(2026, 3, 5, 10, 0), at(2026, 3, 5, 11, 0)},     // ... holding a short one behind it
        {at(2026, 3, 9, 14, 0), at(2026, 3, 9, 14, 0, 20)}, // shorter than a minute
    });
    struct Case { QDate date; std::vector<tWorkingPeriode> periods; int total; };
    const Case cases[] = {
        {QDate(2026, 3, 2), P({{480, 540}, {601, 690}, {810, 1020}}), 60 + 89 + 210},
        {QDate(2026, 3, 3), P({{480, 720}, {780, 960}}), 420},
        {QDate(2026, 3, 4), P({{540, 720}, {780, 1020}}), 420},
        {QDate(2026, 3, 5), P({}), 0},
        // The short interval of the day before must not blank this day.
        {QDate(2026, 3, 6), P({{540, 720}, {780, 1020}}), 420},
        {QDate(2026, 3, 9), P({{480, 720}, {780, 1020}}), 480},
    };
    int cursor = 0;
    for (const Case &c : cases) {
        CWorkingDay out;
        days.GetDayPeriods(c.date, out, &booked, cursor);
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(out.periods, c.periods);
        EXPECT_EQ(out.total, c.total);
    }
    // Without a list the weekday's own set, total untouched.
    CWorkingDay out;
    int c2 = 0;
    days.GetDayPeriods(QDate(2026, 3, 2), out, nullptr, c2);
    EXPECT_EQ(out.total, 480);
    days.GetDayPeriods(QDate(), out, &booked, c2);
    EXPECT_TRUE(out.periods.empty());
}

namespace {
QDate D(int n)
{
    return Platform::LocalTime::fromOleDay(n);
}
} // namespace

TEST(DayOff, MarkingMergingAndToggling)
{
    struct Step { int first, last; bool follow; };
    struct Case { const char *name; const char16_t *initial; std::vector<Step> steps; const char16_t *expected; };
    const Case cases[] = {
        {"days 10 and 12, then 11 joins them", u"", {{10, 10, false}, {12, 12, false}, {11, 11, false}}, u"10,12;"},
        {"11 again with follow takes it out", u"10,12;", {{11, 11, true}}, u"10;12;"},
        {"a single day that is off clears", u"10;", {{10, 10, true}}, u""},
        {"a single day that is on marks", u"", {{10, 10, true}}, u"10;"},
        {"adjacent days join", u"10,12;", {{13, 13, false}, {9, 9, false}}, u"9,13;"},
        {"a range bridging three ranges", u"10;12;14;20;", {{11, 13, false}}, u"10,14;20;"},
        {"a range before every other", u"20,22;", {{5, 6, false}}, u"5,6;20,22;"},
        {"a range after every other", u"20,22;", {{30, 31, false}}, u"20,22;30,31;"},
        {"a range enclosing others", u"10;14,15;", {{8, 16, false}}, u"8,16;"},
        {"dates given last first", u"", {{16, 8, false}}, u"8,16;"},
        {"removing the middle of a range", u"10,20;", {{15, 15, true}}, u"10,14;16,20;"},
        // A longer range whose first day is not off takes days off away ...
        {"removing across ranges", u"10,20;25,30;", {{22, 12, true}}, u"10,11;25,30;"},
        // ... also when dragged backwards over several ranges: every one goes.
        {"backwards over every range", u"10,12;15,16;20,25;", {{26, 9, true}}, u""},
        {"backwards, cutting the first range", u"10,12;15,16;20,25;", {{19, 11, true}}, u"10;20,25;"},
        {"forwards from a working day", u"10,12;15,16;20,25;", {{13, 26, true}}, u"10,12;"},
        // A longer range whose first day is off stays off as a whole.
        {"range from a day off adds", u"10;", {{10, 14, true}}, u"10,14;"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CDayOff off;
        off.FromText(c.initial);
        for (const Step &s : c.steps)
            EXPECT_TRUE(off.SetRange(D(s.first), D(s.last), s.follow));
        EXPECT_EQ(off.ToText(), QString::fromUtf16(c.expected));
    }
    CDayOff off;
    EXPECT_FALSE(off.SetRange(QDate(), D(3), false));
    EXPECT_EQ(off.GetCount(), 0);
}

TEST(DayOff, StoredTextsAndLookups)
{
    CDayOff off;
    // Stored by hand out of order, overlapping, with empty and bad items.
    off.FromText(u"20;;5,7;6,9;40,35;abc;");
    EXPECT_EQ(off.ToText(), u"5,9;20;35,40;");
    off.FromText(u"46000;46010,46020;");
    EXPECT_EQ(off.ToText(), u"46000;46010,46020;");
    QDate a, b;
    EXPECT_TRUE(off.GetRange(1, a, b));
    EXPECT_EQ(a, D(46010));
    EXPECT_EQ(b, D(46020));
    EXPECT_FALSE(off.GetRange(2, a, b));
    EXPECT_FALSE(off.GetRange(-1, a, b));

    // Look-ups in any order agree with the ranges whatever the cursor.
    off.FromText(u"3;10,12;20,25;30;40,41;");
    const std::set<int> offDays = {3, 10, 11, 12, 20, 21, 22, 23, 24, 25, 30, 40, 41};
    const int order[] = {45, 0, 41, 3, 22, 11, 31, 2, 40, 13, 30, 19, 26, 25, 10, 4, 9, 50, 12, 20};
    for (int day : order)
        EXPECT_EQ(off.IsDayOff(D(day)), offDays.count(day) == 1) << day;
    for (int day = 0; day < 50; ++day)
        EXPECT_EQ(off.IsDayOffNumber(day), offDays.count(day) == 1) << day;
    for (int day = 50; day >= 0; --day)
        EXPECT_EQ(off.IsDayOffNumber(day), offDays.count(day) == 1) << day;
    EXPECT_FALSE(off.IsDayOff(QDate()));
    EXPECT_EQ(off.FirstRangeEndingFrom(13), 2);
    EXPECT_EQ(off.FirstRangeEndingFrom(42), 5);

    Platform::Settings settings;
    off.Save(settings);
    EXPECT_EQ(settings.getString(u"Config", u"Affichage", u"DayOff"), u"3;10,12;20,25;30;40,41;");
    CDayOff loaded;
    loaded.Load(settings);
    EXPECT_EQ(loaded.Ranges(), off.Ranges());
    CDayOff copy;
    copy.CopyFrom(off);
    EXPECT_TRUE(copy.IsDayOffNumber(21));
}

TEST(DayOff, StoredNumbersNoDateCanHaveAreSkipped)
{
    // A hand-edited list with numbers at the ends of the integer range: they
    // stand for no date, and must not break the order that the look-ups of
    // the real days off rely on.
    CDayOff off;
    off.FromText(u"2147483647;46100;-2147483648;2147483647,2147483647;46102,46103;");
    EXPECT_EQ(off.ToText(), u"46100;46102,46103;");
    for (int day : {46100, 46102, 46103})
        EXPECT_TRUE(off.IsDayOffNumber(day)) << day;
    EXPECT_FALSE(off.IsDayOffNumber(46101));
    // The first and last days a date can have are kept.
    off.FromText(u"-657434;2958465;");
    EXPECT_EQ(off.ToText(), u"-657434;2958465;");
    EXPECT_EQ(D(-657434), QDate(100, 1, 1));
    EXPECT_EQ(D(2958465), QDate(9999, 12, 31));
}
