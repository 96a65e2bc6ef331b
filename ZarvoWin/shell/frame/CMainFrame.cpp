#include "CMainFrame.h"
#include "LookPalette.h"
#include "MainFramePlacement.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "ComboPopupBound.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "CDayCache.h"
#include "CForecastFrame.h"
#include "CFrameViews.h"
#include "CMainFrameViews.h"
#include "CMyDockablePane.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "CPaneCalendar.h"
#include "CPaneForecast.h"
#include "CPaneProject.h"
#include "CPaneReport.h"
#include "CPaneTask.h"
#include "CPaneUser.h"
#include "CUsers.h"
#include "CViewSynchro.h"
#include "CViewUsers.h"
#include "CZarvoWinApp.h"
#include "Clock.h"
#include "MessageBus.h"
#include "RegisteredMessages.h"
#include "ScreenFit.h"
#include "Settings.h"
#include "Texts.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QWidgetAction>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int Separator = 0;

// The main toolbar, in order (0: a separator).
const QList<int> MainButtons = {
    32794, 32840, Separator, 32942, 32943, Separator, 32800, 32801, 32802, 32849, 32852, 32854, 33001,
    32850, 32856, 32858, Separator, 32921, 32920, Separator, 32938, 32900, 32902, Separator, 32910, 32904,
    32912, Separator, 57600, 32803, 32815, 32832, 32875, 32818, 57607, Separator, 33041, Separator, 57664};

// Theme icons of the toolbar and menu commands.
QIcon commandIcon(int id)
{
    static const QHash<int, const char *> names = {
        {32794, "smartphone"},          {32840, "folder-remote"},       {32942, "edit-undo"},
        {32943, "edit-redo"},           {32800, "view-calendar-day"},   {32801, "view-calendar-week"},
        {32802, "view-calendar-month"}, {32849, "go-previous"},         {32852, "go-previous"},
        {32854, "go-previous"},         {32850, "go-next"},             {32856, "go-next"},
        {32858, "go-next"},             {32921, "media-playback-pause"}, {32920, "media-playback-start"},
        {32938, "list-add"},            {32900, "document-edit"},       {32902, "edit-delete"},
        {32910, "edit-cut"},            {32904, "edit-copy"},           {32912, "edit-paste"},
        {57600, "document-new"},        {32803, "configure"},           {32815, "view-refresh"},
        {32832, "document-save"},       {32875, "document-save-as"},    {32818, "document-export"},
        {57607, "document-print"},      {33041, "view-calendar-timeline"}, {57664, "help-about"},
        {32956, "system-users"},        {32796, "configure"},           {32816, "go-jump-today"},
        {33138, "document-save-as"},    {32896, "document-revert"},     {57665, "application-exit"},
        {57670, "help-contents"},       {32933, "system-software-update"}, {32784, "folder-new"},
    };
    const char *name = names.value(id, nullptr);
    return name ? QIcon::fromTheme(QString::fromLatin1(name)) : QIcon();
}

struct MenuRow
{
    int id;           // a command, 0 a separator, a negative key a pop-up
    int depth;        // 0 the menu bar, 1 its pop-ups' items, 2 a sub-menu's
};

// The menu bar: pop-ups keyed -1, -2 ... depth-first, each followed by its
// items.
constexpr MenuRow MenuRows[] = {
    {-1, 0},
    {57600, 1}, {33138, 1}, {0, 1}, {32896, 1}, {32959, 1},
    {0, 1}, {57665, 1},
    {-2, 0},
    {32942, 1}, {32943, 1}, {0, 1}, {32938, 1}, {32921, 1},
    {32920, 1}, {0, 1}, {32784, 1}, {32785, 1}, {32787, 1},
    {0, 1}, {32789, 1}, {32791, 1},
    {-3, 0},
    {32800, 1}, {32801, 1}, {32802, 1}, {0, 1}, {32816, 1},
    {32849, 1}, {32850, 1}, {32852, 1}, {32856, 1}, {32854, 1},
    {32858, 1}, {0, 1}, {259, 1}, {257, 1}, {258, 1},
    {155, 1}, {156, 1}, {33041, 1}, {506, 1}, {0, 1},
    {-4, 1},
    {210, 2}, {211, 2}, {212, 2}, {213, 2}, {214, 2},
    {215, 2}, {216, 2}, {217, 2}, {218, 2},
    {-5, 0},
    {32794, 1}, {32840, 1}, {0, 1}, {32956, 1}, {32977, 1},
    {0, 1}, {32796, 1},
    {-6, 0},
    {57670, 1}, {32933, 1}, {0, 1}, {57664, 1},
};

// The numbers whose texts fill the application's 32 common texts, in order
// (0: a single space).
constexpr Platform::TextId CommonTextIds[] = {57345, 173, 166, 226, 237, 238, 261, 262, 263, 252, 164,
                                              165,   501, 502, 0,   507, 508, 509, 510, 511, 0,   583,
                                              582,   542, 516, 558, 516, 522, 544, 575, 679, 682};
static_assert(std::size(CommonTextIds) == CZarvoWinApp::CommonTextCount);

