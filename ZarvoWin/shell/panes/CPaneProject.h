#pragma once
#include "CInterfaceDropTarget.h"
#include "CTreePane.h"
#include "CPaneCommandTarget.h"
#include "tProjectTreeState.h"

#include <memory>

class CProject;
class QDrag;
class QMenu;

// The docking pane "Projets / Activités": one tree with the projects (the
// project store's tree), the activities and the hourly rates. From it the
// user edits, deletes, types, copies and moves projects, edits activities
// and rates, starts a task on a project or an activity, and drags a project
// or an activity onto the calendar or the forecast view. The open branches,
// the selection, the first visible item and the collapsed projects are kept
// per user.
class CPaneProject : public CTreePane, public CDropTargetWindow, public CPaneCommandTarget
{
    Q_OBJECT
public:
    static constexpr int PaneNumber = 134;
    static constexpr int CaptionText = 259;
    static constexpr int ToolBarId = 372;
    static constexpr int MenuId = 495;

    // Item kinds, from the item's place in the tree.
    enum ItemKind {
        KindNone = 0,
        KindProjectsRoot = 2,
        KindActivitiesRoot = 3,
        KindRatesRoot = 4,
        KindProject = 5,
        KindActivity = 6,
        KindRate = 7,
    };
    enum Command {
        CmdAddProject = 32784,
        CmdAddActivity = 32785,
        CmdAddRate = 32787,
        CmdEdit = 32789,
        CmdDelete = 32791,
        CmdResumeNow = 32997,
        CmdCopyProject = 33145,
        CmdTypePlaceholder = 33081,
        CmdFirstType = 33082, // + the project type (0 to 5)
        CmdLastTypeRange = 33090,
        CmdInitialise = 33060,
        CmdSelectChildren = 33136,
    };
    // Where a point stands for a drop.
    enum class DropZone { Elsewhere, ProjectsRoot, RightOfLabel, UpperHalf, LowerHalf };

    explicit CPaneProject(CZarvoWinApp &app, QWidget *parent = nullptr);
    // Writes the tree state of the current user.
    ~CPaneProject() override;

    QTreeWidgetItem *ProjectsRoot() const { return m_projectsRoot; }
    QTreeWidgetItem *ActivitiesRoot() const { return m_activitiesRoot; }
    QTreeWidgetItem *RatesRoot() const { return m_ratesRoot; }

    // --- The tree ----------------------------------------------------------
    void FillTree();
    // Rebuilds the projects (true) or the activities (false) branch,
    // keeping the state; a read that fails keeps the branch as it was.
    void ReloadBranch(bool projects);
    void ReloadRates();
    void RefreshProjectItem(int projectId);
    void ApplyLanguage() override;

    // The per-user state: taken from the tree, put back on it, read and
    // written (written also before a user switch).
    void SaveTreeState();
    void RestoreTreeState();
    void LoadTreeState();
    void WriteTreeState();
    const tProjectTreeState &TreeState() const { return m_state; }

    int KindOf(const QTreeWidgetItem *item) const;
    int SelectedKind() const;
    // The project store's node of a project item; null for another item or
    // a project the store does not hold.
    CProject *NodeOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *FindProjectItem(int projectId) const;

    // --- Commands ------------------------------------------------------------
    void UpdateCommandStates() override;
    // Menu 495 as the context menu shows it on an item of `kind`.
    std::unique_ptr<QMenu> BuildContextMenu(int kind);
    void OnEdit();
    void OnDelete();
    void OnAddProject();
    void OnResumeNow();
    void OnSetType(int command);
    void OnCopyProject();

    bool HandlesCommand(int id) const override;
    void OnCommand(int id) override;

    // --- Drag and drop -------------------------------------------------------
    // The effect of dropping `dragged` (a real project node) on `target`
    // (the project item's node; unused over the projects branch) in `zone`:
    // 0 none, 2 move under, 8/16 move before/after, 32 copy under, 64/128
    // copy before/after. Copies only when `canCopy`.
    static int GetDropMode(const CProject *dragged, const CProject *target, DropZone zone, bool ctrl,
                           bool canCopy);
    // What a drop does.
    struct tDropPlan
    {
        enum Action { Nothing, ToTopLevel, Move, Refused, Copy };
        Action action = Nothing;
        CProject *newParent = nullptr;
        CProject *reference = nullptr; // the sibling of reference (before or after)
        int position = 0;              // 0 last child, 1 before, 2 after
    };
    // `target` is the store's root over the projects branch.
    static tDropPlan PlanDrop(CProject *dragged, CProject *target, DropZone zone, bool ctrl);
    // The zone at a point of the tree's viewport, and its item.
    DropZone ZoneAt(const QPoint &point, QTreeWidgetItem **item) const;
    // Carries out the drop of project `projectId` at `point`.
    void DropProject(int projectId, const QPoint &point, bool ctrl);

    Kind DropTargetKind() const override { return Kind::ProjectPane; }
    Qt::DropAction DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point) override;
    void DropItem(const DragInfo &info, const QPoint &point) override;

    // The payload a drag from `item` carries; false for an item that does
    // not drag.
    bool DragInfoOf(const QTreeWidgetItem *item, bool shift, DragInfo &info) const;

protected:
    void ShowContextMenu(const QPoint &pos) override;
    void OnTreeDoubleClick() override { OnEdit(); }
    void OnTreeDeleteKey() override { OnDelete(); }
    void OnTreeDrag(QTreeWidgetItem *item, Qt::KeyboardModifiers keys) override;

private:
    void CreateActions();
    QTreeWidgetItem *InsertTopItem(int textId);
    bool RefillFlatBranch(QTreeWidgetItem *root, bool activities);
    QTreeWidgetItem *FindItem(int kind, int data) const;
    int AskDelete(int questionId, const QString &text);

    QTreeWidgetItem *m_projectsRoot = nullptr;
    QTreeWidgetItem *m_activitiesRoot = nullptr;
    QTreeWidgetItem *m_ratesRoot = nullptr;
    tProjectTreeState m_state;
    Qt::KeyboardModifiers m_dragKeys;
    QDrag *m_drag = nullptr; // our drag while it runs, for its cursor
};
