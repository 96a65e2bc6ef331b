#pragma once
#include "CForecastScheduler.h"
#include "CTreeGridRows.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class CProject;
class CProjectStore;

// The rows of the project-tracking grid, without a window: the tree of the
// project store's nodes under one total row, the filters (completed and
// inactive nodes hidden, only the ticked rows shown, or ticking rows), the
// sort by a column or the store's own order, the refresh that reloads and
// reschedules when needed, and the view state (collapsed rows, the rows
// near the top, the selection) that outlives every rebuild and is kept per
// user from one run to the next.
//
// The model holds nodes of the store by pointer between two builds. The
// store counts its changes (CProjectStore::ChangeCount), and the nodes may
// be gone once it has moved on: IsStale() tells so, and a rebuild
// (Rebuild) takes the tree from the store again without reading a node of
// the old one.
//
// The first visible row, the rows per page and the selection are the
// window's; it hands them over before an operation (SetViewport) and
// takes them back after (FirstRowRequest, SelectedRow).
class ForecastGridModel : public CTreeGridRows
{
public:
    // One row of the grid: a node of the store and the tree around it. An
    // item owns its children.
    struct CTreeItem
    {
        std::vector<std::unique_ptr<CTreeItem>> children;
        CTreeItem *parent = nullptr;
        bool collapsed = false;
        int row = -1; // -1 while not listed
        int depth = 1;
        int check = 1; // 1 ticked, 0 not
        CProject *node = nullptr;
        int projectId = -1;
        int activityId = -2;
    };

    // A row kept by its ids, with its distance from the first visible row.
    struct tRowRef
    {
        int projectId = -1;
        int activityId = -1;
        int offset = 0;
        bool IsNone() const { return projectId == -1 && activityId == -1; }
        bool operator==(const tRowRef &other) const = default;
    };
    struct tViewState
    {
        std::vector<int> collapsed; // project ids
        tRowRef anchor;
        tRowRef neighbour1;
        tRowRef neighbour2;
        tRowRef selection{-1, -1, -1};
    };

    // What a refresh reads, runs and shows beyond the store: the database,
    // the scheduler, the settings object, the users database and a message
    // box. ApplicationData() gives the application's; tests record.
    struct tData
    {
        // Reloads every project into the store.
        std::function<void()> reloadProjects;
        // Reads the forecast rows and the recorded time again; true when
        // anything changed.
        std::function<bool()> readForecastChanges;
        std::function<tForecastRun()> computeForecast;
        // The "Real Time" option: the scheduler runs at every refresh.
        std::function<bool()> realTime;
        // The current user's values by name (names replaced by the values);
        // false when nothing could be read.
        std::function<bool(QStringList &names)> readUserSettings;
        std::function<bool(const QStringList &names, const QStringList &values)> writeUserSettings;
        // Shows the scheduler's warning (modal).
        std::function<void(const QString &warning)> showWarning;
    };
    static tData ApplicationData();

    // What a refresh did.
    struct tRefreshResult
    {
        bool rebuilt = false;
        bool scheduled = false;
        bool resorted = false;
        bool operator==(const tRefreshResult &other) const = default;
    };

    // The store by default is the application's.
    explicit ForecastGridModel(CProjectStore *store = nullptr);
    ~ForecastGridModel() override;

    void SetData(tData data) { m_data = std::move(data); }
    tData &Data() { return m_data; }
    CProjectStore *Store() const { return m_store; }

    // --- Rows ---------------------------------------------------------------
    int RowCount() const override { return int(m_rows.size()); }
    tTreeRowShape RowShape(int row) const override;
    CTreeItem *Item(int row) const;
    CTreeItem *Root() const { return m_root.get(); }
    bool IsTotalRow(const CTreeItem *item) const { return item && item == m_root.get(); }
    // The row of a node by its ids; -1 when it is not listed.
    int FindRow(int projectId, int activityId = -2) const;
    // The node's key in the hidden list: ";<project id>,<activity id>".
    static QString HiddenKey(int projectId, int activityId);
    bool IsHidden(int projectId, int activityId) const;

    // --- Filters ------------------------------------------------------------
    // 0 shows every row, 1 only the ticked ones, 2 shows check images and
    // lets rows be ticked.
    int filterMode = 0;
    bool hideCompleted = false;
    bool hideInactive = false;
    // ";%d,%d" of every unticked row, closed by ";" when not empty.
    QString hidden;

