// The main frame, built for real offscreen.
#include "AppFixture.h"
#include "CAnnulation.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "LookPalette.h"
#include "CMainFrame.h"
#include "CMainFrameViews.h"
#include "CMyDockablePane.h"
#include "CLanguageSelector.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "LanguageFixture.h"
#include "MainFramePlacement.h"
#include "TextsProvider.h"
#include "MessageBus.h"
#include "RegisteredMessages.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

namespace {

// Records what the frame asks of its panes and views.
class RecordingViews : public CMainFrameViews
{
public:
    void RefreshForecast(bool reload, bool keepScroll) override
    {
        calls << QStringLiteral("forecast(%1,%2)").arg(reload).arg(keepScroll);
    }
    void RefreshForecastOnTimer() override { calls << QStringLiteral("forecastTimer"); }
    void ReloadProjectsBranch() override { calls << QStringLiteral("projects"); }
    void ReloadActivitiesBranch() override { calls << QStringLiteral("activities"); }
    void RefreshProjectItem(int id) override { calls << QStringLiteral("item(%1)").arg(id); }
    void RefreshTaskPane() override { calls << QStringLiteral("tasks"); }
    void RefreshActiveViews() override { calls << QStringLiteral("views"); }
    void RefreshRunningTask() override { calls << QStringLiteral("running"); }
    int CalendarViewType() const override { return viewType; }
    QStringList calls;
    int viewType = 2;
};

class MainFrameTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        frame = std::make_unique<CMainFrame>(*app);
        frame->SetViews(&views);
        frame->show();
    }
    void TearDown() override
    {
        frame.reset();
        AppFixture::TearDown();
    }
    QList<int> toolBarIds() const
    {
        QList<int> ids;
        for (QAction *a : frame->MainToolBar()->actions())
            ids << (a->isSeparator() ? 0 : a->data().isValid() ? a->data().toInt() : CMainFrame::DatePickerId);
        return ids;
    }
    int forecastSetting(const char16_t *name) const
    {
        return Platform::Settings().getInt(u"Workspace", u"Forecast", QStringView(name), -1);
    }

    RecordingViews views;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(MainFrameTest, PanesToolbarsAndCommandsStandAsLaidOut)
{
    const struct
    {
        int id;
        QString caption;
    } panes[] = {{134, QStringLiteral("Projets / Activités")}, {133, QStringLiteral("Calendrier")},
                 {135, QStringLiteral("Utilisateurs")},        {136, QStringLiteral("Tâches")},
                 {137, QStringLiteral("Rapports")},            {138, QStringLiteral("Suivi de projets")}};
    for (const auto &p : panes) {
        CMyDockablePane *pane = frame->findChild<CMyDockablePane *>(QString::number(p.id));
        ASSERT_NE(pane, nullptr) << p.id;
        EXPECT_EQ(pane->windowTitle(), p.caption);
        EXPECT_EQ(frame->dockWidgetArea(pane), p.id == 138 ? Qt::BottomDockWidgetArea : Qt::LeftDockWidgetArea);
    }
    auto tabbedWith = [this](int id) {
        QList<int> ids;
        for (QDockWidget *d : frame->tabifiedDockWidgets(frame->Pane(id)))
            ids << d->objectName().toInt();
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    EXPECT_EQ(tabbedWith(133), QList<int>{135});
    EXPECT_EQ(tabbedWith(134), (QList<int>{136, 137}));
    EXPECT_TRUE(tabbedWith(138).isEmpty());

    EXPECT_EQ(toolBarIds(), CMainFrame::MainToolBarButtons());
    ASSERT_EQ(frame->UsersToolBar()->actions().size(), 2);
    EXPECT_EQ(frame->UsersToolBar()->actions().at(0)->data().toInt(), 32956);
    EXPECT_EQ(frame->UserCombo()->objectName(), QStringLiteral("33000"));

    // Commands whose window is not built yet are greyed; the frame's own work.
    for (int id : {32942, 32943, 32794, 57600, 32796, 32956})
        EXPECT_FALSE(frame->Commands().Action(id)->isEnabled()) << id;
    for (int id : {210, 218, 259, 33041, 32840, 57665})
        EXPECT_TRUE(frame->Commands().Action(id)->isEnabled()) << id;
    EXPECT_EQ(frame->minimumSize(), QSize(800, 500));
    frame->resize(300, 200);
    EXPECT_GE(frame->width(), 800);
    EXPECT_GE(frame->height(), 500);
    // The menu bar holds every pop-up with its key.
    QStringList titles;
    for (QAction *a : frame->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("&Fichier"), QStringLiteral("É&dition"),
                                   QStringLiteral("&Affichage"), QStringLiteral("&Outils"), QStringLiteral("&?")}));
}

