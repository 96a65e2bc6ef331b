#include "CAppData.h"
#include "CConfiguration.h"
#include "CDayCache.h"
#include "CTimeEntryHost.h"
#include "Clock.h"
#include "CWeekCtrl.h"
#include "QStringPrinter.h"
#include "Settings.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QScrollBar>
#include <QTest>
#include <QTime>

#include <memory>
#include <ostream>
#include <vector>

void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

namespace {

// Days read, with no entries in them.
class RecordingSource : public CDayCacheSource
{
public:
    explicit RecordingSource(std::vector<QDate> &days) : m_days(days) {}
    bool ReadStamp(QString &stamp) override
    {
        stamp = QStringLiteral("1");
        return true;
    }
    bool ReadDay(const QDate &day, std::vector<tTacheParams> &entries) override
    {
        m_days.push_back(day);
        entries.clear();
        return true;
    }

private:
    std::vector<QDate> &m_days;
};

class RecordingHost : public CTimeEntryHost
{
public:
    QDate CurrentDate() const override { return current; }
    int RunningEntryId() const override { return runningId; }
    qint64 RunningEntryStart() const override { return runningStart; }
    CDayCache &DayCache() override { return cache; }
    void SetCurrentDate(const QDate &date, bool) override { current = date; }
    int SelectedEntryId() const override { return -1; }
    void SetSelectedEntryId(int) override {}
    void RefreshViews() override {}
    void ShowDayView() override {}
    void ShowStatusText(const QString &) override {}
    bool OpenEntryDialog(tTacheFull &, int) override { return false; }
    int ChooseOverlapResolution(const std::vector<tTacheFull> &) override { return Cancelled; }
    void StartTask(const tTacheFull &, int) override {}
    void PauseTask() override {}

    QDate current{2026, 3, 29};
    int runningId = -1;
    qint64 runningStart = 0;
    std::vector<QDate> daysRead;
    CDayCache cache{[this] { return std::make_unique<RecordingSource>(daysRead); }};
};

class WeekCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.firstDayOfWeek = 2; // Monday
        CAppData::SetConfiguration(&config);
    }
    void TearDown() override { CAppData::Clear(); }

    static void store(int zoom, int position)
    {
        Platform::Settings settings;
        settings.setInt(u"Calendar", u"", u"Zoom", zoom);
        settings.setInt(u"Calendar", u"", u"Position", position);
    }
    static std::pair<int, int> stored()
    {
        const Platform::Settings settings;
        return {settings.getInt(u"Calendar", u"", u"Zoom", -100), settings.getInt(u"Calendar", u"", u"Position", -100)};
    }

    // A view of the given client size, shown offscreen.
    std::unique_ptr<CWeekCtrl> shownView(int width, int height)
    {
        auto view = std::make_unique<CWeekCtrl>(host);
        view->resize(width + view->verticalScrollBar()->sizeHint().width(), height);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        EXPECT_EQ(view->viewport()->height(), height);
        return view;
    }

    CConfiguration config;
    RecordingHost host;
};

} // namespace

TEST_F(WeekCtrlTest, ScrollRangeAndPageFollowTheSize)
{
    auto view = shownView(800, 400);
    const QScrollBar *bar = view->verticalScrollBar();
    EXPECT_EQ(view->Geometry().zoomLevel, 5);
    EXPECT_EQ(view->Geometry().scrollMax, 295);
    EXPECT_EQ(view->Geometry().scrollPage, 80);
    EXPECT_EQ(bar->maximum(), 216);
    EXPECT_EQ(bar->pageStep(), 80);
    EXPECT_EQ(bar->value(), 72);

    // Scrolling with the bar moves the grid and marks it for drawing.
    view->verticalScrollBar()->setValue(216);
    EXPECT_EQ(view->Geometry().scrollPos, 216);
    EXPECT_TRUE(view->IsDirty());

    // Taller: the page grows and the position follows into the range.
    view->resize(view->width(), 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->viewport()->height(), 1000);
    EXPECT_EQ(view->Geometry().scrollPage, 200);
    EXPECT_EQ(bar->maximum(), 96);
    EXPECT_EQ(bar->value(), 96);
    EXPECT_EQ(view->Geometry().scrollPos, 96);

    // So tall that the day fits: nothing to scroll.
    view->resize(view->width(), 1500);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->Geometry().hourHeight, 60);
    EXPECT_EQ(view->Geometry().headerHeight, 40 + 1460 % 24);
    EXPECT_FALSE(view->Geometry().canZoomOut);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(view->Geometry().scrollPos, 0);
}

