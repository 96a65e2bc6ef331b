#include "CTreeItem.h"

void tTreeItemDelete::operator()(CTreeItem *item) const
{
    if (!item)
        return;
    std::pmr::memory_resource *store = item->m_store;
    item->~CTreeItem();
    store->deallocate(item, sizeof(CTreeItem), alignof(CTreeItem));
}

CTreeItem::CTreeItem(CTreeItem *parent, tReportRow record)
    : m_parent(parent), m_depth(parent ? parent->m_depth + 1 : 1), m_record(std::move(record))
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
    const auto &siblings = m_parent->m_children;
    for (size_t guess : {m_indexHint, m_indexHint + 1}) {
        if (guess < siblings.size() && siblings[guess].get() == this) {
            m_indexHint = guess;
            return int(guess);
        }
    }
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) {
            m_indexHint = i;
            return int(i);
        }
    }
    return -1;
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

CTreeItem *CTreeItem::FindGroup(const tGroupKey &key) const
{
    if (m_manyGroups)
        return m_manyGroups->value(key, nullptr);
    for (const auto &[k, child] : m_fewGroups) {
        if (k == key)
            return child;
    }
    return nullptr;
}

CTreeItem *CTreeItem::FindGroup(int levelKind, const QString &keyText, int keyId) const
{
    return FindGroup(tGroupKey::Of(levelKind, keyText, keyId));
}

void CTreeItem::IndexGroup(const tGroupKey &key, CTreeItem *child)
{
    // The first row of a key keeps it.
    if (m_manyGroups) {
        CTreeItem *&slot = (*m_manyGroups)[key];
        if (!slot)
            slot = child;
        return;
    }
    for (const auto &entry : m_fewGroups) {
        if (entry.first == key)
            return;
    }
    if (m_fewGroups.size() < FewGroups) {
        m_fewGroups.emplace_back(key, child);
        return;
    }
    m_manyGroups = std::make_unique<QHash<tGroupKey, CTreeItem *>>();
    m_manyGroups->reserve(qsizetype(FewGroups * 4));
    for (const auto &[k, c] : m_fewGroups)
        m_manyGroups->insert(k, c);
    m_manyGroups->insert(key, child);
    m_fewGroups.clear();
    m_fewGroups.shrink_to_fit();
}

void CTreeItem::UnindexGroup(const tGroupKey &key, const CTreeItem *child)
{
    if (m_manyGroups) {
        const auto it = m_manyGroups->constFind(key);
        if (it != m_manyGroups->cend() && it.value() == child)
            m_manyGroups->erase(it);
        return;
    }
    std::erase_if(m_fewGroups, [&](const auto &entry) { return entry.first == key && entry.second == child; });
}
