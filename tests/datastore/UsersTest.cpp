#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "CUsers.h"
#include "MessageBus.h"
#include "RecordingFillers.h"
#include "RegisteredMessages.h"
#include "tCurrentEntry.h"
#include "CmyDataBase.h"
#include "CrashedCreation.h"
#include "Settings.h"
#include "ShortBusyWait.h"
#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <vector>

using SQLite::CmyDataBase;
using SQLite::MyTablePtr;

namespace {

// Every test gets a users folder of its own, named in the settings.
class UsersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        usersFolder = TestFolders::root() + QStringLiteral("/users/");
        ASSERT_TRUE(QDir().mkpath(usersFolder));
        Platform::Settings().setString(u"Config", u"Rep", u"Users", usersFolder);
        CUsers::SetUsersFolderSource({});
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
    }

    // A user with a folder and a database holding one project named after
    // the user and one running entry.
    int addUserWithData(const QString &name)
    {
        EXPECT_TRUE(QDir().mkpath(usersFolder + name));
        const int id = addUser(name);
        CBdD db(usersFolder + name + QStringLiteral("/Zarvo.sdb"));
        EXPECT_EQ(db.Execute(QStringLiteral("insert into Projets (Id,Nom,Parent,Deleted) values (32,'Projet de %1',-1,0)").arg(name)), 0);
        EXPECT_EQ(db.Execute(QStringLiteral("insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Title) values (101,1000,0,32,-1,-1,0,'%1')").arg(name)), 0);
        return id;
    }

    QString usersDb() const { return usersFolder + QStringLiteral("Users.sdb"); }

    int addUser(const QString &name)
    {
        tUsers u;
        u.Nom = name;
        EXPECT_EQ(users.AddUser(u), CUsers::Done) << name.toStdString();
        return u.Id;
    }

    QString scalar(const QString &sql)
    {
        CmyDataBase db;
        if (db.OpenReadOnly(usersDb()) != 0)
            return QStringLiteral("<no db>");
        MyTablePtr t = db.Query(sql);
        if (!t.hasRows())
            return QStringLiteral("<none>");
        t->MoveFirst();
        return t->GetValueAt(0);
    }

    // Zoé and Anne, added in that order, and the row each asked-for id
    // selects in their name order (id 0: the first row, an unknown id: none).
    struct Selection
    {
        int id;
        int selected;
    };
    std::vector<Selection> addZoeAndAnne(int &zoe, int &anne)
    {
        zoe = addUser(QStringLiteral("Zoé"));
        anne = addUser(QStringLiteral("Anne"));
        return {{0, 0}, {zoe, 1}, {anne, 0}, {42, -1}};
    }

    QString usersFolder;
    CUsers users;
};

TEST_F(UsersTest, NewUsersDatabaseHasExactlyTheDocumentedSchema)
{
    CmyDataBase db;
    ASSERT_TRUE(users.OpenDatabase(db, false));
    MyTablePtr t = db.Query(u"select sql from sqlite_master where type='table' and name<>'sqlite_sequence' order by rowid");
    ASSERT_TRUE(t);
    QStringList sql;
    for (int r = 0; r < t->rowCount(); ++r)
        sql << t->GetCell(r, 0);
    EXPECT_EQ(sql, (QStringList{
                       QStringLiteral("CREATE TABLE Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, Color int, TypeColor int, LastBackup int)"),
                       QStringLiteral("CREATE TABLE Infos(Name text, Value text)"),
                       QStringLiteral("CREATE TABLE UsersInfos(IdUser int, Name text, Value text)")}));
    db.Close();
    EXPECT_EQ(scalar(QStringLiteral("select Value from Infos where Name='VersionDB'")), u"1");
}

