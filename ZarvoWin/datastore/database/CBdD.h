#pragma once
#include "CTreeFiller.h"
#include "CmyDataBase.h"
#include "tDebutFin.h"
#include "tFavorite.h"
#include "tEntryStamp.h"
#include "tHistory.h"
#include "tTacheFull.h"
#include "tTacheParams.h"
#include "tTimeEntryDetails.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <vector>

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

class CAnnulation;
class CComboFiller;
class CConfiguration;
class ProgressDlgShared;
class SyncReviewList;
class SyncSteps;
class CProject;
struct tElement;
struct tForecast;

// The database layer: the object through which the program reads and
// writes the current user's database ("Zarvo.sdb", schema version 2).
// Made on the stack for one operation; cheap when the shared connection
// is already open on the wanted file.
//
// How every write is done (follow this in each write operation):
//
//     CBdD db;                                   // the current user's file
//     if (!db.BeginWrite())                      // BEGIN IMMEDIATE + new undo group
//         return false;
//     const int id = db.AllocateRowId(CBdD::TableTaches);   // id, step 3, undoable
//     db.ExecuteWithUndo(
//         Platform::Formatter::sprintf(u"insert into Taches(Id, Debut, Title) values (%d, %I64d, '%s')",
//                                      {id, start, QuoteSql(title)}),
//         Platform::Formatter::sprintf(u"delete from Taches where Id=%d", {id}));
//     // An update of existing rows records its undo first:
//     //   AddUndoPair(redo, db.SnapshotRow(CBdD::TableTaches, id)); db.Execute(redo);
//     // or for many rows: db.RecordUndoWhere(redo, CBdD::TableTaches, cond); db.Execute(redo);
//     // InsertNewRow and UpdateRow do the id, the statement, its undo and the stamp in one call.
//     db.StampRow(CBdD::TableTaches, id);        // Date_Modif, Origine_Modif=1, Infos 'Modif' (one broadcast per write)
//     const bool ok = db.EndWrite();             // COMMIT, or ROLLBACK + drop the undo group
//     CBdD::SendDataChanged(0, 0);               // main frame (time entries: whatever the outcome)
//     return ok;
//
// Every text value goes through QuoteSql and every number through the
// C-locale formatter. Nothing here shows a message: results and codes are
// returned and the window shows the message.
class CBdD
{
public:
    // Codes naming the synchronised tables.
    enum TableCode {
        TableProjets = 1,
        TableActivites = 2,
        TableTauxHoraire = 3,
        TableTaches = 4,
        TableFavoris = 5,
        TableForecast = 7,
        TableProjectChilds = 9,
    };

    // ===================================================================
    // Connections (shared and own)
    // ===================================================================

    // The current user's database, through the process-wide shared
    // connection (opened here unless it is already open on that file).
    // Made on another thread than the interface thread (the progress
    // dialog's worker), it opens a connection of its own on that file
    // instead, and leaves the shared one alone. A missing file is made with
    // the schema, unless it is one this process had open already and that
    // went away since: that one is not made again, empty, in its place; the
    // object then has no connection (OpenError() is SQLITE_CANTOPEN).
    CBdD();
    // A file of its own: a non-empty path is opened (and created with the
    // schema when missing); an empty path gives an object without a
    // connection.
    explicit CBdD(const QString &path);
    virtual ~CBdD();
    CBdD(const CBdD &) = delete;
    CBdD &operator=(const CBdD &) = delete;

    bool IsOpen() const { return m_connection && m_connection->IsOpen(); }
    SQLite::CmyDataBase *Connection() const { return m_connection; }
    QString GetPath() const { return m_path; }
    // The connection's kept code (1 without a connection).
    int LastCode() const { return m_connection ? m_connection->GetLastCode() : 1; }
    // The SQLite code of a failed open (0 when the open succeeded);
    // SQLITE_CANTOPEN for a file of a later version (see NewerVersion).
    int OpenError() const { return m_openError; }
    // The version of a file that was not opened because a later version of
    // the program made it; 0 otherwise.
    int NewerVersion() const { return m_newerVersion; }
    // The schema version of the open file, as found when it was opened (0
    // when it stores none) or as UpdateDb left it; -1 without a connection.
    int FileVersion() const { return IsOpen() ? m_fileVersion : -1; }

    SQLite::MyTablePtr Query(QStringView sql);
    // Like Query, but no table at all when the statement failed (the other
    // program holding the file while it commits, for one), so that a failed
    // read never passes for an empty one. The failure stays the
    // connection's kept code; an earlier one is kept when the read succeeds.
    SQLite::MyTablePtr ReadRows(QStringView sql);
    int Execute(QStringView sql);

    // The process-wide connection used by objects built without a path.
    static SQLite::CmyDataBase &SharedConnection();
    static void CloseSharedConnection();

    static QString TableName(int tableCode);

    // ===================================================================
    // Schema, creation and upgrades
    // ===================================================================

