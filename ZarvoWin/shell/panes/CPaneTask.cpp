#include "CPaneTask.h"

#include "ApplicationImages.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CClassToolBar.h"
#include "CClassViewMenuButton.h"
#include "CMyOleDropSource.h"
#include "CProjectStore.h"
#include "CTranslationStore.h"
#include "CTreePaneBody.h"
#include "CTreeWidgetFiller.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "DragPayload.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RememberedMessageBox.h"
#include "Settings.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QTreeWidgetItem>

namespace {

struct ActionIcon
{
    int id;
    const char *icon;
};
constexpr ActionIcon ActionIcons[] = {
    {32883, "bookmark-new"},        {32884, "document-edit"}, {32885, "edit-delete"},
    {32963, "bookmark-add-folder"}, {32978, "view-sort"},     {32979, "project-development"},
    {32980, "view-pim-tasks"},      {32997, "media-playback-start"},
};

// Menu 383: a command or a separator (0).
constexpr int ContextMenuRows[] = {32883, 32884, 32885, 32963, 0, 32978, 32979, 32980, 0, 32997};

} // namespace

CPaneTask::CPaneTask(CZarvoWinApp &app, QWidget *parent)
    : CTreePane(app, PaneNumber, CaptionText, ToolBarId, parent)
{
    m_sortMode = Platform::Settings().getInt(u"Config", u"Favoris", u"Sorting", 0);
    if (m_sortMode < 0 || m_sortMode > 2)
        m_sortMode = 0;
    m_sortCommand = SortCommandOf(m_sortMode);
    CreateActions();
    FollowFolderPictures(
        [this](const QTreeWidgetItem *item) { return item == m_favoritesRoot || item == m_historyRoot; });

    m_state.Reset(m_sortMode == 1 || m_sortMode == 2);
    m_state.LoadState(m_app.Users());
    m_favoritesRoot = new QTreeWidgetItem(QStringList{Platform::Texts::get(181)});
    m_historyRoot = new QTreeWidgetItem(QStringList{Platform::Texts::get(182)});
    for (QTreeWidgetItem *root : {m_favoritesRoot, m_historyRoot}) {
        CViewTree::SetItemImage(root, 1);
        root->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(0));
        Tree()->addTopLevelItem(root);
    }
    Fill(StateSource::Keep, true, true);
    // The data store asks for a forced refresh after a favourite was used.
    CAppData::SetTaskPaneRefreshHook([this] { Refresh(true, true); });
}

CPaneTask::~CPaneTask()
{
    CAppData::SetTaskPaneRefreshHook({});
    if (!m_stateOfOtherUser) {
        m_state.RecordState(*Tree(), m_favoritesRoot, m_historyRoot);
        m_state.WriteState(m_app.Users());
    }
}

int CPaneTask::SortCommandOf(int mode)
{
    return mode == 1 ? CmdSortByProject : mode == 2 ? CmdSortByActivity : CmdSortByUse;
}

void CPaneTask::CreateActions()
{
    for (const ActionIcon &a : ActionIcons)
        AddAction(a.id, a.icon);
    connect(Action(CmdAddFavorite), &QAction::triggered, this, &CPaneTask::OnAddFavorite);
    connect(Action(CmdEditFavorite), &QAction::triggered, this, &CPaneTask::OnEditFavorite);
    connect(Action(CmdDeleteFavorite), &QAction::triggered, this, &CPaneTask::OnDeleteFavorite);
    connect(Action(CmdMakeFavorite), &QAction::triggered, this, &CPaneTask::OnMakeFavorite);
    connect(Action(CmdResumeNow), &QAction::triggered, this,
            [this] { StartFromItem(QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier)); });

    m_sortButton = new CClassViewMenuButton(CmdSortButton, ToolBar());
    for (int id : {CmdSortByUse, CmdSortByProject, CmdSortByActivity}) {
        m_sortButton->AddChoice(Action(id));
        connect(Action(id), &QAction::triggered, this, [this, id] { OnSort(id); });
    }
    m_sortButton->SetCurrent(Action(m_sortCommand));
    ToolBar()->addWidget(m_sortButton);
    ToolBar()->addSeparator();
    for (int id : {CmdAddFavorite, CmdEditFavorite, CmdDeleteFavorite})
        ToolBar()->addAction(Action(id));
    ApplyLanguage();
}

// ---------------------------------------------------------------------------
// Filling
// ---------------------------------------------------------------------------