TEST_F(UsersTest, UpgradeBringsEveryOlderShapeToVersionOne)
{
    struct Case
    {
        const char *what;
        QStringList setup;
        std::function<void(const QString &)> leave = {};
    };
    const Case cases[] = {
        // What an earlier upgrade made of an empty file: no Users table.
        {"no users table",
         {QStringLiteral("create table Infos(Name text, Value text)"),
          QStringLiteral("create table UsersInfos(IdUser int, Name text, Value text)"),
          QStringLiteral("insert into Infos values ('VersionDB','1')")}},
        {"empty file", {}, [](const QString &path) { QFile(path).open(QIODevice::WriteOnly); }},
        {"creation cut short", {}, [](const QString &path) { LeaveCrashedCreation(path); }},
        {"only the users table", {QStringLiteral("create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, Color int, TypeColor int, LastBackup int)")}},
        {"version row at 0",
         {QStringLiteral("create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, Color int, TypeColor int, LastBackup int)"),
          QStringLiteral("create table Infos(Name text, Value text)"),
          QStringLiteral("insert into Infos values ('VersionDB','0')")}},
        {"infos without version row",
         {QStringLiteral("create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, Key text, Color int, TypeColor int, LastBackup int)"),
          QStringLiteral("create table Infos(Name text, Value text)"),
          QStringLiteral("create table UsersInfos(IdUser int, Name text, Value text)")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(usersDb());
        if (c.leave) {
            c.leave(usersDb());
        } else {
            CmyDataBase raw;
            ASSERT_EQ(raw.Open(usersDb()), 0);
            for (const QString &s : c.setup)
                ASSERT_EQ(raw.Execute(s), 0) << s.toStdString();
        }
        CmyDataBase db;
        ASSERT_TRUE(users.OpenDatabase(db, true));
        db.Close();
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from Infos where Name='VersionDB'")), u"1");
        EXPECT_EQ(scalar(QStringLiteral("select Value from Infos where Name='VersionDB'")), u"1");
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from UsersInfos")), u"0");
        // Whole: users can be added.
        tUsers user;
        user.Nom = QStringLiteral("Anne");
        EXPECT_EQ(users.AddUser(user), CUsers::Done);
    }
}

TEST_F(UsersTest, AUsersDatabaseOfALaterVersionIsReadButNeverWritten)
{
    struct Case
    {
        const char *what;
        QStringList change;
    };
    const Case cases[] = {
        {"version 9", {QStringLiteral("update Infos set Value='9' where Name='VersionDB'")}},
        // What an upgrade would have "completed" (and stamped version 1).
        {"version 9 without its settings table",
         {QStringLiteral("update Infos set Value='9' where Name='VersionDB'"), QStringLiteral("drop table UsersInfos")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(usersDb());
        const int anne = addUser(QStringLiteral("Anne"));
        tUsers selected;
        ASSERT_TRUE(users.SelectUser(anne, selected));
        {
            CmyDataBase raw;
            ASSERT_EQ(raw.Open(usersDb()), 0);
            for (const QString &sql : c.change)
                ASSERT_EQ(raw.Execute(sql), 0);
        }
        const QByteArray before = TestFolders::readFile(usersDb());

        QStringList told;
        CUsers::ReloadHooks hooks;
        hooks.laterUsersDatabase = [&told](const QString &path, int version) {
            told << QStringLiteral("%1 %2").arg(path).arg(version);
        };
        users.SetReloadHooks(hooks);
        users.LoadSelectedUser();
        EXPECT_EQ(told, QStringList{usersDb() + QStringLiteral(" 9")});
        EXPECT_EQ(users.GetCurrentId(), anne); // read: the selected user opens

        CmyDataBase db;
        EXPECT_FALSE(users.OpenDatabase(db, true));
        EXPECT_FALSE(users.OpenDatabase(db, false));
        tUsers bruno;
        bruno.Nom = QStringLiteral("Bruno");
        EXPECT_EQ(users.AddUser(bruno), CUsers::DatabaseError);
        tUsers renamed = selected;
        renamed.Nom = QStringLiteral("Anna");
        EXPECT_EQ(users.UpdateUser(renamed, users), CUsers::DatabaseError);
        EXPECT_FALSE(users.SelectUser(anne, selected));
        EXPECT_FALSE(users.SetUserSettings({QStringLiteral("GanttZoom")}, {QStringLiteral("3")}));
        EXPECT_FALSE(users.DeleteUser(anne, false));
        EXPECT_EQ(TestFolders::readFile(usersDb()), before);
        users.SetReloadHooks({});
    }
}

TEST_F(UsersTest, PathsOfAUser)
{
    tUsers u;
    u.Nom = QStringLiteral("Anne");
    EXPECT_EQ(u.GetFolder(), usersFolder + QStringLiteral("Anne/"));
    EXPECT_EQ(u.GetDatabasePath(true), usersFolder + QStringLiteral("Anne/Zarvo.sdb"));
    EXPECT_EQ(u.GetDatabasePath(false), u"Zarvo.sdb");
    EXPECT_EQ(u.GetReportDatabasePath(), usersFolder + QStringLiteral("Anne/Zarvo.rpt"));

    // Without a users folder or a name no path may fall back on the
    // working directory or on the users folder itself.
    tUsers nameless;
    EXPECT_TRUE(nameless.GetFolder().isEmpty());
    for (const char *stored : {"..", ".", "../Autre", "a\\b"}) {
        SCOPED_TRACE(stored);
        tUsers odd;
        odd.Nom = QString::fromUtf8(stored);
        EXPECT_TRUE(odd.GetFolder().isEmpty());
        EXPECT_TRUE(odd.GetDatabasePath(true).isEmpty());
    }
    EXPECT_TRUE(nameless.GetDatabasePath(true).isEmpty());
    EXPECT_TRUE(nameless.GetReportDatabasePath().isEmpty());
    Platform::Settings().setString(u"Config", u"Rep", u"Users", QString());
    EXPECT_TRUE(u.GetFolder().isEmpty());
    EXPECT_TRUE(u.GetDatabasePath(true).isEmpty());
    EXPECT_TRUE(CUsers::GetUsersDatabasePath().isEmpty());

    CUsers none;
    EXPECT_EQ(none.GetCurrentId(), -1);
    EXPECT_TRUE(none.GetCurrentName().isEmpty());
    EXPECT_TRUE(none.GetCurrentDatabasePath(true).isEmpty());
    EXPECT_TRUE(none.GetCurrentReportDatabasePath().isEmpty());
}

TEST_F(UsersTest, AddingChecksTheNameAsAFolderName)
{
    addUser(QStringLiteral("Anne"));
    addUser(QStringLiteral("O'Brien"));
    const struct
    {
        QString name;
        int result;
    } cases[] = {
        {QStringLiteral("Bob"), CUsers::Done},
        {QStringLiteral("L'été"), CUsers::Done},
        {QStringLiteral("anne"), CUsers::NameTaken},
        {QStringLiteral("ANNE"), CUsers::NameTaken},
        {QStringLiteral("o'brien"), CUsers::NameTaken},
        {QString(), CUsers::InvalidName},
        {QStringLiteral("."), CUsers::InvalidName},
        {QStringLiteral(".."), CUsers::InvalidName},
        {QStringLiteral("a/b"), CUsers::InvalidName},
        {QStringLiteral("a\\b"), CUsers::InvalidName},
        {QStringLiteral("a\tb"), CUsers::InvalidName},
        {QStringLiteral("a\nb"), CUsers::InvalidName},
        {QString(300, u'x'), CUsers::InvalidName},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        tUsers u;
        u.Nom = c.name;
        EXPECT_EQ(users.AddUser(u), c.result);
        EXPECT_EQ(u.Id == -1, c.result != CUsers::Done);
    }
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Users")), u"4");
    EXPECT_FALSE(CUsers::NameProblemText(CUsers::CheckName(QStringLiteral(".."))).isEmpty());
    EXPECT_TRUE(CUsers::NameProblemText(CUsers::CheckName(QStringLiteral("Anne"))).isEmpty());

    tUsers found;
    ASSERT_TRUE(users.LoadUserByName(QStringLiteral("O'Brien"), found));
    EXPECT_EQ(found.Nom, u"O'Brien");
    EXPECT_EQ(found.TypeColor, 1);
}

TEST_F(UsersTest, RenamingKeepsNamesDistinctInAnyLetterCase)
{
    const int anne = addUser(QStringLiteral("Anne"));
    addUser(QStringLiteral("O'Brien"));
    ASSERT_TRUE(users.SwitchUser(anne));
    const struct
    {
        QString name;
        int result;
    } cases[] = {
        {QStringLiteral("Anne"), CUsers::Done},
        {QStringLiteral("ANNE"), CUsers::Done},
        {QStringLiteral("o'brien"), CUsers::NameTaken},
        {QStringLiteral("O'Brien"), CUsers::NameTaken},
        {QStringLiteral(".."), CUsers::InvalidName},
        {QStringLiteral("x/y"), CUsers::InvalidName},
        {QStringLiteral("Annie"), CUsers::Done},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        tUsers u;
        ASSERT_TRUE(users.LoadUserById(u, anne));
        const QString before = u.Nom;
        u.Nom = c.name;
        u.Color = 0x123456;
        EXPECT_EQ(users.UpdateUser(u, users), c.result);
        tUsers stored;
        ASSERT_TRUE(users.LoadUserById(stored, anne));
        EXPECT_EQ(stored.Nom, c.result == CUsers::Done ? c.name : before);
        EXPECT_EQ(users.GetCurrentName(), stored.Nom);
    }
    EXPECT_EQ(users.Current()->Color, 0x123456);
}

// A user deleted meanwhile (by another window or instance) is not renamed:
// the update finds no row, which is no success.
TEST_F(UsersTest, RenamingAUserWhoseRowIsGoneFails)
{
    const int anne = addUser(QStringLiteral("Anne"));
    ASSERT_TRUE(users.SwitchUser(anne));
    tUsers u;
    ASSERT_TRUE(users.LoadUserById(u, anne));
    ASSERT_TRUE(users.DeleteUserRow(anne));
    u.Nom = QStringLiteral("Annie");
    EXPECT_EQ(users.UpdateUser(u, users), CUsers::DatabaseError);
    EXPECT_EQ(users.GetCurrentName(), QStringLiteral("Anne"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Users")), u"0");
}

TEST_F(UsersTest, DeletedIdsAreNeverReusedAndSettingsRowsStay)
{
    const int a = addUser(QStringLiteral("A"));
    const int b = addUser(QStringLiteral("B"));
    ASSERT_TRUE(users.SwitchUser(b));
    ASSERT_TRUE(users.SetUserSettings({QStringLiteral("GanttZoom")}, {QStringLiteral("3")}));
    ASSERT_TRUE(users.DeleteUser(b, false));
    EXPECT_FALSE(users.DeleteUser(b, false));
    const int c = addUser(QStringLiteral("C"));
    EXPECT_GT(c, b);
    EXPECT_GT(b, a);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from UsersInfos where IdUser=%1").arg(b)), u"1");
}

TEST_F(UsersTest, DeletingFilesTouchesOnlyTheUsersOwnFolder)
{
    const QString trash = QDir::homePath() + QStringLiteral("/.local/share/Trash/files/");
    const QString outside = TestFolders::root() + QStringLiteral("/outside");
    ASSERT_TRUE(QDir().mkpath(outside));
    QFile(outside + QStringLiteral("/keep.txt")).open(QIODevice::WriteOnly);

    const int anne = addUser(QStringLiteral("Anne"));
    const int bob = addUser(QStringLiteral("Bob"));
    ASSERT_TRUE(QDir().mkpath(usersFolder + QStringLiteral("Anne")));
    ASSERT_TRUE(QDir().mkpath(usersFolder + QStringLiteral("Bob")));
    QFile(usersFolder + QStringLiteral("Anne/Zarvo.sdb")).open(QIODevice::WriteOnly);

    // Rows whose names were stored by some other means: they must never
    // lead outside the users folder.
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(usersDb()), 0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom,Selected) values ('..',0)"), 0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom,Selected) values ('../outside',0)"), 0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom,Selected) values ('Link',0)"), 0);
    }
    ASSERT_TRUE(QFile::link(outside, usersFolder + QStringLiteral("Link")));

    for (int id : {3, 4, 5}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(users.DeleteUser(id, true));
    }
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
    EXPECT_TRUE(QFileInfo::exists(usersDb()));
    EXPECT_TRUE(QFileInfo(usersFolder + QStringLiteral("Link")).isSymLink());

    ASSERT_TRUE(users.DeleteUser(bob, false));
    EXPECT_TRUE(QFileInfo::exists(usersFolder + QStringLiteral("Bob")));
    ASSERT_TRUE(users.DeleteUser(anne, true));
    EXPECT_FALSE(QFileInfo::exists(usersFolder + QStringLiteral("Anne")));
    EXPECT_TRUE(QFileInfo::exists(trash + QStringLiteral("Anne/Zarvo.sdb")));
    EXPECT_TRUE(QFileInfo::exists(usersDb()));
}

TEST_F(UsersTest, LookingAtUsersNeverCreatesTheUsersDatabase)
{
    tUsers u;
    u.Nom = QStringLiteral("Anne");
    QStringList names{QStringLiteral("GanttZoom")};
    int selected = 7;
    EXPECT_EQ(users.CountUsers(), 0);
    EXPECT_FALSE(users.LoadUserById(u, 1));
    EXPECT_FALSE(users.LoadUserByName(QStringLiteral("Anne"), u));
    EXPECT_FALSE(users.NameExists(u));
    EXPECT_TRUE(users.ReadUserChoices(0, &selected).isEmpty());
    EXPECT_EQ(selected, -1);
    EXPECT_FALSE(users.GetUserSettings(names));
    EXPECT_EQ(names, QStringList{QString()});
    users.LoadSelectedUser();
    EXPECT_EQ(users.GetCurrentId(), -1);
    EXPECT_FALSE(QFileInfo::exists(usersDb()));
}

// The tray's look at the user selected in the main program writes nothing:
// no users database is made, and an older one is not upgraded.
TEST_F(UsersTest, TheSelectedUserIsReadWithoutAWrite)
{
    tUsers u;
    EXPECT_FALSE(users.ReadSelectedUser(u));
    EXPECT_FALSE(QFileInfo::exists(usersDb()));
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(usersDb()), 0);
        ASSERT_EQ(db.Execute(u"create table Users (Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Selected integer, "
                             u"Key text, Color int, TypeColor int, LastBackup int)"),
                  0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom, Selected) values ('Zoé', 0)"), 0);
    }
    EXPECT_FALSE(users.ReadSelectedUser(u)) << "nobody selected";
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(usersDb()), 0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom, Selected) values ('L''Anne', 1)"), 0);
    }
    const QByteArray bytes = TestFolders::readFile(usersDb());
    ASSERT_TRUE(users.ReadSelectedUser(u));
    EXPECT_EQ(u.Nom, QStringLiteral("L'Anne"));
    EXPECT_EQ(u.Id, 2);
    EXPECT_EQ(TestFolders::readFile(usersDb()), bytes) << "upgraded or written";
}

