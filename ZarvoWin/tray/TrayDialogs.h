#pragma once

class CMyDesktopAlertWnd;
class CZarvoTrayApp;

// Brings the tray's own windows to its main window's commands: the
// new-task, options and user dialogs, and the Infos window (open or
// closed, refreshed, its opacity). The program installs them once at
// start; a test may install them or put fakes in their place.
namespace TrayDialogs {

void Install(CZarvoTrayApp &app);
// The open Infos window, null while it is closed.
CMyDesktopAlertWnd *Infos();

} // namespace TrayDialogs
