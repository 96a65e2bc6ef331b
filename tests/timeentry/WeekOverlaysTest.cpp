// The plain functions the week view paints with: the working-time bands,
// the drag's times, the ghost and the grips.
#include "CConfiguration.h"
#include "CWeekGeometry.h"
#include "DragTimes.h"
#include "LocalTime.h"
#include "QStringPrinter.h"
#include "TimeSnap.h"
#include "WeekGridPlan.h"
#include "WeekOverlays.h"
#include "WeekPointer.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTime>

#include <array>
#include <ostream>
#include <vector>

void PrintTo(const tDayBand &b, std::ostream *os)
{
    *os << "{" << b.top << ", " << b.bottom << ", " << (b.working ? "working" : "other") << "}";
}
void PrintTo(const tDragTimes &t, std::ostream *os)
{
    *os << QDateTime::fromSecsSinceEpoch(t.start).toString(Qt::ISODate).toStdString() << " .. "
        << (t.end ? QDateTime::fromSecsSinceEpoch(t.end).toString(Qt::ISODate).toStdString() : std::string("running"));
}

namespace {

const QDate Monday(2026, 3, 23);

qint64 at(const QDate &day, int h, int m, int s = 0)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}

// Zoom 5 (60 pixels an hour) in a client 1000 x 700 scrolled to 6:00.
CWeekGeometry geometry()
{
    CWeekGeometry g;
    g.zoomLevel = 5;
    g.scrollPos = 72;
    g.Relayout(700);
    return g;
}

// The seven columns of the week from Monday in a client 1000 wide.
std::array<tDayColumn, 7> week()
{
    std::array<tDayColumn, 7> days;
    for (int i = 0; i < 7; ++i) {
        days[size_t(i)].Date = Monday.addDays(i);
        days[size_t(i)].left = CWeekGeometry::ColumnLeft(i, 1000, 7);
        days[size_t(i)].right = CWeekGeometry::ColumnRight(i, 1000, 7);
    }
    return days;
}

int row(int h, int m = 0)
{
    return 40 + (h - 6) * 60 + m;
}

} // namespace

TEST(WeekGridPlan, WorkingTimeBandsFollowTheCalendar)
{
    CConfiguration config;
    config.workingDays.Clear();
    config.workingDays.AddPeriod(0, 9 * 60, 12 * 60);
    config.workingDays.AddPeriod(0, 14 * 60, 18 * 60);
    config.workingDays.AddPeriod(4, 8 * 60, 10 * 60); // Wednesday its own
    config.workingDays.Set(4).useDefault = false;
    config.workingDays.UpdateTotals();
    config.daysOff.SetRange(Monday.addDays(4), Monday.addDays(4), false);
    const CWeekGeometry g = geometry();
    struct Case
    {
        const char *what;
        QDate day;
        std::vector<tDayBand> bands;
    };
    const std::vector<Case> cases = {
        {"a working day", Monday,
         {{40, row(9), false}, {row(9), row(12), true}, {row(12), row(14), false}, {row(14), 700, true}}},
        {"a weekday of its own periods", Monday.addDays(2),
         {{40, row(8), false}, {row(8), row(10), true}, {row(10), 700, false}}},
        {"a day off", Monday.addDays(4), {{40, 700, false}}},
        {"Saturday", Monday.addDays(5), {{40, 700, false}}},
        {"the spring Sunday, not worked", Monday.addDays(6), {{40, 700, false}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlanDayBands(c.day, config, g, 700), c.bands);
    }
    // Without working periods a working day is all other time; scrolled
    // to the end of the day, nothing is drawn past midnight.
    config.workingDays.Clear();
    config.workingDays.UpdateTotals();
    CWeekGeometry end = g;
    end.SetScrollPos(end.MaxScrollPos());
    EXPECT_EQ(PlanDayBands(Monday, config, end, 700), (std::vector<tDayBand>{{40, 700, false}}));
    EXPECT_EQ(PlanDayBands(Monday, config, g, 700), (std::vector<tDayBand>{{40, 700, false}}));
}

TEST(WeekGridPlan, LongDatesOnlyWhenEveryOneFits)
{
    CConfiguration config;
    const std::array<tDayColumn, 7> days = week();
    const auto width = [&config](QStringView text) {
        // The long date of Sunday 29 March is the widest here.
        return text == config.FormatOleDate(Monday.addDays(6), true) ? 150 : 100;
    };
    EXPECT_TRUE(UseLongDates(days, config, 151, width));
    EXPECT_FALSE(UseLongDates(days, config, 150, width));
    config.longDates = false;
    EXPECT_FALSE(UseLongDates(days, config, 1000, width));
}

TEST(WeekGridPlan, AGreyedIconIsTheIconsGreyOnWhite)
{
    QImage icon(2, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(200, 100, 50, 255));
    icon.setPixel(1, 0, qRgba(0, 0, 0, 0)); // see-through: the white shows
    const QImage grey = GreyedIcon(icon);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(95, 95, 95)); // (600 + 150 + 200) / 10
    EXPECT_EQ(grey.pixel(1, 0), qRgb(255, 255, 255));
}

