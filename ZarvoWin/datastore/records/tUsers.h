#pragma once
#include <QString>
#include <QtGlobal>

namespace SQLite {
class MyTable;
}

// One user of the installation: a row of the users database. The name is
// also the name of the user's folder below the users folder.
struct tUsers
{
    tUsers();
    virtual ~tUsers() = default;
    tUsers(const tUsers &) = default;
    tUsers &operator=(const tUsers &) = default;

    int Id = -1;
    QString Nom;
    qint64 LastBackup = 0;
    int TypeColor = 1;
    int Color = 0;

    // Fills the record from the current row of a query of Users.
    void ReadFrom(const SQLite::MyTable &row);

    // The user's folder, ending with "/"; empty when the users folder is not
    // set or the name is no plain folder name (empty, "..", with a
    // separator...), so that no path ever falls back to the working
    // directory, the users folder itself or a folder outside it.
    QString GetFolder() const;
    // With full, the path of the user's main database; without, its file
    // name. Empty (full) under the same conditions as GetFolder.
    QString GetDatabasePath(bool full) const;
    // The report definitions database next to the main database.
    QString GetReportDatabasePath() const;
    QString GetName() const { return Nom; }
};