    static constexpr int CurrentVersion = 2;
    // The tables a user database of `version` must hold, by name, each with
    // the columns that the program reads or that the upgrade to the current
    // version relies on (what the upgrade adds itself is left out). Empty
    // for a version this program neither reads nor upgrades.
    static QMap<QString, QStringList> RequiredSchema(int version);

    // Opens an existing file (checked to be a writable database of a
    // version this program knows, before anything is written to it), or
    // gives a new one (a missing file, or one without any table yet) the
    // full schema in one transaction. On failure the connection is closed
    // and OpenError() tells why.
    bool InitBd(const QString &path);
    // -1 without a connection; 0 when no version is stored.
    int GetVersion();

    struct tUpgradeResult
    {
        enum class Outcome {
            NotOpen,    // no connection
            Current,    // already version 2, nothing to do
            Completed,  // version 2 completed in place (Forecast.Visible added)
            Upgraded,   // version 0 or 1 brought to 2
            Failed,     // rolled back; `code` holds the SQLite code
            TooNew,     // a later version than this program knows: untouched
            NoCopy,     // no free name for the safety copy: refused, untouched
        };
        Outcome outcome = Outcome::NotOpen;
        int oldVersion = -1;
        int code = 0;
        QString copyPath; // the safety copy, empty when none was made

        // Whether the user is told, and what: text 618 with the code,
        // 620 or 621 with the copy path, TextTooNew with the file's version.
        // 0 and an empty text when silent.
        int TextId() const;
        QString Text() const;
        // The notice kept for later while start-up defers messages:
        // "Error : %d" on failure, "Version : %d" for a file of a later
        // version, else the copy path (maybe empty). FromDeferredNotice
        // gives back a result whose Text() is the one to show.
        QString DeferredNotice() const;
        static tUpgradeResult FromDeferredNotice(const QString &notice);
    };
    // A text of ours: the file was made by a later version of the program.
    static constexpr int TextTooNew = 20004;
    // Brings the open database to version 2 in one transaction, after a
    // dated copy made with the backup API. On an object whose file was not
    // opened for its later version: TooNew, with that version.
    tUpgradeResult UpdateDb();

    // ===================================================================
    // Write convention, stamps, ids, SQL error log
    // ===================================================================

    // Steps 1 to 3 of a write: fails without a connection or when the write
    // lock cannot be had; then opens a new undo group.
    bool BeginWrite();
    // Step 6: commits when every statement since BeginWrite succeeded (and
    // `ok` is true); otherwise, or when the COMMIT fails, rolls back and
    // drops the undo group. True only when the write landed.
    bool EndWrite(bool ok = true);

    // Executes `redo` and records the pair in the undo history.
    int ExecuteWithUndo(const QString &redo, const QString &undo);
    // The undo history this object's writes go to: the application's,
    // none for another file (or when the application keeps none).
    CAnnulation *UndoHistory() const;
    // Records one pair in that history.
    void RecordUndo(const QString &redo, const QString &undo);
    // Rows changed by the last INSERT, UPDATE or DELETE run on the
    // connection (0 without one): an update of an id that has no row
    // changes none and must not count as a write that landed.
    int ChangedRows() const { return m_connection ? m_connection->GetChanges() : 0; }

    // Next id of Projets, Activites, TauxHoraire, Taches or Favoris for this
    // desktop (column Pc of NextRowId, advanced by 3, undoable); -1 without
    // a connection, for another code or without a NextRowId row. With
    // `allocate` false: the number of live rows of the table instead.
    int AllocateRowId(int tableCode, bool allocate = true);

    // A new row of Projets, Activites, TauxHoraire, Taches or Favoris:
    // allocates its id, executes `insert(id)` with the row's deletion as its
    // undo and stamps the row. The id, or -1 (nothing written) when none
    // could be allocated.
    int InsertNewRow(int tableCode, const std::function<QString(int id)> &insert);
    // Executes `redo`, which changes the one row `rowId` of the table, with
    // the row as it was before as its undo, then stamps the row. Returns
    // 0 when the row was changed, the statement's code when it failed, or
    // SQLITE_NOTFOUND when it changed no row (no row of that id): nothing
    // is stamped then, and the caller's write must not land.
    int UpdateRow(int tableCode, qint64 rowId, const QString &redo);

    // Stamps one row (Date_Modif = now, Origine_Modif = 1) and Infos
    // 'Modif' (inside a write, once for the whole write when it ends),
    // recording undo pairs, then announces the change (see AnnounceChange). For a code that names no table only 'Modif' is
    // stamped. The static form, outside any write of a CBdD, posts the
    // change broadcast at once.
    void StampRow(int tableCode, qint64 rowId);
    static void StampRow(SQLite::CmyDataBase &connection, int tableCode, qint64 rowId);
    // The Infos value 'Modif' (the time of the last write of either
    // program). The text is emptied first and stays empty without a row.
    // False without a connection or when the read fails (the other program
    // committing), so that a failed read never passes for "no change".
    bool GetModifStamp(QString &stamp);
    // Stamps every time entry matching `condition` (undoable) and announces
    // the change; 'Modif' is not touched.
    void StampTimeEntriesWhere(const QString &condition);
    // The message of a stamped change (the change broadcast with wParam 0,
    // or the tray's refresh message: see PostLandedWrite). Inside a write
    // (between BeginWrite and EndWrite) it is posted once for the whole
    // write, by EndWrite once the COMMIT has landed, however many rows were
    // stamped: the other program only needs to know that something changed,
    // and each broadcast makes it reload, so it must find the change there.
    // A write that is rolled back, or whose COMMIT fails, posts none.
    // Outside a write it is posted at once.
    void AnnounceChange();

