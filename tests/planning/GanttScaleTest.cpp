// The Gantt chart's time scale: pixels of times and back, the bounds of
// the middle, zooming, scrolling and panning (TZ=Europe/Paris).
#include "GanttScale.h"
#include "LocalTime.h"
#include "QStringPrinter.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

qint64 at(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
}

GanttScale scale(int level, int width, qint64 centre)
{
    GanttScale s(96);
    s.SetLevel(level);
    s.SetWidth(width);
    s.SetCentre(centre);
    return s;
}

} // namespace

TEST(GanttScaleTest, TimesArePixelsOfWholeMinutesTruncated)
{
    // Level 0 at 96 dpi: 30 minutes per 37.8 pixels, 0.79375 minutes a pixel.
    const GanttScale s = scale(0, 600, at(2024, 3, 4, 12));
    const qint64 left = s.LeftTime();
    EXPECT_EQ(left, s.Centre() - qint64(300 * s.MinutesPerPixel() * 60));
    using E = GanttScale::Edge;
    struct Case
    {
        qint64 time;
        E edge;
        int pixel;
    };
    const Case cases[] = {
        {left, E::Start, 0},
        {left + 59, E::Start, 0},        // not a whole minute yet
        {left + 60, E::Start, 1},        // 1 / 0.79375 = 1.26
        {left - 119, E::Start, -1},      // -1 minute: -1.26 truncated towards 0
        {left + 600 * 60, E::Start, 755}, // 600 / 0.79375 = 755.9
        {0, E::Start, GanttScale::NoStartPixel},
        {0, E::End, GanttScale::NoEndPixel},
        {-86400, E::End, GanttScale::NoEndPixel},
        // Four thousand years of minutes do not fit an int at this scale.
        {left + qint64(4000) * 365 * 86400, E::End, GanttScale::NoEndPixel},
        {left - qint64(4000) * 365 * 86400 + 1, E::Start, GanttScale::NoStartPixel},
    };
    for (const Case &c : cases)
        EXPECT_EQ(s.TimeToPixel(c.time, c.edge), c.pixel) << c.time - left;

    EXPECT_EQ(s.PixelToTime(300), s.Centre());
    EXPECT_EQ(s.PixelToTime(0), s.Centre() - qint64(300 * s.MinutesPerPixel() * 60));
    // Back and forth within a pixel.
    EXPECT_EQ(s.TimeToPixel(s.PixelToTime(451) + 60), 451);
}

TEST(GanttScaleTest, TheMiddleStaysBetween2000And2100)
{
    const qint64 y2000 = at(2000, 1, 1);
    const qint64 y2100 = at(2100, 1, 1);
    EXPECT_EQ(GanttScale::LowerBound(), y2000);
    EXPECT_EQ(GanttScale::UpperBound(), y2100);

    GanttScale s = scale(8, 800, at(1990, 6, 1));
    s.ClampCentre();
    EXPECT_EQ(s.LeftTime(), y2000);
    s.SetCentre(at(2150, 6, 1));
    s.ClampCentre();
    EXPECT_EQ(s.Centre() + (s.Centre() - s.LeftTime()), y2100);
    s.SetCentre(at(2024, 3, 4));
    s.ClampCentre();
    EXPECT_EQ(s.Centre(), at(2024, 3, 4));

    // A year a centimetre on 5000 pixels shows more than the century: the
    // middle stays half-way instead of between crossed bounds.
    GanttScale wide = scale(13, 5000, at(2024, 3, 4));
    ASSERT_GT(wide.Centre() - wide.LeftTime(), (y2100 - y2000) / 2);
    wide.ClampCentre();
    EXPECT_EQ(wide.Centre(), y2000 + (y2100 - y2000) / 2);
}