TEST_F(MainFrameTest, DataChangesReachThePanesAndViewsInOrder)
{
    const struct
    {
        qint64 w, l;
        QStringList calls;
    } cases[] = {
        {0, 0, {"forecast(0,1)", "views"}},
        {0, 1, {"forecast(1,1)", "projects", "tasks", "views"}},
        {0, 3, {"forecast(1,0)", "projects", "tasks", "views"}},
        {1, 42, {"forecast(0,1)", "item(42)", "views"}},
        {2, 0, {"forecast(1,1)", "projects", "views", "tasks"}},
        {3, 0, {"activities", "forecast(0,1)", "views", "tasks"}},
        {4, 0, {}},
        {-1, 0, {}},
    };
    for (const auto &c : cases) {
        views.calls.clear();
        CAppData::DataChangedNotifier().Send(c.w, c.l);
        EXPECT_EQ(views.calls, c.calls) << c.w << "/" << c.l;
    }
}

TEST_F(MainFrameTest, TheForecastWindowSurvivesEveryWayOut)
{
    QPointer<QWidget> forecast = frame->ForecastWindow();
    CMyDockablePane *pane = frame->Pane(CMainFrame::PaneForecast);
    ASSERT_EQ(pane->widget(), forecast.data());

    // Into a document and back by the toggle, the mode, the tab's button.
    frame->ToggleForecastMode();
    ASSERT_TRUE(frame->ForecastFrame());
    EXPECT_EQ(frame->ForecastFrame()->widget(), forecast.data());
    EXPECT_TRUE(frame->ForecastAsDocument());
    EXPECT_FALSE(pane->isVisible());
    frame->OnToggleForecastView();
    EXPECT_FALSE(frame->ForecastFrame());
    EXPECT_TRUE(forecast);
    EXPECT_EQ(pane->widget(), forecast.data());
    EXPECT_TRUE(frame->ForecastAsDocument()); // the chosen mode stays

    frame->OnToggleForecastView(); // the pane is hidden? no: shown as a document again
    ASSERT_TRUE(frame->ForecastFrame());
    QTabBar *tabs = frame->MdiArea()->findChild<QTabBar *>();
    ASSERT_NE(tabs, nullptr);
    emit tabs->tabCloseRequested(tabs->currentIndex());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame->ForecastFrame());
    ASSERT_TRUE(forecast);
    EXPECT_EQ(pane->widget(), forecast.data());

    frame->ToggleForecastMode();
    ASSERT_TRUE(frame->ForecastFrame());
    frame->ForecastFrame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(forecast);
    EXPECT_EQ(pane->widget(), forecast.data());

    // Closing the frame with the document open.
    frame->ToggleForecastMode();
    ASSERT_TRUE(frame->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(forecast);
    EXPECT_EQ(pane->widget(), forecast.data());
}

TEST_F(MainFrameTest, ClosingWritesTheForecastPlaceThatTheNextFrameRestores)
{
    frame->ToggleForecastMode();
    frame->MdiArea()->setActiveSubWindow(frame->ForecastFrame());
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(forecastSetting(u"ForecastView MDI"), 1);
    EXPECT_EQ(forecastSetting(u"ForecastView Active"), 1);
    EXPECT_EQ(forecastSetting(u"ForecastView"), 1);

    frame = std::make_unique<CMainFrame>(*app);
    EXPECT_TRUE(frame->RestoreForecastView());
    EXPECT_TRUE(frame->ForecastFrame());
    EXPECT_TRUE(frame->ForecastAsDocument());

    // Docked and hidden: nothing reopens.
    frame->ToggleForecastMode();
    ASSERT_TRUE(frame->close());
    EXPECT_EQ(forecastSetting(u"ForecastView MDI"), 0);
    EXPECT_EQ(forecastSetting(u"ForecastView"), 0);
    frame = std::make_unique<CMainFrame>(*app);
    EXPECT_FALSE(frame->RestoreForecastView());
    EXPECT_FALSE(frame->ForecastFrame());
}

