#include "tUsers.h"

#include "UsersFolder.h"
#include "MyTable.h"
#include "UiUtilities.h"

tUsers::tUsers() : Color(static_cast<int>(GetRandomLightColor())) {}

void tUsers::ReadFrom(const SQLite::MyTable &row)
{
    Nom = row.GetValue(u"Nom");
    const QString id = row.GetValue(u"Id");
    Id = id.isEmpty() ? -1 : row.GetInt(u"Id");
    TypeColor = row.GetInt(u"TypeColor");
    Color = row.GetInt(u"Color");
    LastBackup = row.GetInt64(u"LastBackup");
}

QString tUsers::GetFolder() const
{
    const QString users = UsersFolder::Path();
    // A name that is no plain folder name (stored by other means: "..",
    // "a/b") would lead outside the user's own folder.
    if (users.isEmpty() || UsersFolder::CheckName(Nom) != UsersFolder::NameProblem::None)
        return QString();
    return users + Nom + u'/';
}

QString tUsers::GetDatabasePath(bool full) const
{
    if (!full)
        return QStringLiteral("Zarvo.sdb");
    const QString folder = GetFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("Zarvo.sdb");
}

QString tUsers::GetReportDatabasePath() const
{
    const QString db = GetDatabasePath(true);
    const qsizetype dot = db.lastIndexOf(u'.');
    if (dot < 0)
        return QString();
    return db.left(dot) + QStringLiteral(".rpt");
}