    // Appends a line to the log beside the database when the connection
    // keeps an error and the log is on (the setting Config/Misc/LogErrors
    // is 1, unless the program decides: CAppData::SqlLog); the program's tag
    // (CAppData::SqlLogTag) follows the date.
    void LogSqlError(const QString &context, bool clear = false);
    static QString LogPathFor(const QString &databasePath);
    static constexpr qint64 MaxLogSize = 32000;

    // The registered change broadcast to the other program (wParam 0 data
    // changed, 1 after a project creation or a change of child order,
    // 2 interface language, 3 help language, 4 formats, 5 visual style).
    static void PostChange(qint64 wParam = 0);
    // What a write that landed posts, once, to the other program: the
    // change broadcast (wParam 0) from the main program, the refresh
    // message from the tray (CAppData::LandedWriteNotice).
    static void PostLandedWrite();
    // UWM_DATA_CHANGED to the main frame, synchronously.
    static void SendDataChanged(qint64 wParam, qint64 lParam);
    // A step text for the progress dialog a job runs under (null: none):
    // shown only while the dialog's window exists and the user has not
    // cancelled; it never waits for the interface thread.
    static void SendProgressText(ProgressDlgShared *progress, const QString &text);

    // ===================================================================
    // Undo support
    // ===================================================================

    // The statement that puts one row back to its present values (empty
    // when there is no such row). NULL values are written back as NULL.
    QString SnapshotRow(int tableCode, qint64 rowId);
    // Records the undo pairs of `redo`, which is about to change every row
    // of the table matching `condition`. The caller runs `redo` afterwards.
    void RecordUndoWhere(const QString &redo, int tableCode, const QString &condition);
    // The SQL literal of the Deleted flag the row `id` has now ("0" when
    // there is no such row): the undo of a soft deletion puts it back, so
    // that a row already deleted (by the other program) stays deleted.
    QString DeletedLiteral(int tableCode, int id);
    // Runs the texts in one transaction (no stamps, no undo pairs). True
    // when committed.
    bool RunBatch(const QStringList &texts);

    // ===================================================================
    // Time entries
    // ===================================================================
    // Rows of Taches. Every read returns false (or -1 where said) without
    // a connection; the day's entries, the running ones, the current entry
    // and the collisions also when their query fails (the other program
    // committing), never an empty result instead. Every write is one transaction and one undo group,
    // stamps the rows it changes, reloads the application's current entry
    // and sends UWM_DATA_CHANGED (wParam 0); it returns true only when its
    // COMMIT landed. Instants are 64-bit Unix seconds.

    // The indexes the reads of time entries and of the project tree use:
    // Taches by end (one day's entries, overlaps, running entries), by
    // project and activity (the recorded-time totals, read from the index
    // alone) and by stamp (the newest change), and the child lists by
    // parent. Made when a file is opened, old files included, without a
    // change of schema version. A failure (read-only or locked file) is not
    // kept as the connection's error: the next open tries again.
    void EnsureIndexes();

    // The live entry `id`. False when there is none; a read that fails (or
    // no connection) gives false with `failed` set, so that it is not taken
    // for "no such entry".
    bool GetTimeEntry(tTacheFull &entry, int id, bool *failed = nullptr);
    bool GetTimeEntry(int id, tTacheFull &entry, bool *failed = nullptr) { return GetTimeEntry(entry, id, failed); }
    // The stamps of the entries `ids` by id: an id without a live row reads
    // as not live. False when the read failed (or no connection).
    bool GetTimeEntryStamps(const std::vector<int> &ids, std::map<int, tEntryStamp> &stamps);
    // Entry `id` (deleted or not) with the names of its project, activity
    // and rate.
    bool GetTimeEntryDetails(tTimeEntryDetails &details, int id);
    // The live entry that ends last.
    bool GetLastTimeEntry(tTacheFull &entry);
    // The live entry that started last, running or not. False when there is
    // none; a read that fails (or no connection) gives false with `failed`
    // set. Read from the top of the index by start: it does not grow with
    // the history.
    bool GetNewestTimeEntry(tTacheFull &entry, bool *failed = nullptr);
    // Appends the running entries (Fin 0).
    bool GetRunningEntries(std::vector<tTacheParams> &entries);
    // The number of running entries, their ids appended to `ids`; when none
    // runs, 0 when live entries exist and -1 when there is none at all (or
    // without a connection); ReadFailed when a read failed (the other
    // program committing), which is neither.
    static constexpr int ReadFailed = -2;
    int CountRunningEntries(std::vector<int> *ids = nullptr);
    // The entries shown on the local calendar day `day`, in start order. A
    // running entry that began before the day is left out of days that
    // begin after the current time.
    bool LoadTimeEntries(std::vector<tTacheParams> &entries, const QDate &day);
    // Reloads the application's current entry from the single running row
    // (nothing changes when several run or the query fails).
    bool RefreshCurrentEntry();

