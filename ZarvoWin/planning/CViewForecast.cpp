#include "CViewForecast.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CClassToolBar.h"
#include "CForecastGridCtrl.h"
#include "CForecastHost.h"
#include "CGanttCtrl.h"
#include "CMyOleDropSource.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CSplitterControl.h"
#include "CTranslationStore.h"
#include "CWaitCursor.h"
#include "ForecastColumns.h"
#include "ForecastImages.h"
#include "ForecastSettings.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "ProjectMenuSource.h"
#include "RememberedMessageBox.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

namespace {

using Rules = ForecastViewRules;

constexpr QStringView ShowChartName = u"ShowGantt";
constexpr QStringView SplitterName = u"Pos Splitter";

// The toolbar's buttons: command, theme icon, the picture of ours where
// the theme has none, and the text of its prompt and tooltip.
struct ToolButton
{
    int id;
    const char *icon;
    const char *fallback;
    Platform::TextId text;
};
constexpr ToolButton ToolButtons[] = {
    {Rules::CmdColumns, "view-list-details", nullptr, 22200},
    {Rules::CmdFilterMenu, "view-filter", nullptr, 22201},
    {Rules::CmdRefresh, "view-refresh", nullptr, 22202},
    {Rules::CmdToggleChart, "gantt-chart", ":/pictures/gantt_toggle.svg", 22203},
    {Rules::CmdZoomOut, "zoom-out", nullptr, 33035},
    {Rules::CmdZoomIn, "zoom-in", nullptr, 33037},
    {Rules::CmdNow, "go-jump-today", nullptr, 22204},
};

// The texts of the project types, statuses 1..5 and priorities 1..5.
const Platform::TextId TypeTexts[] = {141, 554, 555, 551, 552, 556};
const Platform::TextId StatusTexts[] = {583, 582, 542, 516, 558};
const Platform::TextId PriorityTexts[] = {507, 508, 509, 510, 511};

// The question the delete of an activity row asks instead.
constexpr Platform::TextId ResetActivityQuestion = 22205;

// The filter commands of menu 486, then the sort pop-up (key -1).
constexpr int FilterCommands[] = {Rules::CmdShowAll, Rules::CmdShowTicked, Rules::CmdTickRows, 0,
                                  Rules::CmdHideCompleted, Rules::CmdHideInactive};

CViewForecast::MenuPresenter &presenter()
{
    static CViewForecast::MenuPresenter p;
    return p;
}

// The commands shown with a check mark when they are the current choice.
bool IsChoice(int id)
{
    return (id >= Rules::CmdShowAll && id <= Rules::CmdHideCompleted) || id == Rules::CmdHideInactive
           || (id >= Rules::CmdFirstStatus && id <= Rules::CmdLastType)
           || (id >= Rules::CmdDefaultOrder && id <= Rules::CmdLastSort) || id == Rules::CmdManual
           || id == Rules::CmdAutomatic;
}

QString promptOf(const QString &text)
{
    return text.section(u'\n', 0, 0);
}

QString tooltipOf(const QString &text)
{
    const QString label = text.section(u'\n', 1, 1);
    return label.isEmpty() ? promptOf(text) : label;
}

} // namespace

