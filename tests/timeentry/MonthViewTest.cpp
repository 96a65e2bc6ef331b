// The month view: its rules as tables, and the calendar itself offscreen
// in the calendar window on a database of the test's own.
#include "CCalendarCtrl.h"
#include "CChildFrame.h"
#include "CDataChangedNotifier.h"
#include "CDay.h"
#include "CWeekCtrl.h"
#include "CalendarFixture.h"
#include "EntryMenus.h"
#include "HeaderGradient.h"
#include "MonthLayout.h"
#include "Settings.h"
#include "WidgetIds.h"

#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

tTacheParams entryOf(qint64 start, qint64 end)
{
    tTacheParams e;
    e.Id = 1;
    e.Debut = start;
    e.Fin = end;
    return e;
}

} // namespace

TEST(MonthLayout, RowsFollowTheMonthAndTheFirstDayOfTheWeek)
{
    struct Case
    {
        const char *what;
        QDate date;
        int firstDay;
        QDate firstCell;
        int rows;
    };
    const Case cases[] = {
        {"February 2026 from a Sunday, weeks from Sunday", QDate(2026, 2, 14), 1, QDate(2026, 2, 1), 4},
        {"February 2027 from a Monday, weeks from Monday", QDate(2027, 2, 1), 2, QDate(2027, 2, 1), 4},
        {"leap February 2032 from a Sunday", QDate(2032, 2, 29), 1, QDate(2032, 2, 1), 5},
        {"November 2026, 30 days from a Sunday, weeks from Monday", QDate(2026, 11, 30), 2, QDate(2026, 10, 26), 6},
        {"the same from Sunday", QDate(2026, 11, 30), 1, QDate(2026, 11, 1), 5},
        {"March 2026 from Monday", QDate(2026, 3, 25), 2, QDate(2026, 2, 23), 6},
        {"May 2026 from a Friday, weeks from Monday: exactly 35 cells", QDate(2026, 5, 15), 2, QDate(2026, 4, 27), 5},
        {"weeks from Saturday", QDate(2026, 3, 25), 7, QDate(2026, 2, 28), 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MonthFirstCell(c.date, c.firstDay), c.firstCell);
        EXPECT_EQ(MonthRowCount(c.date, c.firstDay), c.rows);
    }
}

TEST(MonthLayout, TheWheelKeepsTheDayWhereItExists)
{
    const std::pair<QDate, QDate> back[] = {{QDate(2026, 3, 31), QDate(2026, 2, 28)},
                                            {QDate(2028, 3, 31), QDate(2028, 2, 29)},
                                            {QDate(2026, 1, 15), QDate(2025, 12, 15)}};
    for (const auto &[from, to] : back)
        EXPECT_EQ(StepMonthKeepingDay(from, -1), to);
    EXPECT_EQ(StepMonthKeepingDay(QDate(2026, 12, 31), +1), QDate(2027, 1, 31));
    EXPECT_EQ(StepMonthKeepingDay(QDate(2026, 1, 31), +1), QDate(2026, 2, 28));
}

TEST(MonthLayout, ADayCountsOnlyThePartsOfEntriesInsideIt)
{
    const QDate day(2026, 3, 24);
    const qint64 now = at(day.addDays(1), 10, 0);
    struct Case
    {
        const char *what;
        std::vector<tTacheParams> entries;
        QDate day;
        qint64 total;
    };
    const std::vector<Case> cases = {
        {"22:00 to 02:00, the first day", {entryOf(at(day, 22, 0), at(day.addDays(1), 2, 0))}, day, 7199},
        {"22:00 to 02:00, the second day", {entryOf(at(day, 22, 0), at(day.addDays(1), 2, 0))}, day.addDays(1), 7200},
        {"running since the day before, the day before", {entryOf(at(day, 20, 0), 0)}, day, 4 * 3600 - 1},
        {"running since the day before, today", {entryOf(at(day, 20, 0), 0)}, day.addDays(1), 10 * 3600},
        {"running for two days, the middle day", {entryOf(at(day.addDays(-1), 20, 0), 0)}, day, 86400 - 1},
        {"running today from a later start", {entryOf(at(day.addDays(1), 11, 0), 0)}, day.addDays(1), 0},
        {"two entries", {entryOf(at(day, 8, 0), at(day, 9, 0)), entryOf(at(day, 10, 0), at(day, 10, 30))}, day, 5400},
        {"the spring Sunday, 01:30 to 03:30", {entryOf(at(QDate(2026, 3, 29), 1, 30), at(QDate(2026, 3, 29), 3, 30))},
         QDate(2026, 3, 29), 3600},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MonthDayTotal(c.entries, c.day, now), c.total);
    }
}