TEST(WeekPointer, TheDayAndTimeUnderAPoint)
{
    const CWeekGeometry g = geometry(); // 6:00 at y 40, 60 px an hour
    const std::array<tDayColumn, 7> days = week();
    struct Case
    {
        const char *what;
        int clientWidth, dayCount;
        QPoint point;
        int column;
        QDate date;
        int hour;
        bool valid;
    };
    // 714 - 64 = 650 px for 7 days: columns of 92, the last one 98 wide.
    const Case cases[] = {
        {"the first column", 1000, 7, {65, 100}, 0, Monday, 7, true},
        {"the ruler", 1000, 7, {64, 100}, -1, Monday, 7, false},
        {"the last pixel of a width the days do not divide", 714, 7, {713, 100}, 6, Monday.addDays(6), 7, true},
        {"the first pixel of the last column", 714, 7, {64 + 6 * 92, 100}, 6, Monday.addDays(6), 7, true},
        {"the pixel before it", 714, 7, {63 + 6 * 92, 100}, 5, Monday.addDays(5), 7, true},
        {"right of the client: the last day, not valid", 714, 7, {714, 100}, -1, Monday.addDays(6), 7, false},
        {"the header: not valid", 714, 7, {300, 40}, 2, Monday.addDays(2), 6, false},
        {"the day view", 714, 1, {713, 100}, 0, Monday, 7, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ColumnAt(c.point, c.dayCount, c.clientWidth), c.column);
        const tTimeAt time = TimeAt(c.point, std::span(days.data(), size_t(c.dayCount)), g, c.clientWidth);
        EXPECT_EQ(time.time, at(c.date, c.hour, 0));
        EXPECT_EQ(time.valid, c.valid);
    }
}

TEST(WeekPointer, TheGripsOfAnEntryOverMidnight)
{
    // 22:00 on Monday to 02:00 on Tuesday: its start is on Monday's
    // column only, its end on Tuesday's only.
    const CWeekGeometry g = geometry();
    tTacheParams entry;
    entry.Id = 1;
    entry.Debut = at(Monday, 22, 0);
    entry.Fin = at(Monday.addDays(1), 2, 0);
    const int top = g.GridTop();
    struct Case
    {
        const char *what;
        QDate column;
        int y;
        bool ctrl;
        DragState state;
    };
    const Case cases[] = {
        {"Monday, the top grip", Monday, top + 22 * 60 + 3, false, DragState::ResizeStart},
        {"Monday, the foot of the day: no end grip there", Monday, top + 24 * 60 - 2, false, DragState::Move},
        {"Monday, the foot with Ctrl", Monday, top + 24 * 60 - 2, true, DragState::Copy},
        {"Tuesday, above the end", Monday.addDays(1), top + 2 * 60 - 3, false, DragState::ResizeEnd},
        {"Tuesday, midnight: no top grip there", Monday.addDays(1), top + 2, false, DragState::Move},
        {"Tuesday, the middle", Monday.addDays(1), top + 60, false, DragState::Move},
    };
    for (const Case &c : cases)
        EXPECT_EQ(HoverState(entry, c.column, c.y, g, at(Monday.addDays(3), 10, 0), c.ctrl), c.state) << c.what;
}