CViewForecast::CViewForecast(CForecastHost *host, const ImageList *smallImages, QWidget *parent,
                             CProjectStore *store)
    : QWidget(parent)
    , m_host(host)
    , m_store(store ? store : CAppData::ProjectStore())
{
    m_grid = new CForecastGridCtrl(this, m_store);
    m_grid->SetSmallImageList(smallImages);
    m_grid->SetStateImageList(&ForecastImages::StateImages());
    m_grid->SetGridLines(true);
    m_grid->LoadColumns();
    m_chart = new CGanttCtrl(m_grid, host, this);
    m_chart->setObjectName(QString::number(ChartControlId));
    m_splitter = new CSplitterControl(this);
    m_splitter->Create(QRect(0, 0, Rules::SplitterWidth, 100), this);
    connect(m_splitter, &CSplitterControl::moved, this, [this](int, int delta) { OnSplitterMoved(delta); });
    CreateToolBar();

    connect(m_grid, &QObject::destroyed, m_chart, [chart = m_chart] { chart->SetGrid(nullptr); });
    connect(m_grid, &CTreeGridCtrl::firstRowChanged, m_chart, [this] { m_chart->update(); });
    connect(m_grid, &CTreeGridCtrl::currentRowChanged, this, [this] {
        m_chart->update();
        UpdateCommandStates();
    });
    connect(m_grid, &CTreeGridCtrl::rowDoubleClicked, this, [this](int row) {
        const CProject *node = m_grid->RowNode(row);
        if (node && !node->IsRoot() && m_host)
            m_host->EditNode(*node);
    });
    connect(m_grid, &CTreeGridCtrl::deletePressed, this, [this] { OnCommand(Rules::CmdDelete); });
    m_grid->viewport()->installEventFilter(this);
    m_grid->installEventFilter(this);
    setFocusProxy(m_grid);

    m_scrollTimer.setObjectName(QString::number(ScrollTimerId));
    m_scrollTimer.setInterval(ScrollInterval);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { OnScrollTimer(); });
    new CInterfaceDropTarget(m_grid->viewport(), this);

    LoadSettings();
    m_splitter->setVisible(m_chartShown);
    m_chart->setVisible(m_chartShown);
    DoLayout();
    UpdateCommandStates();
}

CViewForecast::~CViewForecast()
{
    m_scrollTimer.stop();
    // The chart goes first: it reads the grid while it closes.
    delete m_chart;
    m_chart = nullptr;
}

// ---------------------------------------------------------------------------
// Toolbar and layout
// ---------------------------------------------------------------------------

void CViewForecast::CreateToolBar()
{
    m_toolBar = new CClassToolBar(ToolBarId, this);
    m_toolBar->SetStateUpdater([this] { UpdateCommandStates(); });
    m_toolBar->installEventFilter(this);
    for (const ToolButton &button : ToolButtons) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.icon));
        if (icon.isNull() && button.fallback)
            icon = QIcon(QString::fromLatin1(button.fallback));
        auto *action = new QAction(icon, QString(), this);
        action->setObjectName(QString::number(button.id));
        WidgetIds::SetCommandId(action, button.id);
        m_actions.insert(button.id, action);
        if (button.id == Rules::CmdFilterMenu) {
            // A button that drops the filter and sort menu down.
            auto *menu = new QMenu(this);
            menu->setObjectName(QString::number(FilterMenuId));
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillFilterMenu(menu); });
            action->setMenu(menu);
            m_toolBar->addAction(action);
            m_filterButton = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action));
            if (m_filterButton)
                m_filterButton->setPopupMode(QToolButton::InstantPopup);
            continue;
        }
        action->setCheckable(button.id == Rules::CmdToggleChart);
        const int id = button.id;
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        m_toolBar->addAction(action);
    }
    for (QAction *action : std::as_const(m_actions)) {
        connect(action, &QAction::hovered, this, [this, action] {
            if (m_host)
                m_host->ShowStatusText(action->statusTip());
        });
    }
    TranslateToolBar();
}

void CViewForecast::TranslateToolBar()
{
    for (const ToolButton &button : ToolButtons) {
        QAction *action = m_actions.value(button.id);
        const QString text = Platform::Texts::get(button.text);
        action->setText(tooltipOf(text));
        action->setToolTip(tooltipOf(text));
        action->setStatusTip(promptOf(text));
    }
}

void CViewForecast::LoadSettings()
{
    m_chartShown = ForecastSettings::ReadInt(ShowChartName, 1) != 0;
    m_ratio = Rules::RatioFromSetting(ForecastSettings::ReadInt(SplitterName, 70));
}

