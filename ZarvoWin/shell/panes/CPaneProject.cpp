#include "CPaneProject.h"

#include "ApplicationImages.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CClassToolBar.h"
#include "CMyOleDropSource.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CTranslationStore.h"
#include "CTreePaneBody.h"
#include "CTreeWidgetFiller.h"
#include "CUsers.h"
#include "CViewTree.h"
#include "CWaitCursor.h"
#include "CZarvoWinApp.h"
#include "DragPayload.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "ProjectMenuSource.h"
#include "RememberedMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "WidgetIds.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QTreeWidgetItem>
#include <functional>

namespace {

const QString RootName = QStringLiteral("Projects Root");
const QString PosName = QStringLiteral("Projects Pos");
const QString CollapsedName = QStringLiteral("Projects Collapsed");

// The texts of the project types, in type order.
const Platform::TextId TypeTexts[] = {141, 554, 555, 551, 552, 556};

struct ActionIcon
{
    int id;
    const char *icon;
};
constexpr ActionIcon ActionIcons[] = {
    {32784, "folder-new"},    {32785, "task-new"},    {32787, "list-add"},
    {32789, "document-edit"}, {32791, "edit-delete"}, {32997, "media-playback-start"},
    {33145, "edit-copy"},
};

void walk(QTreeWidgetItem *item, const std::function<void(QTreeWidgetItem *)> &visit)
{
    for (int i = 0; item && i < item->childCount(); ++i) {
        visit(item->child(i));
        walk(item->child(i), visit);
    }
}

} // namespace

CPaneProject::CPaneProject(CZarvoWinApp &app, QWidget *parent)
    : CTreePane(app, PaneNumber, CaptionText, ToolBarId, parent)
{
    CreateActions();
    FollowFolderPictures([](const QTreeWidgetItem *item) { return !item->parent(); });
    FillTree();
    new CInterfaceDropTarget(Tree()->viewport(), this);
}

CPaneProject::~CPaneProject()
{
    SaveTreeState();
    WriteTreeState();
}

void CPaneProject::CreateActions()
{
    for (const ActionIcon &a : ActionIcons)
        AddAction(a.id, a.icon);
    connect(Action(CmdAddProject), &QAction::triggered, this, &CPaneProject::OnAddProject);
    connect(Action(CmdAddActivity), &QAction::triggered, this, [this] {
        if (m_app.Windows().newActivity && m_app.Windows().newActivity())
            m_app.RefreshAfterChange(false, false);
    });
    connect(Action(CmdAddRate), &QAction::triggered, this, [this] {
        if (m_app.Windows().newRate && m_app.Windows().newRate())
            m_app.RefreshAfterChange(false, false);
    });
    connect(Action(CmdEdit), &QAction::triggered, this, &CPaneProject::OnEdit);
    connect(Action(CmdDelete), &QAction::triggered, this, &CPaneProject::OnDelete);
    connect(Action(CmdResumeNow), &QAction::triggered, this, &CPaneProject::OnResumeNow);
    connect(Action(CmdCopyProject), &QAction::triggered, this, &CPaneProject::OnCopyProject);
    for (int id : {CmdAddProject, CmdAddActivity, CmdAddRate, CmdEdit, CmdDelete})
        ToolBar()->addAction(Action(id));
    ApplyLanguage();
}

// ---------------------------------------------------------------------------
// The tree
// ---------------------------------------------------------------------------

QTreeWidgetItem *CPaneProject::InsertTopItem(int textId)
{
    auto *item = new QTreeWidgetItem(QStringList{Platform::Texts::get(textId)});
    CViewTree::SetItemImage(item, 1);
    item->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(0));
    Tree()->addTopLevelItem(item);
    return item;
}