TEST_F(UsersTest, UserChoicesInNameOrder)
{
    int zoe = -1, anne = -1;
    for (const Selection &c : addZoeAndAnne(zoe, anne)) {
        SCOPED_TRACE(c.id);
        int selected = -2;
        const QList<CUsers::Choice> choices = users.ReadUserChoices(c.id, &selected);
        ASSERT_EQ(choices.size(), 2);
        EXPECT_EQ(choices[0].name, u"Anne");
        EXPECT_EQ(choices[0].id, anne);
        EXPECT_EQ(choices[1].id, zoe);
        EXPECT_EQ(selected, c.selected);
    }
}

TEST_F(UsersTest, PerUserSettingsReadAndWritten)
{
    const int anne = addUser(QStringLiteral("Anne"));
    const int bob = addUser(QStringLiteral("Bob"));
    ASSERT_TRUE(users.SwitchUser(anne));

    QStringList names{QStringLiteral("Projects Root"), QStringLiteral("GanttZoom")};
    ASSERT_TRUE(users.GetUserSettings(names));
    EXPECT_EQ(names, (QStringList{QString(), QString()}));

    ASSERT_TRUE(users.SetUserSettings({QStringLiteral("Projects Root"), QStringLiteral("GanttZoom")},
                                      {QStringLiteral("1;0"), QStringLiteral("l'an")}));
    ASSERT_TRUE(users.SetUserSettings({QStringLiteral("GanttZoom")}, {QStringLiteral("4")}));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from UsersInfos where Name='GanttZoom'")), u"1");
    names = QStringList{QStringLiteral("GanttZoom"), QStringLiteral("Projects Root"), QStringLiteral("Nothing")};
    ASSERT_TRUE(users.GetUserSettings(names));
    EXPECT_EQ(names, (QStringList{QStringLiteral("4"), QStringLiteral("1;0"), QString()}));

    // Another user sees none of Anne's settings.
    ASSERT_TRUE(users.SwitchUser(bob));
    names = QStringList{QStringLiteral("GanttZoom")};
    ASSERT_TRUE(users.GetUserSettings(names));
    EXPECT_EQ(names, QStringList{QString()});

    EXPECT_FALSE(users.SetUserSettings({QStringLiteral("A")}, {}));
}

