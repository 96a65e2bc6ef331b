#include "CTreePane.h"

#include "ApplicationImages.h"
#include "CClassToolBar.h"
#include "CMyOleDropSource.h"
#include "CTranslationStore.h"
#include "CTreePaneBody.h"
#include "CViewTree.h"
#include "CZarvoWinApp.h"
#include "DragPayload.h"
#include "MessageBoxParams.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QDrag>
#include <QTreeWidgetItem>

CTreePane::CTreePane(CZarvoWinApp &app, int paneNumber, int captionText, int toolBarId, QWidget *parent)
    : CMyDockablePane(paneNumber, captionText, parent)
    , m_app(app)
{
    m_tree = new CViewTree;
    m_toolBar = new CClassToolBar(toolBarId, this);
    m_toolBar->SetStateUpdater([this] { UpdateCommandStates(); });
    m_body = new CTreePaneBody(m_toolBar, m_tree, this);
    setWidget(m_body);
    setFocusProxy(m_body);
    SetPaneTreeImageList(m_tree);

    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) { ShowContextMenu(pos); });
    connect(m_tree, &CViewTree::doubleClicked, this, [this] { OnTreeDoubleClick(); });
    connect(m_tree, &CViewTree::deletePressed, this, [this] { OnTreeDeleteKey(); });
    connect(m_tree, &CViewTree::dragRequested, this,
            [this](QTreeWidgetItem *item, Qt::KeyboardModifiers keys) { OnTreeDrag(item, keys); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandStates(); });
}

QTreeWidgetItem *CTreePane::SelectedItem() const
{
    QTreeWidgetItem *item = m_tree->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

QAction *CTreePane::AddAction(int id, const char *iconName)
{
    auto *action = new QAction(QIcon::fromTheme(QString::fromLatin1(iconName)), QString(), this);
    action->setObjectName(QString::number(id));
    WidgetIds::SetCommandId(action, id);
    m_actions.insert(id, action);
    return action;
}

void CTreePane::TranslateActions(CTranslationStore &store, int menuId, const QList<int> &ids)
{
    for (int id : ids) {
        QAction *action = Action(id);
        if (!action)
            continue;
        const QString text = store.GetMenuString(menuId, id);
        action->setText(text);
        action->setToolTip(QString(text).remove(u'&'));
    }
}

void CTreePane::SelectAt(const QPoint &pos)
{
    if (QTreeWidgetItem *item = m_tree->itemAt(pos)) {
        m_tree->setCurrentItem(item);
        item->setSelected(true);
    }
    m_tree->setFocus();
}

void CTreePane::FollowFolderPictures(std::function<bool(const QTreeWidgetItem *)> isFolder)
{
    auto picture = [isFolder](QTreeWidgetItem *item, bool open) {
        if (item && isFolder(item))
            CViewTree::SetItemImage(item, open ? 1 : 0);
    };
    connect(m_tree, &QTreeWidget::itemExpanded, this, [picture](QTreeWidgetItem *item) { picture(item, true); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [picture](QTreeWidgetItem *item) { picture(item, false); });
}

void CTreePane::RunDrag(const DragInfo &info, Qt::DropActions actions, QDrag **current)
{
    auto *drag = new QDrag(m_tree);
    drag->setMimeData(MakeDragPayload(info));
    CMyOleDropSource::Prepare(*drag);
    if (current)
        *current = drag;
    drag->exec(actions, Qt::CopyAction);
    if (current)
        *current = nullptr;
}

void CTreePane::ShowWriteFailure()
{
    m_app.ShowMessage(MessageBoxType::IconExclamation, Platform::Texts::get(173), Platform::Texts::get(226));
}
