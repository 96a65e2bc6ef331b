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
#include <QMenu>
#include <QTreeWidgetItem>

namespace {

const char *const ActionIcons[][2] = {
    {"32835", "document-open"},
    {"32839", "edit-rename"},
    {"32836", "edit-delete"},
};

} // namespace

CPaneReport::CPaneReport(CZarvoWinApp &app, QWidget *parent)
    : CMyDockablePane(PaneNumber, CaptionText, parent)
    , m_app(app)
{
    m_tree = new CViewTree;
    m_toolBar = new CClassToolBar(ToolBarId, this);
    CreateActions();
    m_body = new CTreePaneBody(m_toolBar, m_tree, this);
    setWidget(m_body);
    setFocusProxy(m_body);
    SetPaneTreeImageList(m_tree);

    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CPaneReport::ShowContextMenu);
    connect(m_tree, &CViewTree::doubleClicked, this, [this] { OnOpen(); });
    connect(m_tree, &CViewTree::deletePressed, this, [this] { OnDelete(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandStates(); });
    // The root's folder opens and closes with it.
    connect(m_tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (item == m_root)
            CViewTree::SetItemImage(item, 1);
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (item == m_root)
            CViewTree::SetItemImage(item, 0);
    });
    FillTree(false);
}

void CPaneReport::CreateActions()
{
    for (const auto &pair : ActionIcons) {
        const int id = QString::fromLatin1(pair[0]).toInt();
        auto *action = new QAction(QIcon::fromTheme(QString::fromLatin1(pair[1])), QString(), this);
        action->setObjectName(QString::number(id));
        WidgetIds::SetCommandId(action, id);
        m_actions.insert(id, action);
        m_toolBar->addAction(action);
    }
    connect(Action(CmdOpen), &QAction::triggered, this, &CPaneReport::OnOpen);
    connect(Action(CmdDelete), &QAction::triggered, this, &CPaneReport::OnDelete);
    connect(Action(CmdRename), &QAction::triggered, this, &CPaneReport::OnRename);
    m_toolBar->SetStateUpdater([this] { UpdateCommandStates(); });
    ApplyLanguage();
}

void CPaneReport::ApplyLanguage()
{
    CMyDockablePane::ApplyLanguage();
    CTranslationStore store;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const QString text = store.GetMenuString(MenuId, it.key());
        it.value()->setText(text);
        it.value()->setToolTip(QString(text).remove(u'&'));
    }
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
    m_tree->setUpdatesEnabled(false);
    if (keepState)
        SaveViewState();
    else
        m_view = tViewState();
    m_tree->clear();
    m_root = new QTreeWidgetItem(QStringList{Platform::Texts::get(258)});
    CViewTree::SetItemImage(m_root, 1);
    m_root->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(0));
    m_tree->addTopLevelItem(m_root);
    {
        CTreeWidgetFiller filler(m_tree);
        CReportStore().FillReportTree(filler, m_root);
    }
    RestoreViewState();
    m_tree->setUpdatesEnabled(true);
    m_tree->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneReport::ReloadTree()
{
    if (!m_root)
        return;
    m_tree->setUpdatesEnabled(false);
    SaveViewState();
    qDeleteAll(m_root->takeChildren());
    {
        CTreeWidgetFiller filler(m_tree);
        CReportStore().FillReportTree(filler, m_root);
    }
    RestoreViewState();
    m_tree->setUpdatesEnabled(true);
    m_tree->viewport()->repaint();
    UpdateCommandStates();
}

void CPaneReport::SaveViewState()
{
    m_view.rootExpanded = !m_root || m_root->isExpanded();
    const QTreeWidgetItem *first = m_tree->FirstVisibleItem();
    m_view.firstVisibleId = -1;
    m_view.underRoot = -1;
    if (!first) {
        m_view.firstVisibleKind = -1;
    } else if (first == m_tree->topLevelItem(0) || first == m_root) {
        m_view.firstVisibleKind = first == m_tree->topLevelItem(0) ? 0 : 1;
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
        first = m_tree->topLevelItem(0);
    } else if (m_view.firstVisibleKind == 1) {
        first = m_root;
    } else if (m_view.firstVisibleKind == 4 && m_view.underRoot == 1 && m_root) {
        // Every child is looked at, the first one included.
        for (int i = 0; i < m_root->childCount() && !first; ++i) {
            if (CViewTree::ItemData(m_root->child(i)) == m_view.firstVisibleId)
                first = m_root->child(i);
        }
    }
    m_tree->ScrollToTop(first ? first : m_root);
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

QTreeWidgetItem *CPaneReport::SelectedItem() const
{
    QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

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
    if (QTreeWidgetItem *item = m_tree->itemAt(pos)) {
        m_tree->setCurrentItem(item);
        item->setSelected(true);
    }
    m_tree->setFocus();
    if (std::unique_ptr<QMenu> menu = BuildContextMenu(SelectedItem()))
        menu->exec(m_tree->viewport()->mapToGlobal(pos));
    UpdateCommandStates();
}

void CPaneReport::OnOpen()
{
    QTreeWidgetItem *item = SelectedReport();
    if (!item || !m_app.Windows().reportFrame)
        return;
    m_app.OpenReport(int(CViewTree::ItemData(item)), false, 2, false);
}

void CPaneReport::ShowWriteFailure()
{
    m_app.ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173), Platform::Texts::get(226));
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
