#pragma once
#include "UsersFolder.h"
#include "tUsers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class CComboFiller;
namespace SQLite {
class CmyDataBase;
}

// The users of the installation and the current one. The users database
// "Users.sdb" in the users folder lists the users, marks the selected one
// and keeps small per-user settings. Every operation opens its own
// connection for its length; none shows a message.
class CUsers
{
public:
    // Results of AddUser and UpdateUser.
    enum Result { Done = 0, NameTaken = 1, DatabaseError = 2, InvalidName = 3 };

    // Why a name cannot be a user's name (it is also a folder name).
    using NameProblem = UsersFolder::NameProblem;

    // The parts of a change of user that belong to the windows and to the
    // network-folder update. The application fills them; an unset hook is
    // skipped, except where said.
    struct ReloadHooks
    {
        // Takes a newer copy of the user's database from the network folder,
        // without messages (only called when that mode is on).
        std::function<void()> refreshFromNetwork;
        // The project-tracking grid's forced refresh, which runs the forecast
        // scheduler on the freshly loaded store. Unset (no grid yet): the
        // scheduler runs on the store directly.
        std::function<void()> refreshForecastView;
        // Forgets the selected time entry, reloads every other view (the task
        // pane with its favourites among them) and rewrites the main title.
        std::function<void()> reloadViews;
        // Told when opening the user's database upgraded it, or failed to:
        // the notice as an upgrade defers it ("Error : <code>", the path of
        // the copy made before, or empty). Unset: the notice is dropped.
        std::function<void(const QString &notice)> upgradeNotice;
        // Told when the users database (at `path`) was written by a later
        // version of the program (`version`): it is read, never written.
        std::function<void(const QString &path, int version)> laterUsersDatabase;
    };

    // One entry of the users combo box or list.
    struct Choice
    {
        QString name;
        int id = -1;
    };

    CUsers() = default;
    virtual ~CUsers();
    CUsers(const CUsers &) = delete;
    CUsers &operator=(const CUsers &) = delete;

    // The users folder, ending with "/" (empty when not set). Read from the
    // settings unless a source was installed.
    static QString GetUsersFolder();
    static void SetUsersFolderSource(std::function<QString()> source);
    static QString GetUsersDatabasePath();

    void SetReloadHooks(ReloadHooks hooks) { m_hooks = std::move(hooks); }

    // Makes this list the owner of the current database path: every CBdD
    // built without a path opens the current user's database.
    void ProvideCurrentDatabasePath();

    // Accessors on the current user.
    int GetCurrentId() const;
    QString GetCurrentName() const;
    QString GetCurrentDatabasePath(bool full) const;
    QString GetCurrentReportDatabasePath() const;
    const tUsers *Current() const { return m_users.empty() ? nullptr : m_users.front().get(); }
    void Clear();

    static NameProblem CheckName(const QString &name);
    // The message that tells the user why the name was refused.
    static QString NameProblemText(NameProblem problem);

    // Opens the users database for writing (made when missing, upgraded on
    // request). A file of a later version is refused, never written.
    bool OpenDatabase(SQLite::CmyDataBase &db, bool upgrade) const;
    // Never lowers a stored version: false for a later version.
    bool UpgradeDatabase(SQLite::CmyDataBase &db) const;
    // The version an open users database stores when it is later than the
    // one this program writes; 0 otherwise.
    static int LaterVersion(SQLite::CmyDataBase &db);

    int CountUsers() const;
    bool LoadUserById(tUsers &user, int id) const;
    bool LoadUserByName(const QString &name, tUsers &user) const;
    // The user selected in the main program, read without writing anything:
    // the users database is opened read-only and never created or upgraded.
    // False when there is none (or no users database).
    bool ReadSelectedUser(tUsers &user) const;
    bool NameExistsIn(SQLite::CmyDataBase &db, const tUsers &user) const;
    bool NameExists(const tUsers &user) const;

    int AddUser(tUsers &user);
    int UpdateUser(const tUsers &user, CUsers &current);
    bool DeleteUserRow(int id);
    // Deletes the user's row and, with `deleteFolder`, sends the user's
    // folder to the trash. The user is deleted even when the folder could
    // not go: `folderKept` then names it (empty otherwise).
    bool DeleteUser(int id, bool deleteFolder, QString *folderKept = nullptr);
    bool SelectUser(int id, tUsers &out);
    bool SwitchUser(int id);
    void LoadSelectedUser();

    // The users in name order for the users combo box and list, and the
    // index to select (-1 for none; with id 0 the first user).
    QList<Choice> ReadUserChoices(int id, int *selected) const;
    // Fills the users combo box (and the toolbar's, when given) with every
    // name, its id as item data, and selects the user `id` (with id 0 the
    // first one). The window empties its combo boxes before. Never creates
    // the users database.
    void FillUserCombo(CComboFiller *toolbar, CComboFiller &combo, int id) const;
    void FillUserList(CComboFiller &list, int id) const;

    bool GetUserSettings(QStringList &names) const;
    bool SetUserSettings(const QStringList &names, const QStringList &values) const;

private:
    // Opens an existing users database read-only; never creates it.
    bool OpenForReading(SQLite::CmyDataBase &db) const;
    bool LoadUserWhere(const QString &sql, tUsers &user) const;
    // Opens the current user's database (upgraded when older) and loads
    // activities, projects and the running entry into the application's
    // store; without a current user nothing is opened and the store and the
    // running entry are emptied.
    void LoadCurrentUserData();
    static bool NetworkRefreshOn();

    std::vector<std::unique_ptr<tUsers>> m_users;
    ReloadHooks m_hooks;
};