void CViewForecast::SaveSettings() const
{
    ForecastSettings::WriteInt(ShowChartName, m_chartShown ? 1 : 0);
    ForecastSettings::WriteInt(SplitterName, Rules::RatioToSetting(m_ratio));
}

void CViewForecast::DoLayout()
{
    const int toolbarHeight = m_toolBar->sizeHint().height();
    const Rules::tLayout layout = Rules::Layout(width(), height(), toolbarHeight, m_ratio, m_chartShown);
    m_toolBar->setGeometry(layout.toolbar);
    m_grid->setGeometry(layout.grid);
    if (m_chartShown) {
        m_splitter->setGeometry(layout.splitter);
        m_splitter->SetRange(layout.minimum, layout.maximum);
        m_chart->setGeometry(layout.chart);
    }
    m_chart->update();
    update();
}

void CViewForecast::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    DoLayout();
}

void CViewForecast::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(m_grid->geometry().adjusted(-1, -1, 0, 0));
}

void CViewForecast::ToggleChart()
{
    m_chartShown = !m_chartShown;
    m_splitter->setVisible(m_chartShown);
    m_chart->setVisible(m_chartShown);
    DoLayout();
    repaint();
    SaveSettings();
}

void CViewForecast::OnSplitterMoved(int delta)
{
    if (width() == 0)
        return;
    CSplitterControl::ChangeWidth(CSplitterControl::RightSide, m_grid, delta);
    CSplitterControl::ChangeWidth(CSplitterControl::LeftSide, m_chart, -delta);
    // The border lies in the middle of the bar, right of the widened grid.
    m_ratio = double(m_grid->width() + Rules::SplitterWidth / 2) / width();
    DoLayout();
    repaint();
    SaveSettings();
}

// ---------------------------------------------------------------------------
// What the frame calls
// ---------------------------------------------------------------------------

void CViewForecast::Refresh(bool keepOffset, bool restoreSaved, bool reload)
{
    m_grid->Refresh(reload, restoreSaved, false, keepOffset);
    if (m_chartShown)
        m_chart->update();
    UpdateCommandStates();
}

void CViewForecast::RefreshOnTimer()
{
    Refresh(true, false, false);
}

void CViewForecast::Retranslate()
{
    TranslateToolBar();
    m_grid->TranslateColumnCaptions();
    m_chart->update();
}

void CViewForecast::AfterUserChange()
{
    m_chart->LoadZoom();
    m_chart->UpdateScrollBar();
    m_chart->OnNow();
    m_grid->Refresh(false, true, false, true);
    UpdateCommandStates();
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

CProject *CViewForecast::SelectedNode() const
{
    const int row = m_grid->SelectedRow();
    if (row < 0 || m_grid->IsTotalRow(row))
        return nullptr;
    CProject *node = m_grid->RowNode(row);
    return node && !node->IsRoot() ? node : nullptr;
}

ForecastViewRules::tViewState CViewForecast::ViewState() const
{
    Rules::tViewState state;
    state.node = SelectedNode();
    state.rowSelected = state.node != nullptr;
    state.showActivities = !m_store || m_store->Context().ShowActivities();
    const ForecastGridModel &model = m_grid->Model();
    state.filterMode = model.filterMode;
    state.hideCompleted = model.hideCompleted;
    state.hideInactive = model.hideInactive;
    state.sortId = model.SortId();
    state.chartShown = m_chartShown;
    state.canZoomIn = m_chart->IsCommandEnabled(Rules::CmdZoomIn);
    state.canZoomOut = m_chart->IsCommandEnabled(Rules::CmdZoomOut);
    return state;
}

void CViewForecast::UpdateCommandStates()
{
    const Rules::tViewState state = ViewState();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const Rules::tCommandState command = Rules::CommandState(it.key(), state);
        it.value()->setEnabled(command.enabled);
        if (it.value()->isCheckable())
            it.value()->setChecked(command.checked);
    }
}

