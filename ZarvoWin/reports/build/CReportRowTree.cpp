#include "CReportRowTree.h"

#include "CReportRowMemory.h"

#include <algorithm>

// The chunks come from the memory the dropped trees gave back, rather than
// pages of their own that each new tree would fault in again. They grow
// with the tree up to a huge page each, which a fresh process faults in at
// once.
CReportRowTree::CReportRowTree()
    : m_store(std::pmr::pool_options{CReportRowMemory::BlocksPerHugePage(sizeof(CTreeItem)), 1024},
              &CReportRowMemory::Shared())
{
}

CReportRowTree::~CReportRowTree()
{
    // The rows go back to the store before the store goes.
    m_visible.clear();
    m_roots.clear();
}

CReportRowTree::tReturnMemoryLast::~tReturnMemoryLast()
{
    CReportRowMemory::Shared().ReturnFreedMemory();
}

CTreeItem *CReportRowTree::Adopt(CTreeItem *parent, size_t position, tReportRow record)
{
    void *memory = m_store.allocate(sizeof(CTreeItem), alignof(CTreeItem));
    tTreeItemPtr item(new (memory) CTreeItem(parent, std::move(record)));
    CTreeItem *raw = item.get();
    raw->m_store = &m_store;
    auto &list = parent ? parent->m_children : m_roots;
    position = std::min(position, list.size());
    raw->m_indexHint = quint32(position);
    if (parent)
        parent->Moved(position, position == list.size());
    list.insert(list.begin() + qsizetype(position), std::move(item));
    if (parent && raw->m_keyed)
        parent->IndexGroup(raw->m_key, raw);
    return raw;
}

CTreeItem *CReportRowTree::InsertRootItem(tReportRow record)
{
    return Adopt(nullptr, m_roots.size(), std::move(record));
}

CTreeItem *CReportRowTree::InsertItem(CTreeItem *parent, tReportRow record)
{
    return Adopt(parent, parent ? parent->m_children.size() : m_roots.size(), std::move(record));
}

CTreeItem *CReportRowTree::InsertItemBefore(CTreeItem *parent, int position, tReportRow record)
{
    return Adopt(parent, size_t(std::max(position, 0)), std::move(record));
}

CTreeItem *CReportRowTree::InsertItemSorted(CTreeItem *parent, tReportRow record)
{
    const QString &text = CTreeItem::RowTextOf(record.Item);
    const auto &list = parent ? parent->m_children : m_roots;
    // Rows mostly come in the order of their keys (a report reads entries
    // by start): a new last row is placed without a walk.
    size_t position = list.size();
    if (!list.empty() && list.back()->RowText() > text) {
        position = 0;
        while (position < list.size() && list[position]->RowText() <= text)
            ++position;
    }
    return Adopt(parent, position, std::move(record));
}

void CReportRowTree::ForgetVisible(const CTreeItem *item)
{
    // Hidden rows keep no place in the list.
    std::erase_if(m_visible, [item](const CTreeItem *row) { return IsInSubtree(item, row); });
}

void CReportRowTree::DeleteItem(CTreeItem *item)
{
    if (!item)
        return;
    ++m_generation;
    if (m_marked && IsInSubtree(item, m_marked))
        m_marked = nullptr;
    if (!m_visible.empty())
        ForgetVisible(item);
    CTreeItem *parent = item->m_parent;
    auto &list = parent ? parent->m_children : m_roots;
    if (!parent) {
        const auto it = std::find_if(list.begin(), list.end(), [item](const auto &p) { return p.get() == item; });
        if (it != list.end())
            list.erase(it);
        return;
    }
    if (item->m_keyed)
        parent->UnindexGroup(item->m_key, item);
    const size_t position = size_t(item->IndexInParent());
    parent->Moved(position, false);
    list.erase(list.begin() + qsizetype(position));
}

void CReportRowTree::DeleteAll()
{
    ++m_generation;
    m_marked = nullptr;
    m_roots.clear();
    m_visible.clear();
    // No row is left: the store gives its memory back.
    m_store.release();
}

void CReportRowTree::AppendVisible(CTreeItem *item, std::vector<CTreeItem *> &rows) const
{
    for (const auto &child : item->m_children) {
        rows.push_back(child.get());
        if (!child->Collapsed && child->HasChildren())
            AppendVisible(child.get(), rows);
    }
}

int CReportRowTree::Expand(CTreeItem *item, int position)
{
    if (!item || !item->HasChildren() || !item->Collapsed)
        return position;
    item->Collapsed = false;
    std::vector<CTreeItem *> rows;
    AppendVisible(item, rows);
    const size_t at = std::min(size_t(std::max(position + 1, 0)), m_visible.size());
    m_visible.insert(m_visible.begin() + qsizetype(at), rows.begin(), rows.end());
    return position + item->ChildCount();
}

void CReportRowTree::Collapse(CTreeItem *item)
{
    if (!item || !item->HasChildren())
        return;
    if (!item->Collapsed) {
        std::erase_if(m_visible, [item](const CTreeItem *row) { return row != item && IsInSubtree(item, row); });
    }
    item->Collapsed = true;
}

