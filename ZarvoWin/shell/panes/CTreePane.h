#pragma once
#include "CMyDockablePane.h"

#include <QHash>
#include <functional>

class CClassToolBar;
class CTreePaneBody;
class CTranslationStore;
class CViewTree;
class CZarvoWinApp;
class QAction;
class QDrag;
class QTreeWidgetItem;
struct DragInfo;

// What the project, task and report panes share: the toolbar of the pane's
// own commands above the tree (laid out and framed by CTreePaneBody), the
// tree's image list by the big-icons option, focus to the tree, the
// context menu, double click, Delete key and drag of the tree handed to
// the pane, command states recomputed when the selection changes, the
// write-failure box and the drag of the panes' payload.
class CTreePane : public CMyDockablePane
{
    Q_OBJECT
public:
    CTreePane(CZarvoWinApp &app, int paneNumber, int captionText, int toolBarId, QWidget *parent);

    CViewTree *Tree() const { return m_tree; }
    CClassToolBar *ToolBar() const { return m_toolBar; }
    // The pane's own commands (toolbar and context menu).
    QAction *Action(int id) const { return m_actions.value(id, nullptr); }
    // The selected item; null when none is selected.
    QTreeWidgetItem *SelectedItem() const;

    virtual void UpdateCommandStates() = 0;

protected:
    // A command of the pane with its theme icon, its number kept for the
    // translation of menus.
    QAction *AddAction(int id, const char *iconName);
    // The commands' texts from `menuId` of the interface language.
    void TranslateActions(CTranslationStore &store, int menuId, const QList<int> &ids);
    // Selects the item under `pos` (of the viewport) and gives the tree the
    // focus, as a right click does before a context menu.
    void SelectAt(const QPoint &pos);
    // Top items for which `isFolder` holds show an open folder while
    // expanded and a closed one while collapsed.
    void FollowFolderPictures(std::function<bool(const QTreeWidgetItem *)> isFolder);
    // Runs a drag of the panes' payload with the program's drop cursors;
    // `current` (when given) holds the drag while it runs.
    void RunDrag(const DragInfo &info, Qt::DropActions actions, QDrag **current = nullptr);
    void ShowWriteFailure();

    virtual void ShowContextMenu(const QPoint &pos) = 0;
    virtual void OnTreeDoubleClick() = 0;
    virtual void OnTreeDeleteKey() = 0;
    virtual void OnTreeDrag(QTreeWidgetItem *item, Qt::KeyboardModifiers keys)
    {
        (void)item;
        (void)keys;
    }

    CZarvoWinApp &m_app;

private:
    CClassToolBar *m_toolBar = nullptr;
    CViewTree *m_tree = nullptr;
    CTreePaneBody *m_body = nullptr;
    QHash<int, QAction *> m_actions;
};