TEST_F(UsersTest, SettingsAreNotWrittenWhenTheTransactionCannotBegin)
{
    const int anne = addUser(QStringLiteral("Anne"));
    ASSERT_TRUE(users.SwitchUser(anne));
    const ShortBusyWait noWait;
    CmyDataBase other;
    ASSERT_EQ(other.Open(usersDb()), 0);
    ASSERT_TRUE(other.BeginTransaction());
    EXPECT_FALSE(users.SetUserSettings({QStringLiteral("GanttZoom"), QStringLiteral("X")},
                                       {QStringLiteral("1"), QStringLiteral("2")}));
    ASSERT_TRUE(other.RollbackTransaction());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from UsersInfos")), u"0");
}

TEST_F(UsersTest, NewUserGetsItsDatabaseWhenItsFolderIsThere)
{
    ASSERT_TRUE(QDir().mkpath(usersFolder + QStringLiteral("Anne")));
    addUser(QStringLiteral("Anne"));
    {
        CBdD db(usersFolder + QStringLiteral("Anne/Zarvo.sdb"), CBdD::ReadOnly);
        ASSERT_TRUE(db.IsOpen());
        EXPECT_EQ(db.GetVersion(), CBdD::CurrentVersion);
    }
    // No folder: the user is added, and no folder or file is made.
    addUser(QStringLiteral("Bob"));
    EXPECT_FALSE(QFileInfo::exists(usersFolder + QStringLiteral("Bob")));
}

