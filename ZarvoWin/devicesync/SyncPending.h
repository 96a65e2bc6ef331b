#pragma once
#include "CDatabaseFile.h"
#include "SyncReviewList.h"

#include <QByteArray>
#include <QMap>
#include <QString>
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
// longer holds (the rows it deleted). Both are dropped once the local
// database was replaced. They lie in a folder of the program's data, never
// in the cache, which the user or a cleaning tool may empty at any time.
//
// The next analysis finishes such a run when the device and the kept copy
// both still hold the run's rows and nothing wrote the local database
// since; otherwise it compares afresh, and a row only here that the run
// deleted is offered as deleted: the record alone tells that, with or
// without its copy. A row changed here since the record was written is
// left to the comparison, as it would be without a stop.
//
// Ids repeat across databases (every users folder numbers its users from
// 1, every database made from the sample numbers its rows alike), so the
// record names the database it describes: its path, and a token that the
// database itself carries (CBdD::SyncRecordInfo), given to it when the
// first record is kept for it. A record that names another database, or
// none, serves nothing.
class SyncPending
{
public:
    struct Record
    {
        int userId = -1;
        // The local database's change counter when the run looked at it
        // last before writing the device.
        quint32 localCounter = 0;
        // The rows the merged copy holds (Digest).
        QByteArray digest;
        // Live rows of the local database that the merged copy lacks, by
        // table code (row numbers for the plans).
        QMap<int, std::vector<qint64>> deleted;
        // The database the record describes: its path, and the token it
        // carries (empty while it has none).
        QString databasePath;
        QByteArray token;
        // When the record was written (Unix seconds): a row changed here
        // from then on is no row the run deleted.
        qint64 time = 0;
        // Where its copy lies (set by Load, which may find the record
        // where an earlier version kept it).
        QString copyPath;
    };

    // What the analysis of a user's database finds of a stopped run.
    struct Found
    {
        enum class State {
            None,          // no record, no copy
            Kept,          // a record of this database: `record`
            OtherDatabase, // a record of another database, or one that names none
            Unreadable,    // a record that cannot be read, names another user, or a copy without its record
        };
        State state = State::None;
        Record record;
        // The record's file (also when it is missing beside its copy).
        QString file;
    };

    // The folder of the records: "Synchronisation" in the program's data
    // folder ($XDG_DATA_HOME/Quellmark/Zarvo), private to the user (0700),
    // made when missing. Empty when no such folder can be had; `why` (may
    // be null) then receives the cause (CauseText).
    static QString Folder(QString *why = nullptr);
    // The same folder's path, whether or not it is there.
    static QString FolderPath();
    // The files kept for a user ("Pending-<id>.ini" and ".sdb" in the
    // folder); empty without the folder.
    static QString CopyPath(int userId);
    static QString RecordPath(int userId);
    // Where an earlier version of the program kept them: the working
    // folder in the cache. Such a record is still honoured, moved to the
    // folder above the first time it is looked for.
    static QString OldCopyPath(int userId);
    static QString OldRecordPath(int userId);

    // A digest of every row of every table of a database, read on a
    // read-only connection: two files holding the same rows have the same
    // digest, whatever SQLite's own bookkeeping in their headers. Empty
    // when the file cannot be read whole.
    static QByteArray Digest(const QString &databasePath);

    // The record of a run about to write the device: the digest of the
    // merged copy, the live rows of the local database it lacks, the local
    // database's path and the token it carries (empty when it has none).
    // False when either file cannot be read.
    static bool Describe(const QString &localPath, const QString &mergedPath, Record &record);
    // A new token, and the local database marked with it: written only
    // over the state whose change counter is `counter` (CDatabaseFile::
    // WriteIfUnchanged), which the write then moves on by one. `why` (may
    // be null) receives the file and the cause of a failure.
    static QByteArray NewToken();
    static CDatabaseFile::WriteResult MarkDatabase(const QString &localPath, const QByteArray &token,
                                                   quint32 counter, QString *why = nullptr);
    // The token a database carries; empty when it has none or cannot be read.
    static QByteArray TokenOf(const QString &databasePath);

    // Keeping a run takes two steps. First the merged copy is moved (or
    // copied where it cannot be moved) to the user's kept copy, over an
    // earlier run's: its path, or empty, with `why` (may be null) naming
    // the file and the cause, when it cannot be written. Then, once the
    // record describes it, the record is written over an earlier run's;
    // false when it cannot be, with `why` as above and the copy removed.
    // The writes that follow read the kept copy.
    static QString Place(int userId, const QString &mergedPath, QString *why = nullptr);
    static bool Keep(const Record &record, QString *why = nullptr);
    // The record kept for a user, whether or not its copy is still there;
    // nothing when there is none or it cannot be read.
    static std::optional<Record> Load(int userId);
    // What is kept for a user, looked at for the database `localPath`.
    static Found Find(int userId, const QString &localPath);
    // Whether a record describes the database `localPath`: the same file,
    // carrying the record's token.
    static bool Serves(const Record &record, const QString &localPath);
    // Whether the copy kept for a user holds the rows its record describes.
    static bool CopyMatches(const Record &record);
    // Removes the record, then the copy, in both places.
    static void Drop(int userId);
    // Removes every user's: the users' databases are no longer where
    // their records name them (the users or data folder changed).
    static void DropAll();

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
