#include "SyncReviewRules.h"

#include "CBdD.h"

#include <algorithm>

bool SyncReviewRules::IsActionAllowed(int action, const SyncItem *item)
{
    if (!item)
        return false;
    switch (action) {
    case SyncItem::TakeDevice:
        return item->kind != CBdD::TableProjectChilds && item->deviceId != -1 && !item->deviceDeleted;
    case SyncItem::Delete:
        return item->kind != CBdD::TableProjectChilds;
    case SyncItem::KeepLocal:
        return item->localId != -1 && !item->localDeleted;
    default:
        return false;
    }
}

int SyncReviewRules::IconGap(int cellWidth)
{
    return std::max(0, (cellWidth - ActionCount * IconSize) / 4);
}

int SyncReviewRules::IconLeft(int cellLeft, int cellWidth, int action)
{
    return cellLeft + IconGap(cellWidth) * (action + 1) + IconSize * action;
}

int SyncReviewRules::ActionAt(int x, int cellLeft, int cellWidth, bool clampToLast)
{
    const int third = cellWidth / ActionCount;
    if (third <= 0 || x < cellLeft)
        return -1;
    const int part = (x - cellLeft) / third;
    if (part < ActionCount)
        return part;
    return clampToLast ? ActionCount - 1 : -1;
}

int SyncReviewRules::NameColumnWidth(int viewWidth, int otherColumnsWidth)
{
    return std::max(0, (viewWidth - otherColumnsWidth) / 2);
}

SyncReviewRules::Panes SyncReviewRules::PanesForKind(int kind)
{
    switch (kind) {
    case CBdD::TableProjets:
    case CBdD::TableActivites:
    case CBdD::TableTauxHoraire:
    case CBdD::TableFavoris:
        return Panes::Elements;
    case CBdD::TableTaches:
        return Panes::TimeEntries;
    case CBdD::TableForecast:
        return Panes::Forecasts;
    default:
        return Panes::None;
    }
}

bool SyncReviewRules::ShortElementPanes(int kind)
{
    return kind == CBdD::TableActivites || kind == CBdD::TableTauxHoraire || kind == CBdD::TableFavoris;
}
