#include "CShownDays.h"
#include "CWeekGeometry.h"
#include "TimeSnap.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTime>

#include <ostream>
#include <vector>

void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

namespace {

qint64 at(const QDate &day, int h, int m, int s = 0)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}
qint64 utc(const QDate &day, int h, int m)
{
    return QDateTime(day, QTime(h, m), Qt::UTC).toSecsSinceEpoch();
}

} // namespace

TEST(WeekGeometry, RelayoutFitsTheDayOrScrollsIt)
{
    struct Case
    {
        int zoom, height, scrollPos;
        int hourHeight, headerHeight;
        bool canZoomOut;
        int scrollMax, scrollPage, maxPos, pos;
    };
    const std::vector<Case> cases = {
        // The whole day fits: the hours grow, the rest goes to the header.
        {0, 500, 72, 19, 44, false, 99, 100, 0, 0},
        {3, 1001, 72, 40, 41, false, 199, 200, 0, 0},
        // It just does not fit: the zoom level's height.
        {3, 1000, 72, 40, 40, true, 199, 200, 0, 0},
        {0, 400, 72, 15, 40, false, 79, 80, 0, 0},
        {5, 400, 72, 60, 40, true, 295, 80, 216, 72},
        {5, 400, 500, 60, 40, true, 295, 80, 216, 216},
        {9, 900, 72, 180, 40, true, 871, 180, 692, 72},
        // A hand-edited position, and a zoom level outside the table.
        {5, 400, -7, 60, 40, true, 295, 80, 216, 0},
        {12, 400, 72, 60, 40, true, 295, 80, 216, 72},
        {-1, 400, 72, 60, 40, true, 295, 80, 216, 72},
        // No height yet: the zoom level's hours, nothing shown of them.
        {5, 0, 72, 60, 40, false, 295, 0, 296, 72},
        {2, -3, 1000, 30, 40, false, 151, 0, 152, 152},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " height " << c.height);
        CWeekGeometry g;
        g.zoomLevel = c.zoom;
        g.scrollPos = c.scrollPos;
        g.Relayout(c.height);
        EXPECT_EQ(g.hourHeight, c.hourHeight);
        EXPECT_EQ(g.headerHeight, c.headerHeight);
        EXPECT_EQ(g.canZoomOut, c.canZoomOut);
        EXPECT_EQ(g.scrollMax, c.scrollMax);
        EXPECT_EQ(g.scrollPage, c.scrollPage);
        EXPECT_EQ(g.MaxScrollPos(), c.maxPos);
        EXPECT_EQ(g.scrollPos, c.pos);
        EXPECT_GE(g.zoomLevel, 0);
        EXPECT_LE(g.zoomLevel, 9);
    }
    EXPECT_EQ(CWeekGeometry::ZoomFromSetting(0), 0);
    EXPECT_EQ(CWeekGeometry::ZoomFromSetting(9), 9);
    EXPECT_EQ(CWeekGeometry::ZoomFromSetting(10), 5);
    EXPECT_EQ(CWeekGeometry::ZoomFromSetting(-1), 5);
}

