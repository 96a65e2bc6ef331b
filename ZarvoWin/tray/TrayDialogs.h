#pragma once

class CMyDesktopAlertWnd;
class CZarvoTrayApp;

// Brings the tray's own windows to its main window's commands: the
// new-task, options and user dialogs, and the Infos window (open or
// closed, refreshed, its opacity). A dialog opened while the Infos window
// shows comes above it and out of its way. The program installs them once
// at start; a test may install them or put fakes in their place.
namespace TrayDialogs {

void Install(CZarvoTrayApp &app);
// The open Infos window (shown, or minimised along with the tray window),
// null while it is closed.
CMyDesktopAlertWnd *Infos();

} // namespace TrayDialogs