QString commonText(int id)
{
    return id == 0 ? QStringLiteral(" ") : Platform::Texts::get(id);
}

// The pane toggles of the View menu and the pane each shows.
const QHash<int, int> PaneOfCommand = {{259, CMainFrame::PaneProject},  {257, CMainFrame::PaneTasks},
                                       {258, CMainFrame::PaneReports},  {155, CMainFrame::PaneCalendar},
                                       {156, CMainFrame::PaneUsers}};

// The calendar group of the main toolbar (from 32849 to 32912) and the
// report group (from 32803 to 57607), as positions in MainButtons.
QList<int> groupPositions(int first, int last)
{
    QList<int> positions;
    const int from = int(MainButtons.indexOf(first));
    const int to = int(MainButtons.indexOf(last));
    for (int i = from; i <= to; ++i)
        positions << i;
    return positions;
}

// A toolbar button of its own for a command: it follows the command's
// texts, state and picture and triggers it, while its visibility is the
// toolbar's alone (the menus show or hide their items independently).
QAction *toolBarButton(QAction *command, QObject *parent)
{
    auto *button = new QAction(parent);
    button->setData(command->data());
    button->setObjectName(QStringLiteral("button") + command->objectName());
    const auto follow = [button, command] {
        button->setIcon(command->icon());
        button->setText(command->text());
        button->setToolTip(command->toolTip());
        button->setStatusTip(command->statusTip());
        button->setEnabled(command->isEnabled());
        button->setCheckable(command->isCheckable());
        button->setChecked(command->isChecked());
    };
    follow();
    QObject::connect(command, &QAction::changed, button, follow);
    QObject::connect(button, &QAction::triggered, command, [command] { command->trigger(); });
    return button;
}

} // namespace

CMainFrame::CMainFrame(CZarvoWinApp &app, QWidget *parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_ownViews(std::make_unique<CFrameViews>(*this))
{
    m_views = m_ownViews.get();
    setObjectName(QStringLiteral("MainFrame"));
    setMinimumSize(MainFramePlacement::MinimumSize);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks | QMainWindow::AllowNestedDocks);
    m_look = Platform::Settings().getInt(u"Workspace", u"", u"ApplicationLook", DefaultLook);
    // Standard pictures come from the desktop's icon theme, Breeze behind it.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    resize(MainFramePlacement::PreferredSize);
    m_frameWatch = new QTimer(this);
    m_frameWatch->setInterval(FrameWatchIntervalMs);
    connect(m_frameWatch, &QTimer::timeout, this, &CMainFrame::PlaceAgainWhenFramed);

    ApplyLanguage(true);
    OnApplicationLook(m_look);

    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    m_mdi->setViewMode(QMdiArea::TabbedView);
    m_mdi->setTabPosition(QTabWidget::North);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    m_mdi->setDocumentMode(true);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { UpdateToolBarForActiveView(); });

    CreateCommands();
    CreateMenus();
    CreateToolBars();
    statusBar()->showMessage(IdleText());
    CreateDockingWindows();
    DockDefaultLayout();
    // The frame is made before the start-up loads the user: the tree panes
    // fill once it is loaded, and the favourites tree then takes the state
    // of the last exit.
    if (!m_app.Startup().restoreTaskPane) {
        m_app.Startup().restoreTaskPane = [frame = QPointer<CMainFrame>(this)] {
            if (frame)
                frame->FillTreePanes();
        };
    }
    FillUserCombo();
    // After a change of user the forecast window takes the new user's
    // layout and plans the freshly loaded projects.
    m_app.Frame().refreshForecastView = [this] { RefreshForecastWindow(false, true, true, true); };

    connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged, this,
            [this](qint64 w, qint64 l) { OnDataChanged(w, l); });
    m_lanSeconds = 0;
    m_timer = new QTimer(this);
    m_timer->setObjectName(QString::number(TimerId));
    m_timer->setInterval(TimerIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &CMainFrame::OnTimer);
    m_timer->start();

    // The tab bar of the documents offers the forecast document's menu.
    if (QTabBar *tabs = m_mdi->findChild<QTabBar *>()) {
        tabs->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(tabs, &QWidget::customContextMenuRequested, this,
                [this, tabs](const QPoint &pos) { ShowMDITabContextMenu(tabs->mapToGlobal(pos)); });
    }
    UpdateToolBarForActiveView();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame()
{
    // Children are going: no more reactions to the documents' activation,
    // neither here nor in the hosts that follow it for this frame.
    disconnect(m_mdi, nullptr, this, nullptr);
    disconnect(m_mdi, &QMdiArea::subWindowActivated, nullptr, nullptr);
    for (CMyDockablePane *pane : std::as_const(m_panes))
        disconnect(pane, nullptr, this, nullptr);
    disconnect(m_usersToolBar, nullptr, this, nullptr);
    m_app.Frame().refreshForecastView = {};
    // The forecast window outlives its document to the very end.
    TakeForecastBack();
}

QList<int> CMainFrame::MainToolBarButtons()
{
    return MainButtons;
}

// ---------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------

