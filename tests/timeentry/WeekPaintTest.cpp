// The week view drawn for real offscreen: its colours read back from
// grab(), its cached image counted.
#include "CChildFrame.h"
#include "CWeekCtrl.h"
#include "CalendarFixture.h"
#include "Settings.h"

#include <QMdiArea>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int Width = 1000;
constexpr int Height = 700;

class WeekPaintTest : public CalendarWindowFixture
{
protected:
    void SetUp() override
    {
        CalendarWindowFixture::SetUp();
        storeViews();
    }

    void show() { open(QSize(Width, Height)); }
    QImage picture() { return view().viewport()->grab().toImage(); }

    // Column i of the week: its left edge and its middle.
    static int left(int i) { return 65 + i * 133; }
    static int middle(int i) { return left(i) + 66; }
    // The client row of a time of day (6:00 at the header's bottom, 40).
    static int row(int h, int m = 0) { return 40 + (h - 6) * 60 + m; }
};

} // namespace

TEST_F(WeekPaintTest, DaysWorkingTimeAndBoxesHaveTheirColours)
{
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    const int activity = saveActivity(QStringLiteral("Dev"), 0x00FF00);
    saveEntry(at(Monday.addDays(1), 10, 0), at(Monday.addDays(1), 11, 30), project, activity);
    host.selectedId = saveEntry(at(Monday, 14, 0), at(Monday, 16, 0), project, activity);
    show();
    const QImage image = picture();

    struct Probe
    {
        const char *what;
        int x, y;
        quint32 colour;
    };
    const Probe probes[] = {
        {"the current date, working time", middle(2), row(9, 30), 0x9CE7FF},
        {"the current date, lunch", middle(2), row(12, 30), 0x93E0F7},
        {"the current date, early morning", middle(2), row(7), 0x93E0F7},
        {"today, working time", middle(3), row(9, 30), 0xF4EADF},
        {"today, lunch", middle(3), row(12, 30), 0xECE2D7},
        {"another day, working time", middle(1), row(9, 30), 0xFFFFFF},
        {"another day, lunch", middle(1), row(12, 30), 0xF0F0F0},
        {"the day off", middle(4), row(9, 30), 0xF0F0F0},
        {"Saturday", middle(5), row(9, 30), 0xF0F0F0},
        {"a box's fill", left(1) + 100, row(11, 20), 0xE6E6E6},
        {"its stripe, project half", left(1) + 2, row(10, 10), 0x0000FF},
        {"its stripe, activity half", left(1) + 2, row(11, 20), 0x00FF00},
        {"its frame", left(1) + 100, row(11, 29), 0xD2D2D2},
        {"the selected entry's fill", left(0) + 100, row(15, 50), 0x45C7F0},
        {"the line between two days", 64 + 133, row(9, 30), 0xFFAF7D},
        {"the ruler's edge", 63, row(9, 30), 0xFFAF7D},
    };
    for (const Probe &p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(pixel(image, p.x, p.y), p.colour);
    }
    // The header runs from white to red 180, green 205, blue 255.
    const QColor top = image.pixelColor(middle(2), 0);
    const QColor bottom = image.pixelColor(70, 39);
    EXPECT_GE(std::min({top.red(), top.green(), top.blue()}), 250);
    EXPECT_NEAR(bottom.red(), 180, 3);
    EXPECT_NEAR(bottom.green(), 205, 3);
    EXPECT_EQ(bottom.blue(), 255);
}

TEST_F(WeekPaintTest, AnEntryWithoutActivityKeepsItsStripeColourFromOneDrawingToTheNext)
{
    saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    const quint32 first = pixel(picture(), left(0) + 2, row(9, 10));
    for (int i = 0; i < 5; ++i) {
        view().Reload();
        EXPECT_EQ(pixel(picture(), left(0) + 2, row(9, 10)), first);
    }
}

