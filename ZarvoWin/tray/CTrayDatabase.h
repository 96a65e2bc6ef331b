#pragma once
#include "CBdD.h"
#include "DataItems.h"
#include "tTacheFull.h"

#include <QDate>
#include <QString>

#include <functional>
#include <initializer_list>
#include <vector>

class CTrayProjectStore;
class TrayTexts;

// The tray's access to the current user's database, made on the stack for
// one action (a poll, a reload, a click) and let go at its end, which closes
// the file: no connection stays open between actions.
//
// Both programs write one file, so every operation is the main program's
// own data-store operation (CBdD) where one exists; what the tray does
// differently lives here, on the same write convention. The file is opened
// only if it exists, never created or given a schema; it is written only
// once it is of the current version, never before its upgrade (UpdateDb)
// succeeded, never when a later version made it. Every landed write posts
// the tray's refresh message once (see SetUpProcess).
class CTrayDatabase
{
public:
    // Opens the file at `path` when it exists and is a user database of
    // this program; otherwise the object has no connection and every
    // operation does nothing and fails.
    explicit CTrayDatabase(const QString &path);
    CTrayDatabase(const CTrayDatabase &) = delete;
    CTrayDatabase &operator=(const CTrayDatabase &) = delete;

    // Makes this process's data store the tray's, once at start before any
    // action: the store is the process's project store; every landed write
    // posts the refresh message (never the change notice); failures are
    // logged under the tag "ZarvoTray" once the log is switched on.
    static void SetUpProcess(CTrayProjectStore &store);
    // The tray logs every SQL failure once its settings are loaded.
    static void SetLogOn(bool on);

    bool IsOpen() const { return m_db.IsOpen(); }
    // The connection's kept code (1 without a connection).
    int LastCode() const { return m_db.LastCode(); }
    // True when the file may be written: open, and of the current version.
    bool CanWrite() const;
    // The data store's object on the same connection.
    CBdD &Database() { return m_db; }

    // Brings an older file to the current version (a dated copy first), as
    // the main program does; a file of a later version is reported TooNew
    // and left alone. Run at each choice of user; a file it leaves below
    // the current version is not written afterwards.
    CBdD::tUpgradeResult UpdateDb();

    // ---- time entries ----
    // The newest live entry by start, running or not; the record is reset
    // first and stays reset when there is none. False when the read failed
    // or the file is not open.
    bool GetLastTask(tTacheFull &task);
    // A new running or ended entry from `task` (its Id is ignored): ends the
    // entry running since at or before its start, and with `favouriteId`
    // (not -1) marks that favourite used, all in one commit. True when it
    // landed; false, with nothing written, when it did not (the file busy
    // beyond the waits, no id counter, a favourite gone).
    bool StartTask(const tTacheFull &task, int favouriteId);
    // Ends the live running entry `id` at `end`; false, with nothing
    // written, when it does not run (any more).
    bool StopTask(int id, qint64 end);
    // Runs again the entry `id` that a stop ended at `stoppedAt` (its end
    // back to 0); false, with nothing written, when its end is no longer
    // that stop (changed or deleted meanwhile).
    bool ReopenTask(int id, qint64 stoppedAt);
    // The live entries shown on the local day `day`, in start order; the
    // array is emptied first. A running entry is shown on each day from its
    // start to today, and on a later day only when it starts that day;
    // `runningIncluded` is set (never cleared) when one is listed. False for
    // an invalid day, a closed file or a failed read.
    bool LoadDayTasks(std::vector<tTacheFull> &tasks, const QDate &day, bool &runningIncluded);
    // Infos 'Modif', emptied first; false when it could not be read.
    bool GetModifStamp(QString &stamp);

    // ---- favourites ----
    // The project, activity, rate and title of favourite `id` into `task`
    // (its other fields are left as they are), deleted favourites included
    // when asked. False when there is no such favourite.
    bool GetFavourite(tTacheFull &task, int id, bool includeDeleted);
    // The favourites in the sort order (0 last use, 1 grouped by projects,
    // 2 grouped by activities, any other as 0), as lines for the tray's
    // menu and list; `items` is emptied first. False, `items` untouched,
    // when the file is not open or the read failed.
    bool FillFavourites(std::vector<DataItems> &items, int sortOrder, const CTrayProjectStore &store,
                        const TrayTexts &texts);

    // ---- the project store ----
    // Each reads its part again only when the database changed it since
    // the part was last loaded (or it never was): a row stamped since, or
    // the stamps otherwise not those of the last load (an undo of the main
    // program puts former stamps back). False when the part was not read
    // (current, closed file, failed read).
    bool LoadProjects(CTrayProjectStore &store);
    bool LoadActivities(CTrayProjectStore &store);
    bool LoadRates(CTrayProjectStore &store);
    // The recent combinations, always read again (emptied without a file).
    bool LoadHistory(CTrayProjectStore &store);

    // One line in the SQL error log beside the database when the
    // connection keeps an error (and the log is on); with `reset` the kept
    // error is cleared.
    void LogSqlError(const QString &name, bool reset);

private:
    // The stamps of the tables of a part, as one text (empty when they
    // cannot be read), and the newest of them into `newest`.
    QString PartStamps(std::initializer_list<const char16_t *> tables, qint64 &newest);
    // Reads a part with `read` when it changed, and notes when.
    bool LoadPart(CTrayProjectStore &store, int part, std::initializer_list<const char16_t *> tables,
                  const std::function<bool()> &read);
    void AddFavouritesByProject(std::vector<DataItems> &items, int level, const CProject &node,
                                std::vector<tFavorite> &favourites);

    CBdD m_db;
};
