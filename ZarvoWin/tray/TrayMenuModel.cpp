#include "TrayMenuModel.h"

#include "TrayCommands.h"

using namespace TrayCommands;

bool TrayMenuModel::CanStart(const tTacheFull &lastTask, qint64 now)
{
    if (lastTask.Id == -1)
        return true;
    return lastTask.Debut <= now && lastTask.Fin <= now;
}

std::vector<TrayMenuModel::Item> TrayMenuModel::Build(const tTacheFull &lastTask, qint64 now, int leftClick,
                                                      bool windowShown, bool infosShown)
{
    const bool canStart = CanStart(lastTask, now);
    // A missing entry counts as not stopped: "Pause" shows.
    const bool stopped = lastTask.Id != -1 && lastTask.Fin != 0;
    std::vector<Item> items = {
        {StartZarvo, 0, true, false},
        {ShowWindow, windowShown ? 113 : 0, true, false},
        {ShowInfos, infosShown ? 183 : 0, true, false},
        {0, 0, true, false},
        {NewTask, 0, canStart, false},
        {stopped ? Resume : Pause, 0, canStart, false},
        {FavouritesPopup, 0, canStart, false},
        {HistoryPopup, 0, canStart, false},
        {0, 0, true, false},
        {Options, 0, true, false},
        {Help, 0, true, false},
        {0, 0, true, false},
        {Quit, 0, true, false},
    };
    int defaultPosition = 1;
    switch (leftClick) {
    case 1: defaultPosition = 0; break;
    case 2: defaultPosition = 4; break;
    case 3: defaultPosition = 2; break;
    default: break;
    }
    items[size_t(defaultPosition)].isDefault = true;
    return items;
}

std::vector<TrayMenuModel::FavouriteLine> TrayMenuModel::FavouriteLines(const std::vector<DataItems> &items,
                                                                        std::vector<int> &favouriteIds,
                                                                        int maxCommands)
{
    favouriteIds.clear();
    std::vector<FavouriteLine> lines;
    for (const DataItems &item : items) {
        if (item.IsGroup()) {
            lines.push_back({0, -1, item.Level, &item});
            continue;
        }
        if (int(favouriteIds.size()) >= maxCommands)
            break;
        lines.push_back({FirstFavourite + int(favouriteIds.size()), item.Id, item.Level, &item});
        favouriteIds.push_back(item.Id);
    }
    // Groups without a favourite below them (cut by the limit) go.
    std::vector<FavouriteLine> kept;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].command == 0) {
            bool hasEntry = false;
            for (size_t j = i + 1; j < lines.size() && lines[j].level > lines[i].level; ++j) {
                if (lines[j].command != 0) {
                    hasEntry = true;
                    break;
                }
            }
            if (!hasEntry)
                continue;
        }
        kept.push_back(lines[i]);
    }
    return kept;
}
