#include "CTreeItem.h"

CTreeItem::CTreeItem(CTreeItem *parent, tReportRow record)
    : m_parent(parent), m_depth(parent ? parent->m_depth + 1 : 1), m_record(std::move(record))
{
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

bool CTreeItem::IndexKey(tGroupKey &key) const
{
    if (const tReportGroupLine *group = m_record.Item.GroupLineOf()) {
        key = tGroupKey::Of(group->LevelKind, group->Title, group->KeyId);
        return true;
    }
    if (const tReportTotalLine *cross = m_record.Item.TotalLineOf()) {
        key = tGroupKey::Of(cross->LevelKind, cross->Title, cross->KeyId);
        return true;
    }
    return false;
}

CTreeItem *CTreeItem::FindGroup(int levelKind, const QString &keyText, int keyId) const
{
    return m_groups.value(tGroupKey::Of(levelKind, keyText, keyId), nullptr);
}
