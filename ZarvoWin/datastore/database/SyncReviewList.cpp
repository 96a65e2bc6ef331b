#include "SyncReviewList.h"

#include <utility>

namespace {

struct GroupLook
{
    int kind;
    int textId;
    int image;
};

// Projets, Activites, TauxHoraire, Taches, Favoris, Forecast, ProjectChilds.
constexpr GroupLook Groups[] = {
    {1, 146, 0}, {2, 147, 1}, {3, 180, 2}, {4, 257, 3}, {5, 181, 3}, {7, 521, 0}, {9, 633, 0},
};

const GroupLook *groupOf(int kind)
{
    for (const GroupLook &g : Groups) {
        if (g.kind == kind)
            return &g;
    }
    return nullptr;
}

} // namespace

int SyncReviewList::GroupTextId(int kind)
{
    const GroupLook *g = groupOf(kind);
    return g ? g->textId : 0;
}

int SyncReviewList::GroupImage(int kind)
{
    const GroupLook *g = groupOf(kind);
    return g ? g->image : -1;
}

int SyncReviewList::AddGroupRow(int kind)
{
    const GroupLook *g = groupOf(kind);
    if (!g)
        return -1;
    Row row;
    row.kind = kind;
    row.isGroup = true;
    row.image = g->image;
    if (kind == 9) {
        SyncItem order;
        order.kind = kind;
        order.deviceId = 0;
        order.localId = -1;
        order.action = SyncItem::KeepLocal;
        row.item = order;
    }
    m_rows.push_back(std::move(row));
    return Count() - 1;
}

int SyncReviewList::AddItemRow(const SyncItem &item, const Side &device, const Side &local)
{
    Row row;
    row.kind = item.kind;
    row.image = ElementImage;
    row.item = item;
    row.device = device;
    row.local = local;
    m_rows.push_back(std::move(row));
    return Count() - 1;
}

void SyncReviewList::SetImage(int row, int image)
{
    if (row >= 0 && row < Count())
        m_rows[static_cast<size_t>(row)].image = image;
}

const SyncItem *SyncReviewList::Item(int row) const
{
    if (row < 0 || row >= Count())
        return nullptr;
    const std::optional<SyncItem> &item = m_rows[static_cast<size_t>(row)].item;
    return item ? &*item : nullptr;
}

SyncItem *SyncReviewList::Item(int row)
{
    return const_cast<SyncItem *>(std::as_const(*this).Item(row));
}