TEST(GanttScaleTest, ANewUserSeesOneWeekACentimetreWithNowAtASixth)
{
    GanttScale s(96);
    s.SetLevel(GanttScale::ParseLevel(QString()));
    EXPECT_EQ(s.Level(), 8);
    EXPECT_DOUBLE_EQ(s.MinutesPerPixel(), 10080 / (96 / 2.54));
    const qint64 now = at(2024, 3, 4, 10);
    EXPECT_FALSE(s.PlaceNow(now)); // no width yet
    EXPECT_EQ(s.Centre(), 0);
    s.SetWidth(600);
    EXPECT_TRUE(s.PlaceNow(now));
    EXPECT_NEAR(s.TimeToPixel(now), 100, 1);
    // The thumb stands at the chart's left edge.
    EXPECT_EQ(s.ScrollBar().position, int((s.LeftTime() - GanttScale::LowerBound()) / 60 / 10080));
}

TEST(GanttScaleTest, StoredLevelsOutsideTheTableGiveOneWeek)
{
    const std::pair<const char *, int> cases[] = {
        {"", 8}, {"abc", 8}, {"-1", 8}, {"14", 8}, {"3x", 8}, {"0", 0}, {"13", 13}, {" 5", 5},
    };
    for (const auto &[text, level] : cases)
        EXPECT_EQ(GanttScale::ParseLevel(QString::fromLatin1(text)), level) << text;
}

TEST(GanttScaleTest, TheEndLevelsCannotGoFurther)
{
    GanttScale s = scale(0, 600, at(2024, 3, 4));
    EXPECT_FALSE(s.ZoomIn());
    EXPECT_EQ(s.Level(), 0);
    EXPECT_TRUE(s.ZoomOut());
    EXPECT_EQ(s.Level(), 1);
    EXPECT_EQ(s.Centre(), at(2024, 3, 4)); // zooming out keeps the middle

    s.SetLevel(13);
    EXPECT_FALSE(s.ZoomOut());
    EXPECT_EQ(s.Level(), 13);
    EXPECT_FALSE(s.ZoomToLevel(14));
    EXPECT_FALSE(s.ZoomToLevel(-1));
    EXPECT_EQ(s.Level(), 13);
}

// Zooming in from level 9 to 8 on 600 pixels around 4 March 2024, with the
// last paint's range in days from the middle.
TEST(GanttScaleTest, ZoomingInBringsTheLastRangeIntoView)
{
    const qint64 centre = at(2024, 3, 4);
    const qint64 day = 86400;
    struct Case
    {
        const char *name;
        qint64 from, to; // days from the middle
    };
    const Case cases[] = {
        {"narrow, off to the right: centred", 200, 230},
        {"narrow, around the middle: centred", -10, 30},
        {"wider than the chart, across it: the middle stays", -400, 400},
        {"wider, all right of the chart: its start 5 pixels in", 300, 1000},
        {"wider, all left of the chart: its end 5 pixels from the right", -1000, -300},
    };
    for (const Case &c : cases) {
        GanttScale s = scale(9, 600, centre);
        s.SetProjectRange(centre + c.from * day, centre + c.to * day);
        ASSERT_TRUE(s.ZoomIn());
        EXPECT_EQ(s.Level(), 8);
        const int xs = s.TimeToPixel(s.RangeStart());
        const int xe = s.TimeToPixel(s.RangeEnd());
        switch (&c - cases) {
        case 0:
        case 1:
            EXPECT_NEAR(xs + xe, 600, 2) << c.name;
            break;
        case 2:
            EXPECT_EQ(s.Centre(), centre) << c.name;
            break;
        case 3:
            EXPECT_NEAR(xs, 5, 1) << c.name;
            break;
        case 4:
            EXPECT_NEAR(xe, 595, 1) << c.name;
            break;
        }
    }
    // Without a range (nothing drawn) the middle stays.
    GanttScale s = scale(9, 600, centre);
    s.SetProjectRange(0, 0);
    ASSERT_TRUE(s.ZoomToLevel(3));
    EXPECT_EQ(s.Centre(), centre);
}