TEST(MonthLayout, CellsGradientAndTodaysCell)
{
    // 700 x 520: columns of 100, rows of 100 under the 20-pixel header.
    const QSize client(700, 520);
    EXPECT_EQ(MonthCellRect(0, 0, 5, client), QRect(0, 21, 100, 99));
    EXPECT_EQ(MonthCellRect(1, 3, 5, client), QRect(301, 121, 99, 99));
    EXPECT_EQ(MonthCellRect(4, 6, 5, client), QRect(601, 421, 99, 99));
    const QSize odd(705, 527); // the last row and column take the rest
    EXPECT_EQ(MonthCellRect(5, 6, 6, odd), QRect(601, 21 + 5 * 84, 105 - 1, 507 - 5 * 84 - 1));

    EXPECT_EQ(HeaderGradientColor(0), 0xFFCDB4u);   // red 180, green 205
    EXPECT_EQ(HeaderGradientColor(100), 0xFFFFFFu); // red 255, green 255
    EXPECT_EQ(HeaderGradientColor(40), quint32(180 + 30) | quint32(205 + 20) << 8 | 0xFF0000u);

    const QDate first(2026, 2, 23);
    EXPECT_EQ(TodayCellIndex(first, first, 42), 0);
    EXPECT_EQ(TodayCellIndex(first, QDate(2026, 3, 29), 42), 34); // across the spring change
    EXPECT_EQ(TodayCellIndex(first, QDate(2026, 3, 30), 35), -1);
    EXPECT_EQ(TodayCellIndex(first, first.addDays(-1), 42), -1);
}

namespace {

class MonthViewTest : public CalendarWindowFixture
{
protected:
    void SetUp() override
    {
        CalendarWindowFixture::SetUp();
        storeViews(3);
    }
    void TearDown() override
    {
        EntryMenus::SetPresenter({});
        CalendarWindowFixture::TearDown();
    }
    void show() { open(); }
    CCalendarCtrl &month() { return *static_cast<CCalendarCtrl *>(frame->Month()); }
    // The cell of a date of the shown month (weeks from Monday 23 February).
    CDay &cell(const QDate &date) { return *month().Cell(int(QDate(2026, 2, 23).daysTo(date))); }
};

} // namespace

