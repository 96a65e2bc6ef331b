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
// made here since. So before the device is written the run keeps, in the
// private working folder, the merged copy and a record of the run: the
// user, the local database's change counter, what the copy holds, and
// which live local rows it no longer holds (the rows it deleted). Both are
// dropped once the local database was replaced.
//
// The next analysis finishes such a run when the device still holds the
// copy and nothing wrote the local database since; otherwise it compares
// afresh, and a row only here that the run deleted is offered as deleted.
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
    };

    // The files kept for a user ("Pending-<id>.sdb" and ".ini" in the
    // working folder); empty without the working folder.
    static QString CopyPath(int userId);
    static QString RecordPath(int userId);

    // A digest of every row of every table of a database, read on a
    // read-only connection: two files holding the same rows have the same
    // digest, whatever SQLite's own bookkeeping in their headers. Empty
    // when the file cannot be read whole.
    static QByteArray Digest(const QString &databasePath);

    // The record of a run about to write the device: the digest of the
    // merged copy and the live rows of the local database it lacks. False
    // when either file cannot be read.
    static bool Describe(const QString &localPath, const QString &mergedPath, Record &record);

    // Keeps the merged copy (moved into place, or copied where it cannot
    // be moved) and then the record, replacing an earlier run's of the same
    // user. The writes that follow read the kept copy. False, with nothing
    // kept, when either cannot be written.
    static bool Keep(const Record &record, const QString &mergedPath);
    // The record kept for a user, with its copy; nothing when there is none
    // or it cannot be read.
    static std::optional<Record> Load(int userId);
    // Removes the record, then the copy.
    static void Drop(int userId);

    // The rows only here that the stopped run deleted become deletions in
    // a fresh review; the count of rows changed.
    static int KeepDeletions(SyncReviewList &list, const Record &record);
};