void CPaneTask::Fill(StateSource source, bool force, bool forceHistory)
{
    Tree()->setUpdatesEnabled(false);
    if (source == StateSource::Record && m_stateOfOtherUser)
        source = StateSource::Load;
    m_stateOfOtherUser = false;
    if (source == StateSource::Record)
        m_state.RecordState(*Tree(), m_favoritesRoot, m_historyRoot);
    else if (source == StateSource::Load)
        m_state.LoadState(m_app.Users());
    {
        CTreeWidgetFiller filler(Tree());
        CBdD db;
        db.LoadFavorites(filler, m_favoritesRoot, force, m_sortMode, m_favoritesStamp);
        m_app.ProjectStore().FillHistoryTree(filler, m_historyRoot, forceHistory);
    }
    ++m_refills;
    m_state.RestoreTreeFromState(*Tree(), m_favoritesRoot, m_historyRoot);
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneTask::Refresh(bool keepState, bool force)
{
    if (m_busy)
        return;
    const bool forced = !keepState || force;
    Fill(keepState ? StateSource::Record : StateSource::Load, forced, forced);
}

void CPaneTask::RestoreState()
{
    Tree()->setUpdatesEnabled(false);
    m_state.LoadState(m_app.Users());
    m_state.RestoreTreeFromState(*Tree(), m_favoritesRoot, m_historyRoot);
    m_treeReady = true;
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
}

void CPaneTask::SaveStateForSwitch()
{
    if (m_stateOfOtherUser)
        return;
    m_state.RecordState(*Tree(), m_favoritesRoot, m_historyRoot);
    m_state.WriteState(m_app.Users());
    m_stateOfOtherUser = true;
}

void CPaneTask::ApplyLanguage()
{
    CMyDockablePane::ApplyLanguage();
    CTranslationStore store;
    TranslateActions(store, MenuId, {CmdAddFavorite, CmdEditFavorite, CmdDeleteFavorite, CmdMakeFavorite, CmdResumeNow});
    TranslateActions(store, SortMenuId, {CmdSortByUse, CmdSortByProject, CmdSortByActivity});
    m_sortButton->setToolTip(Action(m_sortCommand)->toolTip());
    if (m_favoritesRoot)
        m_favoritesRoot->setText(0, Platform::Texts::get(181));
    if (m_historyRoot)
        m_historyRoot->setText(0, Platform::Texts::get(182));
    // The groups' names come from the interface language too.
    if (m_treeReady && m_favoritesRoot)
        Fill(StateSource::Record, true, false);
}

// ---------------------------------------------------------------------------
// Items and commands
// ---------------------------------------------------------------------------

int CPaneTask::KindOf(const QTreeWidgetItem *item) const
{
    if (!item || item == m_favoritesRoot || item == m_historyRoot)
        return KindOther;
    const int image = CViewTree::ItemImage(item);
    if (image == CFavoritesTreeState::FavoriteImage)
        return KindFavorite;
    if (image == CFavoritesTreeState::HistoryImage)
        return KindHistory;
    for (const QTreeWidgetItem *p = item->parent(); p; p = p->parent()) {
        if (p == m_favoritesRoot)
            return KindGroup;
    }
    return KindOther;
}

void CPaneTask::UpdateCommandStates()
{
    const int kind = KindOf(SelectedItem());
    const bool editor = bool(m_app.Windows().editFavorite);
    Action(CmdAddFavorite)->setEnabled(editor);
    Action(CmdEditFavorite)->setEnabled(editor && kind == KindFavorite);
    Action(CmdDeleteFavorite)->setEnabled(kind == KindFavorite);
    Action(CmdMakeFavorite)->setEnabled(kind == KindHistory);
    Action(CmdResumeNow)->setEnabled(kind == KindFavorite || kind == KindHistory);
    for (int id : {CmdSortByUse, CmdSortByProject, CmdSortByActivity})
        Action(id)->setChecked(id == m_sortCommand);
}

std::unique_ptr<QMenu> CPaneTask::BuildContextMenu(const QTreeWidgetItem *item)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QString::number(MenuId));
    for (int id : ContextMenuRows) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(Action(id));
    }
    const int kind = KindOf(item);
    if (kind == KindFavorite) {
        menu->removeAction(Action(CmdMakeFavorite));
    } else if (kind == KindHistory) {
        menu->removeAction(Action(CmdEditFavorite));
    } else {
        menu->removeAction(Action(CmdResumeNow));
        menu->removeAction(menu->actions().constLast());
        for (int id : {CmdEditFavorite, CmdDeleteFavorite, CmdMakeFavorite})
            menu->removeAction(Action(id));
    }
    UpdateCommandStates();
    return menu;
}

void CPaneTask::ShowContextMenu(const QPoint &pos)
{
    SelectAt(pos);
    std::unique_ptr<QMenu> menu = BuildContextMenu(SelectedItem());
    menu->exec(Tree()->viewport()->mapToGlobal(pos));
    UpdateCommandStates();
}

