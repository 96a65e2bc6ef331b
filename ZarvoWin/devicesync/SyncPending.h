#pragma once
#include "CDatabaseFile.h"
#include "SyncReviewList.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// A synchronisation stopped between its two writes. A run writes the merged
// copy to the device, then over the local database; stopped in between (a
// kill, a crash, the other program writing meanwhile), the device holds the
// merge and the local database does not, and a plain comparison would take
// every row the run deleted, and the local database still holds, for one
// made here since. So before the device is written the run keeps the
// merged copy and a record of the run: the user, the local database's
// change counter, what the copy holds, and which live local rows it no
// longer holds (the rows it deleted), each with its own stamp as it was
// then. Both are dropped once the local database was replaced. They lie in
// a folder of the program's data, never in the cache, which the user or a
// cleaning tool may empty at any time.
//
// The next analysis finishes such a run when the device and the kept copy
// both still hold the run's rows and nothing wrote the local database
// since; otherwise it compares afresh, and a row only here that the run
// deleted is offered as deleted: the record alone tells that, with or
// without its copy. A row changed here since the record was written (its
// values no longer those the record kept, whatever its stamp says of the
// clock) is left to the comparison, as it would be without a stop.
//
// Ids repeat across databases (every users folder numbers its users from
// 1, every database made from the sample numbers its rows alike), so the
// record names the database it describes: its path, and a token that the
// database itself carries (CBdD::SyncRecordInfo), given to it when the
// first record is kept for it. A record serves that database alone; it
// follows it when the program moves or renames its folder, and is dropped
// only once it can never serve again (its database gone, or no longer
// carrying its token). Another database of the same user id that meets it
// applies nothing of it and is told once. Such databases may each have a
// stopped run: a user's records lie in slots ("Pending-<id>" for the
// first, "Pending-<id>-<n>" for the others), one per database.
class SyncPending
{
public:
    struct Record
    {
        int userId = -1;
        // Its place among the user's records.
        int slot = 0;
        // The local database's change counter when the run looked at it
        // last before writing the device.
        quint32 localCounter = 0;
        // The rows the merged copy holds (Digest).
        QByteArray digest;
        // Live rows of the local database that the merged copy lacks, by
        // table code (row numbers for the plans).
        QMap<int, std::vector<qint64>> deleted;
        // Each of those rows' own stamp when the record was written (a
        // digest of its values, RowStamp). A row without one, listed by an
        // earlier version, is told changed by its change stamp and `time`.
        QMap<int, QHash<qint64, QByteArray>> rowStamps;
        // The database the record describes: its path, and the token it
        // carries (empty while it has none).
        QString databasePath;
        QByteArray token;
        // When the record was written (Unix seconds).
        qint64 time = 0;
        // Other databases that met the record and were told it is not
        // theirs (their paths): they are not told again.
        QStringList told;
        // Where its copy lies (set by Load, which may find the record
        // where an earlier version kept it).
        QString copyPath;
    };

    // What the analysis of a user's database finds of a stopped run.
    struct Found
    {
        enum class State {
            None,           // nothing kept, or nothing to say to this database
            Kept,           // a record of this database: `record`
            Done,           // a record of this database, which holds the run's rows already: the
                            // run was killed after its last write, before the record was dropped
            OtherDatabase,  // a record of another database that still carries its token, never
                            // told to this one
            NoLongerServes, // a record that can never serve again: it names no database, or one
                            // that is gone or no longer carries its token
            Unreadable,     // a record that cannot be read, names another user, or a copy without its record
        };
        State state = State::None;
        Record record;
        // The record's file (also when it is missing beside its copy), and
        // its slot.
        QString file;
        int slot = 0;
    };

    // The folder of the records: "Synchronisation" in the program's data
    // folder ($XDG_DATA_HOME/Quellmark/Zarvo), private to the user (0700),
    // made when missing. Empty when no such folder can be had; `why` (may
    // be null) then receives the cause (CauseText).
    static QString Folder(QString *why = nullptr);
    // The same folder's path, whether or not it is there.
    static QString FolderPath();
    // The files kept for a user in a slot ("Pending-<id>.ini" and ".sdb" in
    // the folder, "Pending-<id>-<slot>" past the first); empty without the
    // folder.
    static QString CopyPath(int userId, int slot = 0);
    static QString RecordPath(int userId, int slot = 0);
    // The user's slots that hold a record or a copy, in order.
    static QList<int> Slots(int userId);
    // Where an earlier version of the program kept them: the working
    // folder in the cache. Such a record is still honoured, moved to the
    // first slot the first time it is looked for.
    static QString OldCopyPath(int userId);
    static QString OldRecordPath(int userId);