void CMainFrame::CreateCommands()
{
    m_commands = new CCommandTable(this);
    for (int id : m_commands->Ids())
        m_commands->Action(id)->setIcon(commandIcon(id));

    auto *looks = new QActionGroup(this);
    for (int look = 210; look <= 218; ++look) {
        QAction *action = m_commands->Action(look);
        action->setCheckable(true);
        action->setChecked(look == m_look);
        looks->addAction(action);
        m_commands->SetHandler(look, [this, look] { OnApplicationLook(look); });
    }
    for (auto it = PaneOfCommand.cbegin(); it != PaneOfCommand.cend(); ++it) {
        m_commands->Action(it.key())->setCheckable(true);
        m_commands->SetHandler(it.key(), [this, id = it.key()] { TogglePane(id); });
    }
    m_commands->Action(506)->setCheckable(true);
    m_commands->SetHandler(506, [this] { TogglePane(506); });
    m_commands->Action(33041)->setCheckable(true);
    m_commands->SetHandler(33041, [this] { OnToggleForecastView(); });
    m_commands->SetHandler(521, [this] { OnToggleForecastView(); });
    m_commands->SetHandler(33101, [this] { OnToggleForecastView(); });
    m_commands->SetHandler(33099, [this] { OnForecastFloating(); });
    m_commands->SetHandler(33100, [this] { OnForecastDockable(); });
    // "Tabbed document" is the forecast document's own state: shown checked.
    m_commands->Action(33057)->setCheckable(true);
    m_commands->Action(33057)->setChecked(true);
    m_commands->SetHandler(57665, [this] { close(); });
    m_commands->SetHandler(32840, [this] { m_app.UpdateFromLan(true); });
    // F1 opens the help's first page, as "Rubriques d'aide" does; the
    // dialogs answer F1 with their own page.
    m_commands->Action(57670)->setShortcut(QKeySequence::HelpContents);
}

void CMainFrame::CreateMenus()
{
    menuBar()->setObjectName(QStringLiteral("MenuBar"));
    QList<QMenu *> open; // the pop-up of each depth being filled
    for (const MenuRow &row : MenuRows) {
        if (row.id < 0) {
            const QString title = CCommandTable::MenuText(row.id);
            QMenu *popup = row.depth == 0 ? menuBar()->addMenu(title) : open.value(row.depth - 1)->addMenu(title);
            popup->setObjectName(QString::number(row.id));
            popup->setProperty("popupKey", row.id);
            open.resize(row.depth + 1);
            open[row.depth] = popup;
            continue;
        }
        QMenu *menu = open.value(row.depth - 1);
        if (!menu)
            continue;
        if (row.id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_commands->Action(row.id));
    }
    // A key works only on an action placed in the window: the commands
    // that only the toolbar shows (the report's) take their keys from the
    // frame itself.
    for (int id : m_commands->Ids()) {
        QAction *action = m_commands->Action(id);
        if (!action->shortcuts().isEmpty())
            addAction(action);
    }
    // The View menu offers only the previous/next pair of the shown view.
    if (QMenu *view = menuBar()->findChild<QMenu *>(QStringLiteral("-3"))) {
        connect(view, &QMenu::aboutToShow, this, [this, view] {
            FilterNavigationItems(view, m_calendarFrame ? m_views->CalendarViewType() : 0);
            UpdateCommandStates();
        });
    }
}

void CMainFrame::CreateToolBars()
{
    m_mainToolBar = new QToolBar(this);
    m_mainToolBar->setObjectName(QString::number(MainToolBarId));
    m_mainToolBar->setIconSize(QSize(24, 24));
    m_mainToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_mainToolBar->setAllowedAreas(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_mainToolBar);
    for (int i = 0; i < MainButtons.size(); ++i) {
        const int id = MainButtons.at(i);
        QAction *placed = nullptr;
        if (id == Separator) {
            placed = m_mainToolBar->addSeparator();
            placed->setObjectName(QStringLiteral("separator%1").arg(i));
        } else if (id == DatePickerId) {
            m_datePicker = new CMyMFCToolBarDateTimeCtrl(m_mainToolBar);
            m_datePicker->SetFirstDayOfWeek(m_app.Configuration().firstDayOfWeek);
            m_datePicker->setLocale(m_app.Configuration().Locale());
            m_datePicker->setDisplayFormat(m_app.Configuration().Locale().dateFormat(QLocale::ShortFormat));
            connect(m_datePicker, &CMyMFCToolBarDateTimeCtrl::command, this, [this] { OnDateSelected(); });
            placed = m_mainToolBar->addWidget(m_datePicker);
        } else {
            placed = toolBarButton(m_commands->Action(id), m_mainToolBar);
            m_mainToolBar->addAction(placed);
        }
        m_toolBarActions.insert(id == Separator ? -(i + 1) : id, placed);
    }

    m_usersToolBar = new QToolBar(this);
    m_usersToolBar->setObjectName(QString::number(UsersToolBarId));
    m_usersToolBar->setIconSize(QSize(24, 24));
    m_usersToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_usersToolBar->setAllowedAreas(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_usersToolBar);
    m_usersToolBar->addAction(toolBarButton(m_commands->Action(32956), m_usersToolBar));
    m_userCombo = new QComboBox(m_usersToolBar);
    ComboPopupBound::Apply(m_userCombo);
    m_userCombo->setObjectName(QString::number(UserComboId));
    m_userCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_userCombo->setMinimumContentsLength(12);
    m_usersToolBar->addWidget(m_userCombo);
    connect(m_userCombo, &QComboBox::activated, this, &CMainFrame::OnUserSelected);
    connect(m_usersToolBar, &QToolBar::visibilityChanged, this, [this] { UpdateCommandStates(); });
    m_mainToolBar->setWindowTitle(Platform::Texts::get(124));
    m_usersToolBar->setWindowTitle(Platform::Texts::get(506));
}