TEST_F(MainFrameTest, ACancelledReportQuestionKeepsTheProgramOpen)
{
    // Two report windows: the first answers Cancel, the second is never asked.
    QStringList asked;
    const QList<bool> answers = {false, true};
    frame->SetCloseReportsHook([&] {
        for (int i = 0; i < answers.size(); ++i) {
            asked << QStringLiteral("report%1").arg(i);
            if (!answers[i])
                return false;
        }
        return true;
    });
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(asked, QStringList{QStringLiteral("report0")});
    EXPECT_EQ(forecastSetting(u"ForecastView MDI"), -1); // nothing saved
}

TEST_F(MainFrameTest, TheToolbarShowsTheButtonsOfTheActiveWindow)
{
    const struct
    {
        int kind, viewType;
        QList<int> shown, hidden;
    } cases[] = {
        {1, 1, {32849, 32850, 33001, 32921, 32938}, {32852, 32856, 32854, 32858, 32803, 57607}},
        {1, 2, {32852, 32856, 33001}, {32849, 32850, 32854, 32858, 32815}},
        {1, 3, {32854, 32858, 33001}, {32849, 32850, 32852, 32856}},
        {1, 0, {32849, 32850, 33001}, {32852, 32854}},
        {2, 2, {32921, 32920, 32938, 32794, 57664}, {32849, 33001, 32900, 32910, 32912, 32803, 57607}},
        {3, 1, {32803, 32815, 32832, 32875, 32818, 57607, 32942}, {32849, 33001, 32921, 32938, 32912}},
    };
    for (const auto &c : cases) {
        const QList<int> hidden = CMainFrame::HiddenToolBarButtons(c.kind, c.viewType);
        for (int id : c.shown)
            EXPECT_FALSE(hidden.contains(id)) << c.kind << "/" << c.viewType << " " << id;
        for (int id : c.hidden)
            EXPECT_TRUE(hidden.contains(id)) << c.kind << "/" << c.viewType << " " << id;
    }
    // The forecast document keeps the first separator of the calendar group.
    const QList<int> buttons = CMainFrame::MainToolBarButtons();
    const int firstSeparator = int(buttons.indexOf(0, buttons.indexOf(32858)));
    EXPECT_FALSE(CMainFrame::HiddenToolBarButtons(2, 1).contains(-(firstSeparator + 1)));

    // On the real toolbar: the forecast document hides the date picker.
    frame->ToggleForecastMode();
    frame->MdiArea()->setActiveSubWindow(frame->ForecastFrame());
    frame->UpdateToolBarForActiveView();
    EXPECT_FALSE(frame->ToolBarAction(CMainFrame::DatePickerId)->isVisible());
    EXPECT_TRUE(frame->ToolBarAction(32921)->isVisible());
    EXPECT_FALSE(frame->ToolBarAction(32900)->isVisible());
    // The menus keep their own items: the command itself stays visible.
    EXPECT_TRUE(frame->Commands().Action(32900)->isVisible());
}

