// The calendar pane and the forecast pane, built for real offscreen.
#include "AppFixture.h"
#include "CFirstDayOfWeek.h"
#include "CFrameViews.h"
#include "CMainFrame.h"
#include "CPaneCalendar.h"
#include "CPaneForecast.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CPaneMenuRules.h"
#include "CCommandTable.h"
#include "CConfiguration.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

class CalendarPaneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFirstDayOfWeek::SetProvider([this] { return firstDay; });
        pane = std::make_unique<CPaneCalendar>();
        pane->SetCalendarLocale(QLocale(QLocale::French, QLocale::France));
        pane->resize(320, 260);
        pane->show();
    }
    void TearDown() override
    {
        pane.reset();
        CFirstDayOfWeek::SetProvider({});
    }
    QTableView *grid() const { return pane->Calendar()->findChild<QTableView *>(); }
    // The cell of a day of the shown month (each number shows once there).
    QRect cellOf(int day) const
    {
        QAbstractItemModel *model = grid()->model();
        for (int row = 1; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                const bool sameMonth = index.data(Qt::DisplayRole).toInt() == day
                                       && (row < 3 ? day < 15 : day > 14);
                if (sameMonth)
                    return grid()->visualRect(index);
            }
        }
        return {};
    }
    QString firstColumnName() const { return grid()->model()->index(0, 0).data(Qt::DisplayRole).toString(); }

    int firstDay = 2;
    std::unique_ptr<CPaneCalendar> pane;
};

} // namespace

TEST_F(CalendarPaneTest, AUsersPickIsToldOnceAndADateSetFromCodeIsNot)
{
    QSignalSpy chosen(pane.get(), &CPaneCalendar::dateChosen);
    pane->SelectDate(QDate(2026, 12, 10));
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2026, 12, 10));
    EXPECT_EQ(chosen.size(), 0);

    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cellOf(15).center());
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toDate(), QDate(2026, 12, 15));

    QTest::keyClick(grid(), Qt::Key_Right);
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toDate(), QDate(2026, 12, 16));

    pane->SelectDate(QDate(2027, 1, 4));
    pane->SelectDate(QDate(2027, 1, 4));
    EXPECT_EQ(chosen.size(), 2);
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2027, 1, 4));
    EXPECT_EQ(pane->Calendar()->monthShown(), 1);
}