void CMainFrame::CreateDockingWindows()
{
    const struct
    {
        int id;
        int caption;
    } panes[] = {{PaneProject, 259}, {PaneCalendar, 155}, {PaneUsers, 156},
                 {PaneTasks, 257},   {PaneReports, 258},  {PaneForecast, 521}};
    for (const auto &p : panes) {
        CMyDockablePane *pane = MakePane(p.id, p.caption);
        connect(pane, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
        m_panes.insert(p.id, pane);
    }
    // The forecast window belongs to the frame; it starts in its pane. Its
    // library makes it (the shell only holds it); without one the pane
    // holds an empty window.
    if (m_app.Startup().makeForecastWindow)
        m_forecast = m_app.Startup().makeForecastWindow(this);
    if (!m_forecast.window) {
        m_forecast = tForecastWindow();
        m_forecast.window = new QWidget(this);
    }
    m_forecastWindow = m_forecast.window;
    m_forecastWindow->setObjectName(QString::number(ForecastWindowId));
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    pane->setWidget(m_forecastWindow);
    // Shown again, the window catches up with what changed while hidden.
    connect(pane, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            RefreshForecastWindow(false, false, false, true);
    });
}

CMyDockablePane *CMainFrame::MakePane(int id, int caption)
{
    switch (id) {
    case PaneCalendar: {
        auto *calendar = new CPaneCalendar(this);
        calendar->SetCalendarLocale(m_app.Configuration().Locale());
        connect(calendar, &CPaneCalendar::dateChosen, this, [this](const QDate &date) { m_app.SetCurrentDate(date, true); });
        return calendar;
    }
    case PaneUsers:
        return new CPaneUser(m_app, m_commands->Action(32956), this);
    case PaneForecast:
        return new CPaneForecast(this);
    case PaneProject:
        return new CPaneProject(m_app, this);
    case PaneTasks:
        return new CPaneTask(m_app, this);
    case PaneReports:
        return new CPaneReport(m_app, this);
    default: {
        auto *pane = new CMyDockablePane(id, caption, this);
        pane->setWidget(new QWidget(pane));
        pane->widget()->setMinimumSize(200, 200);
        return pane;
    }
    }
}

CPaneCalendar *CMainFrame::CalendarPane() const
{
    return qobject_cast<CPaneCalendar *>(m_panes.value(PaneCalendar));
}

CPaneUser *CMainFrame::UsersPane() const
{
    return qobject_cast<CPaneUser *>(m_panes.value(PaneUsers));
}

CPaneForecast *CMainFrame::ForecastPane() const
{
    return qobject_cast<CPaneForecast *>(m_panes.value(PaneForecast));
}

int CMainFrame::TabsWidth(const QList<QDockWidget *> &panes)
{
    // A tab bar like the one the dock area puts below tabbed panes, in this
    // window's font and style, never shown.
    QTabBar probe(this);
    probe.hide();
    probe.setShape(QTabBar::RoundedSouth);
    for (const QDockWidget *pane : panes) {
        if (pane)
            probe.addTab(pane->windowTitle());
    }
    return probe.sizeHint().width();
}

void CMainFrame::DockDefaultLayout()
{
    CMyDockablePane *calendar = m_panes.value(PaneCalendar);
    CMyDockablePane *users = m_panes.value(PaneUsers);
    CMyDockablePane *project = m_panes.value(PaneProject);
    addDockWidget(Qt::LeftDockWidgetArea, calendar);
    splitDockWidget(calendar, project, Qt::Vertical);
    tabifyDockWidget(calendar, users);
    users->raise();
    tabifyDockWidget(project, m_panes.value(PaneTasks));
    tabifyDockWidget(project, m_panes.value(PaneReports));
    project->raise();
    addDockWidget(Qt::BottomDockWidgetArea, m_panes.value(PaneForecast));
    for (CMyDockablePane *pane : std::as_const(m_panes))
        pane->show();
    // Wide enough for the tabs below the tabbed panes to show their
    // captions whole.
    const int left = std::max({200, TabsWidth({calendar, users}),
                               TabsWidth({project, m_panes.value(PaneTasks), m_panes.value(PaneReports)})});
    resizeDocks({calendar, project}, {left, left}, Qt::Horizontal);
    resizeDocks({m_panes.value(PaneForecast)}, {200}, Qt::Vertical);
}

