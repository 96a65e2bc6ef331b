#pragma once
#include <QString>
#include <functional>

namespace SQLite {
class CmyDataBase;
}

// Safe copies of database files that may be open. A database that a
// connection (ours or the tray's) may be writing is never copied byte for
// byte: every copy goes through SQLite's online backup, which reads one
// consistent state under SQLite's own locks.
//
// - Check: a look at a file that never creates it (read-only open, schema
//   version, quick integrity check, as long as its header says).
// - CheckReplacement: whether a file may take the place of a live user
//   database (a restore, a network update, a device copy).
// - CopyLive: a whole copy into "<target>.part", moved into place only once
//   complete, so a failure leaves any earlier target as it was.
// - ReplaceLive: the contents of a checked source written into an existing,
//   possibly open, database in one transaction: connections that have it
//   open read the new data at their next statement, and a failure changes
//   nothing.
//
// A file that this process may hold open is never opened through a
// descriptor of our own (on Linux, closing one drops every lock the process
// holds on the file, SQLite's included): its header is read through
// SQLite's own handle of it.
//
// None of these shows a message; each tells its outcome.
class CDatabaseFile
{
public:
    enum class Status {
        Ok,
        Missing,        // no such file
        NotDatabase,    // not a file SQLite reads (or unreadable)
        Damaged,        // opens but fails the integrity check
        Truncated,      // shorter than the pages its header counts
        UnknownVersion, // a schema version this program cannot read
        NotUserDatabase, // a table or column of the user database missing
        CodeOfItsOwn     // a trigger, a view or a virtual table, which would
                         // run inside the user's database
    };
    struct CheckResult
    {
        Status status = Status::Missing;
        int version = -1; // Infos 'VersionDB'; 0 when none is stored
        // For NotUserDatabase: the first table ("Taches") or column
        // ("Taches.Notes") found missing.
        QString missing;
        bool ok() const { return status == Status::Ok; }
    };
    static CheckResult Check(const QString &path);

    // Everything Check asks, and what a file must be to replace the live
    // database of a user: no trigger, view or virtual table, a schema
    // version this program reads or upgrades, every table of that version
    // with its columns, and a full integrity check. Anything else is
    // refused before the live file is touched.
    // With Depth::Quick the pages get Check's quick check alone (a file only
    // read now, such as a device copy being compared, which is checked in
    // full before it replaces anything).
    enum class Depth { Full, Quick };
    static CheckResult CheckReplacement(const QString &path, Depth depth = Depth::Full);
    // A connection that reads a file of another's making (a device copy, a
    // file offered as a replacement): no change to the schema by hand, no
    // function named by the schema run.
    static void HardenForOthersFile(SQLite::CmyDataBase &connection);
    // True when a database holds a trigger, a view or a virtual table: code
    // of another's making that would run in our merge, or in the user's
    // database it replaces. Also true when its schema cannot be read.
    static bool HasCodeOfItsOwn(SQLite::CmyDataBase &connection);

    // How a copy meets an existing target.
    enum class Target {
        Replace,  // the finished copy takes the place of the target
        FreeName, // only a name nobody holds: an existing target fails it
    };
    // Copies a database (which may be open and written meanwhile) to a file.
    // A "-journal" or "-wal" file beside the target would be rolled into the
    // copy by SQLite at its first open: one left by a database that is gone
    // is removed; one beside an existing target refuses the copy.
    //
    // The copy gets no more rights than the source, nor than a target it
    // replaces (Platform::FileModes::ForCopy); the umask applies on top.
    //
    // The copy is flushed to disk before it takes its name, unless the
    // caller flushes once for many copies (Flush::ByCaller, then FlushFolder
    // before anything relies on the copies lasting).
    enum class Flush { Each, ByCaller };
    static bool CopyLive(const QString &source, const QString &target, Target mode, Flush flush = Flush::Each);
    // Writes to disk every change waiting for the file system that holds
    // `folder` (the copies made with Flush::ByCaller among them).
    static bool FlushFolder(const QString &folder);

    // Writes the contents of `source` into the database `target` (which must
    // exist, and may be open). The source is checked first (CheckReplacement,
    // in full); a source that fails the check is refused and the target is
    // untouched. While the pages are written, the target's write lock is
    // held from the first step to the last: no other connection, of this
    // process or another, writes it meanwhile.
    static bool ReplaceLive(const QString &source, const QString &target);

    // The change counter in a database file's header, which every commit to
    // a database with a rollback journal moves on, read through SQLite
    // under its shared lock. False when it cannot be read, or the file keeps
    // a write-ahead log (whose commits leave it).
    static bool ReadChangeCounter(const QString &path, quint32 &counter);
    // The same counter of the main file of an open connection, read as the
    // file holds it now: inside a read transaction of the connection that
    // has read the file already, it is the state every read of that
    // transaction sees, since no commit lands until the transaction ends.
    static bool ReadChangeCounter(SQLite::CmyDataBase &connection, quint32 &counter);
    // Whether a file begins as an SQLite database does, read through SQLite.
    static bool IsDatabaseFile(const QString &path);
    enum class ReplaceResult { Replaced, Failed, ChangedMeanwhile };
    // ReplaceLive, but only over the state of the target whose change
    // counter the caller read before it looked at that state: once the
    // target's write lock is held (no commit can land any more), a counter
    // that moved on means another connection committed meanwhile, and
    // nothing is written.
    static ReplaceResult ReplaceLiveIfUnchanged(const QString &source, const QString &target, quint32 changeCounter);
    // Runs `sql` in one write transaction of the database `target`, only
    // over the state whose change counter the caller read: once the write
    // lock is held, a counter that moved on means another connection
    // committed meanwhile, and nothing is written. The commit moves the
    // counter on by one, so that the caller knows it afterwards. On
    // failure `sqliteError` (may be null) receives SQLite's code.
    enum class WriteResult { Written, Failed, ChangedMeanwhile };
    static WriteResult WriteIfUnchanged(const QString &target, const QString &sql, quint32 changeCounter,
                                        int *sqliteError = nullptr);

    // The file beside the target into which CopyLive writes.
    static QString PartPath(const QString &target);

    // Failure injection for tests: called at each stage; returning true
    // makes that stage fail as a real failure would. Unset in the program.
    enum class Stage { CopyBeforeRename, ReplaceBetweenSteps };
    using FaultHook = std::function<bool(Stage)>;
    static void SetFaultHook(FaultHook hook);
};