void CPaneProject::FillTree()
{
    Tree()->setUpdatesEnabled(false);
    Tree()->clear();
    LoadTreeState();
    m_projectsRoot = m_activitiesRoot = m_ratesRoot = nullptr;
    if (m_app.Users().GetCurrentId() != -1) {
        m_projectsRoot = InsertTopItem(146);
        {
            CTreeWidgetFiller filler(Tree());
            m_app.ProjectStore().FillProjectTree(filler, m_projectsRoot, false, true, nullptr, QString(),
                                                 m_state.CollapsedKeys());
        }
        m_activitiesRoot = InsertTopItem(147);
        m_ratesRoot = InsertTopItem(180);
        CTreeWidgetFiller filler(Tree());
        CBdD db;
        db.LoadActivities(&filler, m_activitiesRoot, true, QString());
        db.LoadRates(&filler, m_ratesRoot);
    }
    RestoreTreeState();
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

// Activities and rates are read into a detached item first: a read that
// fails leaves the branch shown as it was. (They have no children, so
// nothing of their expanded states is lost on the way.)
bool CPaneProject::RefillFlatBranch(QTreeWidgetItem *root, bool activities)
{
    QTreeWidgetItem fresh;
    bool read = false;
    {
        CTreeWidgetFiller filler(Tree());
        CBdD db;
        read = activities ? db.LoadActivities(&filler, &fresh, true, QString()) : db.LoadRates(&filler, &fresh);
    }
    if (read) {
        qDeleteAll(root->takeChildren());
        root->addChildren(fresh.takeChildren());
    }
    return read;
}

void CPaneProject::ReloadBranch(bool projects)
{
    QTreeWidgetItem *root = projects ? m_projectsRoot : m_activitiesRoot;
    if (!root)
        return;
    SaveTreeState();
    Tree()->setUpdatesEnabled(false);
    if (projects) {
        // The store is in memory: nothing can fail here.
        qDeleteAll(root->takeChildren());
        CTreeWidgetFiller filler(Tree());
        m_app.ProjectStore().FillProjectTree(filler, root, false, true, nullptr, QString(), m_state.CollapsedKeys());
    } else {
        RefillFlatBranch(root, true);
    }
    RestoreTreeState();
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneProject::ReloadRates()
{
    if (!m_ratesRoot)
        return;
    SaveTreeState();
    Tree()->setUpdatesEnabled(false);
    RefillFlatBranch(m_ratesRoot, false);
    RestoreTreeState();
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneProject::RefreshProjectItem(int projectId)
{
    QTreeWidgetItem *item = FindProjectItem(projectId);
    const CProject *node = m_app.ProjectStore().GetNode(projectId);
    if (!item || !node || !node->GetParent())
        return;
    item->setText(0, node->Element().Nom);
    CViewTree::SetItemImage(item, GetProjectStateImage(node->Element().Type));
}

void CPaneProject::ApplyLanguage()
{
    CMyDockablePane::ApplyLanguage();
    if (m_projectsRoot)
        m_projectsRoot->setText(0, Platform::Texts::get(146));
    if (m_activitiesRoot)
        m_activitiesRoot->setText(0, Platform::Texts::get(147));
    if (m_ratesRoot)
        m_ratesRoot->setText(0, Platform::Texts::get(180));
    CTranslationStore store;
    QList<int> ids;
    for (const ActionIcon &a : ActionIcons)
        ids << a.id;
    TranslateActions(store, MenuId, ids);
}

// ---------------------------------------------------------------------------
// The per-user state
// ---------------------------------------------------------------------------

int CPaneProject::KindOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return KindNone;
    if (item == m_projectsRoot)
        return KindProjectsRoot;
    if (item == m_activitiesRoot)
        return KindActivitiesRoot;
    if (item == m_ratesRoot)
        return KindRatesRoot;
    const QTreeWidgetItem *parent = item->parent();
    if (parent && parent == m_activitiesRoot)
        return KindActivity;
    if (parent && parent == m_ratesRoot)
        return KindRate;
    for (const QTreeWidgetItem *p = parent; p; p = p->parent()) {
        if (p == m_projectsRoot)
            return KindProject;
    }
    return KindNone;
}

int CPaneProject::SelectedKind() const
{
    return KindOf(SelectedItem());
}

CProject *CPaneProject::NodeOf(const QTreeWidgetItem *item) const
{
    if (KindOf(item) != KindProject)
        return nullptr;
    CProject *node = m_app.ProjectStore().GetNode(int(CViewTree::ItemData(item)));
    return node && node->GetParent() ? node : nullptr;
}

QTreeWidgetItem *CPaneProject::FindProjectItem(int projectId) const
{
    QTreeWidgetItem *found = nullptr;
    walk(m_projectsRoot, [&found, projectId](QTreeWidgetItem *item) {
        if (!found && CViewTree::ItemData(item) == projectId)
            found = item;
    });
    return found;
}

QTreeWidgetItem *CPaneProject::FindItem(int kind, int data) const
{
    switch (kind) {
    case KindProjectsRoot:
        return m_projectsRoot;
    case KindActivitiesRoot:
        return m_activitiesRoot;
    case KindRatesRoot:
        return m_ratesRoot;
    case KindProject:
        return FindProjectItem(data);
    case KindActivity:
    case KindRate: {
        QTreeWidgetItem *root = kind == KindActivity ? m_activitiesRoot : m_ratesRoot;
        for (int i = 0; root && i < root->childCount(); ++i) {
            if (CViewTree::ItemData(root->child(i)) == data)
                return root->child(i);
        }
        return nullptr;
    }
    default:
        return nullptr;
    }
}

void CPaneProject::SaveTreeState()
{
    if (!m_projectsRoot && !m_activitiesRoot && !m_ratesRoot)
        return;
    auto open = [](const QTreeWidgetItem *root) { return !root || root->childCount() == 0 || root->isExpanded(); };
    m_state.projectsExpanded = open(m_projectsRoot);
    m_state.activitiesExpanded = open(m_activitiesRoot);
    m_state.ratesExpanded = open(m_ratesRoot);
    const QTreeWidgetItem *selected = SelectedItem();
    m_state.selectedKind = KindOf(selected);
    m_state.selectedData = selected ? int(CViewTree::ItemData(selected)) : 0;
    m_state.selectedIndex = selected ? Tree()->VisibleIndex(selected) : -1;
    const QTreeWidgetItem *first = Tree()->FirstVisibleItem();
    m_state.firstVisibleKind = KindOf(first);
    m_state.firstVisibleData = first ? int(CViewTree::ItemData(first)) : 0;
    m_state.firstVisibleThird = 0;
    QStringList collapsed;
    walk(m_projectsRoot, [&collapsed](QTreeWidgetItem *item) {
        if (item->childCount() > 0 && !item->isExpanded())
            collapsed << QString::number(CViewTree::ItemData(item));
    });
    m_state.collapsedProjects = collapsed.join(u',');
}

void CPaneProject::RestoreTreeState()
{
    if (m_projectsRoot)
        m_projectsRoot->setExpanded(m_state.projectsExpanded);
    if (m_activitiesRoot)
        m_activitiesRoot->setExpanded(m_state.activitiesExpanded);
    if (m_ratesRoot)
        m_ratesRoot->setExpanded(m_state.ratesExpanded);
    QTreeWidgetItem *firstRoot = Tree()->topLevelItem(0);
    QTreeWidgetItem *first = FindItem(m_state.firstVisibleKind, m_state.firstVisibleData);
    Tree()->ScrollToTop(first ? first : firstRoot);
    QTreeWidgetItem *selected = FindItem(m_state.selectedKind, m_state.selectedData);
    if (!selected)
        selected = firstRoot;
    if (selected) {
        Tree()->setCurrentItem(selected);
        selected->setSelected(true);
    }
}

void CPaneProject::LoadTreeState()
{
    QStringList values = {RootName, PosName, CollapsedName};
    if (!m_app.Users().GetUserSettings(values))
        values = QStringList{QString(), QString(), QString()};
    m_state = tProjectTreeState::Read(values.value(0), values.value(1), values.value(2));
}

void CPaneProject::WriteTreeState()
{
    if (!m_projectsRoot)
        return; // no user, nothing shown: nothing to keep
    m_app.Users().SetUserSettings({RootName, PosName, CollapsedName},
                                  {m_state.RootText(), m_state.PosText(), m_state.collapsedProjects});
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

void CPaneProject::UpdateCommandStates()
{
    const int kind = SelectedKind();
    const bool item = kind == KindProject || kind == KindActivity || kind == KindRate;
    const CZarvoWinApp::Openers &windows = m_app.Windows();
    const bool canEdit = (kind == KindProject && windows.editProject) || (kind == KindActivity && windows.editActivity)
                         || (kind == KindRate && windows.editRate);
    Action(CmdEdit)->setEnabled(canEdit);
    Action(CmdDelete)->setEnabled(item);
    Action(CmdAddProject)->setEnabled(bool(windows.newProject));
    Action(CmdAddActivity)->setEnabled(bool(windows.newActivity));
    Action(CmdAddRate)->setEnabled(bool(windows.newRate));
    Action(CmdResumeNow)->setEnabled(kind == KindProject || kind == KindActivity);
    Action(CmdCopyProject)->setEnabled(NodeOf(SelectedItem()) && windows.copyProject);
}

std::unique_ptr<QMenu> CPaneProject::BuildContextMenu(int kind)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QString::number(MenuId));
    ProjectMenuSource::Fill(menu.get(), [this](int id) { return Action(id); });
    // What the project pane does not offer.
    for (int key : {-6, -7, -3, -4})
        menu->removeAction(ProjectMenuSource::FindPopup(menu.get(), key));
    menu->removeAction(ProjectMenuSource::FindCommand(menu.get(), CmdInitialise));
    ProjectMenuSource::RemoveWithSeparatorAbove(menu.get(),
                                                ProjectMenuSource::FindCommand(menu.get(), CmdSelectChildren));
    ProjectMenuSource::RemoveWithSeparatorAbove(menu.get(), ProjectMenuSource::FindPopup(menu.get(), -5));
    CTranslationStore store;
    TranslateMenu(menu.get(), MenuId, store);

    QAction *types = ProjectMenuSource::FindPopup(menu.get(), -2);
    if (kind == KindProject) {
        QMenu *typeMenu = types->menu();
        typeMenu->clear();
        const CProject *node = NodeOf(SelectedItem());
        for (int type = 0; type < int(std::size(TypeTexts)); ++type) {
            QAction *action = typeMenu->addAction(Platform::Texts::get(TypeTexts[type]));
            const int command = CmdFirstType + type;
            WidgetIds::SetCommandId(action, command);
            action->setCheckable(true);
            action->setChecked(node && node->Element().Type == type);
            action->setEnabled(node != nullptr);
            connect(action, &QAction::triggered, this, [this, command] { OnSetType(command); });
        }
    } else {
        menu->removeAction(types);
        menu->removeAction(Action(CmdCopyProject));
        if (kind == KindRate)
            menu->removeAction(Action(CmdResumeNow));
        if (kind == KindNone || kind == KindProjectsRoot || kind == KindActivitiesRoot || kind == KindRatesRoot) {
            for (int id : {CmdEdit, CmdDelete, CmdResumeNow})
                menu->removeAction(Action(id));
        }
        if (kind != KindActivity) {
            while (!menu->actions().isEmpty() && menu->actions().constLast()->isSeparator())
                menu->removeAction(menu->actions().constLast());
        }
    }
    UpdateCommandStates();
    return menu;
}

void CPaneProject::ShowContextMenu(const QPoint &pos)
{
    SelectAt(pos);
    std::unique_ptr<QMenu> menu = BuildContextMenu(SelectedKind());
    menu->exec(Tree()->viewport()->mapToGlobal(pos));
    UpdateCommandStates();
}

int CPaneProject::AskDelete(int questionId, const QString &text)
{
    return RememberedMessageBox(text, Platform::Texts::get(166), this, questionId, 2,
                                MessageBoxType::YesNo | MessageBoxType::IconQuestion);
}

void CPaneProject::OnEdit()
{
    QTreeWidgetItem *item = SelectedItem();
    const int id = int(CViewTree::ItemData(item));
    const CZarvoWinApp::Openers &windows = m_app.Windows();
    switch (KindOf(item)) {
    case KindProject:
        if (windows.editProject && NodeOf(item))
            windows.editProject(id);
        break;
    case KindActivity:
        if (windows.editActivity)
            windows.editActivity(id);
        break;
    case KindRate:
        // Rates announce no change of their own.
        if (windows.editRate && windows.editRate(id))
            ReloadRates();
        break;
    default:
        break;
    }
}

void CPaneProject::OnAddProject()
{
    if (!m_app.Windows().newProject)
        return;
    const CProject *parent = NodeOf(SelectedItem());
    m_app.Windows().newProject(parent ? parent->ProjectId() : -1);
}

void CPaneProject::OnDelete()
{
    QTreeWidgetItem *item = SelectedItem();
    const int id = int(CViewTree::ItemData(item));
    const QString confirm = Platform::Texts::get(162);
    bool done = true;
    switch (KindOf(item)) {
    case KindProject: {
        const CProject *node = m_app.ProjectStore().GetNode(id);
        if (!node)
            return;
        const bool withChildren = node->HasSubProjects();
        const QString text =
            Platform::Formatter::sprintf(withChildren ? Platform::Texts::get(567) : confirm, {node->GetFullName()});
        if (AskDelete(withChildren ? 9 : 8, text) != MessageBoxAnswer::Yes)
            return;
        CBdD db;
        done = db.DeleteProject(id);
        break;
    }
    case KindActivity: {
        if (AskDelete(10, Platform::Formatter::sprintf(confirm, {item->text(0)})) != MessageBoxAnswer::Yes)
            return;
        CBdD db;
        done = db.DeleteActivity(id);
        break;
    }
    case KindRate: {
        if (AskDelete(11, Platform::Formatter::sprintf(confirm, {item->text(0)})) != MessageBoxAnswer::Yes)
            return;
        {
            CBdD db;
            done = db.DeleteRate(id);
        }
        if (done)
            ReloadRates();
        break;
    }
    default:
        return;
    }
    if (!done)
        ShowWriteFailure();
}

void CPaneProject::OnResumeNow()
{
    QTreeWidgetItem *item = SelectedItem();
    switch (KindOf(item)) {
    case KindProject:
        if (const CProject *node = NodeOf(item))
            m_app.StartProjectTask(node->ProjectId(), node->ActivityId());
        break;
    case KindActivity:
        m_app.StartActivityTask(int(CViewTree::ItemData(item)));
        break;
    default:
        break;
    }
}

void CPaneProject::OnSetType(int command)
{
    CProject *node = NodeOf(SelectedItem());
    if (!node || command == CmdFirstType + node->Element().Type || command < CmdFirstType
        || command > CmdLastTypeRange)
        return;
    tElement element = node->Element();
    element.Type = command - CmdFirstType;
    CBdD db;
    if (!db.SaveProject(&element, nullptr))
        ShowWriteFailure();
}

void CPaneProject::OnCopyProject()
{
    const CProject *node = NodeOf(SelectedItem());
    if (!node || !m_app.Windows().copyProject)
        return;
    m_app.Windows().copyProject(node->ProjectId(), node->GetParent()->ProjectId(), -1, false);
}

bool CPaneProject::HandlesCommand(int id) const
{
    return (id == CmdEdit || id == CmdDelete) && Action(id)->isEnabled();
}

void CPaneProject::OnCommand(int id)
{
    if (id == CmdEdit)
        OnEdit();
    else if (id == CmdDelete)
        OnDelete();
}

// ---------------------------------------------------------------------------
// Drag and drop
// ---------------------------------------------------------------------------

bool CPaneProject::DragInfoOf(const QTreeWidgetItem *item, bool shift, DragInfo &info) const
{
    const int kind = KindOf(item);
    const qint64 data = CViewTree::ItemData(item);
    if ((kind != KindProject && kind != KindActivity) || data == -1)
        return false;
    info = DragInfo();
    info.id = int(data);
    info.kind = kind == KindProject ? DragKind::Project : DragKind::Activity;
    info.openDialog = shift;
    return true;
}

void CPaneProject::OnTreeDrag(QTreeWidgetItem *item, Qt::KeyboardModifiers keys)
{
    DragInfo info;
    if (!DragInfoOf(item, keys.testFlag(Qt::ShiftModifier), info))
        return;
    // Copy, move and the five finer effects travel as copy or move.
    RunDrag(info, Qt::CopyAction | Qt::MoveAction, &m_drag);
}

int CPaneProject::GetDropMode(const CProject *dragged, const CProject *target, DropZone zone, bool ctrl,
                              bool canCopy)
{
    if (!dragged || !dragged->GetParent() || (ctrl && !canCopy))
        return 0;
    if (zone == DropZone::ProjectsRoot) {
        // Only a project that is not at the top already.
        if (dragged->IsTopLevel())
            return 0;
        return ctrl ? CMyOleDropSource::CopyUnder : CMyOleDropSource::Move;
    }
    if (!target || !target->GetParent())
        return 0;
    const bool below = target->HasAncestor(dragged);
    switch (zone) {
    case DropZone::RightOfLabel:
        if (ctrl)
            return target != dragged && !below ? CMyOleDropSource::CopyUnder : 0;
        return target != dragged && target != dragged->GetParent() && !below ? CMyOleDropSource::Move : 0;
    case DropZone::UpperHalf:
    case DropZone::LowerHalf: {
        const bool lower = zone == DropZone::LowerHalf;
        if (ctrl)
            return below ? 0 : lower ? CMyOleDropSource::CopyAfter : CMyOleDropSource::CopyBefore;
        return below || target == dragged ? 0 : lower ? CMyOleDropSource::MoveAfter : CMyOleDropSource::MoveBefore;
    }
    default:
        return 0;
    }
}

CPaneProject::tDropPlan CPaneProject::PlanDrop(CProject *dragged, CProject *target, DropZone zone, bool ctrl)
{
    tDropPlan plan;
    if (!dragged || !dragged->GetParent() || !target)
        return plan;
    if (zone == DropZone::ProjectsRoot) {
        plan.newParent = target; // the store's root
        plan.action = ctrl ? tDropPlan::Copy : tDropPlan::ToTopLevel;
        return plan;
    }
    if (!target->GetParent())
        return plan;
    switch (zone) {
    case DropZone::RightOfLabel:
        plan.newParent = target;
        plan.position = 0;
        break;
    case DropZone::UpperHalf:
    case DropZone::LowerHalf:
        plan.newParent = target->GetParent();
        plan.reference = target;
        plan.position = zone == DropZone::LowerHalf ? 2 : 1;
        break;
    default:
        return plan;
    }
    if (ctrl) {
        plan.action = tDropPlan::Copy;
        return plan;
    }
    if (target == dragged || target->HasAncestor(dragged))
        return plan;
    plan.action = plan.newParent->CanAdopt(dragged) ? tDropPlan::Move : tDropPlan::Refused;
    return plan;
}

CPaneProject::DropZone CPaneProject::ZoneAt(const QPoint &point, QTreeWidgetItem **item) const
{
    QTreeWidgetItem *hit = Tree()->itemAt(point);
    if (item)
        *item = hit;
    const int kind = KindOf(hit);
    if (kind == KindProjectsRoot)
        return DropZone::ProjectsRoot;
    if (kind != KindProject)
        return DropZone::Elsewhere;
    const QRect label = Tree()->ItemLabelRect(hit);
    if (point.x() > label.right())
        return DropZone::RightOfLabel;
    if (point.x() < label.left())
        return DropZone::Elsewhere;
    const QRect row = Tree()->visualItemRect(hit);
    return point.y() >= row.top() + row.height() / 2 ? DropZone::LowerHalf : DropZone::UpperHalf;
}

Qt::DropAction CPaneProject::DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point)
{
    m_dragKeys = keys;
    DragInfo info;
    int effect = 0;
    if (ReadDragPayload(data, info) && info.kind == DragKind::Project) {
        CProjectStore &store = m_app.ProjectStore();
        CProject *dragged = store.GetNode(info.id);
        QTreeWidgetItem *item = nullptr;
        const DropZone zone = ZoneAt(point, &item);
        effect = GetDropMode(dragged, NodeOf(item), zone, keys.testFlag(Qt::ControlModifier),
                             bool(m_app.Windows().copyProject));
    }
    if (m_drag)
        CMyOleDropSource::GiveFeedback(*m_drag, effect);
    return CMyOleDropSource::CarryingAction(effect);
}