TEST_F(CalendarPaneTest, TheFirstColumnFollowsTheConfiguredFirstDay)
{
    EXPECT_EQ(pane->Calendar()->firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(firstColumnName(), QStringLiteral("lun."));
    for (int weekday : {1, 7}) {
        firstDay = weekday;
        pane->ApplyFirstDayOfWeek();
        EXPECT_EQ(pane->Calendar()->firstDayOfWeek(), CFirstDayOfWeek::ToQt(weekday));
    }
    EXPECT_EQ(firstColumnName(), QStringLiteral("sam."));
}

TEST_F(CalendarPaneTest, TheCalendarStandsCentredAtItsSmallestSizeAndNeverAboveOrLeftOfOnePixel)
{
    struct Case
    {
        QSize client, calendar;
        QPoint at;
    };
    const Case cases[] = {
        {{300, 200}, {200, 150}, {50, 25}},
        {{301, 201}, {200, 150}, {50, 25}},
        {{150, 100}, {200, 150}, {1, 1}},
        {{201, 500}, {200, 150}, {1, 175}},
        {{0, 0}, {200, 150}, {1, 1}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CPaneCalendar::CalendarPosition(c.client, c.calendar), c.at) << c.client.width() << "x"
                                                                               << c.client.height();

    QWidget *body = pane->widget();
    pane->resize(700, 500);
    const QSize size = pane->Calendar()->minimumSizeHint();
    EXPECT_EQ(pane->Calendar()->size(), size);
    EXPECT_EQ(pane->Calendar()->pos(), CPaneCalendar::CalendarPosition(body->size(), size));
    EXPECT_GT(pane->Calendar()->x(), 1);
    // The pane asks the docks for room for the whole calendar.
    EXPECT_GE(body->minimumWidth(), size.width() + 2);
    EXPECT_GE(body->minimumHeight(), size.height() + 2);
    // White around it.
    EXPECT_EQ(body->grab().toImage().pixel(0, 0), qRgb(255, 255, 255));
}

namespace {

class ForecastPaneTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        frame = std::make_unique<CMainFrame>(*app);
        frame->show();
    }
    void TearDown() override
    {
        frame.reset();
        AppFixture::TearDown();
    }
    CPaneForecast *pane() const { return frame->ForecastPane(); }
    static QAction *item(const QMenu &menu, int id)
    {
        for (QAction *a : menu.actions())
            if (a->data().toInt() == id)
                return a;
        return nullptr;
    }
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST(PaneMenuRulesTest, GreyingAndChecksFollowThePanesState)
{
    using R = CPaneMenuRules;
    // Flags per item, in menu order 604 605 606 607 608: E enabled, C checked.
    struct Case
    {
        const char *name;
        R::State state;
        const char *items;
    };
    auto state = [](bool floats, bool tabbed, bool autoHidden, bool canFloat, bool canAutoHide, bool canClose,
                    bool anySide) {
        R::State s;
        s.floats = floats;
        s.tabbed = tabbed;
        s.autoHidden = autoHidden;
        s.canFloat = canFloat;
        s.canAutoHide = canAutoHide;
        s.canClose = canClose;
        s.anyDockSide = anySide;
        return s;
    };
    const Case cases[] = {
        {"docked", state(false, false, false, true, false, true, true), "E EC E - E"},
        {"floating", state(true, false, false, true, false, true, true), "EC E E - E"},
        {"tabbed document", state(false, true, false, true, false, true, true), "E E EC - E"},
        {"cannot float", state(false, false, false, false, false, true, true), "- EC E - E"},
        {"cannot close", state(false, false, false, true, false, false, true), "E EC E - -"},
        {"no side to dock on", state(false, false, false, true, false, true, false), "E C E - E"},
        {"may hide at the edge", state(false, false, false, true, true, true, true), "E EC E E E"},
        {"floating cannot hide at the edge", state(true, false, false, true, true, true, true), "EC E E - E"},
        {"hidden at the edge", state(false, false, true, true, true, true, true), "- - - EC -"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList flags;
        QList<int> ids;
        for (const R::ItemState &i : R::Items(c.state, true)) {
            ids << i.item;
            QString f = i.enabled ? QStringLiteral("E") : QString();
            if (i.checked)
                f += u'C';
            flags << (f.isEmpty() ? QStringLiteral("-") : f);
        }
        EXPECT_EQ(ids, (QList<int>{604, 605, 606, 607, 608}));
        EXPECT_EQ(flags.join(u' '), QString::fromLatin1(c.items));
        // Without the tabbed-document item the others stay as they are.
        QList<int> fourIds;
        for (const R::ItemState &i : R::Items(c.state, false))
            fourIds << i.item;
        EXPECT_EQ(fourIds, (QList<int>{604, 605, 607, 608}));
    }
}

TEST_F(ForecastPaneTest, ItsMenuOffersTheTabbedDocumentThatTheOtherPanesDoNot)
{
    QMenu menu;
    pane()->FillPaneMenu(menu);
    QStringList texts;
    for (QAction *a : menu.actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Flottante"), QStringLiteral("Ancrable"),
                                  QStringLiteral("Document avec onglet"), QStringLiteral("Masquer automatiquement"),
                                  QStringLiteral("Masquer")}));
    EXPECT_FALSE(item(menu, 607)->isEnabled()) << "no hiding at the frame's edge here";

    QMenu other;
    frame->Pane(CMainFrame::PaneTasks)->FillPaneMenu(other);
    EXPECT_EQ(item(other, 606), nullptr);

    QPointer<QWidget> forecast = frame->ForecastWindow();
    item(menu, 606)->trigger();
    ASSERT_TRUE(frame->ForecastFrame());
    EXPECT_EQ(frame->ForecastFrame()->widget(), forecast.data());
    EXPECT_EQ(pane()->HostedWindow(), nullptr);
    EXPECT_FALSE(pane()->isVisible());
}

TEST_F(ForecastPaneTest, ShowingThePaneTakesTheWindowBackFromItsDocumentAlive)
{
    QPointer<QWidget> forecast = frame->ForecastWindow();
    ASSERT_EQ(pane()->HostedWindow(), forecast.data());
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        frame->ToggleForecastMode(); // a tabbed document
        ASSERT_TRUE(frame->ForecastFrame());
        QPointer<QMdiSubWindow> document = frame->ForecastFrame();
        EXPECT_TRUE(forecast->isVisible()) << "shown in its document";

        pane()->show();
        flushDeletes();
        EXPECT_FALSE(document) << "the document closed";
        EXPECT_FALSE(frame->ForecastFrame());
        ASSERT_TRUE(forecast) << "its window lives on";
        EXPECT_EQ(pane()->HostedWindow(), forecast.data());
        EXPECT_TRUE(pane()->isVisible());
        EXPECT_TRUE(forecast->isVisible());
    }
    // Showing a pane that holds its window changes nothing.
    pane()->show();
    EXPECT_EQ(pane()->HostedWindow(), forecast.data());
}