TEST_F(MainFrameTest, TheDesktopsKeysReachTheirCommandsAndNoKeyServesTwo)
{
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    // The report window's commands: live once it gives them their handler.
    QList<int> ran;
    for (int id : {32815, 57607})
        frame->Commands().SetHandler(id, [&ran, id] { ran << id; });
    QTest::keyClick(frame.get(), Qt::Key_F5);
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ran, (QList<int>{32815, 57607}));
    // Greyed (no window that prints), the key does nothing.
    frame->Commands().SetHandler(57607, {});
    QTest::keyClick(frame.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ran.size(), 2);

    // The File menu shows the key of "Quitter", which closes the window.
    QAction *quit = frame->Commands().Action(57665);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *file = frame->menuBar()->findChild<QMenu *>(QStringLiteral("-1"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->actions().contains(quit));

    // A key bound to two commands would run neither.
    QHash<QKeySequence, QStringList> owners;
    for (QAction *action : frame->findChildren<QAction *>()) {
        for (const QKeySequence &key : action->shortcuts())
            owners[key] << action->objectName();
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toString().toStdString() << ": " << it.value().join(u',').toStdString();

    QTest::keyClick(frame.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, TheViewMenuOffersOnlyThePairOfTheShownView)
{
    QMenu *view = frame->menuBar()->findChild<QMenu *>(QStringLiteral("-3"));
    ASSERT_NE(view, nullptr);
    const struct
    {
        int viewType;
        QList<int> visible;
    } cases[] = {{1, {32849, 32850}}, {2, {32852, 32856}}, {3, {32854, 32858}}};
    for (const auto &c : cases) {
        CMainFrame::FilterNavigationItems(view, c.viewType);
        for (int id : {32849, 32850, 32852, 32856, 32854, 32858}) {
            EXPECT_EQ(frame->Commands().Action(id)->isVisible(), c.visible.contains(id)) << c.viewType << " " << id;
            // The toolbar's buttons are the toolbar's own business (no
            // calendar window: the day pair).
            EXPECT_EQ(frame->ToolBarAction(id)->isVisible(), id == 32849 || id == 32850) << id;
        }
    }
}

TEST_F(MainFrameTest, TicksCountTheRunningEntryAndTheNetworkRefresh)
{
    const qint64 now = QDateTime(QDate(2024, 3, 5), QTime(10, 0)).toSecsSinceEpoch();
    Platform::Clock::setFixedNow(now);
    tCurrentEntry &current = app->CurrentEntry();
    current.Entry.Id = 7;
    current.Entry.Debut = now - 600;
    frame->OnTimer();
    EXPECT_EQ(current.Elapsed, 600);
    current.Entry.Debut = now + 60; // a start in the future
    frame->OnTimer();
    EXPECT_EQ(current.Elapsed, 0);

    const struct
    {
        int lanTime;
        QList<int> counts;
    } cases[] = {{-1, {0, 0, 0}}, {0, {0, 0, 0}}, {60, {30, 0, 30}}, {90, {30, 60, 0}}};
    for (const auto &c : cases) {
        frame = std::make_unique<CMainFrame>(*app);
        app->Configuration().lanTime = c.lanTime;
        QList<int> counts;
        for (int i = 0; i < 3; ++i) {
            frame->OnTimer();
            counts << frame->LanSeconds();
        }
        EXPECT_EQ(counts, c.counts) << c.lanTime;
    }
}

TEST_F(MainFrameTest, TheDatePickerTellsTypedChangesAndTheCalendarsCloseUp)
{
    CMyMFCToolBarDateTimeCtrl *picker = frame->DatePicker();
    ASSERT_NE(picker, nullptr);
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    picker->SetTimeAll(QDate(2024, 3, 5));
    QSignalSpy commands(picker, &CMyMFCToolBarDateTimeCtrl::command);
    EXPECT_EQ(commands.count(), 0); // the application's own moves are silent

    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    EXPECT_EQ(commands.count(), 1);
    EXPECT_EQ(app->CurrentDate(), QDate(2024, 3, 6));

    // Days picked in the open calendar are told once, at close-up.
    QWidget *popup = picker->calendarWidget()->window();
    popup->show();
    picker->calendarWidget()->setSelectedDate(QDate(2024, 3, 20));
    emit picker->calendarWidget()->clicked(QDate(2024, 3, 20));
    popup->hide();
    EXPECT_EQ(commands.count(), 2);
    EXPECT_EQ(app->CurrentDate(), picker->date());
}

TEST_F(MainFrameTest, ThePaneMenuFollowsThePanesState)
{
    CMyDockablePane *pane = frame->Pane(CMainFrame::PaneTasks);
    QMenu menu;
    auto item = [&menu](int id) {
        for (QAction *a : menu.actions())
            if (a->data().toInt() == id)
                return a;
        return static_cast<QAction *>(nullptr);
    };
    pane->FillPaneMenu(menu);
    ASSERT_EQ(menu.actions().size(), 4);
    EXPECT_EQ(item(604)->text(), QStringLiteral("Flottante"));
    EXPECT_FALSE(item(604)->isChecked());
    EXPECT_TRUE(item(605)->isChecked());
    EXPECT_FALSE(item(607)->isEnabled()); // no auto-hide here
    EXPECT_TRUE(item(608)->isEnabled());

    item(604)->trigger();
    EXPECT_TRUE(pane->isFloating());
    pane->FillPaneMenu(menu);
    EXPECT_TRUE(item(604)->isChecked());
    EXPECT_FALSE(item(605)->isChecked());
    item(605)->trigger();
    EXPECT_FALSE(pane->isFloating());

    pane->setFeatures(QDockWidget::DockWidgetMovable);
    pane->setAllowedAreas(Qt::NoDockWidgetArea);
    pane->FillPaneMenu(menu);
    EXPECT_FALSE(item(604)->isEnabled());
    EXPECT_FALSE(item(605)->isEnabled());
    EXPECT_FALSE(item(608)->isEnabled());

    EXPECT_EQ(pane->CloseButton()->toolTip(), QStringLiteral("Fermer"));
    QTest::mouseClick(pane->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(pane->isVisible());
    EXPECT_FALSE(frame->Commands().Action(257)->isChecked());
    frame->Commands().Action(257)->trigger();
    EXPECT_TRUE(pane->isVisible());
}

TEST_F(MainFrameTest, ALooksPaletteIsStoredAndTheLocalesFirstDayKept)
{
    frame->Commands().Action(216)->trigger();
    EXPECT_EQ(frame->ApplicationLook(), 216);
    EXPECT_EQ(Platform::Settings().getInt(u"Workspace", u"", u"ApplicationLook", 0), 216);
    EXPECT_TRUE(frame->Commands().Action(216)->isChecked());
    EXPECT_LT(qGray(QApplication::palette().color(QPalette::Window).rgb()), 100);

    // A locale whose week starts on Saturday keeps Saturday.
    const QLocale before;
    app->Configuration().firstDayFromLocale = true;
    const struct
    {
        QLocale locale;
        int firstDay;
    } cases[] = {{QLocale(QLocale::Arabic, QLocale::Egypt), 7},
                 {QLocale(QLocale::French, QLocale::France), 2},
                 {QLocale(QLocale::English, QLocale::UnitedStates), 1}};
    for (const auto &c : cases) {
        QLocale::setDefault(c.locale);
        frame->OnSettingChange();
        EXPECT_EQ(app->Configuration().firstDayOfWeek, c.firstDay) << c.locale.name().toStdString();
    }
    QLocale::setDefault(before);
}

TEST_F(MainFrameTest, ATrayRefreshReloadsAndEmptiesTheUndoHistory)
{
    addUser(QStringLiteral("Anne"));
    views.calls.clear();
    const qint64 answer = frame->OnRefreshFromTray();
    EXPECT_EQ(answer, Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray));
    EXPECT_EQ(views.calls, (QStringList{QStringLiteral("forecast(0,1)"), QStringLiteral("views"),
                                        QStringLiteral("tasks")}));
    EXPECT_FALSE(app->Annulation().CanUndo());
    EXPECT_EQ(frame->OnAreYouZarvo(), Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvo));
}

TEST_F(MainFrameTest, ABrokenSavedLayoutGivesWayToTheDefaultOne)
{
    Platform::Settings().setBinary(u"Workspace", u"MainFrame", u"State", QByteArray("not a layout"));
    EXPECT_FALSE(frame->RestoreWorkspace());
    EXPECT_EQ(frame->dockWidgetArea(frame->Pane(CMainFrame::PaneForecast)), Qt::BottomDockWidgetArea);
    frame->SaveWorkspace();
    EXPECT_TRUE(frame->RestoreWorkspace());
}

// The window starts within its screen's free area, and a layout saved on a
// larger screen, reaching beyond this one's edges, comes back within it.
TEST_F(MainFrameTest, TheWindowStartsAndComesBackWithinItsScreen)
{
    ASSERT_NE(frame->screen(), nullptr);
    const QRect available = frame->screen()->availableGeometry();
    ASSERT_NE(frame->windowHandle(), nullptr);
    const QSize room = available.size().shrunkBy(frame->windowHandle()->frameMargins());
    EXPECT_FALSE(frame->RestoreWorkspace());
    EXPECT_TRUE(available.contains(frame->frameGeometry()));
    EXPECT_EQ(frame->size(), MainFramePlacement::PreferredSize.boundedTo(room));
    EXPECT_EQ(frame->minimumSize(), MainFramePlacement::MinimumSize.boundedTo(room));

    frame->setGeometry(QRect(available.topLeft() + QPoint(300, 200), available.size() + QSize(400, 300)));
    frame->SaveWorkspace();
    EXPECT_TRUE(frame->RestoreWorkspace());
    EXPECT_TRUE(available.contains(frame->frameGeometry()));
    EXPECT_EQ(frame->size(), room);
}

TEST_F(MainFrameTest, LooksShadeTheirBevelsFromTheWindowAndGreyDisabledTexts)
{
    for (int look = 210; look <= 218; ++look) {
        SCOPED_TRACE(look);
        const QPalette palette = LookPalette::ForLook(look);
        const int window = qGray(palette.color(QPalette::Window).rgb());
        const int dark = qGray(palette.color(QPalette::Dark).rgb());
        // A shadow a little darker than the window, never black on a light one.
        EXPECT_LT(dark, window);
        if (window > 150) {
            EXPECT_GT(dark, 60);
        }
        const QColor text = palette.color(QPalette::Active, QPalette::Text);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            const int disabled = qGray(palette.color(QPalette::Disabled, role).rgb());
            EXPECT_GT(qAbs(disabled - qGray(text.rgb())), 40) << "disabled text stands apart from text";
            EXPECT_GT(qAbs(disabled - window), 40) << "and is still readable";
        }
    }
}