void CViewForecast::ShowWriteFailure()
{
    RichMessageBox(MessageBoxType::IconExclamation, this, Platform::Texts::get(226), Platform::Texts::get(173));
}

void CViewForecast::SaveNode(CProject *node, const std::function<void(tElement &, tForecast &)> &change,
                             bool element)
{
    if (!node)
        return;
    tElement e = node->Element();
    tForecast f = node->Forecast();
    change(e, f);
    bool saved = false;
    {
        CBdD db;
        saved = element ? db.SaveProject(&e, nullptr) : db.SaveProject(nullptr, &f);
    }
    if (!saved)
        ShowWriteFailure();
}

void CViewForecast::DeleteSelected()
{
    CProject *node = SelectedNode();
    if (!node)
        return;
    const QString caption = Platform::Texts::get(166);
    const quint32 yesNo = MessageBoxType::YesNo | MessageBoxType::IconQuestion;
    if (node->IsActivity()) {
        if (RememberedMessageBox(Platform::Texts::get(ResetActivityQuestion), caption, this, 7, 2, yesNo)
            == MessageBoxAnswer::Yes)
            OnCommand(Rules::CmdInitialise);
        return;
    }
    const bool withChildren = node->HasSubProjects();
    const QString text =
        Platform::Formatter::sprintf(Platform::Texts::get(withChildren ? 567 : 162), {node->GetFullName()});
    const int projectId = node->ProjectId();
    if (RememberedMessageBox(text, caption, this, withChildren ? 6 : 5, 2, yesNo) != MessageBoxAnswer::Yes)
        return;
    bool deleted = false;
    {
        CWaitCursor wait;
        CBdD db;
        deleted = db.DeleteProject(projectId);
    }
    if (!deleted)
        ShowWriteFailure();
}

bool CViewForecast::OnCommand(int id)
{
    const Rules::tViewState state = ViewState();
    if (!Rules::CommandState(id, state).enabled)
        return false;
    CProject *node = SelectedNode();
    ForecastGridModel &model = m_grid->Model();
    switch (id) {
    case Rules::CmdColumns:
        m_grid->ChooseColumns();
        update();
        break;
    case Rules::CmdShowAll:
    case Rules::CmdShowTicked:
    case Rules::CmdTickRows:
        model.filterMode = id - Rules::CmdShowAll;
        m_grid->ApplyFilter();
        m_chart->update();
        break;
    case Rules::CmdHideCompleted:
        model.hideCompleted = !model.hideCompleted;
        m_grid->ApplyFilter();
        m_chart->update();
        break;
    case Rules::CmdHideInactive:
        model.hideInactive = !model.hideInactive;
        m_grid->ApplyFilter();
        m_chart->update();
        break;
    case Rules::CmdSelectChildren:
        if (ForecastGridModel::CTreeItem *item = m_grid->Item(m_grid->SelectedRow()))
            m_grid->SelectChildren(item);
        break;
    case Rules::CmdRefresh: {
        CWaitCursor wait;
        m_grid->Refresh(true, false, true, true);
        if (m_chartShown)
            m_chart->update();
        break;
    }
    case Rules::CmdToggleChart:
        ToggleChart();
        break;
    case Rules::CmdZoomOut:
        m_chart->OnZoomOut();
        break;
    case Rules::CmdZoomIn:
        m_chart->OnZoomIn();
        break;
    case Rules::CmdNow:
        m_chart->OnNow();
        break;
    case Rules::CmdAddProject:
    case Rules::CmdAddActivity:
        if (m_host)
            m_host->NewNode(node ? node->ProjectId() : -1, id == Rules::CmdAddActivity);
        break;
    case Rules::CmdEdit:
        if (m_host)
            m_host->EditNode(*node);
        break;
    case Rules::CmdDelete:
        DeleteSelected();
        break;
    case Rules::CmdCopyProject: {
        const CProject *parent = node->GetParent();
        if (m_host)
            m_host->CopyProject(node->ProjectId(), parent && !parent->IsRoot() ? parent->ProjectId() : -1, -1,
                                false);
        break;
    }
    case Rules::CmdResumeNow:
        if (m_host)
            m_host->StartTask(node->ProjectId(), node->ActivityId());
        break;
    case Rules::CmdInitialise: {
        if (!node)
            break;
        bool deleted = false;
        {
            CBdD db;
            deleted = db.DeleteForecast(node->ProjectId(), node->ActivityId());
        }
        if (!deleted)
            ShowWriteFailure();
        break;
    }
    case Rules::CmdManual:
    case Rules::CmdAutomatic: {
        const bool automatic = id == Rules::CmdAutomatic;
        if (node->Forecast().bModeAuto != automatic)
            SaveNode(node, [automatic](tElement &, tForecast &f) { f.bModeAuto = automatic; }, false);
        break;
    }
    default:
        if (id >= Rules::CmdDefaultOrder && id <= Rules::CmdLastSort) {
            m_grid->SortOn(id - Rules::CmdFirstSort, false);
        } else if (id >= Rules::CmdFirstType && id <= Rules::CmdLastType) {
            const int type = id - Rules::CmdFirstType;
            if (!node->IsActivity() && node->Element().Type != type)
                SaveNode(node, [type](tElement &e, tForecast &) { e.Type = type; }, true);
        } else if (id >= Rules::CmdFirstStatus && id <= Rules::CmdLastStatus) {
            const int status = id - Rules::CmdFirstStatus;
            if (node->Forecast().Status != status)
                SaveNode(node, [status](tElement &, tForecast &f) { f.Status = status; }, false);
        } else if (id >= Rules::CmdFirstPriority && id <= Rules::CmdLastPriority) {
            const int priority = id - Rules::CmdFirstPriority;
            if (node->Forecast().Priority != priority)
                SaveNode(node, [priority](tElement &, tForecast &f) { f.Priority = priority; }, false);
        } else {
            return false;
        }
        break;
    }
    UpdateCommandStates();
    return true;
}