void CPaneProject::DropItem(const DragInfo &info, const QPoint &point)
{
    if (info.kind == DragKind::Project)
        DropProject(info.id, point, m_dragKeys.testFlag(Qt::ControlModifier));
}

void CPaneProject::DropProject(int projectId, const QPoint &point, bool ctrl)
{
    CProjectStore &store = m_app.ProjectStore();
    CProject *dragged = store.GetNode(projectId);
    QTreeWidgetItem *item = nullptr;
    const DropZone zone = ZoneAt(point, &item);
    CProject *target = zone == DropZone::ProjectsRoot ? store.GetRoot() : NodeOf(item);
    // The same rules as while dragging: nothing that was not offered.
    if (!GetDropMode(dragged, NodeOf(item), zone, ctrl, bool(m_app.Windows().copyProject)))
        return;
    const tDropPlan plan = PlanDrop(dragged, target, zone, ctrl);
    switch (plan.action) {
    case tDropPlan::ToTopLevel: {
        tElement element = dragged->Element();
        element.Parent = -1;
        CBdD db;
        if (!db.SaveProject(&element, nullptr))
            ShowWriteFailure();
        break;
    }
    case tDropPlan::Move: {
        bool moved = false;
        {
            CWaitCursor wait;
            moved = store.MoveNode(dragged, plan.reference ? plan.reference : plan.newParent, plan.position);
        }
        if (!moved)
            ShowWriteFailure();
        break;
    }
    case tDropPlan::Refused:
        m_app.ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173),
                          Platform::Formatter::sprintf(Platform::Texts::get(616),
                                                       {dragged->GetName(), plan.newParent->GetName()}));
        break;
    case tDropPlan::Copy:
        if (m_app.Windows().copyProject)
            m_app.Windows().copyProject(dragged->ProjectId(), plan.newParent->ProjectId(),
                                        plan.reference ? plan.reference->ProjectId() : -1, plan.position == 1);
        break;
    case tDropPlan::Nothing:
        break;
    }
}