void CMainFrame::FillTreePanes()
{
    if (auto *projects = qobject_cast<CPaneProject *>(Pane(PaneProject)))
        projects->FillTree();
    if (auto *reports = qobject_cast<CPaneReport *>(Pane(PaneReports)))
        reports->FillTree(false);
    if (auto *tasks = qobject_cast<CPaneTask *>(Pane(PaneTasks))) {
        tasks->Refresh(false, true);
        tasks->RestoreState();
    }
}

void CMainFrame::SetPaneWidget(int id, QWidget *widget)
{
    CMyDockablePane *pane = m_panes.value(id);
    if (!pane || id == PaneForecast)
        return;
    QWidget *old = pane->widget();
    pane->setWidget(widget);
    delete old;
}

void CMainFrame::SetViews(CMainFrameViews *views)
{
    m_views = views ? views : m_ownViews.get();
}

QMdiSubWindow *CMainFrame::CreateChildFrame(QWidget *content, const QString &title)
{
    QMdiSubWindow *child = m_mdi->addSubWindow(content);
    if (!child)
        return nullptr;
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowTitle(title);
    child->showMaximized();
    return child;
}

// ---------------------------------------------------------------------------
// Change notices, timer, messages
// ---------------------------------------------------------------------------

void CMainFrame::OnDataChanged(qint64 wParam, qint64 lParam)
{
    switch (wParam) {
    case CDataChangedNotifier::TimeEntries: {
        const bool projectsToo = (lParam & 1) != 0;
        m_views->RefreshForecast(projectsToo, (lParam & 2) == 0);
        if (projectsToo) {
            m_views->ReloadProjectsBranch();
            m_views->RefreshTaskPane();
        }
        m_views->RefreshActiveViews();
        break;
    }
    case CDataChangedNotifier::ProjectFields:
        m_views->RefreshForecast(false, true);
        m_views->RefreshProjectItem(int(lParam));
        m_views->RefreshActiveViews();
        break;
    case CDataChangedNotifier::ProjectTree:
        m_views->RefreshForecast(true, true);
        m_views->ReloadProjectsBranch();
        m_views->RefreshActiveViews();
        m_views->RefreshTaskPane();
        break;
    case CDataChangedNotifier::Activities:
        m_views->ReloadActivitiesBranch();
        m_views->RefreshForecast(false, true);
        m_views->RefreshActiveViews();
        m_views->RefreshTaskPane();
        break;
    default:
        break;
    }
    UpdateCommandStates();
}

void CMainFrame::OnTimer()
{
    tCurrentEntry &current = m_app.CurrentEntry();
    if (current.Entry.Id != -1) {
        const qint64 now = Platform::Clock::now();
        current.Elapsed = current.Entry.Debut < now ? now - current.Entry.Debut : 0;
    }
    if (m_calendarFrame)
        m_views->RefreshRunningTask();
    if (m_forecastWindow)
        m_views->RefreshForecastOnTimer();
    m_views->CheckActiveReport();
    const int lanTime = m_app.Configuration().lanTime;
    if (lanTime > 0) {
        m_lanSeconds += TimerIntervalMs / 1000;
        if (m_lanSeconds >= lanTime) {
            m_lanSeconds = 0;
            m_app.UpdateFromLan(false);
        }
    }
}

qint64 CMainFrame::OnAreYouZarvo()
{
    return Platform::MessageBus::registerMessage(RegisteredMessages::AreYouZarvo);
}

qint64 CMainFrame::OnRefreshFromTray()
{
    {
        CBdD db;
        db.RefreshCurrentEntry();
    }
    // The tray's change is not one of ours to undo: the history goes before
    // the change notice, which greys "Annuler" by it.
    m_app.Annulation().Reset();
    m_app.DayCache().MarkForReload();
    CAppData::DataChangedNotifier().Send(CDataChangedNotifier::TimeEntries, 0);
    m_views->RefreshTaskPane();
    UpdateCommandStates();
    return Platform::MessageBus::registerMessage(RegisteredMessages::RefreshFromTray);
}

void CMainFrame::OnSettingChange()
{
    CConfiguration &settings = m_app.Configuration();
    settings.LoadLocaleFormats();
    if (settings.firstDayFromLocale) {
        // The locale's own first day, Saturday included (Sunday = 1).
        const int first = CConfiguration::WeekdayFromLocale(QLocale());
        settings.firstDayOfWeek = first >= 1 && first <= 7 ? first : 1;
    }
    if (m_datePicker)
        m_datePicker->SetFirstDayOfWeek(settings.firstDayOfWeek);
    if (CPaneCalendar *calendar = CalendarPane())
        calendar->ApplyFirstDayOfWeek();
    m_views->RefreshActiveViews();
    if (CPaneUser *users = UsersPane())
        users->View()->Refill();
}

// ---------------------------------------------------------------------------
// Looks, language, users
// ---------------------------------------------------------------------------