TEST_F(UsersTest, SwitchReloadsTheNewUsersDataThenTheViewsAndAlwaysBroadcasts)
{
    CProjectStore store;
    CAnnulation history;
    tCurrentEntry running;
    CAppData::SetProjectStore(&store);
    CAppData::SetAnnulation(&history);
    CAppData::SetCurrentEntry(&running);
    CAppData::SetUsers(&users);
    users.ProvideCurrentDatabasePath();

    QStringList calls;
    CUsers::ReloadHooks hooks;
    hooks.refreshFromNetwork = [&] {
        calls << QStringLiteral("network, store ")
                     + (store.GetProjectCount() == 0 ? QStringLiteral("empty") : QStringLiteral("full"));
    };
    hooks.refreshForecastView = [&] { calls << QStringLiteral("forecast ") + store.GetProjectName(32); };
    hooks.reloadViews = [&] {
        calls << QStringLiteral("views ") + store.GetProjectName(32) + QStringLiteral(", ") + running.Entry.Title;
    };
    users.SetReloadHooks(hooks);
    const int anne = addUserWithData(QStringLiteral("Anne"));
    const int bob = addUserWithData(QStringLiteral("Bob"));

    Platform::MessageBus tray;
    ASSERT_TRUE(tray.listen());
    QSignalSpy spy(&tray, &Platform::MessageBus::received);

    const struct
    {
        const char *what;
        int id;
        int lanTime;
        bool result;
        QStringList calls;
        int currentAfter;
    } cases[] = {
        {"to a user", anne, -1, true, {"forecast Projet de Anne", "views Projet de Anne, Anne"}, anne},
        {"to the current user", anne, -1, false, {}, anne},
        {"with the network folder on", bob, 0, true,
         {"network, store empty", "forecast Projet de Bob", "views Projet de Bob, Bob"}, bob},
        {"to an unknown user", 99, -1, false, {}, bob},
    };
    int posts = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Platform::Settings().setInt(u"Config", u"Lan", u"Time", c.lanTime);
        calls.clear();
        {
            CBdD db;
            db.ExecuteWithUndo(QStringLiteral("select 1"), QStringLiteral("select 2"));
        }
        ASSERT_TRUE(history.CanUndo() || !c.result);
        EXPECT_EQ(users.SwitchUser(c.id), c.result);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(users.GetCurrentId(), c.currentAfter);
        EXPECT_EQ(scalar(QStringLiteral("select group_concat(Id) from Users where Selected=1")),
                  QString::number(c.currentAfter));
        if (c.result) {
            EXPECT_FALSE(history.CanUndo());
        }
        // Every switch, done or not, posts the change broadcast (0, 0).
        ++posts;
        while (spy.count() < posts)
            ASSERT_TRUE(spy.wait(30000));
        const auto m = spy.at(posts - 1).at(0).value<Platform::MessageBus::Message>();
        EXPECT_EQ(m.message, Platform::MessageBus::registerMessage(RegisteredMessages::ZarvoChange));
        EXPECT_EQ(m.wParam, 0u);
        EXPECT_EQ(m.lParam, 0);
    }
    // The database layer follows the current user.
    EXPECT_EQ(CAppData::CurrentDatabasePath(), usersFolder + QStringLiteral("Bob/Zarvo.sdb"));

    // From an empty list, a failed switch leaves no placeholder user.
    CUsers fresh;
    EXPECT_FALSE(fresh.SwitchUser(99));
    EXPECT_EQ(fresh.Current(), nullptr);
}

