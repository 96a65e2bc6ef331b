#include "CPaneReport.h"

#include "ApplicationImages.h"
#include "CClassToolBar.h"
#include "CReportStore.h"
#include "CTranslationStore.h"
#include "CTreePaneBody.h"
#include "CTreeWidgetFiller.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RememberedMessageBox.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QTreeWidgetItem>

namespace {

struct ActionIcon
{
    int id;
    const char *icon;
};
constexpr ActionIcon ActionIcons[] = {
    {32835, "document-open"},
    {32839, "edit-rename"},
    {32836, "edit-delete"},
};

} // namespace

CPaneReport::CPaneReport(CZarvoWinApp &app, QWidget *parent)
    : CTreePane(app, PaneNumber, CaptionText, ToolBarId, parent)
{
    CreateActions();
    FollowFolderPictures([this](const QTreeWidgetItem *item) { return item == m_root; });
    FillTree(false);
}

void CPaneReport::CreateActions()
{
    for (const ActionIcon &a : ActionIcons)
        ToolBar()->addAction(AddAction(a.id, a.icon));
    connect(Action(CmdOpen), &QAction::triggered, this, &CPaneReport::OnOpen);
    connect(Action(CmdDelete), &QAction::triggered, this, &CPaneReport::OnDelete);
    connect(Action(CmdRename), &QAction::triggered, this, &CPaneReport::OnRename);
    ApplyLanguage();
}

void CPaneReport::ApplyLanguage()
{
    CMyDockablePane::ApplyLanguage();
    CTranslationStore store;
    TranslateActions(store, MenuId, {CmdOpen, CmdRename, CmdDelete});
    TranslateRoot();
}

void CPaneReport::TranslateRoot()
{
    if (m_root)
        m_root->setText(0, Platform::Texts::get(258));
}

// ---------------------------------------------------------------------------
// Filling and the view state
// ---------------------------------------------------------------------------

void CPaneReport::FillTree(bool keepState)
{
    Tree()->setUpdatesEnabled(false);
    if (keepState)
        SaveViewState();
    else
        m_view = tViewState();
    Tree()->clear();
    m_root = new QTreeWidgetItem(QStringList{Platform::Texts::get(258)});
    CViewTree::SetItemImage(m_root, 1);
    m_root->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(0));
    Tree()->addTopLevelItem(m_root);
    FillReports();
    RestoreViewState();
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneReport::ReloadTree()
{
    if (!m_root)
        return;
    Tree()->setUpdatesEnabled(false);
    SaveViewState();
    qDeleteAll(m_root->takeChildren());
    FillReports();
    RestoreViewState();
    Tree()->setUpdatesEnabled(true);
    Tree()->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneReport::FillReports()
{
    CReportStore store;
    CTreeWidgetFiller filler(Tree());
    const QString path = store.Path();
    if (store.FillReportTree(filler, m_root) || !QFileInfo::exists(path)) {
        m_unreadableTold.remove(path);
        return;
    }
    // The file is kept as it is (it may be of a later version, or another's):
    // the user is told why the pane is empty, once for each file, however
    // often the pane is filled, and once the window that is being built
    // or refilled stands.
    if (m_unreadableTold.contains(path))
        return;
    m_unreadableTold.insert(path);
    QTimer::singleShot(0, this, [this, path] {
        m_app.ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173),
                          Platform::Formatter::sprintf(Platform::Texts::get(UnreadableText),
                                                       {QDir::toNativeSeparators(path)}));
    });
}

void CPaneReport::SaveViewState()
{
    m_view.rootExpanded = !m_root || m_root->isExpanded();
    const QTreeWidgetItem *first = Tree()->FirstVisibleItem();
    m_view.firstVisibleId = -1;
    m_view.underRoot = -1;
    if (!first) {
        m_view.firstVisibleKind = -1;
    } else if (first == Tree()->topLevelItem(0) || first == m_root) {
        m_view.firstVisibleKind = first == Tree()->topLevelItem(0) ? 0 : 1;
    } else {
        m_view.firstVisibleKind = 4;
        m_view.firstVisibleId = int(CViewTree::ItemData(first));
        m_view.underRoot = first->parent() == m_root ? 1 : -1;
    }
}

