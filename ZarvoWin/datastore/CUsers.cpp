#include "CUsers.h"

#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CComboFiller.h"
#include "CProjectStore.h"
#include "CmyDataBase.h"
#include "tCurrentEntry.h"
#include "UsersFolder.h"
#include "Formatter.h"
#include "IntParse.h"
#include "MyTable.h"
#include "QuoteSql.h"
#include "Settings.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using Platform::Formatter;
using SQLite::CmyDataBase;
using SQLite::MyTablePtr;

namespace {


constexpr int UsersDbVersion = 1;

// Rolls back unless told that the transaction ended otherwise.
bool finish(CmyDataBase &db, bool ok)
{
    if (ok && db.GetLastCode() == 0 && db.CommitTransaction())
        return true;
    db.RollbackTransaction();
    return false;
}

bool tableExists(CmyDataBase &db, const QString &name)
{
    MyTablePtr t = db.Query(Formatter::sprintf(
        u"select name from sqlite_master where type='table' and name='%s'", {QuoteSql(name)}));
    return t.hasRows();
}

} // namespace

CUsers::~CUsers()
{
    Clear();
}

QString CUsers::GetUsersFolder()
{
    return UsersFolder::Path();
}

void CUsers::SetUsersFolderSource(std::function<QString()> source)
{
    UsersFolder::SetSource(std::move(source));
}

QString CUsers::GetUsersDatabasePath()
{
    const QString folder = GetUsersFolder();
    if (folder.isEmpty())
        return QString();
    return Formatter::sprintf(u"%sUsers.sdb", {folder});
}

void CUsers::ProvideCurrentDatabasePath()
{
    CAppData::SetCurrentDatabasePathProvider([this] { return GetCurrentDatabasePath(true); });
}

int CUsers::GetCurrentId() const
{
    return m_users.empty() ? -1 : m_users.front()->Id;
}

QString CUsers::GetCurrentName() const
{
    return m_users.empty() ? QString() : m_users.front()->GetName();
}

QString CUsers::GetCurrentDatabasePath(bool full) const
{
    return m_users.empty() ? QString() : m_users.front()->GetDatabasePath(full);
}

QString CUsers::GetCurrentReportDatabasePath() const
{
    return m_users.empty() ? QString() : m_users.front()->GetReportDatabasePath();
}

void CUsers::Clear()
{
    m_users.clear();
}

CUsers::NameProblem CUsers::CheckName(const QString &name)
{
    return UsersFolder::CheckName(name);
}

QString CUsers::NameProblemText(NameProblem problem)
{
    switch (problem) {
    case NameProblem::None:
        return QString();
    case NameProblem::Empty:
        return Platform::Texts::get(174);
    case NameProblem::Dots:
        return Platform::Texts::get(20000);
    case NameProblem::Separator:
        return Platform::Texts::get(20001);
    case NameProblem::ControlCharacter:
        return Platform::Texts::get(20002);
    case NameProblem::TooLong:
        return Platform::Texts::get(20003);
    }
    return QString();
}

namespace {

const char16_t *const CreateUsers =
    u"create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, "
    u"Color int, TypeColor int, LastBackup int)";
const char16_t *const CreateInfos = u"create table Infos(Name text, Value text)";
const char16_t *const CreateUsersInfos = u"create table UsersInfos(IdUser int, Name text, Value text)";

int countTables(CmyDataBase &db)
{
    MyTablePtr t = db.Query(u"select count(*) from sqlite_master");
    return t.hasRows() ? t->GetFirstInt() : 0;
}

// The version the file says it has: 0 without an Infos table or a version
// row, -1 when it cannot be read.
int storedVersion(CmyDataBase &db)
{
    if (!tableExists(db, QStringLiteral("Infos")))
        return db.GetLastCode() == 0 ? 0 : -1;
    MyTablePtr version = db.Query(u"select Value from Infos where name='VersionDB'");
    if (db.GetLastCode() != 0)
        return -1;
    return version.hasRows() ? Platform::wtoi(version->GetCellView(0, 0)) : 0;
}

} // namespace

