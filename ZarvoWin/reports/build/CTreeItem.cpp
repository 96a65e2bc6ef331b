#include "CTreeItem.h"

#include <algorithm>

void tTreeItemDelete::operator()(CTreeItem *item) const
{
    if (!item)
        return;
    std::pmr::memory_resource *store = item->m_store;
    item->~CTreeItem();
    store->deallocate(item, sizeof(CTreeItem), alignof(CTreeItem));
}

CTreeItem::CTreeItem(CTreeItem *parent, tReportRow record)
    : m_depth(quint16(parent ? parent->m_depth + 1 : 1)), m_parent(parent), m_record(std::move(record))
{
    if (const tReportGroupLine *group = m_record.Item.GroupLineOf()) {
        m_key = tGroupKey::Of(group->LevelKind, group->Title, group->KeyId);
        m_keyed = true;
    } else if (const tReportTotalLine *cross = m_record.Item.TotalLineOf()) {
        m_key = tGroupKey::Of(cross->LevelKind, cross->Title, cross->KeyId);
        m_keyed = true;
    }
}

CTreeItem::~CTreeItem() = default;

bool CTreeItem::IsLastChild() const
{
    return !m_parent || m_parent->m_children.back().get() == this;
}

int CTreeItem::IndexInParent() const
{
    if (!m_parent)
        return -1;
    CTreeItem &parent = *m_parent;
    // A hint below the numbered children is exact: every row that moved
    // has a hint at or past them.
    if (m_indexHint >= parent.m_numbered) {
        for (size_t i = parent.m_numbered; i < parent.m_children.size(); ++i)
            parent.m_children[i]->m_indexHint = quint32(i);
        parent.m_numbered = quint32(parent.m_children.size());
    }
    return int(m_indexHint);
}

void CTreeItem::Moved(size_t position, bool appended)
{
    // Children before the position kept their place; an append to a list
    // fully numbered keeps it numbered.
    if (appended && m_numbered == position)
        m_numbered = quint32(position + 1);
    else
        m_numbered = quint32(std::min(size_t(m_numbered), position));
}

const QString &CTreeItem::RowTextOf(const tReportItem &item)
{
    static const QString none;
    if (const tReportTextLine *text = item.TextLineOf())
        return text->Text;
    if (const tReportGroupLine *group = item.GroupLineOf())
        return group->Title;
    if (const tReportTotalLine *cross = item.TotalLineOf())
        return cross->Title;
    return none;
}

namespace {

// A key as one number that sorts as the keys do: the level kind (-1 to 4)
// in the top bits, the key (far below 2^59 either way) below them.
quint64 packed(const tGroupKey &key)
{
    constexpr quint64 keyBits = 60;
    constexpr qint64 offset = qint64(1) << (keyBits - 1);
    return (quint64(key.LevelKind + 1) << keyBits) | (quint64(key.Key + offset) & ((quint64(1) << keyBits) - 1));
}

bool entryBefore(const std::pair<quint64, CTreeItem *> &entry, quint64 key)
{
    return entry.first < key;
}

} // namespace

CTreeItem *CTreeItem::FindGroup(const tGroupKey &key) const
{
    // Entries come by start: the group of a date is mostly the last one
    // made.
    if (!m_children.empty()) {
        const CTreeItem &last = *m_children.back();
        if (last.m_keyed && last.m_key == key)
            return m_children.back().get();
    }
    if (!m_groups) {
        // A few children: a look at each is as quick as an index.
        for (const tTreeItemPtr &child : m_children) {
            if (child->m_keyed && child->m_key == key)
                return child.get();
        }
        return nullptr;
    }
    const quint64 number = packed(key);
    // A key past the last one, as a new date's, is none of them.
    if (m_groups->empty() || m_groups->back().first < number)
        return nullptr;
    const auto it = std::lower_bound(m_groups->begin(), m_groups->end(), number, entryBefore);
    return it != m_groups->end() && it->first == number ? it->second : nullptr;
}

CTreeItem *CTreeItem::FindGroup(int levelKind, const QString &keyText, int keyId) const
{
    return FindGroup(tGroupKey::Of(levelKind, keyText, keyId));
}

void CTreeItem::IndexGroup(const tGroupKey &key, CTreeItem *child)
{
    // A row of a few children needs no index, and most rows have a few:
    // the index is made once the children are more.
    if (!m_groups) {
        if (m_children.size() <= UnindexedChildren)
            return;
        m_groups = std::make_unique<tGroupIndex>();
        m_groups->reserve(m_children.capacity());
        for (const tTreeItemPtr &row : m_children) {
            if (row->m_keyed)
                m_groups->emplace_back(packed(row->m_key), row.get());
        }
        // The first row of a key keeps it.
        std::stable_sort(m_groups->begin(), m_groups->end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        m_groups->erase(std::unique(m_groups->begin(), m_groups->end(),
                                    [](const auto &a, const auto &b) { return a.first == b.first; }),
                        m_groups->end());
        return;
    }
    // The first row of a key keeps it. Keys mostly come in order (a report
    // reads its entries by start): a new last key is added without a move.
    const quint64 number = packed(key);
    tGroupIndex &groups = *m_groups;
    if (groups.empty() || groups.back().first < number) {
        groups.emplace_back(number, child);
        return;
    }
    const auto it = std::lower_bound(groups.begin(), groups.end(), number, entryBefore);
    if (it == groups.end() || it->first != number)
        groups.emplace(it, number, child);
}

void CTreeItem::UnindexGroup(const tGroupKey &key, const CTreeItem *child)
{
    if (!m_groups)
        return;
    const quint64 number = packed(key);
    const auto it = std::lower_bound(m_groups->begin(), m_groups->end(), number, entryBefore);
    if (it != m_groups->end() && it->first == number && it->second == child)
        m_groups->erase(it);
}