TEST_F(UsersTest, TheSelectedUserOfAnotherUsersFolderStartsWithNothingOfThePreviousUser)
{
    CProjectStore store;
    CAnnulation history;
    tCurrentEntry running;
    CAppData::SetProjectStore(&store);
    CAppData::SetAnnulation(&history);
    CAppData::SetCurrentEntry(&running);
    CAppData::SetUsers(&users);
    users.ProvideCurrentDatabasePath();
    const int anne = addUserWithData(QStringLiteral("Anne"));
    tUsers out;
    ASSERT_TRUE(users.SelectUser(anne, out));
    users.LoadSelectedUser();
    ASSERT_EQ(users.GetCurrentId(), anne);
    auto useAnnesData = [&] {
        CBdD db;
        ASSERT_EQ(db.ExecuteWithUndo(QStringLiteral("update Projets set Nom='Renommé' where Id=32"),
                                     QStringLiteral("update Projets set Nom='Projet de Anne' where Id=32")),
                  0);
        store.AddHistory(32, -1, -1);
        ASSERT_TRUE(history.CanUndo());
    };
    useAnnesData();

    // The users folder changes to one whose selected user is Bob: Anne's
    // undo steps must never run on his database, and her recent
    // combinations (ids of her projects) must not be offered as his.
    const QString first = usersFolder;
    usersFolder = TestFolders::root() + QStringLiteral("/other/");
    ASSERT_TRUE(QDir().mkpath(usersFolder));
    Platform::Settings().setString(u"Config", u"Rep", u"Users", usersFolder);
    const int bob = addUserWithData(QStringLiteral("Bob"));
    ASSERT_TRUE(users.SelectUser(bob, out));
    users.LoadSelectedUser();
    EXPECT_EQ(users.GetCurrentDatabasePath(true), usersFolder + QStringLiteral("Bob/Zarvo.sdb"));
    EXPECT_EQ(store.GetProjectName(32), u"Projet de Bob");
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(store.GetHistoryCount(), 0);

    // Back to a folder without a users database: no user, nothing kept.
    Platform::Settings().setString(u"Config", u"Rep", u"Users", first);
    users.LoadSelectedUser();
    useAnnesData();
    Platform::Settings().setString(u"Config", u"Rep", u"Users", TestFolders::root() + QStringLiteral("/none/"));
    users.LoadSelectedUser();
    EXPECT_EQ(users.GetCurrentId(), -1);
    EXPECT_EQ(store.GetProjectCount(), 0);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(store.GetHistoryCount(), 0);
    EXPECT_EQ(running.Entry.Id, -1);
}