    // Inserts the entry under a new id when it has no stored live row,
    // else updates that row. An entry running since at or before the new
    // entry's start is ended there, in the same write. The caller's record
    // keeps Id -1 after an insert. An entry started from favourite
    // `favoriteId` (not -1) marks the favourite used (its Ordre := now) in
    // the same write, which fails when the favourite has no row.
    bool SaveTimeEntry(const tTacheFull &entry, int favoriteId = -1);
    bool SetTimeEntryTimes(int id, qint64 start, qint64 end);
    // Ends the live running entry `id` at `end`; false, with nothing
    // written, when the entry is not running (any more) or is deleted.
    bool StopTimeEntry(int id, qint64 end);
    bool DeleteTimeEntry(int id);

    // Overlaps. True when the entry can be stored as it stands: nothing
    // collides, or only collisions within the 30-second edge tolerance,
    // which trim the entry in place. False otherwise: with `list` holding
    // the entry as given then the colliding live entries in start order,
    // or with `list` untouched when the database cannot be read.
    bool FindOverlappingEntries(tTacheFull &entry, std::vector<tTacheFull> &list);
    // Of the entries `ids`, those that may collide with another live entry,
    // read in a few statements: every live one that collides (as
    // FindOverlappingEntries reads collisions), and perhaps some that do
    // not (a running one, one whose times are not whole numbers). False
    // when the database cannot be read.
    bool EntriesThatMayOverlap(const std::vector<int> &ids, std::set<int> &found);
    // Stores the entry and resolves its collisions in one write: with `fit`
    // the entry moves into the longest free period of its span (and fails
    // when there is none); otherwise the colliding entries give way (cut,
    // split, moved or deleted). The collisions are read again inside the
    // write, so a change made meanwhile by the tray is taken into account.
    // The entry holds the times it was stored with afterwards.
    static constexpr bool OverwriteNeighbours = false;
    static constexpr bool FitIntoGap = true;
    bool InsertTimeEntry(tTacheFull &entry, bool fit);
    // (Debut, Fin) of every live finished entry ending after `instant`, in
    // start order; the array is emptied first. False without a connection
    // or when the query fails.
    bool GetEntryPeriodsAfter(std::vector<tDebutFin> &periods, qint64 instant);

    // Batch edits of a list of entries given as "(id,id,...)" text; a text
    // that is not such a list writes nothing and fails. One statement per
    // change, one undo group restoring every entry's former values.
    bool SetEntriesInvoiced(int invoiced, const QString &entryList);
    // Marks the first list invoiced and the second not, in one write;
    // either list may be empty.
    bool SetEntriesInvoiced(const QString &invoicedList, const QString &notInvoicedList);
    bool DeleteTimeEntries(const QString &entryList);
    // -2 leaves a field as it is (-1 means none); all three -2 writes
    // nothing (true).
    static constexpr int Unchanged = -2;
    bool ReassignTimeEntries(int project, int activity, int rate, const QString &entryList);
    bool ReassignTimeEntries(const QString &entryList, int project, int activity, int rate)
    {
        return ReassignTimeEntries(project, activity, rate, entryList);
    }
    // The start of the first and the end of the last live entry; now where
    // there is none (an end of 0 counts as none); both now, and false,
    // without a connection. False, both left as they were, when a read
    // failed.
    bool GetTimeEntryBounds(QDateTime &first, QDateTime &last);
    // True when a live entry starts or ends after `instant`. A read that
    // fails (or no connection) gives false with `failed` set, so that it is
    // not taken for "nothing later".
    bool HasEntriesAfter(qint64 instant, bool *failed = nullptr);
    // The start of the first live entry that starts after `instant`; 0 when
    // there is none, without a connection, or when the read fails.
    qint64 FirstStartAfter(qint64 instant);

    // ===================================================================
    // Projects, activities and rates
    // ===================================================================