void CViewForecast::SetMenuPresenter(MenuPresenter p)
{
    presenter() = std::move(p);
}

void CViewForecast::FillFilterMenu(QMenu *menu)
{
    menu->clear();
    CTranslationStore store;
    const Rules::tViewState state = ViewState();
    auto add = [this, &state](QMenu *into, int id, const QString &text) {
        QAction *action = into->addAction(text);
        WidgetIds::SetCommandId(action, id);
        const Rules::tCommandState command = Rules::CommandState(id, state);
        action->setCheckable(true);
        action->setChecked(command.checked);
        action->setEnabled(command.enabled);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    };
    for (int id : FilterCommands) {
        if (id == 0)
            menu->addSeparator();
        else
            add(menu, id, store.GetMenuString(FilterMenuId, id));
    }
    menu->addSeparator();
    QMenu *sort = menu->addMenu(store.GetMenuString(FilterMenuId, -1));
    WidgetIds::SetPopupKey(sort, -1);
    add(sort, Rules::CmdDefaultOrder, store.GetMenuString(FilterMenuId, Rules::CmdDefaultOrder));
    for (int column = 0; column < ForecastColumns::Count; ++column)
        add(sort, Rules::CmdFirstSort + column, ForecastColumns::Caption(true, column));
}

std::unique_ptr<QMenu> CViewForecast::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QString::number(ContextMenuId));
    ProjectMenuSource::Fill(menu.get(), {});
    const Rules::tViewState state = ViewState();
    const CProject *node = state.node;
    const bool parentOfOthers = node && !node->Children().empty();
    if (!(m_grid->Model().filterMode == 2 && parentOfOthers))
        ProjectMenuSource::RemoveWithSeparatorAbove(menu.get(),
                                                    ProjectMenuSource::FindCommand(menu.get(), Rules::CmdSelectChildren));
    if (!parentOfOthers)
        menu->removeAction(ProjectMenuSource::FindPopup(menu.get(), -7));

    CTranslationStore store;
    TranslateMenu(menu.get(), ContextMenuId, store);

    auto popup = [&menu](int key) {
        QAction *action = ProjectMenuSource::FindPopup(menu.get(), key);
        return action ? action->menu() : nullptr;
    };
    auto addItem = [](QMenu *into, int id, const QString &text) {
        QAction *action = into->addAction(text);
        WidgetIds::SetCommandId(action, id);
        return action;
    };
    if (QMenu *types = popup(-2); types && node) {
        if (!node->IsActivity()) {
            types->clear();
            for (int type = 0; type < int(std::size(TypeTexts)); ++type)
                addItem(types, Rules::CmdFirstType + type, Platform::Texts::get(TypeTexts[type]));
        } else if (QAction *placeholder = ProjectMenuSource::FindCommand(types, Rules::CmdTypePlaceholder)) {
            placeholder->setText(Platform::Texts::get(142));
        }
    }
    if (QMenu *statuses = popup(-3)) {
        addItem(statuses, Rules::CmdFirstStatus, Platform::Texts::get(610));
        for (int status = 1; status <= 5; ++status)
            addItem(statuses, Rules::CmdFirstStatus + status, Platform::Texts::get(StatusTexts[status - 1]));
    }
    if (QMenu *priorities = popup(-4)) {
        addItem(priorities, Rules::CmdFirstPriority, Platform::Texts::get(611));
        for (int priority = 1; priority <= 5; ++priority)
            addItem(priorities, Rules::CmdFirstPriority + priority,
                    Platform::Texts::get(PriorityTexts[priority - 1]));
    }
    if (QMenu *mode = popup(-7)) {
        addItem(mode, Rules::CmdManual, Platform::Texts::get(601));
        addItem(mode, Rules::CmdAutomatic, Platform::Texts::get(276));
    }
    if (QMenu *display = popup(-5)) {
        for (int id : FilterCommands) {
            if (id == 0)
                display->addSeparator();
            else
                addItem(display, id, store.GetMenuString(FilterMenuId, id));
        }
    }
    if (QMenu *sort = popup(-6)) {
        addItem(sort, Rules::CmdDefaultOrder, store.GetMenuString(FilterMenuId, Rules::CmdDefaultOrder));
        for (int column = 0; column < ForecastColumns::Count; ++column)
            addItem(sort, Rules::CmdFirstSort + column, ForecastColumns::Caption(true, column));
    }

    if (!node) {
        for (int key : {-4, -3, -2})
            menu->removeAction(ProjectMenuSource::FindPopup(menu.get(), key));
        for (int id : {Rules::CmdCopyProject, Rules::CmdEdit, Rules::CmdDelete, Rules::CmdInitialise,
                       Rules::CmdResumeNow})
            menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), id));
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                menu->removeAction(action);
        }
    } else if (node->IsActivity()) {
        menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), Rules::CmdCopyProject));
        if (node->GetTaskCount() > 0)
            menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), Rules::CmdDelete));
    }
    menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), Rules::CmdAddRate));
    if (!state.showActivities)
        menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), Rules::CmdAddActivity));

    // Every command, at any depth, enabled and checked by the view's state
    // and run by the view.
    std::function<void(QMenu *)> wire = [this, &state, &wire](QMenu *into) {
        for (QAction *action : into->actions()) {
            if (action->menu()) {
                wire(action->menu());
                continue;
            }
            const int id = WidgetIds::CommandId(action);
            if (id == 0)
                continue;
            const Rules::tCommandState command = Rules::CommandState(id, state);
            action->setEnabled(command.enabled);
            if (IsChoice(id)) {
                action->setCheckable(true);
                action->setChecked(command.checked);
            }
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        }
    };
    wire(menu.get());
    return menu;
}