TEST_F(MonthViewTest, TheMonthOfTheCurrentDateFromTheCache)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 11, 0), -1, -1, QStringLiteral("Revue"));
    show();
    EXPECT_EQ(month().Rows(), 6);
    EXPECT_EQ(month().Cell(0)->Date(), QDate(2026, 2, 23));
    EXPECT_EQ(month().Cell(41)->Date(), QDate(2026, 4, 5));
    EXPECT_TRUE(month().Cell(35)->isVisible());
    EXPECT_EQ(frame->windowTitle(), config.FormatMonthYear(host.current));
    EXPECT_TRUE(host.cache.IsCached(QDate(2026, 2, 23)));
    EXPECT_TRUE(host.cache.IsCached(QDate(2026, 4, 5)));
    cell(Monday).grab();
    EXPECT_EQ(cell(Monday).Total(), 7200);
    EXPECT_EQ(cell(Monday).HitTest(QPoint(40, 30)), 0);
    EXPECT_EQ(cell(Monday).HitTest(QPoint(40, 10)), -1);

    // Hovering an entry gives its tooltip.
    mouse(QEvent::MouseMove, QPoint(40, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier, &cell(Monday));
    EXPECT_TRUE(month().ToolTip().label.startsWith(QStringLiteral("Revue\n")));
    mouse(QEvent::MouseMove, QPoint(40, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier, &cell(Monday));
    EXPECT_TRUE(month().ToolTip().label.isEmpty());

    // A row click selects the entry, for the week view too.
    QTest::mouseClick(&cell(Monday), Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    EXPECT_EQ(host.selectedId, id);
    frame->SetViewType(CChildFrame::WeekView);
    const QImage week = frame->Week()->viewport()->grab().toImage();
    frame->SetViewType(CChildFrame::MonthView);
    const CWeekGeometry &g = frame->Week()->Geometry();
    EXPECT_EQ(pixel(week, 65 + 60, g.GridTop() + 10 * g.hourHeight + 50), 0x45C7F0u);
    // Beside the rows: nothing selected.
    QTest::mouseClick(&cell(Monday), Qt::LeftButton, Qt::NoModifier, QPoint(40, cell(Monday).height() - 3));
    EXPECT_EQ(host.selectedId, -1);

    // A header click makes the day current; the wheel moves the month.
    QTest::mouseClick(&cell(QDate(2026, 3, 31)), Qt::LeftButton, Qt::NoModifier, QPoint(30, 5));
    EXPECT_EQ(host.current, QDate(2026, 3, 31));
    QWheelEvent up(QPointF(300, 300), month().mapToGlobal(QPointF(300, 300)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&month(), &up);
    EXPECT_EQ(host.current, QDate(2026, 2, 28));
    EXPECT_EQ(month().Rows(), 5); // February 2026, from Monday 26 January
    EXPECT_EQ(frame->windowTitle(), config.FormatMonthYear(QDate(2026, 2, 28)));
}

TEST_F(MonthViewTest, ACrowdedDayScrollsKeepingTheLastPageFull)
{
    for (int i = 0; i < 12; ++i)
        saveEntry(at(Monday, 8, i * 5), at(Monday, 8, i * 5 + 4));
    show();
    CDay &day = cell(Monday);
    const int visible = day.VisibleRows();
    ASSERT_LT(visible, 12);
    EXPECT_TRUE(day.ScrollBar()->isVisible());
    EXPECT_EQ(day.ScrollBar()->maximum(), 12 - visible);
    day.ScrollBar()->setValue(100);
    EXPECT_EQ(day.ScrollPos(), 12 - visible);
    EXPECT_EQ(day.HitTest(QPoint(40, 30)), 12 - visible);
    // A new date starts from the first entry.
    day.SetDate(Monday);
    EXPECT_EQ(day.ScrollPos(), 0);
    EXPECT_FALSE(day.SetDate(QDate()));
    EXPECT_EQ(day.Date(), Monday);
}

TEST_F(MonthViewTest, TheContextMenuAndTheMonthsCommands)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    const int running = saveEntry(at(Today, 8, 0), 0);
    show();
    std::vector<std::vector<int>> menus;
    std::vector<std::vector<bool>> enabled;
    int choose = 0;
    EntryMenus::SetPresenter([&](QMenu &menu, const QPoint &) -> QAction * {
        std::vector<int> ids;
        std::vector<bool> on;
        QAction *chosen = nullptr;
        for (QAction *a : menu.actions()) {
            ids.push_back(a->isSeparator() ? 0 : WidgetIds::CommandId(a));
            on.push_back(a->isEnabled());
            if (!a->isSeparator() && WidgetIds::CommandId(a) == choose)
                chosen = a;
        }
        menus.push_back(ids);
        enabled.push_back(on);
        return chosen;
    });
    const auto contextMenu = [](CDay &day, const QPoint &p) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, day.mapToGlobal(p));
        QCoreApplication::sendEvent(&day, &event);
    };
    contextMenu(cell(Monday.addDays(1)), QPoint(40, 60));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0], (std::vector<int>{32899, 32900, 32902, 0, 32967, 0, 32910, 32904, 32906}));
    // Cut, copy and paste are the week view's only.
    EXPECT_EQ(enabled[0], (std::vector<bool>{true, false, false, true, false, true, false, false, false}));
    EXPECT_EQ(month().ContextDay(), Monday.addDays(1));

    contextMenu(cell(Monday), QPoint(40, 30));
    EXPECT_EQ(menus[1].front(), 32997);
    EXPECT_EQ(host.selectedId, id);
    contextMenu(cell(Today), QPoint(40, 30));
    EXPECT_EQ(menus[2].front(), 32921);
    EXPECT_EQ(host.selectedId, running);

    // "Ajouter une tâche" on the day clicked at the current time: running
    // today, an hour long on a day before.
    choose = EntryMenus::Add;
    contextMenu(cell(Today), QPoint(40, 60));
    contextMenu(cell(Monday.addDays(2)), QPoint(40, 60));
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_EQ(host.dialogs[0].entry.Debut, at(Today, 10, 0));
    EXPECT_EQ(host.dialogs[0].entry.Fin, 0);
    EXPECT_EQ(host.dialogs[1].entry.Debut, at(Monday.addDays(2), 10, 0));
    EXPECT_EQ(host.dialogs[1].entry.Fin, at(Monday.addDays(2), 11, 0));

    // Double clicks: the entry's dialog, the day view from the header.
    host.dialogAnswers = {[](tTacheFull &) { return true; }};
    QTest::mouseDClick(&cell(Monday), Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
    ASSERT_EQ(host.dialogs.size(), 3u);
    EXPECT_EQ(host.dialogs[2].entry.Id, id);
    EXPECT_EQ(host.current, Monday);
    QTest::mouseDClick(&cell(Monday), Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    EXPECT_EQ(host.dayViews, 1);
}

TEST_F(MonthViewTest, TheRunningRefreshRepaintsTodaysCellWithoutReading)
{
    const int running = saveEntry(at(Today, 8, 0), 0);
    host.runningId = running;
    host.runningStart = at(Today, 8, 0);
    show();
    cell(Today).grab();
    EXPECT_EQ(cell(Today).Total(), 2 * 3600);
    Platform::Clock::setFixedNow(at(Today, 10, 30));
    frame->RefreshRunningTask();
    cell(Today).grab();
    EXPECT_EQ(cell(Today).Total(), 2 * 3600 + 1800);
}
