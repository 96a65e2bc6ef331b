#pragma once
#include "CTreeGridRows.h"
#include "CTreeItem.h"

#include <functional>
#include <memory>
#include <memory_resource>
#include <vector>

// The rows of a report as a tree, without a window: root rows in order,
// each owning its subtree, and the visible rows (the roots and the
// children of expanded rows, in display order) that a tree grid shows.
// Inserting keeps the visible rows as they are until RenumberRows or the
// report's ShowRows rebuild them; Expand and Collapse change them in
// place.
class CReportRowTree : public CTreeGridRows
{
public:
    CReportRowTree();
    ~CReportRowTree() override;

    int RootCount() const { return int(m_roots.size()); }
    CTreeItem *Root(int i) const { return m_roots[size_t(i)].get(); }
    CTreeItem *FirstRoot() const { return m_roots.empty() ? nullptr : m_roots.front().get(); }

    // A new root row at the end of the roots.
    CTreeItem *InsertRootItem(tReportRow record);
    // A new last child of `parent`.
    CTreeItem *InsertItem(CTreeItem *parent, tReportRow record);
    // A new child of `parent` before the child at `position` (at the end
    // when the position is past the last child).
    CTreeItem *InsertItemBefore(CTreeItem *parent, int position, tReportRow record);
    // A new child placed before the first child whose row text compares
    // greater (equal texts keep their arrival order).
    CTreeItem *InsertItemSorted(CTreeItem *parent, tReportRow record);

    // Removes a row with its subtree (from the visible rows too).
    void DeleteItem(CTreeItem *item);
    void DeleteRootItem(CTreeItem *item) { DeleteItem(item); }
    void DeleteAll();
    // Removes every child of `parent` (every root when null) that
    // `remove` picks, with their subtrees, in one pass. The visible rows
    // are left alone: callers rebuild them.
    void RemoveChildrenIf(CTreeItem *parent, const std::function<bool(const CTreeItem &)> &remove);

    // Expands a collapsed row that has children, whose list position is
    // `position`: its visible descendants follow it in the visible rows.
    // Returns position + the number of its children, or position when
    // nothing changed.
    int Expand(CTreeItem *item, int position);
    // Hides the visible descendants of a row that has children.
    void Collapse(CTreeItem *item);

    // The row's position in display order over the roots and their
    // expanded subtrees; -1 when it is hidden.
    int GetVisibleIndex(const CTreeItem *item) const;
    // The row after `current` in depth-first order within `top`'s subtree
    // (skipping the children of collapsed rows when asked); null past the
    // end. A null current starts at `top` itself.
    CTreeItem *GetNextItem(const CTreeItem *top, const CTreeItem *current, bool honourCollapse) const;
    static bool IsInSubtree(const CTreeItem *top, const CTreeItem *item);

    // The visible rows: an array the report fills (ShowRows) and the list
    // shows. RenumberRows gives each its index.
    std::vector<CTreeItem *> &VisibleRows() { return m_visible; }
    const std::vector<CTreeItem *> &VisibleRows() const { return m_visible; }
    CTreeItem *VisibleRow(int row) const;
    void RenumberRows();

    // Check states: the row and its subtree take 1 (or 0 when it was 1),
    // then each ancestor the common state of its children, or 2 (mixed).
    void ToggleCheck(CTreeItem *item);
    // Recomputes the check states of a subtree from its leaves.
    void RecomputeChecks(CTreeItem *item);

    // Counts the times rows left the tree: a pointer to a row taken before
    // still points to a row while it has not changed.
    quint64 Generation() const { return m_generation; }

    // A row the tree follows for its caller (the row a window had current
    // when a refresh began): null once it, or a row above it, has left the
    // tree.
    void SetMarkedRow(const CTreeItem *row) { m_marked = row; }
    const CTreeItem *MarkedRow() const { return m_marked; }

    // --- CTreeGridRows ---
    int RowCount() const override { return int(m_visible.size()); }
    tTreeRowShape RowShape(int row) const override;

private:
    CTreeItem *Adopt(CTreeItem *parent, size_t position, tReportRow record);
    void AppendVisible(CTreeItem *item, std::vector<CTreeItem *> &rows) const;
    static void SetCheck(CTreeItem *item, int state);
    static int CommonCheck(const CTreeItem *item);
    void ForgetVisible(const CTreeItem *item);

    // Goes after the store (members go in the reverse of their order):
    // once a tree larger than the memory kept for rows is gone, what its
    // rows left free goes back to the system.
    struct tReturnMemoryLast
    {
        tReturnMemoryLast() = default;
        tReturnMemoryLast(const tReturnMemoryLast &) = delete;
        tReturnMemoryLast &operator=(const tReturnMemoryLast &) = delete;
        ~tReturnMemoryLast();
    } m_returnMemoryLast;
    // Rows are made in a store of the tree's own: a report makes and drops
    // a row for every entry at each build, which the store serves from the
    // memory of the rows dropped, without the allocator. Its chunks come
    // from, and go back to, the memory the process keeps for rows
    // (CReportRowMemory).
    std::pmr::unsynchronized_pool_resource m_store;
    std::vector<tTreeItemPtr> m_roots;
    std::vector<CTreeItem *> m_visible;
    quint64 m_generation = 0;
    const CTreeItem *m_marked = nullptr;
};