void CViewForecast::ShowContextMenu(const QPoint &gridPoint)
{
    const QPoint viewportPoint = gridPoint - m_grid->viewport()->geometry().topLeft();
    if (viewportPoint.y() >= 0) {
        const int row = m_grid->RowAt(viewportPoint.y());
        if (row >= 0)
            m_grid->SetSelectedRow(row);
    }
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    const QPoint global = m_grid->mapToGlobal(gridPoint);
    if (presenter()) {
        if (QAction *chosen = presenter()(*menu, global))
            chosen->trigger();
    } else {
        menu->exec(global);
    }
    UpdateCommandStates();
}

// ---------------------------------------------------------------------------
// Drag and drop
// ---------------------------------------------------------------------------

bool CViewForecast::DragInfoOfRow(int row, bool shift, DragInfo &info) const
{
    const CProject *node = m_grid->RowNode(row);
    if (row < 0 || !node || node->IsRoot() || m_grid->IsTotalRow(row))
        return false;
    info = DragInfo();
    info.id = node->ProjectId();
    if (node->IsActivity()) {
        info.kind = DragKind::ProjectActivity;
        info.secondId = node->ActivityId();
    } else {
        info.kind = DragKind::ForecastProject;
    }
    info.openDialog = shift;
    return true;
}

