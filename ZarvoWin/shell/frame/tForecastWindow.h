#pragma once
#include <functional>

class QWidget;

// The project-tracking window the main frame holds in its pane or its
// tabbed document, made by the library that draws it (registered at
// start-up, see RegisterForecastWindows), and what the frame and the
// application ask of it. An unset call is skipped.
struct tForecastWindow
{
    QWidget *window = nullptr;
    // Reloads the store (reload), takes the layout kept for the user
    // (restoreSaved), runs the scheduler (recompute), keeps the selected
    // row's distance from the top (keepOffset).
    std::function<void(bool reload, bool restoreSaved, bool recompute, bool keepOffset)> refresh;
    // The 30-second timer's refresh: nothing read, the selection kept.
    std::function<void()> refreshOnTimer;
    // Writes the layout kept for the current user (before another one is
    // made current, and when the frame closes).
    std::function<void()> saveSettings;
    // After a change of the interface language.
    std::function<void()> retranslate;
    // The chart takes the current user's zoom level again (after a change
    // of user), or shows a week a centimetre.
    std::function<void()> reloadZoom;
    std::function<void()> zoomToWeek;
    // Whether completed projects are hidden.
    std::function<bool()> hidesCompleted;
};