TEST_F(WeekPaintTest, TheTitleSumsTheShownDaysAndAnEmptyDayShowsNoTotal)
{
    // Tuesday 1:30; on the spring Sunday 01:30 to 03:30 lasts one hour.
    saveEntry(at(Monday.addDays(1), 10, 0), at(Monday.addDays(1), 11, 30));
    saveEntry(at(Monday.addDays(6), 1, 30), at(Monday.addDays(6), 3, 30));
    const QString title = config.FormatDateRange(Monday, Monday.addDays(6)) + QStringLiteral(" (")
                          + config.FormatDuration(150 * 60) + QStringLiteral(")");
    {
        // Never painted (another window in front at the start): its tab
        // shows the title all the same.
        CChildFrame hidden(host);
        EXPECT_EQ(hidden.windowTitle(), title);
    }
    show();
    const QImage image = picture();
    EXPECT_EQ(view().Title(), title);
    EXPECT_EQ(frame->windowTitle(), view().Title());

    // Dark pixels in the lower half of a day's header: its total (no day
    // but Monday starts a week).
    const auto darkPixels = [&image](int day) {
        int dark = 0;
        for (int y = 21; y < 40; ++y) {
            for (int x = left(day) + 4; x < left(day) + 130; ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        }
        return dark;
    };
    EXPECT_GT(darkPixels(1), 0);
    EXPECT_GT(darkPixels(6), 0);
    EXPECT_EQ(darkPixels(2), 0);
    EXPECT_EQ(darkPixels(3), 0);
}

TEST_F(WeekPaintTest, TheCachedImageIsDrawnAgainOnlyWhenItMustBe)
{
    const int running = saveEntry(at(Today, 9, 0), 0);
    show();
    picture();
    const int drawn = view().RedrawCount();
    EXPECT_GE(drawn, 1);
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn) << "a plain repaint draws the cached image";

    area->resize(area->width(), area->height() - 50);
    QCoreApplication::processEvents();
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn + 1) << "a new size";

    view().Reload();
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn + 2) << "a reload";

    // The 30-second refresh: without a running entry on screen nothing is
    // drawn again; with one its box grows.
    frame->RefreshRunningTask();
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn + 2);
    host.runningId = running;
    host.runningStart = at(Today, 9, 0);
    frame->RefreshRunningTask();
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn + 3);

    // A running entry of another week is not on screen.
    host.runningStart = at(Today.addDays(-10), 9, 0);
    Platform::Clock::setFixedNow(at(Today.addDays(-9), 9, 0));
    frame->RefreshRunningTask();
    picture();
    EXPECT_EQ(view().RedrawCount(), drawn + 3);
}

TEST_F(WeekPaintTest, AwkwardSizesAndDaysAreDrawnWithoutFault)
{
    saveEntry(at(Monday.addDays(6), 1, 30), at(Monday.addDays(6), 3, 30), -1, -1, QString(10000, u'x'));
    config.workingDays.Clear();
    config.workingDays.UpdateTotals();
    show();
    const QSize sizes[] = {{20, 10}, {64, 40}, {70, 45}, {400, 3000}, {3000, 80}};
    for (const QSize &size : sizes) {
        view().resize(size);
        QCoreApplication::processEvents();
        const QImage image = picture();
        EXPECT_EQ(image.size(), view().viewport()->size());
    }
    // Zoom 0 in a tall window: the day fits and the hours grow.
    Platform::Settings().setInt(u"Calendar", u"", u"Zoom", 0);
    CWeekCtrl tall(host);
    tall.SetWeekMode(true);
    tall.resize(900, 1400);
    tall.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tall));
    tall.Reload();
    EXPECT_FALSE(tall.Geometry().canZoomOut);
    EXPECT_EQ(tall.Geometry().hourHeight, (tall.viewport()->height() - 40) / 24);
    EXPECT_FALSE(tall.viewport()->grab().isNull());
}
