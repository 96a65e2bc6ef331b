#pragma once
#include <QtGlobal>

namespace Platform { class Settings; }

// The tray's own settings, kept below the base "Tray" of the settings file
// both programs share, read once at start with their defaults. A stored
// value out of its range reads as the default ("LeftClick" 9) or is held
// to its range ("Opacity" 300 is 255).
struct TraySettings
{
    // "Favoris/Sorting": 0 last use, 1 grouped by projects, 2 by activities.
    int sortMode = 0;
    // "Config/..."
    bool autoHide = true;
    bool autoHideInfos = true;
    // 0 show or hide the window, 1 start the main program, 2 new task,
    // 3 show or close the Infos window.
    int leftClick = 0;
    bool endTaskOnStandby = true;
    // 0 nothing, 1 restart the stopped task, 2 the Infos window, 3 the window.
    int actionOnRestart = 0;
    bool showToolBar = true;
    bool showResume = true;
    bool showDay = true;
    bool showTask = true;
    bool showFav = true;
    // Alpha of the Infos window, 0..255.
    int opacity = 255;

    void Load(const Platform::Settings &settings);

    // Where the window was ("Dialog/..."): 0 for what was never saved.
    struct tPlacement
    {
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        bool visible = false;
    };
    static tPlacement LoadPlacement(const Platform::Settings &settings);
};