    // Reads into the project store of CAppData (and into controls).
    // The project tree below parentId (-1: the whole tree, the store's
    // nodes emptied first) under parentNode (the root when null). A whole
    // tree is given its plan rows and recorded totals (InitForecast) unless
    // withForecast is false (the tray shows no plans). False when the tree
    // was not read (no store, no connection, a failed read: the store then
    // keeps the tree it had, or none without a connection).
    bool LoadProjects(int parentId, CProject *parentNode, bool withForecast = true);
    // Every live activity, in name order: into `tree` (may be null) under
    // parentItem, checked when checkedIds ("(3,12)") is empty or lists it;
    // with toStore into the store, whose activities are emptied first.
    // False when the read did not run (no connection, a failed query):
    // nothing was put into the tree, so a caller keeps what it shows.
    bool LoadActivities(CTreeFiller *tree, CTreeFiller::Item parentItem, bool toStore,
                        const QString &checkedIds);
    // Every live rate, into the store (emptied first) and `tree` (may be
    // null). False as for LoadActivities.
    bool LoadRates(CTreeFiller *tree, CTreeFiller::Item parentItem);
    // Projects (or activities) below parentId, each followed by its own
    // children; skipId and everything below it left out. With rateIds,
    // each item's IdTauxHoraire is appended to it.
    void FillElementCombo(CComboFiller &combo, std::vector<int> *rateIds, bool projects,
                          int currentId, int parentId, int skipId);
    void FillRateCombo(CComboFiller &combo, int currentId);
    // "name ( amount )", or the name alone for a value of 0.
    static QString RateText(const QString &name, double value);

    // Single reads. On a closed database they return false and leave their
    // outputs as they were.
    bool GetElement(bool projects, int id, tElement &element, bool includeDeleted);
    void GetElementNames(int projectId, int activityId, QString &projectName,
                         QString &activityName);
    bool GetRate(tElement &rate, int id, bool includeDeleted);
    bool FindActivityByName(const QString &name, int &id);
    bool FindRateByName(const QString &name, int &id);

    // Writes: each is one undoable group; true when it was committed.
    bool SaveProject(tElement *element, tForecast *forecast);
    bool SaveActivity(tElement &activity);
    // A rate travels in an element: Id, Nom, Commentaire and Valeur.
    bool SaveRate(tElement &rate);
    // Marks the project and every project below it deleted.
    bool DeleteProject(int id);
    bool DeleteActivity(int id);
    bool DeleteRate(int id);
    // One or two child lists (secondParentId -2: none) and, for a move
    // (movedProjectId not -1), the moved project's parent.
    bool SaveChildOrders(int parentId, const QString &childs, int secondParentId,
                         const QString &secondChilds, int movedProjectId);

    // ===================================================================
    // Favourites
    // ===================================================================
    // A favourite is a saved combination of project, activity, rate and
    // title; its Ordre holds the time it was last used (newest first).

    // The live favourite `id` (also a deleted one with includeDeleted);
    // false (outputs -1, -1, -1 and empty) when there is none. Missing
    // numbers read 0.
    bool GetFavorite(int id, int &project, int &activity, int &rate, QString &title, bool includeDeleted = false);
    // The live favourite `id` with the names of its project, activity and
    // rate (ids of -1 give empty names); every output is emptied first.
    bool DescribeFavorite(int id, QString &projectName, QString &activityName,
                          QString &rateName, QString &title);
    // The results of AddFavorite.
    enum FavoriteResult { FavoriteDone = 0, FavoriteFailed = 1, FavoriteExists = 2 };
    // Adds a favourite (id -1) or rewrites favourite `id` (which also
    // revives a deleted one). A new favourite identical to a live one is
    // refused (FavoriteExists); one identical only to deleted ones is
    // added under a new id. `newId` receives the id written (-1 when none).
    int AddFavorite(int id, int project, int activity, int rate, const QString &title,
                    int *newId = nullptr);
    // Marks the favourite as used now. Joins the undo group of the write
    // before it (starting an entry from a favourite and touching it are
    // undone together); no stamps, no broadcast.
    bool TouchFavorite(int id);
    // Inside a write: Ordre := now on favourite `id`, with its undo, no
    // stamp. 0, a statement's code, or SQLITE_NOTFOUND when the favourite
    // has no row.
    int MarkFavoriteUsed(int id);
    // Soft deletion, one undoable write.
    bool DeleteFavorite(int id);

    // The orders of the favourites branch.
    enum FavoriteOrder { FavoritesByUse = 0, FavoritesByProject = 1, FavoritesByActivity = 2 };
    // Refills the children of parentItem with the live favourites in the
    // given order (any other value than 1 or 2: most recently used first)
    // unless nothing changed in Favoris since the fill that left
    // `lastStamp` (owned by the caller, one per tree) and `force` is false.
    // True when the branch was refilled, and without a connection.
    bool LoadFavorites(CTreeFiller &tree, CTreeFiller::Item parentItem, bool force, int order,
                       qint64 &lastStamp);
    // The live favourites in the given order, as both programs list them:
    // by project, in project and activity name order, with the ids the
    // project store does not know read as -1; by activity, grouped by
    // activity name (empty names first), most recently used first within a
    // group, with the activity's name; otherwise most recently used first.
    // The array is emptied first. False without a connection or when the
    // read fails.
    bool ReadFavorites(int order, std::vector<tFavorite> &favourites);
    // The recursive step of the project order: the favourites of `node`,
    // then one item per child project leading to favourites. Placed
    // favourites are taken out of the list.
    void FillFavoritesByProject(CTreeFiller &tree, CTreeFiller::Item parentItem,
                                const CProject &node, std::vector<tFavorite> &favourites);
    // The store's recent combinations: the last ten distinct (project,
    // activity, rate) of live time entries, newest first.
    void LoadHistory();
    static constexpr int HistorySize = 10;
    // The last `count` distinct (project, activity, rate) of live time
    // entries, newest first, appended to `recent`. They are looked for among
    // the RecentEntriesRead newest entries first, read from the top of the
    // index by start; when those hold fewer, the index is walked on down to
    // the last combination wanted, never further. Combinations whose entries
    // all lack a start come last. False without a connection or when a read
    // fails (nothing appended then).
    bool ReadRecentCombinations(std::vector<tHistory> &recent, int count = HistorySize);
    static constexpr int RecentEntriesRead = 256;
    // Images of the favourites tree.
    static constexpr int FavoriteImage = 20;
    static constexpr int FavoriteGroupImage = 16;