namespace {

// The frame's own views, with the reloads of the shown view counted.
class CountingViews : public CFrameViews
{
public:
    using CFrameViews::CFrameViews;
    void RefreshActiveViews() override { ++reloads; }
    int reloads = 0;
};

class CalendarPaneInTheProgramTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        addUser(QStringLiteral("Anne"));
        ASSERT_TRUE(app->InitInstance()); // the real main frame
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        views = std::make_unique<CountingViews>(*frame);
        frame->SetViews(views.get());
        // A shown view to reload.
        frame->SetCalendarFrame(frame->CreateChildFrame(new QWidget, QStringLiteral("calendar")));
        pane = frame->CalendarPane();
        ASSERT_NE(pane, nullptr);
    }
    void TearDown() override
    {
        if (frame)
            frame->SetViews(nullptr);
        views.reset();
        AppFixture::TearDown();
    }
    QTableView *grid() const { return pane->Calendar()->findChild<QTableView *>(); }

    CMainFrame *frame = nullptr;
    CPaneCalendar *pane = nullptr;
    std::unique_ptr<CountingViews> views;
};

} // namespace

TEST_F(CalendarPaneInTheProgramTest, APickSetsTheCurrentDateWithOneReloadAndTheDateFromCodeFollowsSilently)
{
    app->SetCurrentDate(QDate(2026, 12, 10), false);
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2026, 12, 10));
    QSignalSpy chosen(pane, &CPaneCalendar::dateChosen);

    // A pick by the keys: the current date, the date picker, one reload.
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Down);
    EXPECT_EQ(app->CurrentDate(), QDate(2026, 12, 17));
    EXPECT_EQ(frame->DatePicker()->date(), QDate(2026, 12, 17));
    EXPECT_EQ(views->reloads, 1);
    EXPECT_EQ(chosen.size(), 1);

    // From code: the pane follows and tells nothing back.
    app->SetCurrentDate(QDate(2027, 2, 3), true);
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2027, 2, 3));
    EXPECT_EQ(views->reloads, 2);
    app->MoveCurrentDate(7);
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2027, 2, 10));
    frame->Commands().Action(32850)->trigger(); // the next day
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2027, 2, 11));
    EXPECT_EQ(chosen.size(), 1);
    EXPECT_EQ(app->CurrentDate(), QDate(2027, 2, 11));
}

// A date typed into the toolbar's picker moves the calendar once, when
// Enter is pressed or the field is left; while it is typed, nothing moves
// and the field keeps what is being typed.
TEST_F(CalendarPaneInTheProgramTest, ADateTypedInThePickerMovesTheCalendarOnEnterOrWhenLeft)
{
    frame->show();
    QApplication::setActiveWindow(frame);
    app->SetCurrentDate(QDate(2026, 12, 10), false);
    CMyMFCToolBarDateTimeCtrl *picker = frame->DatePicker();
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    const auto typeDate = [picker](const QString &text) {
        // As a user types over the whole field, separators included.
        picker->setFocus();
        picker->selectAll();
        QTest::keyClicks(picker, text);
    };

    typeDate(QStringLiteral("04/03/2027"));
    EXPECT_EQ(app->CurrentDate(), QDate(2026, 12, 10));
    EXPECT_EQ(views->reloads, 0);
    EXPECT_EQ(picker->text(), QStringLiteral("04/03/2027"));
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(app->CurrentDate(), QDate(2027, 3, 4));
    EXPECT_EQ(pane->Calendar()->selectedDate(), QDate(2027, 3, 4));
    EXPECT_EQ(views->reloads, 1);

    // Days and months of one digit, and the field left for another window.
    typeDate(QStringLiteral("20/1/2025"));
    EXPECT_EQ(views->reloads, 1);
    grid()->setFocus();
    EXPECT_EQ(app->CurrentDate(), QDate(2025, 1, 20));
    EXPECT_EQ(views->reloads, 2);
}

TEST_F(CalendarPaneInTheProgramTest, AtStartTheCalendarsStartTheirWeeksOnTheConfiguredDay)
{
    // No day stored: the French locale's Monday, as the calendar window's.
    ASSERT_EQ(app->Configuration().firstDayOfWeek, 2);
    EXPECT_EQ(pane->Calendar()->firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(frame->DatePicker()->calendarWidget()->firstDayOfWeek(), Qt::Monday);
}

TEST_F(CalendarPaneInTheProgramTest, AChangedFirstDayShowsAtOnceInThePaneAndTheDatePicker)
{
    for (int weekday : {2, 1, 7}) {
        SCOPED_TRACE(weekday);
        app->Configuration().firstDayOfWeek = weekday;
        views->ReloadDayNames();
        EXPECT_EQ(pane->Calendar()->firstDayOfWeek(), CFirstDayOfWeek::ToQt(weekday));
        EXPECT_EQ(frame->DatePicker()->calendarWidget()->firstDayOfWeek(), CFirstDayOfWeek::ToQt(weekday));
    }
}