void CPaneReport::RestoreViewState()
{
    if (m_root)
        m_root->setExpanded(m_view.rootExpanded);
    QTreeWidgetItem *first = nullptr;
    if (m_view.firstVisibleKind == 0) {
        first = Tree()->topLevelItem(0);
    } else if (m_view.firstVisibleKind == 1) {
        first = m_root;
    } else if (m_view.firstVisibleKind == 4 && m_view.underRoot == 1 && m_root) {
        // Every child is looked at, the first one included.
        for (int i = 0; i < m_root->childCount() && !first; ++i) {
            if (CViewTree::ItemData(m_root->child(i)) == m_view.firstVisibleId)
                first = m_root->child(i);
        }
    }
    Tree()->ScrollToTop(first ? first : m_root);
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

QTreeWidgetItem *CPaneReport::SelectedReport() const
{
    QTreeWidgetItem *item = SelectedItem();
    return item && CViewTree::ItemImage(item) == CReportStore::ReportImage ? item : nullptr;
}

void CPaneReport::UpdateCommandStates()
{
    const bool report = SelectedReport() != nullptr;
    Action(CmdOpen)->setEnabled(report && m_app.Windows().reportFrame);
    Action(CmdRename)->setEnabled(report && m_app.Windows().askName);
    Action(CmdDelete)->setEnabled(report);
}

std::unique_ptr<QMenu> CPaneReport::BuildContextMenu(const QTreeWidgetItem *item)
{
    if (!item || CViewTree::ItemImage(item) != CReportStore::ReportImage)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QString::number(MenuId));
    for (int id : {CmdOpen, CmdRename, CmdDelete})
        menu->addAction(Action(id));
    UpdateCommandStates();
    return menu;
}

void CPaneReport::ShowContextMenu(const QPoint &pos)
{
    SelectAt(pos);
    if (std::unique_ptr<QMenu> menu = BuildContextMenu(SelectedItem()))
        menu->exec(Tree()->viewport()->mapToGlobal(pos));
    UpdateCommandStates();
}

void CPaneReport::OnOpen()
{
    QTreeWidgetItem *item = SelectedReport();
    if (!item || !m_app.Windows().reportFrame)
        return;
    m_app.OpenReport(int(CViewTree::ItemData(item)), false, 2, false);
}

void CPaneReport::OnDelete()
{
    QTreeWidgetItem *item = SelectedReport();
    if (!item)
        return;
    const int id = int(CViewTree::ItemData(item));
    const QString text = Platform::Formatter::sprintf(Platform::Texts::get(162), {item->text(0)});
    if (RememberedMessageBox(text, Platform::Texts::get(128), this, 13, 2,
                             MessageBoxType::YesNo | MessageBoxType::IconQuestion)
        != MessageBoxAnswer::Yes)
        return;
    // A definition that is still there keeps its windows.
    if (!CReportStore().DeleteReport(id)) {
        ShowWriteFailure();
        return;
    }
    m_app.ForgetReport(id);
    ReloadTree();
}

void CPaneReport::OnRename()
{
    QTreeWidgetItem *item = SelectedReport();
    if (!item || !m_app.Windows().askName)
        return;
    const int id = int(CViewTree::ItemData(item));
    QString name = item->text(0);
    if (!m_app.Windows().askName(name))
        return;
    if (!CReportStore().RenameReport(id, name)) {
        ShowWriteFailure();
        return;
    }
    m_app.RenameReportWindow(id, name);
    ReloadTree();
}

bool CPaneReport::HandlesCommand(int id) const
{
    return id == CmdMainDelete && Action(CmdDelete)->isEnabled();
}

void CPaneReport::OnCommand(int id)
{
    if (id == CmdMainDelete)
        OnDelete();
}