    // --- Sort -----------------------------------------------------------------
    int SortId() const { return m_sortId; }
    bool Ascending() const { return m_ascending; }
    // Sets the sort without sorting (settings read at start).
    void SetSort(int id, bool ascending);

    // --- Operations ---------------------------------------------------------
    // Deletes the tree and builds it from the store with the filters.
    void BuildTree();
    // Lists the rows again: the total row, then depth first every child of
    // an expanded item.
    void Relist();
    // Sorts every item's children (the sort's keys computed once), then
    // relists.
    void Resort();
    // Builds the tree again from the store, keeping the view state.
    void ApplyFilter();
    // After the store changed under the tree (IsStale): the same as
    // ApplyFilter without reading a node of the old tree.
    void Rebuild() { ApplyFilter(); }
    bool IsStale() const;

    // The check of one row changes: unticking a row unticks its
    // descendants, ticking it ticks its ancestors.
    void ToggleCheck(CTreeItem *item);
    // Ticks a row, its descendants and its ancestors.
    void SelectChildren(CTreeItem *item);
    void UpdateHiddenList();

    // Expands a collapsed item or collapses an expanded one; false for an
    // item without children.
    bool ToggleExpanded(CTreeItem *item);

    // Changes the sort: a new column sorts ascending; the same column
    // turns ascending into descending, and descending back into ascending,
    // or into the store's order when `resetAllowed` (so that clicks on a
    // header cycle); the store's order (-1) turns. Ids outside 0..16 mean
    // -1. The sort is written to the settings.
    void SortOn(int id, bool resetAllowed);

    // Reloads the store (reload), takes the view state from the settings
    // (restoreSaved), runs the scheduler (recompute) and keeps the selected
    // row at its distance from the top (keepOffset), each when asked or
    // needed; `visible` tells whether the window shows. Nothing while the
    // scheduler's warning is shown.
    tRefreshResult Refresh(bool reload, bool restoreSaved, bool recompute, bool keepOffset, bool visible);
    bool NeedsFullRebuild() const { return m_needsFullRebuild; }

    // --- View state ---------------------------------------------------------
    void SaveViewState();
    void RestoreViewState(bool keepOffset);
    const tViewState &ViewState() const { return m_viewState; }
    void SetViewState(const tViewState &state) { m_viewState = state; }

    // Filters and sort from the settings file, the view state and hidden
    // list of the current user.
    void LoadSettings();
    // The view state taken from the rows, then filters and the current
    // user's layout written.
    void SaveSettings();

    static QString WritePos(const tViewState &state);
    // Reads the four items of a Pos value into the state; an item that is
    // missing or malformed resets that entry only.
    static void ReadPos(const QString &text, tViewState &state);
    static QString WriteCollapsed(const std::vector<int> &ids);
    static std::vector<int> ReadCollapsed(const QString &text);

    // --- The window's viewport ----------------------------------------------
    void SetViewport(int firstRow, int rowsPerPage, int selectedRow);
    int FirstRow() const { return m_firstRow; }
    // The first row the window should scroll to after an operation; -1
    // when it stays. Reading it clears it.
    int TakeFirstRowRequest();
    int SelectedRow() const;
    CTreeItem *SelectedItem() const { return m_selected; }
    void SelectRow(int row);

private:
    int BuildChildren(CTreeItem *item);
    void ListItem(CTreeItem *item);
    void SortChildren(CTreeItem *item);
    bool Takes(const CProject *node) const;
    void TickDescendants(CTreeItem *item, int check);
    void TickAncestors(CTreeItem *item);
    void CollectHidden(const CTreeItem *item, QString &text) const;
    void CollectCollapsed(const CTreeItem *item, std::vector<int> &ids) const;
    void CollapseByIds(CTreeItem *item, const std::vector<int> &ids);
    int RowOf(const tRowRef &ref) const;
    void ResortKeepingView();

    CProjectStore *m_store;
    tData m_data;
    std::unique_ptr<CTreeItem> m_root;
    std::vector<CTreeItem *> m_rows;
    int m_sortId = -1;
    bool m_ascending = true;
    tViewState m_viewState;
    bool m_needsFullRebuild = true;
    bool m_built = false;
    quint64 m_builtChange = 0;
    bool m_showingWarning = false;

    int m_firstRow = 0;
    int m_rowsPerPage = 1;
    CTreeItem *m_selected = nullptr;
    int m_firstRowRequest = -1;
};
