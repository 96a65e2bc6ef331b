#include "TrayUserChoice.h"

#include "CUsers.h"
#include "Formatter.h"
#include "Settings.h"

TrayUserChoice TrayUserChoice::Select(const Platform::Settings &settings)
{
    TrayUserChoice choice;
    choice.autoUser = settings.getInt(u"Tray", u"User", u"Auto", 1) != 0;
    choice.usersFolder = CUsers::GetUsersFolder();
    choice.usersDatabase = CUsers::GetUsersDatabasePath();

    CUsers users;
    tUsers user;
    bool found = false;
    if (choice.autoUser) {
        found = users.ReadSelectedUser(user);
    } else {
        const int id = settings.getInt(u"Tray", u"User", u"Id", -1);
        if (id == -1)
            return choice;
        found = users.LoadUserById(user, id);
        if (!found)
            choice.userId = id;
    }
    if (!found)
        return choice;
    choice.userId = user.Id;
    if (CUsers::CheckName(user.Nom) != CUsers::NameProblem::None)
        return choice;
    choice.userName = user.Nom;
    if (!choice.usersFolder.isEmpty())
        choice.databasePath =
            Platform::Formatter::sprintf(u"%s%s/Zarvo.sdb", {choice.usersFolder, choice.userName});
    return choice;
}