void CMainFrame::OnApplicationLook(int look)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool changed = look != m_look;
    m_look = look;
    LookPalette::Apply(look);
    if (m_commands) {
        if (QAction *action = m_commands->Action(look))
            action->setChecked(true);
    }
    update();
    Platform::Settings settings;
    if (changed || !settings.contains(u"Workspace", u"", u"ApplicationLook")) {
        settings.setInt(u"Workspace", u"", u"ApplicationLook", look);
        Platform::MessageBus::post(Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange), 5, 0);
    }
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::ApplyLanguage(bool firstLoad)
{
    QStringList &texts = m_app.CommonTexts();
    texts.resize(CZarvoWinApp::CommonTextCount);
    for (int i = 0; i < CZarvoWinApp::CommonTextCount; ++i)
        texts[i] = commonText(CommonTextIds[i]);
    if (firstLoad)
        return;

    {
        Platform::Settings settings;
        CZarvoWinApp::ResetSavedLayout(settings, false);
    }
    m_commands->ApplyLanguage();
    for (QMenu *popup : menuBar()->findChildren<QMenu *>()) {
        const int key = popup->property("popupKey").toInt();
        for (const MenuRow &row : MenuRows) {
            if (row.id == key && row.id < 0)
                popup->setTitle(CCommandTable::MenuText(row.id));
        }
    }
    statusBar()->showMessage(IdleText());
    menuBar()->setWindowTitle(Platform::Texts::get(445));
    m_mainToolBar->setWindowTitle(Platform::Texts::get(124));
    m_usersToolBar->setWindowTitle(Platform::Texts::get(506));
    for (CMyDockablePane *pane : std::as_const(m_panes))
        pane->ApplyLanguage();
    if (CPaneUser *users = UsersPane())
        users->View()->Translate();
    if (m_forecastFrame)
        m_forecastFrame->setWindowTitle(Platform::Texts::get(521));
    if (m_syncFrame) {
        if (auto *review = qobject_cast<CViewSynchro *>(m_syncFrame->widget()))
            review->Retranslate();
    }
    if (m_forecast.retranslate)
        m_forecast.retranslate();
    m_app.UpdateMainTitle();
}

void CMainFrame::FillUserCombo()
{
    if (m_userCombo) {
        m_userCombo->clear();
        CComboBoxFiller filler(m_userCombo);
        const int current = m_app.Users().GetCurrentId();
        m_app.Users().FillUserCombo(nullptr, filler, current);
    }
    // The users pane shows the same users and the current one's database.
    if (CPaneUser *users = UsersPane())
        users->View()->Refill();
}

void CMainFrame::OnUserSelected(int index)
{
    if (index < 0)
        return;
    const int id = m_userCombo->itemData(index, CComboBoxFiller::DataRole).toInt();
    m_app.SwitchUser(id);
}

void CMainFrame::OnDateSelected()
{
    m_app.SetCurrentDate(m_datePicker->date(), true);
}

// ---------------------------------------------------------------------------
// Toolbar and menus
// ---------------------------------------------------------------------------

int CMainFrame::ActiveChildKind() const
{
    // The current document, also while the frame itself is not active.
    QMdiSubWindow *active = m_mdi ? m_mdi->currentSubWindow() : nullptr;
    if (!active)
        return ChildCalendar;
    if (active == m_forecastFrame)
        return ChildForecast;
    if (active == m_syncFrame)
        return ChildSynchro;
    for (const QPointer<QWidget> &report : m_app.ReportWindows()) {
        if (report && (report == active || report == active->widget()))
            return ChildReport;
    }
    return ChildCalendar;
}

QList<int> CMainFrame::HiddenToolBarButtons(int childKind, int viewType)
{
    const QList<int> calendar = groupPositions(32849, 32912);
    const QList<int> report = groupPositions(32803, 57607);
    QList<int> hidden; // command ids, separators as -(position + 1)
    auto hide = [&hidden](int position) {
        const int id = MainButtons.at(position);
        hidden << (id == Separator ? -(position + 1) : id);
    };
    if (childKind == ChildForecast) {
        bool firstSeparator = true;
        for (int position : calendar) {
            const int id = MainButtons.at(position);
            if (id == Separator && firstSeparator) {
                firstSeparator = false;
                continue;
            }
            if (id != 32921 && id != 32920 && id != 32938)
                hide(position);
        }
        for (int position : report)
            hide(position);
    } else if (childKind == ChildReport) {
        for (int position : calendar)
            hide(position);
    } else if (childKind == ChildSynchro) {
        for (int position : calendar)
            hide(position);
        for (int position : report)
            hide(position);
    } else {
        QList<int> pairs = {32849, 32850, 32852, 32856, 32854, 32858};
        const QList<int> shown = viewType == 2 ? QList<int>{32852, 32856}
                                 : viewType == 3 ? QList<int>{32854, 32858}
                                                 : QList<int>{32849, 32850};
        for (int id : pairs) {
            if (!shown.contains(id))
                hidden << id;
        }
        for (int position : report)
            hide(position);
    }
    return hidden;
}

void CMainFrame::UpdateToolBarForActiveView()
{
    const int kind = ActiveChildKind();
    const int viewType = m_calendarFrame ? m_views->CalendarViewType() : 0;
    if (kind == m_lastChildKind && (kind != ChildCalendar || viewType == m_lastViewType))
        return;
    m_lastChildKind = kind;
    m_lastViewType = viewType;
    const QList<int> hidden = HiddenToolBarButtons(kind, viewType);
    for (auto it = m_toolBarActions.cbegin(); it != m_toolBarActions.cend(); ++it)
        it.value()->setVisible(!hidden.contains(it.key()));
}