TEST(WeekGeometry, RowsOfTimesAndColumnsOfDays)
{
    const QDate day(2026, 3, 10);
    CWeekGeometry g;
    g.Relayout(400); // zoom 5: 60 px an hour, header 40, position 72 (6:00)
    EXPECT_EQ(CWeekGeometry::GridRow(at(day, 0, 0), 60), 0);
    EXPECT_EQ(CWeekGeometry::GridRow(at(day, 9, 30, 59), 60), 570); // seconds ignored
    EXPECT_EQ(CWeekGeometry::GridRow(at(day, 23, 59, 59), 15), 359);
    EXPECT_EQ(CWeekGeometry::GridRow(at(day, 10, 7), 22), 222); // 607 * 22 / 60
    EXPECT_EQ(g.ClientRow(at(day, 6, 0)), 40);
    EXPECT_EQ(g.ClientRow(at(day, 5, 0)), -20);
    ASSERT_TRUE(g.SetScrollPos(0));
    EXPECT_FALSE(g.SetScrollPos(-4));
    EXPECT_EQ(g.ClientRow(at(day, 1, 0)), 100);

    struct Case
    {
        int width, days;
        std::vector<std::pair<int, int>> columns;
    };
    const std::vector<Case> cases = {
        {800, 7, {{65, 170}, {170, 275}, {275, 380}, {380, 485}, {485, 590}, {590, 695}, {695, 800}}},
        {801, 1, {{65, 801}}},
        {70, 7, {{65, 65}, {65, 65}, {65, 65}, {65, 65}, {65, 65}, {65, 65}, {65, 70}}},
        {40, 1, {{65, 40}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " px, " << c.days << " days");
        for (int i = 0; i < c.days; ++i) {
            EXPECT_EQ(CWeekGeometry::ColumnLeft(i, c.width, c.days), c.columns[size_t(i)].first) << i;
            EXPECT_EQ(CWeekGeometry::ColumnRight(i, c.width, c.days), c.columns[size_t(i)].second) << i;
        }
    }
}

TEST(WeekGeometry, DayArrowsBesideTheHoursAndAtTheRightEdge)
{
    const QSize arrow(32, 64);
    EXPECT_EQ(CWeekGeometry::PrevArrowRect(arrow, 400), QRect(64, 168, 32, 64));
    EXPECT_EQ(CWeekGeometry::NextArrowRect(arrow, 800, 400), QRect(768, 168, 32, 64));
    EXPECT_EQ(CWeekGeometry::PrevArrowRect(arrow, 401), QRect(64, 168, 32, 64));
    EXPECT_EQ(CWeekGeometry::NextArrowRect(arrow, 800, 30), QRect(768, -17, 32, 64));
}

TEST(ShownDays, WeekStartsOnTheConfiguredDay)
{
    struct Case
    {
        QDate date;
        int firstDayOfWeek;
        QDate start;
    };
    const std::vector<Case> cases = {
        {QDate(2026, 3, 29), 2, QDate(2026, 3, 23)}, // a Sunday, weeks from Monday: six days back
        {QDate(2026, 3, 29), 1, QDate(2026, 3, 29)}, // a Sunday, weeks from Sunday
        {QDate(2026, 3, 30), 2, QDate(2026, 3, 30)}, // a Monday
        {QDate(2026, 3, 27), 7, QDate(2026, 3, 21)}, // a Friday, weeks from Saturday
        {QDate(2026, 3, 28), 7, QDate(2026, 3, 28)},
        {QDate(2026, 1, 1), 2, QDate(2025, 12, 29)}, // across the year
        {QDate(2026, 3, 25), 0, QDate(2026, 3, 22)}, // a value outside 1..7: Sunday
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(CShownDays::WeekStart(c.date, c.firstDayOfWeek), c.start);
    }
}

TEST(ShownDays, WeekStaysWhileTheDateMovesInsideIt)
{
    CShownDays shown;
    shown.SetWeekMode(true);
    ASSERT_EQ(shown.DayCount(), 7);
    struct Step
    {
        QDate current;
        QDate first; // first shown day afterwards
    };
    const std::vector<Step> steps = {
        {QDate(2026, 3, 11), QDate(2026, 3, 9)},
        {QDate(2026, 3, 15), QDate(2026, 3, 9)}, // the week's Sunday
        {QDate(2026, 3, 9), QDate(2026, 3, 9)},
        {QDate(2026, 3, 16), QDate(2026, 3, 16)}, // one day past: aligned again
        {QDate(2026, 3, 15), QDate(2026, 3, 9)},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.current.toString(Qt::ISODate).toStdString());
        const CShownDays::tRange r = shown.Choose(s.current, 2);
        EXPECT_EQ(shown.First(), s.first);
        EXPECT_EQ(shown.Last(), s.first.addDays(6));
        EXPECT_EQ(r.from, s.first);
        EXPECT_EQ(r.to, s.first.addDays(7)); // the day after the week is loaded too
    }
    // A week that no longer starts on the first day of the week stays
    // while the date is inside it; switching modes aligns it again.
    shown.Step(+1);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 10));
    shown.Choose(QDate(2026, 3, 12), 2);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 10));
    shown.SetWeekMode(false);
    EXPECT_EQ(shown.DayCount(), 1);
    const CShownDays::tRange one = shown.Choose(QDate(2026, 3, 12), 2);
    EXPECT_EQ(one.from, QDate(2026, 3, 12));
    EXPECT_EQ(one.to, QDate(2026, 3, 12));
    shown.SetWeekMode(true);
    shown.Choose(QDate(2026, 3, 12), 2);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 9));
}

TEST(ShownDays, ShiftAndStep)
{
    CShownDays shown;
    shown.SetWeekMode(true);
    shown.Choose(QDate(2026, 3, 11), 2);
    CShownDays::tRange r = shown.Shift(7);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 16));
    EXPECT_EQ(shown.Last(), QDate(2026, 3, 22));
    EXPECT_EQ(r.from, QDate(2026, 3, 16));
    EXPECT_EQ(r.to, QDate(2026, 3, 23));
    r = shown.Shift(-10);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 6));
    r = shown.Step(-1);
    EXPECT_EQ(shown.First(), QDate(2026, 3, 5));
    EXPECT_EQ(shown.Last(), QDate(2026, 3, 11));
    EXPECT_EQ(r.from, QDate(2026, 3, 5));
    EXPECT_EQ(r.to, QDate(2026, 3, 11));

    shown.SetWeekMode(false);
    shown.Choose(QDate(2026, 3, 31), 2);
    r = shown.Shift(1);
    EXPECT_EQ(shown.First(), QDate(2026, 4, 1));
    EXPECT_EQ(r.from, r.to);
    r = shown.Step(+1);
    EXPECT_EQ(shown.First(), QDate(2026, 4, 2));
    EXPECT_EQ(r.to, QDate(2026, 4, 2));
}

