#pragma once
// The users folder of the tray's tests: "<test root>/users/" named in the
// settings, with a users database where Anne is the main program's
// selected user and her folder exists. Returns the folder ("" on failure).
#include "CUsers.h"
#include "CmyDataBase.h"
#include "Settings.h"
#include "TestFolders.h"

#include <QDir>
#include <QString>

inline QString MakeTrayTestUsers()
{
    const QString folder = TestFolders::root() + QStringLiteral("/users/");
    if (!QDir().mkpath(folder + QStringLiteral("Anne")))
        return QString();
    CUsers::SetUsersFolderSource({});
    Platform::Settings settings;
    settings.setString(u"Config", u"Rep", u"Users", folder);
    settings.sync();
    SQLite::CmyDataBase users;
    if (users.Open(folder + QStringLiteral("Users.sdb")) != 0
        || users.Execute(u"create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, "
                         u"Key text, Color int, TypeColor int, LastBackup int)")
            != 0
        || users.Execute(u"insert into Users (Nom, Selected) values ('Anne', 1)") != 0)
        return QString();
    return folder;
}
