#pragma once

class CZarvoWinApp;

// Makes the time-entry dialogs the application's windows for its commands:
// the time entry dialog wherever a command needs one (start, pause, resume,
// add), the list of running entries for the pause command while several
// run. The program registers them once at start; tests that want the real
// dialogs register them too and answer them through their seams.
void RegisterTimeEntryWindows(CZarvoWinApp &app);