TEST_F(UsersTest, APreviousUsersRunningEntryNeverStaysCurrentForTheNextUser)
{
    CProjectStore store;
    tCurrentEntry running;
    CAppData::SetProjectStore(&store);
    CAppData::SetCurrentEntry(&running);
    CAppData::SetUsers(&users);
    users.ProvideCurrentDatabasePath();
    const int anne = addUserWithData(QStringLiteral("Anne"));
    const int bob = addUserWithData(QStringLiteral("Bob"));
    {
        // Bob has two running entries: none of them can be the current one.
        CBdD db(usersFolder + QStringLiteral("Bob/Zarvo.sdb"));
        ASSERT_EQ(db.Execute(u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted,Title) values (102,2000,0,32,-1,-1,0,'Bob 2')"), 0);
    }
    ASSERT_TRUE(users.SwitchUser(anne));
    ASSERT_EQ(running.Entry.Title, u"Anne");
    // Stopping "the current entry" would otherwise end Bob's entry 101.
    ASSERT_TRUE(users.SwitchUser(bob));
    EXPECT_EQ(running.Entry.Id, -1);
    EXPECT_TRUE(running.Entry.Title.isEmpty());

    // The same when the users folder changes and brings Bob back.
    ASSERT_TRUE(users.SwitchUser(anne));
    ASSERT_EQ(running.Entry.Title, u"Anne");
    tUsers out;
    ASSERT_TRUE(users.SelectUser(bob, out));
    users.LoadSelectedUser();
    ASSERT_EQ(users.GetCurrentId(), bob);
    EXPECT_EQ(running.Entry.Id, -1);
}

TEST_F(UsersTest, SwitchToAUserWithoutAUsablePathOpensNothing)
{
    CProjectStore store;
    CAppData::SetProjectStore(&store);
    CAppData::SetUsers(&users);
    users.ProvideCurrentDatabasePath();
    const int anne = addUserWithData(QStringLiteral("Anne"));
    ASSERT_TRUE(users.SwitchUser(anne));
    ASSERT_EQ(store.GetProjectCount(), 1);
    {
        CmyDataBase db;
        ASSERT_EQ(db.Open(usersDb()), 0);
        ASSERT_EQ(db.Execute(u"insert into Users (Nom,Selected) values ('..',0)"), 0);
    }
    tUsers odd;
    ASSERT_TRUE(users.LoadUserByName(QStringLiteral(".."), odd));
    EXPECT_TRUE(users.SwitchUser(odd.Id));
    EXPECT_EQ(store.GetProjectCount(), 0);
    EXPECT_TRUE(CAppData::CurrentDatabasePath().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(TestFolders::root() + QStringLiteral("/Zarvo.sdb")));
}

TEST_F(UsersTest, SelectedUserAtStart)
{
    CProjectStore store;
    tCurrentEntry running;
    CAppData::SetProjectStore(&store);
    CAppData::SetCurrentEntry(&running);
    CAppData::SetUsers(&users);
    users.ProvideCurrentDatabasePath();
    const int anne = addUserWithData(QStringLiteral("Anne"));

    // Nobody selected: no current user, nothing opened on an empty path,
    // and nothing of an earlier user stays in memory.
    running.Entry.Id = 5;
    tElement earlier;
    earlier.Id = 500;
    store.AddProject(earlier, nullptr, QString());
    users.LoadSelectedUser();
    EXPECT_EQ(users.Current(), nullptr);
    EXPECT_EQ(store.GetProjectCount(), 0);
    EXPECT_EQ(running.Entry.Id, -1);
    EXPECT_EQ(QDir(usersFolder).entryList(QDir::Files), QStringList{QStringLiteral("Users.sdb")});

    tUsers out;
    ASSERT_TRUE(users.SelectUser(anne, out));
    EXPECT_EQ(out.Nom, u"Anne");
    users.LoadSelectedUser();
    EXPECT_EQ(users.GetCurrentId(), anne);
    EXPECT_EQ(users.GetCurrentDatabasePath(true), usersFolder + QStringLiteral("Anne/Zarvo.sdb"));
    EXPECT_EQ(store.GetProjectName(32), u"Projet de Anne");
    EXPECT_EQ(running.Entry.Id, 101);
}

TEST_F(UsersTest, UserComboAndList)
{
    int zoe = -1, anne = -1;
    for (const Selection &c : addZoeAndAnne(zoe, anne)) {
        SCOPED_TRACE(c.id);
        RecordingCombo combo, toolbar;
        users.FillUserCombo(&toolbar, combo, c.id);
        for (const RecordingCombo *filled : {&combo, &toolbar}) {
            ASSERT_EQ(filled->items.size(), 2u);
            EXPECT_EQ(filled->items[0].text, u"Anne");
            EXPECT_EQ(filled->items[0].data, anne);
            EXPECT_EQ(filled->items[1].data, zoe);
            EXPECT_EQ(filled->selection, c.selected);
        }
        RecordingCombo list;
        users.FillUserList(list, c.id);
        EXPECT_EQ(list.items.size(), 2u);
        EXPECT_EQ(list.selection, c.selected);
    }
}

TEST_F(UsersTest, SettingsNeedACurrentUser)
{
    addUser(QStringLiteral("Anne"));
    EXPECT_FALSE(users.SetUserSettings({QStringLiteral("GanttZoom")}, {QStringLiteral("2")}));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from UsersInfos")), u"0");
}

TEST_F(UsersTest, LookingAtAUsersDatabaseNeverCreatesIt)
{
    const int anne = addUser(QStringLiteral("Anne"));
    tUsers u;
    ASSERT_TRUE(users.LoadUserById(u, anne));
    CBdD db(u.GetDatabasePath(true), CBdD::ReadOnly);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.AllocateRowId(CBdD::TableTaches, false), -1);
    QString sync, change;
    EXPECT_EQ(db.GetSyncStamps(sync, change), CBdD::StampsFailed);
    EXPECT_FALSE(QFileInfo::exists(u.GetFolder()));
}

} // namespace