TEST(ShownDays, RunningEntryIsVisibleFromItsStartToNow)
{
    CShownDays week;
    week.SetWeekMode(true);
    week.Choose(QDate(2026, 3, 11), 2); // 9 to 15 March
    const qint64 now = at(QDate(2026, 3, 11), 15, 0);
    struct Case
    {
        const char *what;
        int id;
        qint64 start, now;
        bool visible;
    };
    const std::vector<Case> cases = {
        {"nothing runs", -1, at(QDate(2026, 3, 11), 9, 0), now, false},
        {"started this week", 4, at(QDate(2026, 3, 11), 9, 0), now, true},
        {"started the week before", 4, at(QDate(2026, 3, 1), 9, 0), now, true},
        {"starts after now", 4, now + 60, now, false},
        {"starts at the week's last second", 4, at(QDate(2026, 3, 15), 23, 59, 59),
         at(QDate(2026, 3, 16), 1, 0), false},
        {"starts just before it", 4, at(QDate(2026, 3, 15), 23, 59, 58), at(QDate(2026, 3, 16), 1, 0), true},
        {"the week is still to come", 4, at(QDate(2026, 3, 1), 9, 0), at(QDate(2026, 3, 8), 23, 59, 59), false},
        {"the week has begun", 4, at(QDate(2026, 3, 1), 9, 0), at(QDate(2026, 3, 9), 0, 0), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(week.IsRunningEntryVisible(c.id, c.start, c.now), c.visible);
    }
    CShownDays nothingChosen;
    EXPECT_FALSE(nothingChosen.IsRunningEntryVisible(4, 0, now));
}

TEST(TimeSnap, NearestGridTimeWithinTheHour)
{
    const QDate day(2026, 3, 10);
    const QDate spring(2026, 3, 29); // 02:00 CET becomes 03:00 CEST (01:00 UTC)
    const QDate autumn(2026, 10, 25); // 03:00 CEST becomes 02:00 CET (01:00 UTC)
    struct Case
    {
        const char *what;
        qint64 t;
        bool setting, alt;
        int grid;
        qint64 snapped;
    };
    const std::vector<Case> cases = {
        {"10:07", at(day, 10, 7), true, false, 15, at(day, 10, 0)},
        {"10:08", at(day, 10, 8), true, false, 15, at(day, 10, 15)},
        {"09:53 into the next hour", at(day, 9, 53), true, false, 15, at(day, 10, 0)},
        {"23:53 stays on its day", at(day, 23, 53), true, false, 15, at(day, 23, 59)},
        {"23:52", at(day, 23, 52), true, false, 15, at(day, 23, 45)},
        {"seconds are dropped", at(day, 10, 0, 45), true, false, 15, at(day, 10, 0)},
        {"grid 5", at(day, 10, 7, 30), true, false, 5, at(day, 10, 5)},
        {"grid 10", at(day, 10, 5), true, false, 10, at(day, 10, 10)},
        {"Alt keeps the time", at(day, 10, 7, 30), true, true, 15, at(day, 10, 7, 30)},
        {"setting off", at(day, 10, 7, 30), false, false, 15, at(day, 10, 7, 30)},
        {"setting off, Alt snaps", at(day, 10, 7, 30), false, true, 15, at(day, 10, 0)},
        {"no grid", at(day, 10, 7, 30), true, false, 0, at(day, 10, 7, 30)},
        // Spring: from 01:53 the next hour on the clock is 03:00.
        {"spring 01:53", utc(spring, 0, 53), true, false, 15, utc(spring, 1, 0)},
        {"spring 03:07", utc(spring, 1, 7), true, false, 15, utc(spring, 1, 0)},
        // Autumn: each pass of the repeated hour snaps within itself.
        {"autumn first 02:10", utc(autumn, 0, 10), true, false, 15, utc(autumn, 0, 15)},
        {"autumn second 02:10", utc(autumn, 1, 10), true, false, 15, utc(autumn, 1, 15)},
        {"autumn second 02:07", utc(autumn, 1, 7), true, false, 15, utc(autumn, 1, 0)},
        {"autumn first 02:53 to the second 02:00", utc(autumn, 0, 53), true, false, 15, utc(autumn, 1, 0)},
        {"autumn second 02:53 to 03:00", utc(autumn, 1, 53), true, false, 15, utc(autumn, 2, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SnapTime(c.t, c.setting, c.grid, c.alt), c.snapped);
    }
}