    // ===================================================================
    // Looking at a user's database; services of the device synchronisation
    // ===================================================================

    // Opens an existing database file read-only, for a look at a user
    // (dates, counts, stamps): a missing file is never created and nothing
    // is written, not even the time-entry index. Without the file the
    // object has no open connection.
    enum ReadOnlyTag { ReadOnly };
    CBdD(const QString &path, ReadOnlyTag);

    // Opens an existing user database for reading and writing, as the tray
    // does for each of its actions: a missing file is never created, and a
    // file that holds no time-entry table (an empty or a foreign file) is
    // never given the schema; either leaves the object without a connection
    // (OpenError() tells why). A file of a later version is refused as
    // always; one of an older version is opened as it stands, without the
    // indexes, until UpdateDb brings it up.
    enum ExistingFileTag { ExistingFile };
    CBdD(const QString &path, ExistingFileTag);

    // Opens, as ExistingFile does, a database file that is not the current
    // user's (a working copy of the synchronisation): its writes record no
    // undo, tell neither this program's windows nor the other program of a
    // change, reload no running entry and run no backup, and its upgrade
    // makes no safety copy beside it. They belong to that file alone.
    enum OtherFileTag { OtherFile };
    CBdD(const QString &path, OtherFileTag);
    bool IsOtherFile() const { return m_otherFile; }

    // The results of GetSyncStamps.
    enum SyncStampsResult { StampsRead = 0, StampsFailed = 1, NoBackupRow = 2 };
    // The last synchronisation (Infos 'Backup', or 'MajLan' when that is
    // later or 'Backup' is empty) and the last change (Infos 'Modif'), as
    // decimal text, empty when not set. StampsFailed without a database,
    // when a query failed or the 'MajLan' or 'Modif' row is missing;
    // NoBackupRow when only the 'Backup' row is missing. The texts hold what
    // was read in every case.
    int GetSyncStamps(QString &lastSync, QString &lastChange);
    // True when a synchronised table holds a row changed on this desktop
    // (Origine_Modif=1). A database that cannot be read counts as changed,
    // so that nothing replaces it; without any database (empty path), false.
    bool HasUnsyncedChanges();

    // --- Comparison and merge with a copy of the device's database -------
    //
    // The copy comes from a device, so it is taken only when it has every
    // table and column of a user's database of the current version, passes
    // the quick integrity check (CDatabaseFile::CheckReplacement at its
    // quick depth), and holds no trigger, view or virtual table (the merged
    // copy becomes the local database). It is read on
    // connections that refuse to alter the schema by hand and run no
    // function the schema names.
    static bool CheckDeviceCopy(const QString &path);

    // What a comparison came to.
    enum class CompareOutcome {
        Compared,    // every table compared: the list holds every difference
        Cancelled,   // stopped by the user: the list is incomplete
        Failed,      // the local database could not be read, or a query failed
        CopyRefused, // the device copy failed CheckDeviceCopy: nothing read
    };
    // Compares this object's database file (read on a read-only connection
    // of its own, whatever this object's connection, so that it may run on
    // a worker thread) with the device copy, attached under the name
    // "Ppc". Appends one row per difference to `list`, grouped by table
    // (projects, project order, activities, rates, plans, favourites, time
    // entries), and adds their number to `count`. Rows are matched by Id,
    // plans by their node (project and activity), whatever row number each
    // side gave them. Change stamps are compared as integers: the newer
    // side wins, a deleted winner means deletion; equal stamps, rows
    // deleted on both sides and one-sided deleted rows are no difference.
    // Names come from each side's own rows; dates are shown with `formats`
    // (a copy taken by the caller on the interface thread). The job's
    // cancel flag (may be null) is looked at before every query and row.
    // Neither file is written. `localCounter` (may be null) receives the
    // change counter of this object's file in the very read the rows were
    // compared in (CDatabaseFile::ReadChangeCounter): a commit after it is
    // one the comparison never saw. Nothing when it cannot be read.
    CompareOutcome CompareDatabases(const QString &devicePath, SyncReviewList &list, ProgressDlgShared *job,
                                    int &count, const CConfiguration &formats,
                                    std::optional<quint32> *localCounter = nullptr);