CProject *CViewForecast::DraggedNode(const DragInfo &info) const
{
    if (!m_store)
        return nullptr;
    CProject *node = nullptr;
    if (info.kind == DragKind::ForecastProject)
        node = m_store->GetNode(info.id);
    else if (info.kind == DragKind::ProjectActivity)
        node = m_store->FindNode(info.secondId, info.id);
    return node && !node->IsRoot() ? node : nullptr;
}

int CViewForecast::EffectAt(const DragInfo &info, bool ctrl, const QPoint &gridPoint) const
{
    const CForecastGridCtrl::tNameHit hit = m_grid->HitTestName(gridPoint);
    if (!hit.item)
        return 0;
    const CProject *target = m_grid->IsTotalRow(hit.item) && m_store ? m_store->GetRoot() : hit.item->node;
    return Rules::DropEffect(target, DraggedNode(info), hit.onText, hit.upperHalf, ctrl);
}

void CViewForecast::UpdateDragScroll(const QPoint &gridPoint)
{
    const QPoint pos = gridPoint - m_grid->viewport()->geometry().topLeft();
    const QRect first = m_grid->RowRect(m_grid->FirstVisibleRow());
    const int half = m_grid->RowHeight() / 2;
    const bool upZone = pos.y() >= first.top() && pos.y() < first.top() + half;
    const bool downZone = pos.y() >= m_grid->viewport()->height() - half && pos.y() < m_grid->viewport()->height();
    if (upZone || downZone) {
        if (!m_scrollTimer.isActive() || m_scrollUp != upZone) {
            m_scrollUp = upZone;
            m_scrollTimer.start();
        }
    } else {
        StopDragScroll();
    }
}

void CViewForecast::StopDragScroll()
{
    m_scrollTimer.stop();
}

void CViewForecast::OnScrollTimer()
{
    QWidget *viewport = m_grid->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, m_scrollUp ? 120 : -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
}

QPoint CViewForecast::GridPoint(const QPoint &dropTargetPoint) const
{
    return m_grid->viewport()->mapTo(m_grid, dropTargetPoint);
}

Qt::DropAction CViewForecast::DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point)
{
    m_dragKeys = keys;
    const QPoint gridPoint = GridPoint(point);
    UpdateDragScroll(gridPoint);
    DragInfo info;
    int effect = 0;
    if (ReadDragPayload(data, info))
        effect = EffectAt(info, keys.testFlag(Qt::ControlModifier), gridPoint);
    if (m_drag)
        CMyOleDropSource::GiveFeedback(*m_drag, effect);
    return CMyOleDropSource::CarryingAction(effect);
}

void CViewForecast::DragLeave()
{
    StopDragScroll();
}