TEST_F(MainFrameTest, MenusCaptionsAndCommonTextsFollowTheLanguage)
{
    LanguageFixture english;
    english.langId = 1033;
    english.menus = {{128, -1, QStringLiteral("&File")},
                     {128, -3, QStringLiteral("&View")},
                     {128, -4, QStringLiteral("A&ppearance")},
                     {128, 32942, QStringLiteral("Undo")},
                     {128, 32800, QStringLiteral("Day")}};
    english.strings = {{259, QStringLiteral("Projects / Activities")},
                       {57345, QStringLiteral("Ready")},
                       {173, QStringLiteral("Error")}};
    const QString folder = LanguageFixture::programFolder();
    english.write(folder, QStringLiteral("Enu"));
    CLanguageSelector languages(folder + QStringLiteral("Zarvo"));
    CLanguageSelector::SetApplication(&languages);
    TextsProvider::Install();
    auto popupTitle = [this](int key) {
        QMenu *popup = frame->menuBar()->findChild<QMenu *>(QString::number(key));
        return popup ? popup->title() : QString();
    };

    languages.SetLanguage(1033);
    frame->ApplyLanguage(false);
    EXPECT_EQ(popupTitle(-1), QStringLiteral("&File"));
    EXPECT_EQ(popupTitle(-3), QStringLiteral("&View"));
    EXPECT_EQ(popupTitle(-4), QStringLiteral("A&ppearance"));
    EXPECT_EQ(popupTitle(-2), QStringLiteral("É&dition")); // not translated: the French stays
    EXPECT_EQ(frame->Commands().Action(32942)->text(), QStringLiteral("Undo"));
    EXPECT_EQ(frame->Commands().Action(32800)->text(), QStringLiteral("Day"));
    EXPECT_EQ(frame->Commands().Action(32943)->text(), QStringLiteral("Rétablir"));
    EXPECT_EQ(frame->Pane(CMainFrame::PaneProject)->windowTitle(), QStringLiteral("Projects / Activities"));
    EXPECT_EQ(app->CommonTextAt(CZarvoWinApp::TextIdle), QStringLiteral("Ready"));
    EXPECT_EQ(app->CommonTextAt(CZarvoWinApp::TextError), QStringLiteral("Error"));
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Ready"));

    languages.SetLanguage(1036);
    frame->ApplyLanguage(false);
    EXPECT_EQ(popupTitle(-1), QStringLiteral("&Fichier"));
    EXPECT_EQ(popupTitle(-3), QStringLiteral("&Affichage"));
    EXPECT_EQ(frame->Commands().Action(32942)->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(frame->Pane(CMainFrame::PaneProject)->windowTitle(), QStringLiteral("Projets / Activités"));
    EXPECT_EQ(app->CommonTextAt(CZarvoWinApp::TextIdle), QStringLiteral("Prêt"));

    TextsProvider::Uninstall();
    CLanguageSelector::SetApplication(nullptr);
}