bool CUsers::OpenDatabase(CmyDataBase &db, bool upgrade) const
{
    const QString path = GetUsersDatabasePath();
    if (path.isEmpty())
        return false;
    const bool created = !QFileInfo::exists(path);
    const auto fail = [&] {
        db.Close();
        // A half-made file would later pass for a users database.
        if (created)
            QFile::remove(path);
        return false;
    };
    if (db.Open(path) != 0)
        return fail();
    // The first read also rolls back what a crash left half done.
    int tables = countTables(db);
    if (db.GetLastCode() != 0)
        return fail();
    // A file without any table is new, whatever its size (an empty file, a
    // creation cut short): it is made whole, in one transaction.
    if (tables == 0) {
        if (!db.BeginTransaction())
            return fail();
        tables = countTables(db);
        if (tables == 0) {
            db.Execute(CreateUsers);
            db.Execute(CreateInfos);
            db.Execute(CreateUsersInfos);
            db.Execute(Formatter::sprintf(u"insert into Infos(Name, Value) values ('VersionDB','%d')",
                                          {UsersDbVersion}));
        }
        if (!finish(db, true))
            return fail();
        if (tables == 0)
            return true;
    }
    // A file of a later version is the later program's: its rows may mean
    // what this one does not know, so it is never written.
    if (LaterVersion(db) != 0) {
        db.Close();
        return false;
    }
    if (upgrade && !UpgradeDatabase(db)) {
        db.Close();
        return false;
    }
    return true;
}

int CUsers::LaterVersion(CmyDataBase &db)
{
    const int version = storedVersion(db);
    db.SetLastCode(0);
    return version > UsersDbVersion ? version : 0;
}

bool CUsers::UpgradeDatabase(CmyDataBase &db) const
{
    const auto missingTables = [&db] {
        QStringList missing;
        for (const char16_t *name : {u"Users", u"Infos", u"UsersInfos"}) {
            if (!tableExists(db, QString::fromUtf16(name)))
                missing << QString::fromUtf16(name);
        }
        return missing;
    };
    const int version = storedVersion(db);
    if (version > UsersDbVersion || version < 0)
        return false;
    if (version == UsersDbVersion && missingTables().isEmpty())
        return true;
    db.SetLastCode(0);
    if (!db.BeginTransaction())
        return false;
    // Only what is missing is made: a file that already has some of the
    // tables, or all of them but no version (or version 0), must still
    // reach a whole users database of the current version. A version is
    // only ever raised (and read again inside the transaction, in case the
    // other program wrote meanwhile).
    const int inside = storedVersion(db);
    if (inside > UsersDbVersion || inside < 0)
        return finish(db, false);
    for (const QString &table : missingTables()) {
        if (table == u"Users")
            db.Execute(CreateUsers);
        else if (table == u"Infos")
            db.Execute(CreateInfos);
        else
            db.Execute(CreateUsersInfos);
    }
    if (!db.Query(u"select Value from Infos where name='VersionDB'").hasRows())
        db.Execute(u"insert into Infos(Name, Value) values ('VersionDB','0')");
    if (inside < UsersDbVersion)
        db.Execute(Formatter::sprintf(u"update Infos set Value='%d' where Name='VersionDB'", {UsersDbVersion}));
    if (!finish(db, true))
        return false;
    db.Execute(u"VACUUM");
    db.SetLastCode(0);
    return true;
}

bool CUsers::OpenForReading(CmyDataBase &db) const
{
    const QString path = GetUsersDatabasePath();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return db.OpenReadOnly(path) == 0;
}

int CUsers::CountUsers() const
{
    CmyDataBase db;
    if (!OpenForReading(db))
        return 0;
    MyTablePtr t = db.Query(u"select Id from Users");
    return t ? t->rowCount() : 0;
}

bool CUsers::LoadUserWhere(const QString &sql, tUsers &user) const
{
    CmyDataBase db;
    if (!OpenForReading(db))
        return false;
    MyTablePtr t = db.Query(sql);
    if (!t.hasRows())
        return false;
    t->MoveFirst();
    user.ReadFrom(*t);
    return true;
}

bool CUsers::LoadUserById(tUsers &user, int id) const
{
    return LoadUserWhere(Formatter::sprintf(u"select * from Users where Id=%d", {id}), user);
}

