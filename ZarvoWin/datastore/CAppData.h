#pragma once
#include <QString>

#include <functional>

class CAnnulation;
struct tCurrentEntry;
class CBdD;
class CConfiguration;
class CDataChangedNotifier;
class CProjectStore;
class CUsers;

// The data store's view of what the application object owns. The
// application (and the tests) fill it at start-up and clear it at the end;
// the data store only reads it. Pointers are non-owning.
//
// Each subsystem that builds an application-owned object adds its member
// here (projects store, settings, users, the running entry...).
class CAppData
{
public:
    // --- Undo history ------------------------------------------------------
    // Null when no history is kept (then writes record no undo pairs).
    static CAnnulation *Annulation();
    static void SetAnnulation(CAnnulation *history);

    // --- Settings -----------------------------------------------------------
    // The application's settings object with its working-time calendar;
    // null until the application (or a test) sets it.
    static CConfiguration *Configuration();
    static void SetConfiguration(CConfiguration *configuration);

    // --- Project store ------------------------------------------------------
    // The one in-memory model of projects, activities and rates; null until
    // the application (or a test) sets it.
    static CProjectStore *ProjectStore();
    static void SetProjectStore(CProjectStore *store);

    // --- Current user's database ------------------------------------------
    // The path every CBdD built without a path opens (empty: none). Who owns
    // the current path plugs its provider in: the users list at start-up
    // (CUsers::ProvideCurrentDatabasePath), a test or a tool a fixed path.
    using PathProvider = std::function<QString()>;
    static QString CurrentDatabasePath();
    static void SetCurrentDatabasePathProvider(PathProvider provider);
    static void SetCurrentDatabasePath(const QString &path);

    // --- Change notices inside the process --------------------------------
    // The one object through which the data store tells the main frame
    // that data changed (always present; the main frame connects to it).
    static CDataChangedNotifier &DataChangedNotifier();

    // --- Current running entry ---------------------------------------------
    // The application's current entry, which the data store reloads after
    // each write of time entries (null: nothing is kept). The application
    // also sets the after-batch hook below to CBdD::RefreshCurrentEntry, so
    // that undo and redo reload it too.
    static tCurrentEntry *CurrentEntry();
    static void SetCurrentEntry(tCurrentEntry *entry);

    // --- After an undo or redo batch --------------------------------------
    // Called with the database layer after a batch committed, so that the
    // running entry can be reloaded. Empty until the time entries plug in.
    using BatchHook = std::function<void(CBdD &db)>;
    static void SetAfterBatchHook(BatchHook hook);
    static void RunAfterBatchHook(CBdD &db);

    // --- Automatic backup --------------------------------------------------
    // Writes that add data call RunAutoBackup after they landed; the
    // application plugs in its backup, which copies only when one is due.
    using BackupHook = std::function<void()>;
    static void SetAutoBackupHook(BackupHook hook);
    static void RunAutoBackup();

    // --- Favourites, users, device synchronisation ---------------------------
    // The task pane's refresh after a favourite was marked as used (the
    // application plugs in the pane's forced refresh; unset: nothing).
    using TaskPaneHook = std::function<void()>;
    static void SetTaskPaneRefreshHook(TaskPaneHook hook);
    static void RunTaskPaneRefresh();
    // The application's users list.
    static CUsers *Users();
    static void SetUsers(CUsers *users);
    // The automatic backup of one user by id, made without checking whether
    // one is due, as the device synchronisation asks before it merges. The
    // application plugs in its backup; false when none is plugged in or no
    // copy was made.
    using UserBackupHook = std::function<bool(int userId)>;
    static void SetUserBackupHook(UserBackupHook hook);
    static bool BackupUserForSync(int userId);

    // --- What sets this program apart on the shared file ---------------------
    // Both programs write the user's database through this layer; these
    // choices, made once by each program, are all that differ.
    //
    // What a write that landed tells the other program: the main program's
    // change notice (wParam 0), or the tray's refresh message (the tray's
    // own endpoint would read a change notice with wParam 0 as a new user).
    enum class LandedWriteMessage { ChangeNotice, RefreshFromTray };
    static LandedWriteMessage LandedWriteNotice();
    static void SetLandedWriteNotice(LandedWriteMessage message);
    // Whether failures go to the SQL error log beside the database: as the
    // setting Config/Misc/LogErrors says (the main program), or on or off as
    // the program decides (the tray logs every failure once its settings are
    // loaded).
    enum class SqlLogSwitch { FromSettings, On, Off };
    static SqlLogSwitch SqlLog();
    static void SetSqlLog(SqlLogSwitch logSwitch);
    // The name that follows the date on this program's log lines
    // ("ZarvoTray"); empty for none.
    static QString SqlLogTag();
    static void SetSqlLogTag(const QString &tag);

    // Forgets every registered pointer, provider and hook (tests call it
    // in their tear-down).
    static void Clear();
};
