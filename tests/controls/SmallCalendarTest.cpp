// The small month calendar: its grid as plain functions, then the widget
// painted and clicked for real.
#include "CFirstDayOfWeek.h"
#include "CMarkedDays.h"
#include "CSmallCalendar.h"
#include "SmallCalendarLayout.h"

#include "PixelColours.h"
#include "QStringPrinter.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A list of days off that records what the calendar asks of it.
class RecordingDays : public CMarkedDays
{
public:
    bool IsDayOff(const QDate &day) const override { return off.contains(day); }
    void SetRange(const QDate &first, const QDate &last, bool follow) override
    {
        calls << QStringLiteral("%1..%2%3")
                     .arg(first.toString(Qt::ISODate), last.toString(Qt::ISODate),
                          follow ? QStringLiteral(" follow") : QString());
    }
    QList<QDate> off;
    QStringList calls;
};

class SmallCalendarTest : public ::testing::Test
{
protected:
    void SetUp() override { CFirstDayOfWeek::SetProvider([this] { return firstDay; }); }
    void TearDown() override { CFirstDayOfWeek::SetProvider({}); }

    int firstDay = 2;
};

// Cells of 30 x 20 pixels, with 5 pixels left over on the right (the grid
// starts 2 pixels in) and 5 at the bottom.
struct Calendar
{
    explicit Calendar(const QDate &month)
    {
        calendar.SetMonth(month);
        calendar.resize(7 * 30 + 5, (calendar.Rows() + 1) * 20 + 5);
        calendar.setProperty("controlId", 1234);
    }
    // The middle of a day cell (index from the first shown day).
    QPoint Cell(int index) const { return QPoint(2 + (index % 7) * 30 + 15, (index / 7 + 1) * 20 + 10); }
    void Click(const QPoint &at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(&calendar, Qt::LeftButton, modifiers, at);
    }
    CSmallCalendar calendar;
};

} // namespace