bool CUsers::LoadUserByName(const QString &name, tUsers &user) const
{
    return LoadUserWhere(Formatter::sprintf(u"select * from Users where Nom='%s'", {QuoteSql(name)}), user);
}

bool CUsers::ReadSelectedUser(tUsers &user) const
{
    return LoadUserWhere(QStringLiteral("select * from Users where Selected<>0 limit 1"), user);
}

bool CUsers::NameExistsIn(CmyDataBase &db, const tUsers &user) const
{
    if (!db.IsOpen())
        return false;
    MyTablePtr t = db.Query(Formatter::sprintf(u"select Nom from Users where Id<>%d", {user.Id}));
    if (!t)
        return false;
    // Names are folder names: two names that differ only in letter case
    // would share one folder where the file system ignores case.
    for (int row = 0; row < t->rowCount(); ++row) {
        if (t->GetCellView(row, 0).compare(user.Nom, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool CUsers::NameExists(const tUsers &user) const
{
    CmyDataBase db;
    if (!OpenForReading(db))
        return false;
    return NameExistsIn(db, user);
}

int CUsers::AddUser(tUsers &user)
{
    if (CheckName(user.Nom) != NameProblem::None)
        return InvalidName;
    int result = DatabaseError;
    {
        CmyDataBase db;
        if (!OpenDatabase(db, false) || !db.BeginTransaction())
            return DatabaseError;
        tUsers probe = user;
        probe.Id = -1;
        if (NameExistsIn(db, probe)) {
            db.RollbackTransaction();
            return NameTaken;
        }
        db.Execute(Formatter::sprintf(
            u"insert into Users  (Nom,Selected,Color,TypeColor,LastBackup) values ('%s',0,%d,%d,%I64d)",
            {QuoteSql(user.Nom), user.Color, user.TypeColor, user.LastBackup}));
        const qint64 newId = db.GetLastInsertRowId();
        if (finish(db, true)) {
            user.Id = static_cast<int>(newId);
            result = Done;
        }
    }
    if (result == Done) {
        // The user's main database, with its full schema, when the user's
        // folder is there (the dialogs and wizards make it); none is made
        // elsewhere.
        const QString folder = user.GetFolder();
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            CBdD created(user.GetDatabasePath(true));
    }
    return result;
}

int CUsers::UpdateUser(const tUsers &user, CUsers &current)
{
    if (CheckName(user.Nom) != NameProblem::None)
        return InvalidName;
    {
        CmyDataBase db;
        if (!OpenDatabase(db, false) || !db.BeginTransaction())
            return DatabaseError;
        if (NameExistsIn(db, user)) {
            db.RollbackTransaction();
            return NameTaken;
        }
        db.Execute(Formatter::sprintf(
            u"update Users set Nom='%s',Color=%d,TypeColor=%d,LastBackup=%I64d where Id=%d",
            {QuoteSql(user.Nom), user.Color, user.TypeColor, user.LastBackup, user.Id}));
        // A user whose row is gone (deleted meanwhile) is not updated.
        if (!finish(db, db.GetChanges() > 0))
            return DatabaseError;
    }
    if (!current.m_users.empty() && user.Id == current.GetCurrentId()) {
        tUsers &cur = *current.m_users.front();
        cur.Nom = user.Nom;
        cur.Color = user.Color;
        cur.TypeColor = user.TypeColor;
        cur.LastBackup = user.LastBackup;
    }
    return Done;
}

bool CUsers::DeleteUserRow(int id)
{
    CmyDataBase db;
    if (!OpenDatabase(db, false) || !db.BeginTransaction())
        return false;
    db.Execute(Formatter::sprintf(u"delete from Users where Id=%d", {id}));
    return finish(db, true);
}

bool CUsers::DeleteUser(int id, bool deleteFolder, QString *folderKept)
{
    if (folderKept)
        folderKept->clear();
    tUsers user;
    if (!LoadUserById(user, id))
        return false;
    if (!DeleteUserRow(id))
        return false;
    if (!deleteFolder)
        return true;
    // A stored name such as ".." or one holding a separator gives no
    // folder; DeleteUserFiles keeps to the users folder (no link, nothing
    // outside it, never the folder itself).
    const QString users = GetUsersFolder();
    const QString folder = user.GetFolder();
    if (users.isEmpty() || folder.isEmpty() || CheckName(user.Nom) != NameProblem::None)
        return true;
    if (!DeleteUserFiles(users, folder, false) && folderKept)
        *folderKept = folder;
    return true;
}

bool CUsers::SelectUser(int id, tUsers &out)
{
    CmyDataBase db;
    if (!OpenDatabase(db, false) || !db.BeginTransaction())
        return false;
    db.Execute(Formatter::sprintf(u"update Users set Selected=0 where Id<>%d", {id}));
    MyTablePtr row = db.Query(Formatter::sprintf(u"select * from Users where Id=%d", {id}));
    if (!row.hasRows() || db.GetLastCode() != 0)
        return finish(db, false);
    db.Execute(Formatter::sprintf(u"update Users set Selected=1 where Id=%d", {id}));
    if (!finish(db, true))
        return false;
    row->MoveFirst();
    out.ReadFrom(*row);
    return true;
}

bool CUsers::NetworkRefreshOn()
{
    return Platform::Settings().getInt(u"Config", u"Lan", u"Time", -1) != -1;
}

void CUsers::LoadCurrentUserData()
{
    CProjectStore *store = CAppData::ProjectStore();
    const QString path = GetCurrentDatabasePath(true);
    if (path.isEmpty()) {
        // No current user: no database is opened on an empty path, and
        // nothing of the previous user stays in memory.
        if (store)
            store->Clear();
        if (tCurrentEntry *current = CAppData::CurrentEntry())
            current->Entry.Reset();
        return;
    }
    // Through the shared connection when the database layer follows this
    // users list (the application's case), so that the file is opened once;
    // otherwise on a connection of its own.
    std::unique_ptr<CBdD> db = CAppData::CurrentDatabasePath() == path ? std::make_unique<CBdD>()
                                                                        : std::make_unique<CBdD>(path);
    const CBdD::tUpgradeResult upgrade = db->UpdateDb();
    if (upgrade.TextId() != 0 && m_hooks.upgradeNotice)
        m_hooks.upgradeNotice(upgrade.DeferredNotice());
    db->LoadActivities(nullptr, nullptr, true, QString());
    db->LoadProjects(-1, nullptr);
    db->RefreshCurrentEntry();
}

bool CUsers::SwitchUser(int id)
{
    bool switched = false;
    const bool added = m_users.empty();
    if (added)
        m_users.push_back(std::make_unique<tUsers>());
    if (id != GetCurrentId() && SelectUser(id, *m_users.front())) {
        switched = true;
        if (CProjectStore *store = CAppData::ProjectStore())
            store->Clear();
        // The previous user's running entry is no entry of this database;
        // when the reload cannot tell the current one (several run), none is.
        if (tCurrentEntry *current = CAppData::CurrentEntry())
            current->Entry.Reset();
        if (NetworkRefreshOn() && m_hooks.refreshFromNetwork)
            m_hooks.refreshFromNetwork();
        LoadCurrentUserData();
        if (m_hooks.refreshForecastView)
            m_hooks.refreshForecastView();
        else if (CProjectStore *store = CAppData::ProjectStore())
            store->ComputeForecast();
        if (m_hooks.reloadViews)
            m_hooks.reloadViews();
        if (CAnnulation *history = CAppData::Annulation())
            history->Reset();
    } else if (added) {
        // No user was made current: no placeholder may pass for one.
        m_users.clear();
    }
    CBdD::PostChange(0);
    return switched;
}

void CUsers::LoadSelectedUser()
{
    // Called again after the users folder changed: when that makes another
    // database current (or none), nothing of the previous one may stay. Its
    // undo steps would run on the other database, and its recent
    // combinations name its own project ids.
    const QString previous = GetCurrentDatabasePath(true);
    auto forgetPrevious = [this, &previous] {
        if (previous.isEmpty() || GetCurrentDatabasePath(true) == previous)
            return false;
        if (CProjectStore *store = CAppData::ProjectStore())
            store->Clear();
        if (CAnnulation *history = CAppData::Annulation())
            history->Reset();
        if (tCurrentEntry *current = CAppData::CurrentEntry())
            current->Entry.Reset();
        return true;
    };
    Clear();
    const QString path = GetUsersDatabasePath();
    CmyDataBase db;
    if (!path.isEmpty() && QFileInfo(path).isFile() && !OpenDatabase(db, true)) {
        // A users database of a later version is only read: the selected
        // user opens, and nothing of the file changes.
        const int later = OpenForReading(db) ? LaterVersion(db) : 0;
        if (later == 0)
            db.Close();
        else if (m_hooks.laterUsersDatabase)
            m_hooks.laterUsersDatabase(path, later);
    }
    if (!db.IsOpen()) {
        if (forgetPrevious())
            LoadCurrentUserData(); // no current user: the running entry goes too
        return;
    }
    MyTablePtr row = db.Query(u"select * from Users where Selected<>0 limit 1");
    if (row.hasRows()) {
        row->MoveFirst();
        auto user = std::make_unique<tUsers>();
        user->ReadFrom(*row);
        m_users.push_back(std::move(user));
    }
    forgetPrevious();
    LoadCurrentUserData();
    db.Close();
}

QList<CUsers::Choice> CUsers::ReadUserChoices(int id, int *selected) const
{
    QList<Choice> choices;
    int sel = -1;
    CmyDataBase db;
    if (OpenForReading(db)) {
        MyTablePtr t = db.Query(u"select * from Users order by Nom asc");
        if (t && t->MoveFirst()) {
            do {
                tUsers user;
                user.ReadFrom(*t);
                if (user.Id == id)
                    sel = static_cast<int>(choices.size());
                choices.append({user.Nom, user.Id});
            } while (t->MoveNext());
        }
    }
    if (id == 0 && !choices.isEmpty())
        sel = 0;
    if (selected)
        *selected = sel;
    return choices;
}

void CUsers::FillUserCombo(CComboFiller *toolbar, CComboFiller &combo, int id) const
{
    int selected = -1;
    const QList<Choice> choices = ReadUserChoices(id, &selected);
    for (const Choice &choice : choices) {
        combo.AddItem(choice.name, -1, choice.id, 0);
        if (toolbar)
            toolbar->AddItem(choice.name, -1, choice.id, 0);
    }
    if (selected >= 0) {
        combo.SetCurSel(selected);
        if (toolbar)
            toolbar->SetCurSel(selected);
    }
}

void CUsers::FillUserList(CComboFiller &list, int id) const
{
    FillUserCombo(nullptr, list, id);
}

bool CUsers::GetUserSettings(QStringList &names) const
{
    // Reading settings never creates the users database: a missing file
    // reads as "nothing stored".
    CmyDataBase db;
    if (!OpenForReading(db)) {
        for (QString &name : names)
            name.clear();
        return false;
    }
    const int user = GetCurrentId();
    for (QString &name : names) {
        MyTablePtr t = db.Query(Formatter::sprintf(
            u"select Value from UsersInfos where IdUser=%d and Name='%s'", {user, QuoteSql(name)}));
        if (t.hasRows()) {
            t->MoveFirst();
            name = t->GetValueAt(0);
        } else {
            name.clear();
        }
    }
    return true;
}

bool CUsers::SetUserSettings(const QStringList &names, const QStringList &values) const
{
    if (names.size() != values.size())
        return false;
    // Without a current user the rows would belong to nobody.
    const int user = GetCurrentId();
    if (user == -1)
        return false;
    CmyDataBase db;
    if (!OpenDatabase(db, false))
        return false;
    // Rows written outside a transaction would land one by one; a BEGIN
    // that failed writes nothing at all.
    if (!db.BeginTransaction())
        return false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = QuoteSql(names.at(i));
        const QString value = QuoteSql(values.at(i));
        MyTablePtr t = db.Query(Formatter::sprintf(
            u"select Value from UsersInfos where IdUser=%d and Name='%s'", {user, name}));
        if (t.hasRows())
            db.Execute(Formatter::sprintf(
                u"update UsersInfos set Value='%s' where IdUser=%d and Name='%s'", {value, user, name}));
        else
            db.Execute(Formatter::sprintf(
                u"insert into UsersInfos (IdUser,Name,Value) Values (%d,'%s','%s')", {user, name, value}));
    }
    return finish(db, true);
}
