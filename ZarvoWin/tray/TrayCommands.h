#pragma once

// The command and control numbers of the tray window, its menus and its
// toolbar; the menus' texts are found by them in the tray's language
// database.
namespace TrayCommands {

enum : int {
    // Menus.
    IconMenu = 130,  // the icon's pop-up menu
    SortMenu = 463,  // the favourites' sort menu
    // The icon menu's pop-ups, by their keys.
    FavouritesPopup = -2,
    HistoryPopup = -3,

    ShowWindow = 32772,
    Pause = 32778,
    FirstFavourite = 32783,  // up to 32982: 200 favourites
    LastFavourite = 32982,
    FirstRecent = 32983,     // up to 33082: 100 recent combinations
    LastRecent = 33082,
    NewTask = 33083,
    Options = 33084,
    StartZarvo = 33085,
    Quit = 33087,
    Resume = 33088,
    SortByUse = 33090,
    SortByProject = 33091,
    SortByActivity = 33092,
    ChooseUser = 33097,
    SortButton = 33100,
    Help = 33101,
    ShowInfos = 33109,

    // Controls of the window.
    SummaryTask = 1004,
    FavouritesList = 1007,
    HistoryList = 1008,
    DayStrip = 1030,
    MenuButton = 1035,
    HideButton = 1041,
    MessageButton = 1048,
};

// How many favourites and recent combinations the icon menu holds at most.
constexpr int MaxFavouriteCommands = LastFavourite - FirstFavourite + 1;
constexpr int MaxRecentCommands = LastRecent - FirstRecent + 1;

} // namespace TrayCommands
