#pragma once
#include "CTreePane.h"
#include "CPaneCommandTarget.h"

#include <QSet>
#include <QString>

#include <memory>

class QMenu;

// The docking pane "Rapports": the current user's saved report definitions
// under one root item; the user opens, renames and deletes them from here.
class CPaneReport : public CTreePane, public CPaneCommandTarget
{
    Q_OBJECT
public:
    static constexpr int PaneNumber = 137;
    static constexpr int CaptionText = 258;
    static constexpr int ToolBarId = 376;
    static constexpr int MenuId = 368;
    // The user's report definitions cannot be read from the file named.
    static constexpr int UnreadableText = 25100;
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

    QTreeWidgetItem *Root() const { return m_root; }
    const tViewState &ViewState() const { return m_view; }

    // Refills the tree, keeping what it showed or starting afresh.
    void FillTree(bool keepState);
    // Refills the reports below the root, keeping what it showed.
    void ReloadTree();
    void TranslateRoot();
    void ApplyLanguage() override;

    // The selected item when it is a report; null otherwise.
    QTreeWidgetItem *SelectedReport() const;

    void UpdateCommandStates() override;
    // Menu 368 for `item`; null where none is shown (the root, nothing).
    std::unique_ptr<QMenu> BuildContextMenu(const QTreeWidgetItem *item);
    void OnOpen();
    void OnDelete();
    void OnRename();

    bool HandlesCommand(int id) const override;
    void OnCommand(int id) override;

protected:
    void ShowContextMenu(const QPoint &pos) override;
    void OnTreeDoubleClick() override { OnOpen(); }
    void OnTreeDeleteKey() override { OnDelete(); }

private:
    void CreateActions();
    void SaveViewState();
    void RestoreViewState();
    // Refills the reports below the root.
    void FillReports();
    QTreeWidgetItem *m_root = nullptr;
    tViewState m_view;
    // The report files found unreadable and told about.
    QSet<QString> m_unreadableTold;
};