void CMainFrame::FilterNavigationItems(QMenu *menu, int viewType)
{
    const QList<int> shown = viewType == 2 ? QList<int>{32852, 32856}
                             : viewType == 3 ? QList<int>{32854, 32858}
                                             : QList<int>{32849, 32850};
    for (QAction *action : menu->actions()) {
        const int id = action->data().toInt();
        if (id == 32849 || id == 32850 || id == 32852 || id == 32856 || id == 32854 || id == 32858)
            action->setVisible(viewType < 1 || viewType > 3 || shown.contains(id));
    }
}

void CMainFrame::TogglePane(int commandId)
{
    if (commandId == 506) {
        m_usersToolBar->setVisible(!m_usersToolBar->isVisible());
    } else if (CMyDockablePane *pane = m_panes.value(PaneOfCommand.value(commandId))) {
        if (pane->isVisible()) {
            pane->hide();
        } else {
            pane->show();
            pane->raise();
        }
    }
    UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates()
{
    if (!m_commands)
        return;
    for (auto it = PaneOfCommand.cbegin(); it != PaneOfCommand.cend(); ++it) {
        if (CMyDockablePane *pane = m_panes.value(it.value()))
            m_commands->Action(it.key())->setChecked(pane->isVisible());
    }
    if (m_usersToolBar)
        m_commands->Action(506)->setChecked(m_usersToolBar->isVisible());
    const CMyDockablePane *forecast = m_panes.value(PaneForecast);
    m_commands->Action(33041)->setChecked(m_forecastFrame || (forecast && forecast->isVisible()));
}

void CMainFrame::ShowStatusText(const QString &text)
{
    statusBar()->showMessage(text.isEmpty() ? IdleText() : text);
}

QString CMainFrame::IdleText() const
{
    return m_app.CommonTextAt(0).isEmpty() ? commonText(57345) : m_app.CommonTextAt(0);
}

bool CMainFrame::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        // An empty prompt shows the idle text.
        ShowStatusText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    case QEvent::Show:
        if (m_placeWhenFramed) {
            m_frameWatchTicks = 0;
            m_frameWatch->start();
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
        PlaceAgainWhenFramed();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

// ---------------------------------------------------------------------------
// The window on its screen
// ---------------------------------------------------------------------------

QMargins CMainFrame::FrameMargins() const
{
    // Platforms that draw no frame give none; elsewhere, until the window
    // manager has framed the window, a frame of the style's own size.
    const QString platform = QGuiApplication::platformName();
    const bool framed = isVisible() && windowHandle() && !windowHandle()->frameMargins().isNull();
    if (!framed && (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
        return {};
    return ScreenFit::FrameOf(this);
}

void CMainFrame::PlaceOnScreen(bool first)
{
    QScreen *shownOn = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    const QRect available = shownOn->availableGeometry();
    const QMargins frame = FrameMargins();
    setMinimumSize(MainFramePlacement::Minimum(available, frame));
    m_placeWhenFramed = !isVisible() || !windowHandle() || windowHandle()->frameMargins().isNull();
    m_placedFirst = first;
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect inside = first ? MainFramePlacement::First(available, frame)
                               : ScreenFit::Fit(geometry(), available, frame);
    if (inside != geometry())
        setGeometry(inside);
}

void CMainFrame::PlaceAgainWhenFramed()
{
    if (!m_placeWhenFramed || !isVisible() || !windowHandle())
        return;
    if (windowHandle()->frameMargins().isNull()) {
        // The window manager frames the window a moment after it is shown;
        // without one, there never is a frame to wait for.
        if (++m_frameWatchTicks > FrameWatchTicks) {
            m_placeWhenFramed = false;
            m_frameWatch->stop();
        }
        return;
    }
    m_placeWhenFramed = false;
    m_frameWatch->stop();
    // The first size again with the frame as it is, else the window as it
    // was placed, fitted to it.
    PlaceOnScreen(m_placedFirst);
    m_placeWhenFramed = false;
}

// ---------------------------------------------------------------------------
// The forecast window
// ---------------------------------------------------------------------------

void CMainFrame::OpenForecastAsDocument()
{
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    pane->hide();
    pane->setWidget(nullptr);
    auto *frame = new CForecastFrame(this);
    frame->setWidget(m_forecastWindow);
    // Hidden with its pane a moment ago: shown again in its document.
    m_forecastWindow->show();
    m_forecastFrame = frame;
    m_mdi->addSubWindow(frame);
    frame->setWindowTitle(Platform::Texts::get(521));
    frame->showMaximized();
    m_forecastAsDocument = true;
    RefreshForecastWindow(false, false, false, true);
    UpdateCommandStates();
}

void CMainFrame::RefreshForecastWindow(bool reload, bool restoreSaved, bool recompute, bool keepOffset)
{
    if (m_forecast.refresh)
        m_forecast.refresh(reload, restoreSaved, recompute, keepOffset);
}

void CMainFrame::TakeForecastBack()
{
    if (!m_forecastFrame || !m_forecastWindow)
        return;
    if (m_forecastFrame->widget() == m_forecastWindow)
        m_forecastFrame->setWidget(nullptr);
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    if (pane)
        pane->setWidget(m_forecastWindow);
    else
        m_forecastWindow->setParent(this);
    m_forecastWindow->show();
    m_forecastFrame = nullptr;
}

void CMainFrame::OnToggleForecastView()
{
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    if (m_forecastFrame) {
        QMdiSubWindow *frame = m_forecastFrame;
        TakeForecastBack();
        frame->close();
    } else if (pane->isVisible()) {
        pane->hide();
    } else if (m_forecastAsDocument) {
        OpenForecastAsDocument();
    } else {
        pane->show();
    }
    m_views->RefreshForecast(false, true);
    UpdateCommandStates();
}

void CMainFrame::ToggleForecastMode()
{
    if (m_forecastFrame) {
        QMdiSubWindow *frame = m_forecastFrame;
        TakeForecastBack();
        m_forecastAsDocument = false;
        frame->close();
        m_panes.value(PaneForecast)->show();
    } else {
        OpenForecastAsDocument();
    }
    UpdateCommandStates();
}

void CMainFrame::OnForecastFloating()
{
    ToggleForecastMode();
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    if (!m_forecastFrame) {
        pane->setFloating(true);
        pane->show();
    }
}

void CMainFrame::OnForecastDockable()
{
    ToggleForecastMode();
    CMyDockablePane *pane = m_panes.value(PaneForecast);
    if (pane->isFloating())
        pane->setFloating(false);
}

bool CMainFrame::RestoreForecastView()
{
    Platform::Settings settings;
    m_forecastAsDocument = settings.getInt(u"Workspace", u"Forecast", u"ForecastView", 0) != 0;
    const bool active = settings.getInt(u"Workspace", u"Forecast", u"ForecastView Active", 0) != 0;
    if (settings.getInt(u"Workspace", u"Forecast", u"ForecastView MDI", 0) != 0 && !m_forecastFrame)
        OpenForecastAsDocument();
    return active;
}

void CMainFrame::ShowMDITabContextMenu(const QPoint &globalPos)
{
    if (!m_forecastFrame || m_mdi->currentSubWindow() != m_forecastFrame)
        return;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("504"));
    for (int id : {33099, 33100, 33057, 33101})
        menu.addAction(m_commands->Action(id));
    menu.exec(globalPos);
}

// ---------------------------------------------------------------------------
// Closing and the saved layout
// ---------------------------------------------------------------------------

void CMainFrame::SaveWorkspace()
{
    Platform::Settings settings;
    settings.setInt(u"Workspace", u"Forecast", u"ForecastView MDI", m_forecastFrame ? 1 : 0);
    settings.setInt(u"Workspace", u"Forecast", u"ForecastView Active",
                    m_forecastFrame && m_mdi->currentSubWindow() == m_forecastFrame ? 1 : 0);
    settings.setInt(u"Workspace", u"Forecast", u"ForecastView", m_forecastAsDocument ? 1 : 0);
    settings.setBinary(u"Workspace", u"MainFrame", u"Geometry", saveGeometry());
    settings.setBinary(u"Workspace", u"MainFrame", u"State", saveState());
}

bool CMainFrame::RestoreWorkspace()
{
    Platform::Settings settings;
    const QByteArray geometry = settings.getBinary(u"Workspace", u"MainFrame", u"Geometry");
    const QByteArray state = settings.getBinary(u"Workspace", u"MainFrame", u"State");
    // A layout saved on another screen, or before panels took their room,
    // is fitted to the screen as it is now.
    PlaceOnScreen(geometry.isEmpty() || !restoreGeometry(geometry));
    if (state.isEmpty() || !restoreState(state)) {
        DockDefaultLayout();
        return false;
    }
    return true;
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_closeReports && !m_closeReports()) {
        event->ignore();
        return;
    }
    EndSyncReview();
    SaveWorkspace();
    if (m_forecast.saveSettings)
        m_forecast.saveSettings();
    if (m_forecastFrame) {
        QMdiSubWindow *frame = m_forecastFrame;
        TakeForecastBack();
        frame->close();
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// The review of a device synchronisation
// ---------------------------------------------------------------------------

void CMainFrame::ShowSyncReview(CViewSynchro *view)
{
    if (!view)
        return;
    if (m_syncFrame && m_syncFrame->widget() == view) {
        m_mdi->setActiveSubWindow(m_syncFrame);
        return;
    }
    // One review at a time: a new one ends the previous as "Annuler".
    EndSyncReview();
    m_syncFrame = CreateChildFrame(view, view->windowTitle());
    if (m_syncFrame)
        m_mdi->setActiveSubWindow(m_syncFrame);
    UpdateToolBarForActiveView();
}

void CMainFrame::CloseSyncReview(CViewSynchro *view)
{
    if (m_syncFrame && (!view || m_syncFrame->widget() == view))
        m_syncFrame->close();
    else if (view)
        view->close();
}

const ImageList *CMainFrame::SmallImages() const
{
    return &m_app.Images(false);
}

void CMainFrame::EndSyncReview()
{
    if (m_syncFrame)
        m_syncFrame->close();
}
