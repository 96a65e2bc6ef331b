// The calendar window in a document area: its view type, its refusal to
// close, and what it reloads.
#include "CCalendarCtrl.h"
#include "CChildFrame.h"
#include "CWeekCtrl.h"
#include "CalendarFixture.h"
#include "Settings.h"

#include <QMdiArea>
#include <QStackedWidget>
#include <QTest>

#include <memory>

namespace {

class ChildFrameTest : public CalendarFixture
{
protected:
    CChildFrame *open()
    {
        if (!area) {
            area = std::make_unique<QMdiArea>();
            area->setViewMode(QMdiArea::TabbedView);
            area->resize(900, 600);
            area->show();
        }
        auto *frame = new CChildFrame(host);
        area->addSubWindow(frame);
        frame->showMaximized();
        host.onReload = [frame] { frame->ReloadShownView(); };
        return frame;
    }

    std::unique_ptr<QMdiArea> area;
};

} // namespace

TEST_F(ChildFrameTest, TheStoredViewTypeChoosesTheView)
{
    struct Case
    {
        const char *stored;
        int type;
    };
    const Case cases[] = {{"1", 1}, {"2", 2}, {"3", 3}, {"0", 2}, {"4", 2}, {"x", 2}, {nullptr, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "nothing stored");
        Platform::Settings settings;
        if (c.stored)
            settings.setString(u"Misc", u"", u"View", QString::fromLatin1(c.stored));
        else
            settings.remove(u"Misc", u"", u"View");
        CChildFrame frame(host);
        EXPECT_EQ(frame.ViewType(), c.type);
        EXPECT_EQ(frame.ShownView(), c.type == 3 ? static_cast<QWidget *>(frame.Month()) : frame.Week());
        if (c.type != 3) {
            EXPECT_EQ(frame.Week()->WeekMode(), c.type == 2);
        }
    }
}

TEST_F(ChildFrameTest, TheViewTypeSurvivesANewFrame)
{
    {
        CChildFrame frame(host);
        frame.SetViewType(CChildFrame::DayView);
    }
    EXPECT_EQ(Platform::Settings().getInt(u"Misc", u"", u"View", 0), 1);
    CChildFrame again(host);
    EXPECT_EQ(again.ViewType(), CChildFrame::DayView);
    EXPECT_EQ(again.Week()->DayCount(), 1);
    EXPECT_EQ(again.Week()->ShownDays().First(), host.current);
}

TEST_F(ChildFrameTest, TheFrameCannotBeClosed)
{
    CChildFrame *frame = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.get()));
    EXPECT_FALSE(frame->close());
    QCoreApplication::processEvents();
    EXPECT_EQ(area->subWindowList().size(), 1);
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ChildFrameTest, BackToTheWeekAlignsItOnTheCurrentDate)
{
    Platform::Settings().setInt(u"Misc", u"", u"View", 2);
    CChildFrame *frame = open();
    CWeekCtrl *week = frame->Week();
    EXPECT_EQ(week->ShownDays().First(), Monday);
    // Shifted by days, as stepping during a drag leaves it.
    week->StepForward();
    week->StepForward();
    EXPECT_EQ(week->ShownDays().First(), Monday.addDays(2));
    frame->SetViewType(CChildFrame::MonthView);
    EXPECT_EQ(frame->ShownView(), frame->Month());
    frame->SetViewType(CChildFrame::WeekView);
    EXPECT_EQ(week->ShownDays().First(), Monday);

    // The same type again does nothing; forced, it reloads.
    week->StepForward();
    frame->SetViewType(CChildFrame::WeekView);
    EXPECT_EQ(week->ShownDays().First(), Monday.addDays(1));
    frame->SetViewType(CChildFrame::WeekView, true);
    EXPECT_EQ(week->ShownDays().First(), Monday);

    // The options changed: the week aligns on a new first day.
    config.firstDayOfWeek = 1; // Sunday
    frame->ReloadView();
    EXPECT_EQ(week->ShownDays().First(), Monday.addDays(-1));
}

TEST_F(ChildFrameTest, ReloadingAfterTheOptionsLeavesTheDayView)
{
    Platform::Settings().setInt(u"Misc", u"", u"View", 1);
    CChildFrame *frame = open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(area.get()));
    CWeekCtrl *week = frame->Week();
    week->viewport()->grab();
    const int drawn = week->RedrawCount();
    week->StepForward();
    week->viewport()->grab();
    ASSERT_EQ(week->RedrawCount(), drawn + 1);
    frame->ReloadView();
    EXPECT_FALSE(week->IsDirty());
    week->viewport()->grab();
    EXPECT_EQ(week->RedrawCount(), drawn + 1);
    EXPECT_EQ(week->ShownDays().First(), host.current.addDays(1));
}
