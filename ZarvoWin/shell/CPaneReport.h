#pragma once
#include "CMyDockablePane.h"
#include "CPaneCommandTarget.h"

#include <QHash>
#include <memory>

class CClassToolBar;
class CTreePaneBody;
class CViewTree;
class CZarvoWinApp;
class QAction;
class QMenu;
class QTreeWidgetItem;

// The docking pane "Rapports": the current user's saved report definitions
// under one root item; the user opens, renames and deletes them from here.
class CPaneReport : public CMyDockablePane, public CPaneCommandTarget
{
    Q_OBJECT
public:
    static constexpr int PaneNumber = 137;
    static constexpr int CaptionText = 258;
    static constexpr int ToolBarId = 376;
    static constexpr int MenuId = 368;
    enum Command { CmdOpen = 32835, CmdDelete = 32836, CmdRename = 32839, CmdMainDelete = 32791 };

    // What the pane remembers of the tree across a refill.
    struct tViewState
    {
        bool rootExpanded = true;
        int firstVisibleKind = -1; // -1 none, 0 the first item, 1 the root, 4 a report
        int firstVisibleId = -1;
        int underRoot = -1; // 1 when that report sits right below the root
    };

    explicit CPaneReport(CZarvoWinApp &app, QWidget *parent = nullptr);

    CViewTree *Tree() const { return m_tree; }
    CClassToolBar *ToolBar() const { return m_toolBar; }
    QAction *Action(int id) const { return m_actions.value(id, nullptr); }
    QTreeWidgetItem *Root() const { return m_root; }
    const tViewState &ViewState() const { return m_view; }

    // Refills the tree, keeping what it showed or starting afresh.
    void FillTree(bool keepState);
    // Refills the reports below the root, keeping what it showed.
    void ReloadTree();
    void TranslateRoot();
    void ApplyLanguage();

    QTreeWidgetItem *SelectedItem() const;
    // The selected item when it is a report; null otherwise.
    QTreeWidgetItem *SelectedReport() const;

    void UpdateCommandStates();
    // Menu 368 for `item`; null where none is shown (the root, nothing).
    std::unique_ptr<QMenu> BuildContextMenu(const QTreeWidgetItem *item);
    void OnOpen();
    void OnDelete();
    void OnRename();

    bool HandlesCommand(int id) const override;
    void OnCommand(int id) override;

private:
    void CreateActions();
    void SaveViewState();
    void RestoreViewState();
    void ShowContextMenu(const QPoint &pos);
    void ShowWriteFailure();

    CZarvoWinApp &m_app;
    CClassToolBar *m_toolBar = nullptr;
    CViewTree *m_tree = nullptr;
    CTreePaneBody *m_body = nullptr;
    QHash<int, QAction *> m_actions;
    QTreeWidgetItem *m_root = nullptr;
    tViewState m_view;
};
