#pragma once

class CLanguageSelector;
class CZarvoWinApp;

// Hooks the shell's own windows into the application: the first-run wizard
// as the start-up step that runs it, and the dialogs of the commands (new
// user with the sample data, update check...) as their openers. The
// program calls it once, before the start-up; `languages` is the
// application's language selector and outlives it.
void RegisterShellWindows(CZarvoWinApp &app, CLanguageSelector &languages);