TEST(GanttScaleTest, ChoosingACoarserLevelKeepsTheMiddle)
{
    const qint64 centre = at(2024, 3, 4);
    GanttScale s = scale(5, 600, centre);
    s.SetProjectRange(centre + 300 * 86400, centre + 400 * 86400);
    ASSERT_TRUE(s.ZoomToLevel(12));
    EXPECT_EQ(s.Centre(), centre);
    ASSERT_TRUE(s.ZoomToLevel(11)); // finer: the range comes into view
    EXPECT_NE(s.Centre(), centre);
}

TEST(GanttScaleTest, ScrollStepsOfEachLevel)
{
    struct Case
    {
        int level;
        qint64 from;
        int units;
        qint64 to;
    };
    const Case cases[] = {
        {0, at(2024, 3, 4, 10), 3, at(2024, 3, 4, 11, 30)},
        {2, at(2024, 3, 4, 10), -1, at(2024, 3, 4, 7)},
        {4, at(2024, 3, 4, 10), 2, at(2024, 3, 5, 10)},
        {5, at(2024, 3, 4, 10), 1, at(2024, 3, 5, 10)},
        {7, at(2024, 3, 4, 10), -1, at(2024, 2, 29, 10)},
        // A week over the last Sunday of March lands on midnight again (167 h).
        {8, at(2024, 3, 25), 1, at(2024, 4, 1)},
        {9, at(2024, 10, 20, 15), 1, at(2024, 11, 3, 15)},
        // Months and years land on the first day at 00:00.
        {10, at(2024, 3, 17, 15), 1, at(2024, 4, 1)},
        {10, at(2024, 3, 17, 15), -1, at(2024, 2, 1)},
        {11, at(2024, 11, 30, 23), 1, at(2025, 2, 1)},
        {12, at(2024, 3, 17), -2, at(2023, 3, 1)},
        {13, at(2024, 3, 17, 15), 1, at(2025, 1, 1)},
        {13, at(2024, 3, 17, 15), -3, at(2021, 1, 1)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GanttScale::StepTime(c.from, c.level, c.units), c.to)
            << "level " << c.level << " from " << QDateTime::fromSecsSinceEpoch(c.from).toString().toStdString();
    EXPECT_EQ(at(2024, 4, 1) - at(2024, 3, 25), 167 * 3600);
}

TEST(GanttScaleTest, TheScrollBarCountsCentimetresOfTheLevel)
{
    GanttScale s = scale(8, 600, at(2024, 3, 4));
    s.UpdateScrollBar();
    const int page = int(600 / (2 * (96 / 2.54))); // 7
    EXPECT_EQ(page, 7);
    EXPECT_EQ(s.ScrollBar().page, page);
    // The position counts weeks from 2000 to the chart's left edge; the
    // largest is that of a chart ending in 2100.
    EXPECT_EQ(s.ScrollBar().position, (s.LeftTime() - GanttScale::LowerBound()) / 60 / 10080);
    const qint64 shown = s.Centre() - s.LeftTime();
    EXPECT_EQ(s.ScrollBar().maximum, (GanttScale::UpperBound() - 2 * shown - GanttScale::LowerBound()) / 60 / 10080);

    // A step moves the position by one and the middle by a week; at the
    // ends the position stops while the middle stays clamped.
    const int before = s.ScrollBar().position;
    s.Scroll(1);
    EXPECT_EQ(s.ScrollBar().position, before + 1);
    EXPECT_EQ(s.Centre(), at(2024, 3, 11));
    s.Scroll(-100000);
    EXPECT_EQ(s.ScrollBar().position, 0);
    EXPECT_EQ(s.LeftTime(), GanttScale::LowerBound());
}

// Whichever way the chart is moved, by the bar, by dragging or by the keys,
// the thumb reaches an end of the bar exactly when the chart reaches 2000
// or 2100, and the chart moves with every step the thumb takes.
TEST(GanttScaleTest, TheBarAndTheMiddleShareOneRangeAtEveryLevel)
{
    const qint64 y2000 = at(2000, 1, 1);
    const qint64 y2100 = at(2100, 1, 1);
    for (int level : {0, 5, 8, 10, 11, 12, 13}) {
        GanttScale s = scale(level, 800, at(2024, 3, 4));
        s.UpdateScrollBar();
        const GanttScale::tScrollBar &bar = s.ScrollBar();
        ASSERT_GT(bar.maximum, 10) << level;
        const qint64 pixel = qint64(s.MinutesPerPixel() * 60) + 1;

        // Dragged far right: the chart ends in 2100, the thumb at its end.
        s.Pan(2000000000);
        EXPECT_NEAR(double(s.PixelToTime(800)), double(y2100), double(pixel)) << level;
        EXPECT_EQ(bar.position, bar.maximum) << level;
        // A step back moves both; a step on leaves both at the end.
        const qint64 end = s.Centre();
        s.Scroll(-1);
        EXPECT_EQ(bar.position, bar.maximum - 1) << level;
        EXPECT_LT(s.Centre(), end) << level;
        s.Scroll(3);
        EXPECT_EQ(bar.position, bar.maximum) << level;
        EXPECT_EQ(s.Centre(), end) << level;

        // Dragged far left: the chart begins in 2000, the thumb at 0.
        s.Pan(-2000000000);
        EXPECT_EQ(s.LeftTime(), y2000) << level;
        EXPECT_EQ(bar.position, 0) << level;
        const qint64 start = s.Centre();
        s.Scroll(-1);
        EXPECT_EQ(bar.position, 0) << level;
        EXPECT_EQ(s.Centre(), start) << level;
        s.Scroll(1);
        EXPECT_EQ(bar.position, 1) << level;
        EXPECT_GT(s.Centre(), start) << level;

        // Scrolled to the end by the bar: the same end as dragged.
        s.Scroll(bar.maximum + 10);
        EXPECT_EQ(bar.position, bar.maximum) << level;
        EXPECT_EQ(s.Centre(), end) << level;
        // Panning from there leaves the thumb where it is.
        s.Pan(1);
        EXPECT_EQ(bar.position, bar.maximum) << level;
    }
}

TEST(GanttScaleTest, PanningMovesTheContentWithTheMouseAndTheThumbWithTheTime)
{
    GanttScale s = scale(5, 800, at(2024, 3, 4, 12));
    s.UpdateScrollBar();
    const qint64 shown = s.PixelToTime(400);
    // The mouse goes 76 pixels left (two days at this level): the content
    // follows it.
    s.Pan(76);
    EXPECT_NEAR(double(s.TimeToPixel(shown)), 400 - 76, 1);
    EXPECT_EQ(s.ScrollBar().position, (s.LeftTime() - GanttScale::LowerBound()) / 60 / 1440);
    // Slow drags, one pixel at a time, move the thumb as well.
    for (int i = 0; i < 76; ++i)
        s.Pan(-1);
    EXPECT_NEAR(double(s.TimeToPixel(shown)), 400, 1);
    EXPECT_EQ(s.ScrollBar().position, (s.LeftTime() - GanttScale::LowerBound()) / 60 / 1440);
}

TEST(GanttScaleTest, TheRowUnderAPoint)
{
    struct Case
    {
        int y, header, rowHeight, first, count, row;
    };
    const Case cases[] = {
        {10, 30, 20, 0, 5, -1},  // in the header
        {30, 30, 20, 0, 5, 0},
        {49, 30, 20, 0, 5, 0},
        {50, 30, 20, 0, 5, 1},
        {50, 30, 20, 3, 5, 4},
        {70, 30, 20, 3, 5, -1},  // below the last row
        {50, 30, 0, 0, 5, -1},   // no row height
        {50, 30, 20, 0, 0, -1},  // no rows
    };
    for (const Case &c : cases)
        EXPECT_EQ(GanttScale::RowAt(c.y, c.header, c.rowHeight, c.first, c.count), c.row) << c.y;
}