void CViewForecast::DropItem(const DragInfo &info, const QPoint &point)
{
    StopDragScroll();
    DropAt(info, m_dragKeys.testFlag(Qt::ControlModifier), GridPoint(point));
}

void CViewForecast::DropAt(const DragInfo &info, bool ctrl, const QPoint &gridPoint)
{
    const int effect = EffectAt(info, ctrl, gridPoint);
    if (effect == 0)
        return;
    const CForecastGridCtrl::tNameHit hit = m_grid->HitTestName(gridPoint);
    CProject *target = m_grid->IsTotalRow(hit.item) ? m_store->GetRoot() : hit.item->node;
    CProject *dragged = DraggedNode(info);
    const int mode = Rules::DropMode(effect);
    CProject *newParent = mode == 0 ? target : target->GetParent();
    if (Rules::IsCopy(effect)) {
        if (m_host)
            m_host->CopyProject(dragged->ProjectId(), newParent->IsRoot() ? -1 : newParent->ProjectId(),
                                mode == 0 ? -1 : target->ProjectId(), mode == 1);
        return;
    }
    if (newParent != dragged->GetParent() && !newParent->CanAdopt(dragged)) {
        RichMessageBox(MessageBoxType::IconExclamation, this,
                       Platform::Formatter::sprintf(Platform::Texts::get(616),
                                                    {dragged->GetName(), newParent->GetName()}),
                       Platform::Texts::get(173));
        return;
    }
    const ForecastGridModel &model = m_grid->Model();
    if (ForecastColumns::IsValidId(model.SortId()) || !model.Ascending()) {
        const int answer = RememberedMessageBox(Platform::Texts::get(630), Platform::Texts::get(166), this, 3, 0,
                                                MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion);
        if (answer == MessageBoxAnswer::Cancel)
            return;
        if (answer == MessageBoxAnswer::Yes)
            m_grid->SortOn(-1, false);
    }
    bool moved = false;
    {
        CWaitCursor wait;
        moved = m_store->MoveNode(dragged, target, mode);
    }
    if (!moved)
        ShowWriteFailure();
}

void CViewForecast::StartDrag(int row, bool shift)
{
    DragInfo info;
    if (!DragInfoOfRow(row, shift, info))
        return;
    auto *drag = new QDrag(m_grid);
    drag->setMimeData(MakeDragPayload(info));
    CMyOleDropSource::Prepare(*drag);
    m_drag = drag;
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    m_drag = nullptr;
    StopDragScroll();
}

bool CViewForecast::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_toolBar && event->type() == QEvent::Leave) {
        if (m_host)
            m_host->ShowStatusText(QString());
        return false;
    }
    if (watched == m_grid && event->type() == QEvent::ContextMenu) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        const QPoint viewportPoint = m_grid->viewport()->mapFrom(m_grid, menuEvent->pos());
        if (viewportPoint.y() >= 0) {
            ShowContextMenu(menuEvent->pos());
            return true;
        }
        return false; // the header's own menu
    }
    if (watched == m_grid->viewport()) {
        switch (event->type()) {
        case QEvent::ContextMenu: {
            auto *menuEvent = static_cast<QContextMenuEvent *>(event);
            ShowContextMenu(m_grid->viewport()->mapTo(m_grid, menuEvent->pos()));
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            m_pressRow = mouse->button() == Qt::LeftButton ? m_grid->RowAt(mouse->position().toPoint().y()) : -1;
            m_pressPoint = mouse->position().toPoint();
            break;
        }
        case QEvent::MouseMove: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_pressRow >= 0 && mouse->buttons().testFlag(Qt::LeftButton)
                && (mouse->position().toPoint() - m_pressPoint).manhattanLength()
                       >= QApplication::startDragDistance()) {
                const int row = m_pressRow;
                m_pressRow = -1;
                StartDrag(row, mouse->modifiers().testFlag(Qt::ShiftModifier));
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            m_pressRow = -1;
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