    // Merges the decisions of the review list into the device copy, reading
    // the local rows on this object's connection: in one transaction on a
    // connection of its own to the copy, committed (and checked) only when
    // every row and statement of this merge succeeded and the user did not
    // cancel, then the copy is compacted. A decision to take the local row
    // writes it over the copy's, marked synchronised (Origine_Modif 0); to
    // delete removes the copy's row; to take the device's leaves the copy as
    // it is. A plan is replaced or deleted with every row of its node in the
    // copy, and keeps its row number only where the copy has it free. The
    // local project order replaces the copy's lists of the same projects
    // (a list only the device has stays). Projects whose parent chain no
    // longer reaches the top are moved to the top. The copy's 'Modif' stamp
    // and its id counters become the larger of both sides, compared as
    // numbers. Each table's step goes to `steps`, whose cancel flag is
    // looked at before each row. `timeEntriesTouched` tells whether a time
    // entry was among the decisions. False with nothing changed in the copy
    // for an empty list (the copy is then not even opened), a copy that
    // cannot be opened or holds code of its own, a failure or a cancel.
    bool ApplySynchronisation(const QString &devicePath, const SyncReviewList &list, SyncSteps &steps,
                              bool &timeEntriesTouched);

    enum class MergeOutcome { Done, Failed, Cancelled };
    // Gives each favourite of the device copy the local order (the time it
    // was last used) when that one is later, in one transaction; a cancel
    // (looked at before each row) or a failure changes nothing.
    MergeOutcome MergeFavoriteOrder(const QString &devicePath, SyncSteps &steps);

    // Sets Origine_Modif to 0 in every time entry marked 1 (the entries an
    // overlap resolution rewrote in the merged copy). True when it ran.
    bool ClearTaskOrigins();
    // One synchronised table marked as synchronised: its soft-deleted rows
    // removed (not for the project order, which has none) and every
    // Origine_Modif set to 0. False for another code or on an SQL error.
    bool PurgeTable(int tableCode);
    // The Infos value that names a user's database in the record of a
    // synchronisation stopped between its two writes: a random token given
    // to the database when the first such record is kept for it. It
    // belongs to that file alone: no copy that a synchronisation makes
    // keeps it (the purge below removes it).
    static constexpr const char16_t *SyncRecordInfo = u"SyncRecord";
    // The end of a synchronisation on this object's database (the merged
    // copy): the synchronisation stamp (Infos 'Backup') set to now, the
    // token of a stopped synchronisation's record removed, every
    // synchronised table purged, in one transaction, then the file
    // compacted. False, with nothing changed, when any statement or the
    // COMMIT failed. With `compactedInto`, the compacted file is written
    // there (an empty file, or none) and this one is left as purged, which
    // spares copying every page back into it.
    bool PurgeSyncedChanges(const QString &compactedInto = QString());

    // ===================================================================
    // Forecasts
    // ===================================================================

    // Loads the forecast rows (full load only) and the recorded-time totals
    // into the project store's nodes. The load after changes looks at the
    // entries stamped since the last load (that second included); when it
    // finds any change it recomputes every total, so it always gives the
    // totals a full load would. True when rows came back; false without a
    // connection or store, and when a read fails, the totals and the tree
    // then left as they were.
    bool InitForecast(bool full);
    // The row `rowid` of Forecast, deleted rows included. True when the
    // query ran, whether or not a row came back; `found` (may be null) tells
    // whether one did.
    bool GetForecast(tForecast &forecast, qint64 rowid, bool *found = nullptr);
    // Marks the row of the node deleted (one undo group), then reloads the
    // project tree. True when committed.
    bool DeleteForecast(int projectId, int activityId);
    // One line per link of a stored predecessor list ("name" or
    // "project<separator>activity"), lines joined by "\r\n". Both forms of
    // the list are read: each link closed by ";" and each link wrapped
    // in ";...;".
    void FormatPredecessorNames(const QString &predecessors, QString &out);

    // Creates a copy of `node` (with its plan rows and, when asked, its
    // subtree and child lists) below `parentId`, under the name `name`, and
    // places it before or after `sibling` (may be null) in the parent's
    // child list. One transaction and one undo group. The new project's
    // id, or -1 when nothing was written.
    int CreateProject(const CProject *node, int parentId, const QString &name, bool withChildren,
                      bool withPlans, const CProject *sibling, bool before);
    // Writes one node (and, when asked, its plan and subtree) inside the
    // caller's transaction: a project's new id, an activity's id, -1 on
    // failure.
    int CreateProjectRecord(const CProject *node, int parentId, const QString &name,
                            bool withChildren, bool withPlans);

    // ===================================================================
    // Sample data and table import
    // ===================================================================