TEST(DragTimes, TheReleaseGivesEachStateItsTimes)
{
    const QDate tue = Monday.addDays(1);
    const auto snap15 = [](qint64 t) { return SnapTime(t, true, 15, false); };
    const auto none = [](qint64 t) { return t; };
    const qint64 now = at(tue, 12, 0);
    tTacheFull entry;
    entry.Id = 7;
    entry.Debut = at(tue, 9, 0);
    entry.Fin = at(tue, 10, 30);
    tTacheFull running = entry;
    running.Fin = 0;
    // 5 pixels (five minutes at zoom 5) below the start, grabbed there.
    tTacheFull nearMidnight = entry;
    nearMidnight.Debut = at(tue, 0, 30);
    struct Case
    {
        const char *what;
        DragState state;
        const tTacheFull *entry;
        qint64 anchor, pointer;
        bool snapped;
        tDragTimes times;
    };
    const std::vector<Case> cases = {
        {"a drawing, upwards", DragState::Create, &entry, at(tue, 10, 29), at(tue, 9, 7), true,
         {at(tue, 9, 0), at(tue, 10, 30)}},
        {"a drawing of nothing", DragState::Create, &entry, at(tue, 9, 0), at(tue, 9, 0), true,
         {at(tue, 9, 0), at(tue, 9, 0)}},
        {"a move by two hours", DragState::Move, &entry, at(tue, 9, 40), at(tue, 11, 40), true,
         {at(tue, 11, 0), at(tue, 12, 30)}},
        {"a move across midnight keeps the duration", DragState::Move, &entry, at(tue, 9, 0),
         at(tue.addDays(-1), 23, 0), true, {at(tue.addDays(-1), 23, 0), at(tue, 0, 30)}},
        {"a copy", DragState::Copy, &entry, at(tue, 9, 0), at(tue, 14, 8), true, {at(tue, 14, 15), at(tue, 15, 45)}},
        // Grabbed three minutes above the end, released two before midnight.
        {"the end into the next day stops at 23:59:59", DragState::ResizeEnd, &entry, at(tue, 10, 27),
         at(tue, 23, 58), false, {at(tue, 9, 0), at(tue, 23, 59, 59)}},
        {"the end into the next column", DragState::ResizeEnd, &entry, at(tue, 10, 30),
         at(tue.addDays(1), 0, 20), false, {at(tue, 9, 0), at(tue.addDays(1), 0, 20)}},
        {"the start into the previous day stops at 00:00:00", DragState::ResizeStart, &nearMidnight,
         at(tue, 0, 35), at(tue, 0, 2), false, {at(tue, 0, 0), at(tue, 10, 30)}},
        {"the start past the end leaves a minute", DragState::ResizeStart, &entry, at(tue, 9, 0), at(tue, 11, 0),
         true, {at(tue, 10, 29), at(tue, 10, 30)}},
        {"the end above the start leaves a minute", DragState::ResizeEnd, &entry, at(tue, 10, 30), at(tue, 8, 0),
         true, {at(tue, 9, 0), at(tue, 9, 1)}},
        {"a running entry's start never after now", DragState::ResizeStart, &running, at(tue, 9, 0),
         at(tue, 13, 0), true, {now, 0}},
        {"a running entry's start earlier", DragState::ResizeStart, &running, at(tue, 9, 0), at(tue, 8, 8), true,
         {at(tue, 8, 15), 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReleaseTimes(c.state, *c.entry, c.anchor, c.pointer,
                               c.snapped ? std::function<qint64(qint64)>(snap15) : none, now),
                  c.times);
    }
}

TEST(DragTimes, AMoveOnTheClockChangeNightsKeepsTheRealDuration)
{
    // 01:30 to 03:30 on the spring Sunday lasts one hour; moved one hour
    // on, it still lasts one.
    const QDate spring(2026, 3, 29);
    tTacheFull entry;
    entry.Debut = at(spring, 1, 30);
    entry.Fin = at(spring, 3, 30);
    ASSERT_EQ(entry.Fin - entry.Debut, 3600);
    const tDragTimes moved = ReleaseTimes(DragState::Move, entry, entry.Debut, entry.Debut + 7200,
                                          [](qint64 t) { return t; }, 0);
    EXPECT_EQ(moved.end - moved.start, 3600);
    // The autumn night: 02:30 of the first pass to 02:30 of the second
    // lasts an hour, and keeps it.
    entry.Debut = QDateTime(QDate(2026, 10, 25), QTime(0, 30), Qt::UTC).toSecsSinceEpoch();
    entry.Fin = entry.Debut + 3600;
    const tDragTimes later = ReleaseTimes(DragState::Move, entry, entry.Debut, entry.Debut + 1800,
                                          [](qint64 t) { return SnapTime(t, true, 5, false); }, 0);
    EXPECT_EQ(later.end - later.start, 3600);
}

TEST(WeekOverlays, AGhostHasAPiecePerDayItTouchesAndItsTwoLabels)
{
    CConfiguration config;
    const CWeekGeometry g = geometry();
    const std::array<tDayColumn, 7> days = week();
    struct Case
    {
        const char *what;
        qint64 start, end;
        bool resizingStart, running;
        std::vector<QRect> pieces;
        bool startLabel;
        QRect startBand;
        bool endLabel;
        QRect endBand;
    };
    const QDate tue = Monday.addDays(1);
    const std::vector<Case> cases = {
        {"an hour on Tuesday", at(tue, 9, 0), at(tue, 10, 0), false, false,
         {QRect(QPoint(198, row(9)), QPoint(330, row(10) - 1))}, true, QRect(198, row(9) - 20, 133, 20), true,
         QRect(198, row(10), 133, 20)},
        {"over midnight: two pieces, the end label below the last", at(Monday, 16, 0), at(tue, 7, 0), false, false,
         {QRect(QPoint(65, row(16)), QPoint(197, 699)), QRect(QPoint(198, 40), QPoint(330, row(7) - 1))}, true,
         QRect(65, row(16) - 20, 133, 20), true, QRect(198, row(7), 133, 20)},
        {"running: no end label", at(tue, 9, 0), at(tue, 10, 0), false, true,
         {QRect(QPoint(198, row(9)), QPoint(330, row(10) - 1))}, true, QRect(198, row(9) - 20, 133, 20), false,
         QRect()},
        {"started above the header: the label over the header", at(tue, 2, 0), at(tue, 6, 30), false, false,
         {QRect(QPoint(198, 40), QPoint(330, row(6, 30) - 1))}, true, QRect(198, 20, 133, 20), true,
         QRect(198, row(6, 30), 133, 20)},
        {"under a minute: a minute long", at(tue, 9, 0), at(tue, 9, 0), false, false,
         {QRect(QPoint(198, row(9)), QPoint(330, row(9, 1) - 1))}, true, QRect(198, row(9) - 20, 133, 20), true,
         QRect(198, row(9, 1), 133, 20)},
        {"the end near the bottom: its label kept inside", at(tue, 15, 0), at(tue, 16, 55), false, false,
         {QRect(QPoint(198, row(15)), QPoint(330, row(16, 55) - 1))}, true, QRect(198, row(15) - 20, 133, 20),
         true, QRect(198, 680, 133, 20)},
        {"a week later: nothing", at(tue.addDays(7), 9, 0), at(tue.addDays(7), 10, 0), false, false, {}, false,
         QRect(), false, QRect()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const tGhostPlan plan = PlanGhost(c.start, c.end, c.resizingStart, c.running, days, g, 700, config);
        EXPECT_EQ(plan.pieces, c.pieces);
        EXPECT_EQ(plan.hasStartLabel, c.startLabel);
        if (c.startLabel) {
            EXPECT_EQ(plan.startLabel, c.startBand);
            EXPECT_EQ(plan.startText, config.FormatLocaleTime(c.start));
        }
        EXPECT_EQ(plan.hasEndLabel, c.endLabel);
        if (c.endLabel) {
            EXPECT_EQ(plan.endLabel, c.endBand);
        }
    }
}

TEST(WeekOverlays, GripsSitInsideTheEntrysEdges)
{
    const CWeekGeometry g = geometry();
    std::array<tDayColumn, 7> days = week();
    days[1].trackCount = 2;
    const QDate tue = Monday.addDays(1);
    tTacheParams entry;
    entry.Id = 3;
    entry.Debut = at(tue, 9, 0);
    entry.Fin = at(tue, 10, 0);
    entry.firstSlot = 1;
    entry.endSlot = 2;
    // Track 1 of 2 on Tuesday: 264 .. 330, middle 297, 15 each way.
    const auto lines = [](int y1, int y2) { return std::vector<QLine>{{282, y1, 312, y1}, {282, y2, 312, y2}}; };
    std::vector<QLine> both = lines(row(9) + 2, row(9) + 3);
    for (const QLine &l : lines(row(10) - 3, row(10) - 4))
        both.push_back(l);
    EXPECT_EQ(PlanGrips(entry, days, g, 700), both);

    // A running entry has no bottom grip.
    tTacheParams running = entry;
    running.Fin = 0;
    EXPECT_EQ(PlanGrips(running, days, g, 700), lines(row(9) + 2, row(9) + 3));
    // A five-minute entry's bottom grip sits 24 pixels below its top.
    tTacheParams shortEntry = entry;
    shortEntry.Fin = at(tue, 9, 5);
    EXPECT_EQ(PlanGrips(shortEntry, days, g, 700)[2], QLine(282, row(9) + 24 - 3, 312, row(9) + 24 - 3));
    // Scrolled off: a start above the header, an end below the client.
    tTacheParams early = entry;
    early.Debut = at(tue, 5, 0);
    early.Fin = at(tue, 20, 0);
    EXPECT_TRUE(PlanGrips(early, days, g, 700).empty());
    // A day that is not shown.
    tTacheParams later = entry;
    later.Debut = at(tue.addDays(7), 9, 0);
    later.Fin = at(tue.addDays(7), 10, 0);
    EXPECT_TRUE(PlanGrips(later, days, g, 700).empty());
}
