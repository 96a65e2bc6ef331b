#pragma once

class CZarvoWinApp;

// Makes the project-tracking grid the main frame's forecast window, in its
// pane and its tabbed document, with the application's images, and routes
// the frame's refreshes, the language and the layout kept per user to it.
// The program registers it once at start; tests of the frame that want the
// real window register it too.
void RegisterForecastWindows(CZarvoWinApp &app);
