#pragma once
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
// without its copy.
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
        // Where its copy lies (set by Load, which may find the record
        // where an earlier version kept it).
        QString copyPath;
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
    // merged copy and the live rows of the local database it lacks. False
    // when either file cannot be read.
    static bool Describe(const QString &localPath, const QString &mergedPath, Record &record);

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
    // Whether the copy kept for a user holds the rows its record describes.
    static bool CopyMatches(const Record &record);
    // Removes the record, then the copy, in both places.
    static void Drop(int userId);

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
    // a fresh review; the count of rows changed.
    static int KeepDeletions(SyncReviewList &list, const Record &record);
};