int CReportRowTree::GetVisibleIndex(const CTreeItem *item) const
{
    // Hidden below a collapsed ancestor?
    for (const CTreeItem *a = item ? item->m_parent : nullptr; a; a = a->m_parent) {
        if (a->Collapsed)
            return -1;
    }
    if (!item)
        return -1;
    int index = 0;
    std::vector<CTreeItem *> rows;
    for (const auto &root : m_roots) {
        rows.clear();
        rows.push_back(root.get());
        if (!root->Collapsed)
            AppendVisible(root.get(), rows);
        const auto it = std::find(rows.begin(), rows.end(), item);
        if (it != rows.end())
            return index + int(it - rows.begin());
        index += int(rows.size());
    }
    return -1;
}

CTreeItem *CReportRowTree::GetNextItem(const CTreeItem *top, const CTreeItem *current, bool honourCollapse) const
{
    if (!top)
        return nullptr;
    if (!current)
        return const_cast<CTreeItem *>(top);
    if (current->HasChildren() && !(honourCollapse && current->Collapsed))
        return current->Child(0);
    for (const CTreeItem *row = current; row && row != top; row = row->m_parent) {
        const CTreeItem *parent = row->m_parent;
        if (!parent)
            return nullptr;
        const int index = row->IndexInParent();
        if (index + 1 < parent->ChildCount())
            return parent->Child(index + 1);
    }
    return nullptr;
}

bool CReportRowTree::IsInSubtree(const CTreeItem *top, const CTreeItem *item)
{
    for (const CTreeItem *row = item; row; row = row->m_parent) {
        if (row == top)
            return true;
    }
    return false;
}

CTreeItem *CReportRowTree::VisibleRow(int row) const
{
    return row >= 0 && size_t(row) < m_visible.size() ? m_visible[size_t(row)] : nullptr;
}

void CReportRowTree::RenumberRows()
{
    for (size_t i = 0; i < m_visible.size(); ++i)
        m_visible[i]->ListIndex = int(i);
}

void CReportRowTree::SetCheck(CTreeItem *item, int state)
{
    item->m_record.Check = state;
    for (const auto &child : item->m_children)
        SetCheck(child.get(), state);
}

int CReportRowTree::CommonCheck(const CTreeItem *item)
{
    int state = -1;
    for (const auto &child : item->m_children) {
        const int s = child->m_record.Check;
        if (s == 2 || (state != -1 && s != state))
            return 2;
        state = s;
    }
    return state < 0 ? item->m_record.Check : state;
}

void CReportRowTree::ToggleCheck(CTreeItem *item)
{
    if (!item)
        return;
    SetCheck(item, item->m_record.Check == 1 ? 0 : 1);
    for (CTreeItem *a = item->m_parent; a; a = a->m_parent)
        a->m_record.Check = CommonCheck(a);
}

void CReportRowTree::RecomputeChecks(CTreeItem *item)
{
    if (!item)
        return;
    for (const auto &child : item->m_children) {
        if (child->HasChildren()) {
            if (item->m_record.Check == 1)
                SetCheck(child.get(), 1);
            else
                RecomputeChecks(child.get());
        } else if (child->m_record.Check == 2) {
            child->m_record.Check = 0;
        }
    }
    if (item->HasChildren())
        item->m_record.Check = CommonCheck(item);
}

tTreeRowShape CReportRowTree::RowShape(int row) const
{
    tTreeRowShape shape;
    const CTreeItem *item = VisibleRow(row);
    if (!item)
        return shape;
    shape.depth = item->Depth();
    shape.hasChildren = item->HasChildren();
    shape.collapsed = item->Collapsed;
    const auto laterSibling = [this](const CTreeItem *i) {
        return i->m_parent ? !i->IsLastChild() : (!m_roots.empty() && m_roots.back().get() != i);
    };
    shape.hasLaterSibling = laterSibling(item);
    shape.ancestorHasLaterSibling.assign(size_t(std::max(item->Depth() - 1, 0)), false);
    for (const CTreeItem *a = item->m_parent; a; a = a->m_parent)
        shape.ancestorHasLaterSibling[size_t(a->Depth() - 1)] = laterSibling(a);
    return shape;
}

void CReportRowTree::RemoveChildrenIf(CTreeItem *parent, const std::function<bool(const CTreeItem &)> &remove)
{
    auto &list = parent ? parent->m_children : m_roots;
    std::erase_if(list, [&](const tTreeItemPtr &child) {
        if (!remove(*child))
            return false;
        ++m_generation;
        if (m_marked && IsInSubtree(child.get(), m_marked))
            m_marked = nullptr;
        if (parent && child->m_keyed)
            parent->UnindexGroup(child->m_key, child.get());
        return true;
    });
    // The rows left are numbered here, in the walk that follows a refresh.
    if (parent) {
        for (size_t i = 0; i < list.size(); ++i)
            list[i]->m_indexHint = quint32(i);
        parent->m_numbered = quint32(list.size());
    }
}
