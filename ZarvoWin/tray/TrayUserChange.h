#pragma once
#include <QString>

class CZarvoTrayApp;
class QWidget;

// The tray's task dialog and pop-up menu are filled from the database of
// the user current when they opened. When the main program chose another
// user meanwhile, what they offer is the former user's (their ids name
// other projects and favourites in the new user's file): nothing is
// written, and the user is told that the user changed in Zarvo and the
// task was not started, or not stopped. The views of the window are filled
// again with the change and need no such check.
class TrayUserChange
{
public:
    // What the command would have done.
    enum class Undone { Start, Stop };
    enum : int {
        TextNotStarted = 26201,
        TextNotStopped = 26202,
        TextError = 124,
    };

    // True while `openedOn`, the database a dialog or menu was filled
    // from, is still the current user's. Otherwise says so over `parent`
    // and returns false.
    static bool StillCurrent(CZarvoTrayApp &app, const QString &openedOn, QWidget *parent, Undone undone);
};
