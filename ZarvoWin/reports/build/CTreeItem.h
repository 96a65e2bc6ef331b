#pragma once
#include "tReportRow.h"

#include <QString>
#include <memory>
#include <memory_resource>
#include <vector>

// The key of a group row among its siblings: the level kind and a number,
// the key id for projects (3) and activities (4), the digits of the key
// text for dates ("2024-03-04" is 20240304): found without hashing a text.
struct tGroupKey
{
    int LevelKind = -1;
    qint64 Key = -1;

    static tGroupKey Of(int levelKind, const QString &keyText, int keyId)
    {
        if (levelKind == 3 || levelKind == 4)
            return {levelKind, keyId};
        return {levelKind, DateNumber(keyText)};
    }
    static qint64 DateNumber(const QString &keyText)
    {
        qint64 number = 0;
        for (QChar c : keyText) {
            if (c.isDigit() && number < 100000000000LL)
                number = number * 10 + c.digitValue();
        }
        return number;
    }
    friend bool operator==(const tGroupKey &, const tGroupKey &) = default;
};

class CTreeItem;

// Deletes a row (and its subtree) into the node store of the tree it was
// made in.
struct tTreeItemDelete
{
    void operator()(CTreeItem *item) const;
};
using tTreeItemPtr = std::unique_ptr<CTreeItem, tTreeItemDelete>;

// One row of a report's tree: its children in display order (owned: a row
// deletes its subtree with it), its parent (null for a root row), whether
// it is collapsed, its place in the list while visible (-1 otherwise), its
// depth (1 for a root row), the kept mark a refresh uses, and its record.
//
// Group rows are found among a row's children by their key without a walk
// over many children: past a few children, the tree keeps an index of them
// (FindGroup), their keys in order, searched by halves.
class CTreeItem
{
public:
    CTreeItem(CTreeItem *parent, tReportRow record);
    ~CTreeItem();
    CTreeItem(const CTreeItem &) = delete;
    CTreeItem &operator=(const CTreeItem &) = delete;

    CTreeItem *Parent() const { return m_parent; }
    int ChildCount() const { return int(m_children.size()); }
    CTreeItem *Child(int i) const { return m_children[size_t(i)].get(); }
    bool HasChildren() const { return !m_children.empty(); }
    int Depth() const { return m_depth; }
    // Whether a later sibling follows the row under its parent (among the
    // roots for a root row, which the tree answers).
    bool IsLastChild() const;
    int IndexInParent() const;

    tReportRow &Record() { return m_record; }
    const tReportRow &Record() const { return m_record; }
    const tReportItem &Item() const { return m_record.Item; }
    tReportItem &Item() { return m_record.Item; }
    // The key text of a text, group or cross-table row; empty for others.
    const QString &RowText() const { return RowTextOf(m_record.Item); }
    static const QString &RowTextOf(const tReportItem &item);

    // A report makes a row for nearly every entry: the fields are laid
    // out so that a row takes as little memory as its record allows.
    bool Collapsed = false;
    bool Kept = true;
    int ListIndex = -1;
    // Where a refresh looks among the children for the row of the next
    // entry that comes.
    quint32 NextEntry = 0;

    // The group row among the children for a level kind and key: the key
    // id for projects (3) and activities (4), the key text for dates.
    CTreeItem *FindGroup(int levelKind, const QString &keyText, int keyId) const;
    CTreeItem *FindGroup(const tGroupKey &key) const;
    // The key a group or cross-table group row is found by among its
    // siblings; none (level kind -1) for other rows.
    const tGroupKey &GroupKey() const { return m_key; }

private:
    friend class CReportRowTree;
    friend struct tTreeItemDelete;

    void IndexGroup(const tGroupKey &key, CTreeItem *child);
    // A child was inserted at `position` (at the end when `appended`), or
    // removed from it.
    void Moved(size_t position, bool appended);
    void UnindexGroup(const tGroupKey &key, const CTreeItem *child);

    // The key a group row is found by among its siblings, taken when it is
    // made; rows that are no group have none.
    bool m_keyed = false;
    quint16 m_depth;
    // Where the row stands among its siblings, exact while it lies before
    // its parent's m_numbered: a walk asks each row in turn, so the rows
    // are numbered again once, at the first question after an insert or a
    // removal moved them, never at each insert (a refresh inserts the new
    // entries before the rows it has not kept yet).
    quint32 m_indexHint = 0;
    // How many of the first children know their place.
    quint32 m_numbered = 0;
    CTreeItem *m_parent;
    // The store the row was made in, which takes it back.
    std::pmr::memory_resource *m_store = nullptr;
    tGroupKey m_key;
    tReportRow m_record;
    std::vector<tTreeItemPtr> m_children;
    // The group rows among the children by their key, in key order; none
    // while the row has no more than UnindexedChildren children (most rows
    // have no group below them, or a few), whose keys are looked at in
    // turn.
    static constexpr size_t UnindexedChildren = 16;
    // Each key as one number (in the order of the keys) with its row.
    using tGroupIndex = std::vector<std::pair<quint64, CTreeItem *>>;
    std::unique_ptr<tGroupIndex> m_groups;
};