    // A digest of every row of every table of a database, read on a
    // read-only connection: two files holding the same rows have the same
    // digest, whatever SQLite's own bookkeeping in their headers. Empty
    // when the file cannot be read whole.
    static QByteArray Digest(const QString &databasePath);

    // The record of a run about to write the device: the digest of the
    // merged copy, the live rows of the local database it lacks with their
    // stamps, the local database's path and the token it carries (empty
    // when it has none), all read in one read of the local database, whose
    // change counter `localCounter` (may be null) receives. False when
    // either file cannot be read.
    static bool Describe(const QString &localPath, const QString &mergedPath, Record &record,
                         std::optional<quint32> *localCounter = nullptr);
    // A new token, and the local database marked with it: written only
    // over the state whose change counter is `counter` (CDatabaseFile::
    // WriteIfUnchanged), which the write then moves on by one. `why` (may
    // be null) receives the file and the cause of a failure.
    static QByteArray NewToken();
    static CDatabaseFile::WriteResult MarkDatabase(const QString &localPath, const QByteArray &token,
                                                   quint32 counter, QString *why = nullptr);
    // The token a database carries; empty when it has none or cannot be read.
    static QByteArray TokenOf(const QString &databasePath);

    // The slot a run of the database `localPath` keeps its record in: the
    // one whose record names that database, else one free or holding a
    // record that can never serve again. A record still serving another
    // database is never written over.
    static int SlotFor(int userId, const QString &localPath);
    // Keeping a run takes two steps. First the merged copy is moved (or
    // copied where it cannot be moved) to the copy of the slot, over an
    // earlier run's: its path, or empty, with `why` (may be null) naming
    // the file and the cause, when it cannot be written. Then, once the
    // record describes it, the record is written over an earlier run's;
    // false when it cannot be, with `why` as above and the copy removed.
    // The writes that follow read the kept copy.
    static QString Place(int userId, const QString &mergedPath, QString *why = nullptr, int slot = 0);
    static bool Keep(const Record &record, QString *why = nullptr);
    // The record kept in a user's slot, whether or not its copy is still
    // there; nothing when there is none or it cannot be read.
    static std::optional<Record> Load(int userId, int slot = 0);
    // What is kept for a user, looked at for the database `localPath`: its
    // own record first, else the first of the others that is to be told
    // (one at a time).
    static Found Find(int userId, const QString &localPath);
    // Whether a record describes the database `localPath`: the same file,
    // carrying the record's token.
    static bool Serves(const Record &record, const QString &localPath);
    // Whether the copy kept for a user holds the rows its record describes.
    static bool CopyMatches(const Record &record);
    // Removes the record, then the copy, of a slot (every slot: AllSlots),
    // in both places.
    static constexpr int AllSlots = -1;
    static void Drop(int userId, int slot = AllSlots);
    // Removes the user's records that name the database `databasePath`
    // (its user deleted, or a whole copy made over it).
    static void DropFor(int userId, const QString &databasePath);
    // Remembers in the record of a slot that the database `localPath` was
    // told it is not its own.
    static bool MarkTold(int userId, int slot, const QString &localPath);
    // The program moved a folder from `from` to `to` (a user's folder
    // renamed, the users folder moved with its files): every record naming
    // a database inside it, found at its new place with the record's
    // token, names it there now.
    static void FollowMove(const QString &from, const QString &to);

    // The text that tells why a file or folder cannot be written, for an
    // error number of the system.
    static QString CauseText(int error);
    enum TextId {
        NotKeptText = 26400,
        DeniedText = 26401,
        FullText = 26402,
        ReadOnlyText = 26403,
        FileInPlaceText = 26404,
        FolderInPlaceText = 26405,
    };

    // The rows only here that the stopped run deleted become deletions in
    // a fresh review, but for those changed here since the record was
    // written (read from `localPath`), which the comparison's rule keeps;
    // the count of rows changed. When those cannot be read, no row is.
    static int KeepDeletions(SyncReviewList &list, const Record &record, const QString &localPath);
};