void CPaneTask::OnTreeDoubleClick()
{
    StartFromItem(QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
}

void CPaneTask::OnSort(int command)
{
    if (command == m_sortCommand) {
        UpdateCommandStates();
        return;
    }
    m_sortCommand = command;
    m_sortMode = command == CmdSortByProject ? 1 : command == CmdSortByActivity ? 2 : 0;
    Platform::Settings().setInt(u"Config", u"Favoris", u"Sorting", m_sortMode);
    m_sortButton->SetCurrent(Action(command));
    m_sortButton->setToolTip(Action(command)->toolTip());
    ToolBar()->update();
    // The state of the other grouping means nothing in this one: the tree
    // starts open, as reset, rather than as saved at the last exit.
    m_state.Reset(m_sortMode == 1 || m_sortMode == 2);
    if (!m_busy)
        Fill(StateSource::Keep, true, true);
}

void CPaneTask::StartFromItem(bool withDialog)
{
    QTreeWidgetItem *item = SelectedItem();
    const int kind = KindOf(item);
    if (kind != KindFavorite && kind != KindHistory)
        return;
    m_busy = true;
    m_app.StartFavoriteOrRecent(int(CViewTree::ItemData(item)), kind == KindFavorite, withDialog);
    m_busy = false;
    // The tree stays as the user left it.
    Refresh(true, true);
}

// After a change of its own the pane reads the favourites whatever their
// newest stamp says: a change made within the second of the last read
// carries the same stamp and would not be seen.
void CPaneTask::OnAddFavorite()
{
    if (m_app.Windows().editFavorite && m_app.Windows().editFavorite(-1))
        Refresh(true, true);
}

void CPaneTask::OnEditFavorite()
{
    QTreeWidgetItem *item = SelectedItem();
    if (KindOf(item) != KindFavorite || !m_app.Windows().editFavorite)
        return;
    if (m_app.Windows().editFavorite(int(CViewTree::ItemData(item))))
        Refresh(true, true);
}

void CPaneTask::OnDeleteFavorite()
{
    QTreeWidgetItem *item = SelectedItem();
    if (KindOf(item) != KindFavorite)
        return;
    const QString text = Platform::Formatter::sprintf(Platform::Texts::get(678), {item->text(0)});
    if (RememberedMessageBox(text, Platform::Texts::get(166), this, 12, 2,
                             MessageBoxType::YesNo | MessageBoxType::IconQuestion)
        != MessageBoxAnswer::Yes)
        return;
    bool deleted = false;
    {
        CBdD db;
        deleted = db.DeleteFavorite(int(CViewTree::ItemData(item)));
    }
    if (deleted)
        Refresh(true, true);
    else
        ShowWriteFailure();
}

void CPaneTask::OnMakeFavorite()
{
    QTreeWidgetItem *item = SelectedItem();
    if (KindOf(item) != KindHistory)
        return;
    int project = -1, activity = -1, rate = -1;
    if (!m_app.ProjectStore().GetHistoryEntry(int(CViewTree::ItemData(item)), project, activity, rate))
        return;
    int result = CBdD::FavoriteFailed;
    {
        CBdD db;
        result = db.AddFavorite(-1, project, activity, rate, QString());
    }
    if (result == CBdD::FavoriteFailed) {
        ShowWriteFailure();
        return;
    }
    if (result == CBdD::FavoriteExists)
        m_app.ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(222), Platform::Texts::get(472));
    Refresh(true, true);
}

bool CPaneTask::DragInfoOf(const QTreeWidgetItem *item, bool shift, DragInfo &info) const
{
    const int kind = KindOf(item);
    const qint64 data = CViewTree::ItemData(item);
    if ((kind != KindFavorite && kind != KindHistory) || data == -1)
        return false;
    info = DragInfo();
    info.id = int(data);
    info.kind = kind == KindFavorite ? DragKind::Favorite : DragKind::Recent;
    info.openDialog = shift;
    return true;
}

void CPaneTask::OnTreeDrag(QTreeWidgetItem *item, Qt::KeyboardModifiers keys)
{
    DragInfo info;
    if (DragInfoOf(item, keys.testFlag(Qt::ShiftModifier), info))
        RunDrag(info, Qt::CopyAction);
}

bool CPaneTask::HandlesCommand(int id) const
{
    return id == CmdDelete && Action(CmdDeleteFavorite)->isEnabled();
}

void CPaneTask::OnCommand(int id)
{
    if (id == CmdDelete)
        OnDeleteFavorite();
}