TEST(SmallCalendarLayoutTest, RowsAndFirstShownDay)
{
    struct Case
    {
        const char *name;
        QDate month;
        int firstDay;
        int rows;
        QDate firstShown;
    };
    const Case cases[] = {
        {"31 days from the last column, weeks from Monday", QDate(2026, 3, 15), 2, 6, QDate(2026, 2, 23)},
        {"31 days from the last column, weeks from Sunday", QDate(2026, 8, 1), 1, 6, QDate(2026, 7, 26)},
        {"28-day February from the first column, Monday", QDate(2027, 2, 28), 2, 4, QDate(2027, 2, 1)},
        {"28-day February from the first column, Sunday", QDate(2026, 2, 1), 1, 4, QDate(2026, 2, 1)},
        {"29-day February from the first column", QDate(2024, 2, 10), 5, 5, QDate(2024, 2, 1)},
        {"an ordinary month", QDate(2026, 12, 24), 2, 5, QDate(2026, 11, 30)},
        {"weeks from Saturday", QDate(2026, 5, 1), 7, 6, QDate(2026, 4, 25)},
        {"a first day outside the week starts on the 1st", QDate(2026, 12, 5), 0, 5, QDate(2026, 12, 1)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QDate first = SmallCalendarLayout::FirstShownDate(c.month, c.firstDay);
        EXPECT_EQ(first, c.firstShown);
        EXPECT_EQ(SmallCalendarLayout::Rows(c.month, first), c.rows);
        if (c.firstDay >= 1 && c.firstDay <= 7) {
            EXPECT_EQ(SmallCalendarLayout::Weekday(first), c.firstDay);
        }
    }
}

TEST(SmallCalendarLayoutTest, OnlyTheGridHitsADay)
{
    // December 2026 from Monday: 5 rows starting on Monday 30 November.
    const SmallCalendarLayout layout = SmallCalendarLayout::Compute(QSize(215, 127), QDate(2026, 12, 1), 2);
    EXPECT_EQ(layout.cellWidth, 30);
    EXPECT_EQ(layout.leftOffset, 2);
    EXPECT_EQ(layout.rowHeight, 21);
    struct Case
    {
        const char *name;
        QPoint at;
        QDate day; // invalid: no day
    };
    const Case cases[] = {
        {"first cell", {2, 21}, QDate(2026, 11, 30)},
        {"last pixel of the first row", {211, 41}, QDate(2026, 12, 6)},
        {"second row", {40, 50}, QDate(2026, 12, 8)},
        {"last cell", {211, 125}, QDate(2027, 1, 3)},
        {"header", {100, 10}, QDate()},
        {"left margin", {1, 50}, QDate()},
        {"right margin", {212, 50}, QDate()},
        {"bottom margin", {100, 126}, QDate()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layout.DayAt(c.at), c.day);
    }
    // A widget too small for a grid hits nothing.
    EXPECT_FALSE(SmallCalendarLayout::Compute(QSize(6, 3), QDate(2026, 12, 1), 2).DayAt({0, 2}).isValid());
}

TEST_F(SmallCalendarTest, DayNamesFollowTheFirstDayOfTheWeek)
{
    CSmallCalendar calendar;
    EXPECT_EQ(calendar.DayNames().join(u' '), QStringLiteral("lun. mar. mer. jeu. ven. sam. dim."));
    firstDay = 1;
    calendar.LoadDayNames();
    EXPECT_EQ(calendar.DayNames().join(u' '), QStringLiteral("dim. lun. mar. mer. jeu. ven. sam."));
    // The grid follows once laid out again.
    calendar.SetMonth(QDate(2026, 12, 1));
    EXPECT_EQ(calendar.FirstShownDate(), QDate(2026, 11, 29));
}

TEST_F(SmallCalendarTest, ClicksMarkDaysAndRangesAndAlwaysTellTheHost)
{
    Calendar c(QDate(2026, 12, 1)); // from Monday 30 November, 5 rows
    RecordingDays days;
    c.calendar.SetMarkedDays(&days);
    QSignalSpy clicked(&c.calendar, &CSmallCalendar::clicked);

    struct Step
    {
        const char *name;
        QPoint at;
        Qt::KeyboardModifiers modifiers;
        QString call; // empty: nothing marked
        QDate anchor;
    };
    const Step steps[] = {
        {"Shift before any plain click is a plain click", c.Cell(3), Qt::ShiftModifier,
         QStringLiteral("2026-12-03..2026-12-03 follow"), QDate(2026, 12, 3)},
        {"plain click on a neighbour's day", c.Cell(0), Qt::NoModifier,
         QStringLiteral("2026-11-30..2026-11-30 follow"), QDate(2026, 11, 30)},
        {"plain click", c.Cell(10), Qt::NoModifier, QStringLiteral("2026-12-10..2026-12-10 follow"),
         QDate(2026, 12, 10)},
        {"Shift marks from the anchor, which stays", c.Cell(20), Qt::ShiftModifier,
         QStringLiteral("2026-12-10..2026-12-20 follow"), QDate(2026, 12, 10)},
        {"Shift backwards", c.Cell(5), Qt::ShiftModifier, QStringLiteral("2026-12-10..2026-12-05 follow"),
         QDate(2026, 12, 10)},
        {"header", QPoint(100, 10), Qt::NoModifier, QString(), QDate(2026, 12, 10)},
        {"right margin", QPoint(213, 50), Qt::NoModifier, QString(), QDate(2026, 12, 10)},
        {"bottom margin", QPoint(100, 6 * 20 + 3), Qt::NoModifier, QString(), QDate(2026, 12, 10)},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        days.calls.clear();
        clicked.clear();
        c.Click(s.at, s.modifiers);
        EXPECT_EQ(days.calls, s.call.isEmpty() ? QStringList() : QStringList{s.call});
        EXPECT_EQ(c.calendar.Anchor(), s.anchor);
        ASSERT_EQ(clicked.size(), 1);
        EXPECT_EQ(clicked.at(0).at(0).toInt(), 1234);
    }
    // The anchor survives a change of month.
    c.calendar.SetMonth(QDate(2027, 1, 1));
    EXPECT_EQ(c.calendar.Anchor(), QDate(2026, 12, 10));
}

TEST_F(SmallCalendarTest, WithoutAListClicksDoNothing)
{
    Calendar c(QDate(2026, 12, 1));
    QSignalSpy clicked(&c.calendar, &CSmallCalendar::clicked);
    c.Click(c.Cell(10));
    c.Click(c.Cell(12), Qt::ShiftModifier);
    EXPECT_EQ(clicked.size(), 0);
    EXPECT_FALSE(c.calendar.Anchor().isValid());
}

TEST_F(SmallCalendarTest, PaintsDaysOffShadedAndNeighboursGrey)
{
    Calendar c(QDate(2026, 12, 1));
    RecordingDays days;
    days.off = {QDate(2026, 12, 25), QDate(2026, 11, 30)};
    // Top-left pixel of a cell, clear of its number.
    const auto corner = [&c](const QImage &shot, int index) {
        return shot.pixel(c.Cell(index) - QPoint(13, 8));
    };
    // The darkest pixel of a cell: its number's colour.
    const auto ink = [&c](const QImage &shot, int index) {
        int darkest = 255;
        const QRect cell(c.Cell(index) - QPoint(15, 10), QSize(30, 20));
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                darkest = qMin(darkest, qGray(shot.pixel(x, y)));
        return darkest;
    };
    const int christmas = 25; // index of 25 December from 30 November

    QImage shot = c.calendar.grab().toImage();
    EXPECT_TRUE(Near(corner(shot, christmas), qRgb(255, 255, 255), 0)) << "nothing shaded without a list";

    c.calendar.SetMarkedDays(&days);
    shot = c.calendar.grab().toImage();
    EXPECT_TRUE(Near(corner(shot, christmas), qRgb(240, 240, 240), 0));
    EXPECT_TRUE(Near(corner(shot, 0), qRgb(240, 240, 240), 0)) << "a neighbour's day off is shaded too";
    EXPECT_TRUE(Near(corner(shot, christmas + 1), qRgb(255, 255, 255), 0));
    EXPECT_TRUE(Near(shot.pixel(1, 60), qRgb(255, 255, 255), 0)) << "the margin is white";

    EXPECT_LT(ink(shot, 10), 60) << "a day of the month is black";
    EXPECT_GE(ink(shot, 0), 90) << "a neighbour's day is grey";
    EXPECT_LT(ink(shot, 0), 140);
    EXPECT_GE(ink(shot, 34), 90) << "the next month's days are grey";
}