TEST_F(WeekCtrlTest, ZoomAndPositionAreReadAtCreationAndWrittenBack)
{
    struct Case
    {
        const char *what;
        bool stored;
        int zoom, position;  // stored before
        int height;          // of the client
        int readZoom, readPosition;
    };
    const std::vector<Case> cases = {
        {"nothing stored", false, 0, 0, 400, 5, 72},
        {"stored values", true, 3, 100, 400, 3, 100},
        {"a zoom level outside the table", true, 12, 100, 400, 5, 100},
        {"a negative zoom level", true, -2, 100, 400, 5, 100},
        {"a position below the grid's top", true, 5, -40, 400, 5, 0},
        {"a position past the last page", true, 5, 100000, 400, 5, 216},
        {"zoom 0 in a client the day fits", true, 0, 72, 500, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Platform::Settings().removePrefix(QStringLiteral("Calendar/"));
        if (c.stored)
            store(c.zoom, c.position);
        {
            auto view = shownView(800, c.height);
            EXPECT_EQ(view->Geometry().zoomLevel, c.readZoom);
            EXPECT_EQ(view->Geometry().scrollPos, c.readPosition);
        }
        EXPECT_EQ(stored(), std::make_pair(c.readZoom, c.readPosition));
    }
    Platform::Settings().removePrefix(QStringLiteral("Calendar/"));
    {
        auto view = shownView(800, 400);
        view->verticalScrollBar()->setValue(150);
    }
    EXPECT_EQ(stored(), std::make_pair(5, 150));
}

TEST_F(WeekCtrlTest, ReloadShiftAndStepLoadTheShownDays)
{
    auto view = shownView(800, 400);
    EXPECT_EQ(view->DayCount(), 1);
    view->SetWeekMode(true);
    EXPECT_EQ(view->DayCount(), 7);

    // Sunday 29 March 2026, weeks from Monday: 23 to 29 March, the day
    // after read too.
    host.daysRead.clear();
    view->Reload();
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 3, 23));
    EXPECT_EQ(view->ShownDays().Last(), QDate(2026, 3, 29));
    EXPECT_EQ(host.daysRead.size(), 8u);
    EXPECT_EQ(host.daysRead.back(), QDate(2026, 3, 30));
    EXPECT_EQ(view->Caption(), config.FormatDateRange(QDate(2026, 3, 23), QDate(2026, 3, 29)));
    EXPECT_TRUE(host.cache.IsCached(QDate(2026, 3, 30)));

    // Inside the week nothing moves and nothing is read.
    host.current = QDate(2026, 3, 25);
    host.daysRead.clear();
    view->Reload();
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 3, 23));
    EXPECT_TRUE(host.daysRead.empty());

    // The next week reads the days that enter only.
    host.current = QDate(2026, 4, 1);
    view->ShiftDays(7);
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 3, 30));
    EXPECT_EQ(host.daysRead,
              (std::vector<QDate>{QDate(2026, 3, 31), QDate(2026, 4, 1), QDate(2026, 4, 2), QDate(2026, 4, 3),
                                  QDate(2026, 4, 4), QDate(2026, 4, 5), QDate(2026, 4, 6)}));
    host.daysRead.clear();
    view->StepBack();
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 3, 29));
    EXPECT_EQ(view->ShownDays().Last(), QDate(2026, 4, 4));
    EXPECT_TRUE(host.daysRead.empty());

    // One day: the current date, in the long form.
    view->SetWeekMode(false);
    host.current = QDate(2026, 10, 25);
    view->Reload();
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 10, 25));
    EXPECT_EQ(view->Caption(), config.FormatOleDate(QDate(2026, 10, 25), true));
    view->StepForward();
    EXPECT_EQ(view->ShownDays().First(), QDate(2026, 10, 26));
    EXPECT_EQ(view->Caption(), config.FormatOleDate(QDate(2026, 10, 26), true));
    EXPECT_TRUE(host.cache.IsCached(QDate(2026, 10, 26)));

    // The running entry, started the day before, is on screen once its
    // day has begun.
    host.runningId = 12;
    host.runningStart = QDateTime(QDate(2026, 10, 25), QTime(9, 0)).toSecsSinceEpoch();
    Platform::Clock::setFixedNow(QDateTime(QDate(2026, 10, 25), QTime(23, 0)).toSecsSinceEpoch());
    EXPECT_FALSE(view->IsRunningEntryVisible());
    Platform::Clock::setFixedNow(QDateTime(QDate(2026, 10, 26), QTime(10, 0)).toSecsSinceEpoch());
    EXPECT_TRUE(view->IsRunningEntryVisible());
    host.runningId = -1;
    EXPECT_FALSE(view->IsRunningEntryVisible());
}