    // Moves the time entries of a fresh copy of the sample database onto
    // today and the working days before it (newest sample day first,
    // weekends skipped, clock times kept), shifts its plans by as much,
    // removes entries that now lie in the future and resets the id counters,
    // stamps and the 'Demo' mark. No undo pairs: the file is new. True when
    // committed.
    bool RedateSampleData();
    // Copies the chosen tables of the database file at `path` (opened
    // read-only) into this one and sets the id counters above the copied
    // ids. Projects are required; without them nothing is written and the
    // result is false. True when committed.
    bool ImportTablesFrom(const QString &path, bool projects, bool activities, bool rates,
                          bool favourites, bool forecast);
    // The same for any choice of tables, as the new-user wizard offers it
    // (the activities alone, for one); plans come only with the projects.
    // True when committed, also when nothing was chosen.
    bool ImportChosenTables(const QString &path, bool projects, bool activities, bool rates, bool favourites,
                            bool forecast);
    // Copies every row of `table` from `source` into `destination`, in the
    // destination's columns, NULL values as NULL; for tables with an Id the
    // counters of NextRowId go above the largest copied id. Failures stay
    // in the connections' kept codes.
    static void CopyTable(SQLite::CmyDataBase &source, SQLite::CmyDataBase &destination,
                          const QString &table);
    // How CopyRows copies.
    struct tRowCopy
    {
        QString where;           // the source's rows to copy; all when empty
        bool replace = false;    // "insert or replace" (a row of the same key goes)
        bool withRowId = false;  // each row keeps its row number
        // Columns (any case) written with this SQL literal instead of the
        // row's value.
        QHash<QString, QString> fixedValues;
        // The destination's columns, when the caller has them already.
        QStringList columns;
    };
    // Copies rows of `table` from `source` into `destination`, in the
    // destination's columns, each value with its type (NULL stays NULL).
    // The number of rows written; failures stay in the connections' kept
    // codes, and the first failed insert stops the copy.
    static int CopyRows(SQLite::CmyDataBase &source, SQLite::CmyDataBase &destination, const QString &table,
                        const tRowCopy &how);
    // The column names of a table (empty when there is no such table).
    static QStringList ColumnsOf(SQLite::CmyDataBase &connection, const QString &table);
    // Seconds between the zone the sample's times are written in (UTC+1
    // without daylight saving) and the system's standard time.
    static qint64 SampleZoneCorrection(qint64 now);

private:
    // Opens m_path on the object's own connection (nothing for an empty path).
    void OpenOwnConnection();
    // A connection that reads a device copy: no change to the schema by
    // hand, no function named by the schema run.
    static void HardenForDeviceCopy(SQLite::CmyDataBase &connection);
    // True when a database holds a trigger, a view or a virtual table:
    // code or tables of a device's making that would run in our merge.
    static bool HasCodeOfItsOwn(SQLite::CmyDataBase &connection);
    // The device copy opened for a merge step: existing, hardened, without
    // code of its own.
    static bool OpenCopyForMerge(SQLite::CmyDataBase &copy, const QString &path);
    // COMMIT, tried again while a reader keeps it busy.
    static bool CommitWithRetry(SQLite::CmyDataBase &connection);
    static void StampModif(SQLite::CmyDataBase &connection, qint64 now, CAnnulation *history);
    // The row stamps of StampRow, and 'Modif' unless told not to, without
    // the broadcast.
    static void StampRowOnly(SQLite::CmyDataBase &connection, int tableCode, qint64 rowId, CAnnulation *history,
                             bool modif = true);
    // What follows a landed write in the application (the main frame's
    // change notice, the broadcast to the other program, the task pane's
    // refresh, the automatic backup);
    // nothing for another file.
    void NotifyWindows(qint64 wParam, qint64 lParam);
    void PostChangeAfterWrite(qint64 wParam);
    void RefreshTaskPaneAfterWrite();
    void RunBackupAfterWrite();
    // The SQL literal of a value read with its typeof(): NULL, or the
    // quoted text.
    static QString Literal(QStringView type, QStringView value);
    QStringList ColumnNames(const QString &table);
    // "update table set c1=v1 ,c2=v2 where rowid=N" from row `row` of a
    // result whose last columns are typeof(c), c pairs.
    QString RestoreStatement(const QString &table, const QStringList &columns,
                             const SQLite::MyTable &rows, int row, const QString &rowId);
    // The project and plan rows written by a save and by a copy.
    static QString InsertProjectStatement(int id, const tElement &e, const QString &name, int parent);
    void InsertForecastRow(const tForecast &f, int project, const QString &predecessors);
    // A new ProjectChilds row (undoable, stamped).
    void InsertChildList(int parent, const QString &childs);
    void AfterOpen();
    bool CreateSchema();
    bool MakeUpgradeCopy(int oldVersion, qint64 now, tUpgradeResult &result);

    SQLite::CmyDataBase *m_connection = nullptr;
    SQLite::CmyDataBase m_ownConnection;
    QString m_path;
    bool m_openedHere = false;
    int m_openError = 0;
    int m_newerVersion = 0;
    int m_fileVersion = -1;
    // Opened with ExistingFile or OtherFile.
    bool m_existingOnly = false;
    bool m_otherFile = false;
    // Between BeginWrite and EndWrite; a change was stamped meanwhile.
    bool m_inWrite = false;
    bool m_changePending = false;
    // A row was stamped: 'Modif' is stamped when the write ends.
    bool m_modifPending = false;
};
