#pragma once
#include "DataItems.h"
#include "tTacheFull.h"

#include <QtGlobal>

#include <vector>

// What the icon's pop-up menu shows, decided without a window: its items in
// order, which one is the default (drawn bold), which are greyed, and the
// favourites' commands. The tray window turns it into a menu at each right
// click, so the menu always follows the newest entry and the settings.
class TrayMenuModel
{
public:
    struct Item
    {
        // A command, a pop-up key (TrayCommands::FavouritesPopup or
        // HistoryPopup), or 0 for a separator.
        int command = 0;
        // A text of the tray's string table in place of the menu's own text
        // (0: the menu text of the command).
        int stringId = 0;
        bool enabled = true;
        bool isDefault = false;

        bool IsSeparator() const { return command == 0; }
        bool IsPopup() const { return command < 0; }
    };

    // Quick starts are allowed when no newest entry is known, or when it
    // starts and ends at or before now (an entry in the future blocks them).
    static bool CanStart(const tTacheFull &lastTask, qint64 now);

    // The items for the newest entry `lastTask` (Id -1: none) at `now`, the
    // left-click action, and whether the window and the Infos window show.
    static std::vector<Item> Build(const tTacheFull &lastTask, qint64 now, int leftClick, bool windowShown,
                                   bool infosShown);

    // One line of the favourites' pop-up: a favourite's command, or a
    // group's sub-menu that holds the lines of the next level.
    struct FavouriteLine
    {
        int command = 0;   // 0 for a group
        int favourite = -1; // the favourite's id; -1 for a group
        int level = 0;
        const DataItems *item = nullptr;
    };
    // The favourites' lines in order, with at most `maxCommands` commands
    // from TrayCommands::FirstFavourite up; a group left without any of its
    // favourites is dropped. `favouriteIds` receives the favourite of each
    // command, by command - FirstFavourite.
    static std::vector<FavouriteLine> FavouriteLines(const std::vector<DataItems> &items, std::vector<int> &favouriteIds,
                                                     int maxCommands);
};
