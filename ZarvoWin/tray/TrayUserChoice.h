#pragma once
#include <QString>

namespace Platform { class Settings; }

// The tray's choice of the current user and of that user's database,
// made without a window and without writing anything: the users database
// is only read (opened read-only, never created, also for a fixed user),
// and the settings are only read.
//
// With "Tray/User/Auto" on (the default) the tray follows the user selected
// in the main program; otherwise it keeps the user "Tray/User/Id". The users
// folder is the main program's ("Config/Rep/Users", with or without its
// final "/"). A name that cannot be a folder name of the users folder gives
// no database, so no path ever leaves that folder.
struct TrayUserChoice
{
    bool autoUser = true;
    // The users folder, ending with "/"; empty when not set.
    QString usersFolder;
    // "<usersFolder>Users.sdb"; empty when the folder is not set.
    QString usersDatabase;
    int userId = -1;
    QString userName;
    // "<usersFolder><userName>/Zarvo.sdb"; empty when no user is known.
    QString databasePath;

    static TrayUserChoice Select(const Platform::Settings &settings);
};
