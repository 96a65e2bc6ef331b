#pragma once
#include "CConfiguration.h"
#include "ConnexionState.h"
#include "DeviceExchange.h"
#include "SyncPending.h"
#include "SyncReviewList.h"

#include <QString>

class ProgressDlgShared;

// The analysis before a device synchronisation, without a window so that
// it runs on the progress dialog's worker: the device copy ("Ppc.sdb")
// made again unless the one at hand is known whole and unwritten (a stale
// one removed first, with its journal), upgraded, the stamps of both sides
// read, then both databases compared into a review list; the whole lasts a
// minimum time that a cancel ends at once. The device's database is never
// written, the local one only to finish a run of the user stopped between
// its two writes (SyncPending): when the device and the copy the run kept
// both still hold that run's rows and nothing wrote the local database
// since, the local database is replaced from the kept copy and nothing is
// compared. Otherwise both sides are compared afresh, the rows the stopped
// run deleted stay deleted (but those changed here since), and the result
// says why the run was not finished. A record that is not this database's
// (or names none), or that cannot be read, is never applied: the result
// tells it, naming the file; once told, one that can never serve goes, and
// one that still serves another database is kept, remembering that this
// one was told.
class SyncAnalysis
{
public:
    struct Input
    {
        DeviceExchange exchange; // connected, the device database located
        QString copyPath;        // the working copy compared
        QString localPath;
        int userId = -1; // the associated user, whose stopped run is looked for
        // The copy a refresh of the dialog made whole from the device
        // connected now: kept only while its change counter is this one.
        bool copyAtHand = false;
        quint32 copyCounter = 0;
        CConfiguration formats;
        int minimumMs = 1000;
    };

    enum class Outcome {
        Differences,  // the review has rows
        NoDifference, // compared whole, nothing differs
        Cancelled,    // 372
        Failed,       // 219: a copy, an upgrade or the comparison failed
        Finished,     // a stopped run was finished: the local database replaced
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        SyncReviewList list;
        int count = 0;
        // What both sides held when they were compared (the device's as
        // its copy holds them, with the device file's size).
        ConnexionState::Stamps device;
        ConnexionState::Stamps local;
        bool copied = false; // a new copy was made
        // A run of the user stopped between its writes that could not be
        // finished: why (one of the texts below, 0 for none), and the file
        // the text names (for the kept copy's texts, and the record's).
        int notFinished = 0;
        QString notFinishedFile;
        // For a record of another database: that database.
        QString notFinishedDatabase;
        // What becomes of the record told of, once the user was told
        // (Told): one that can never serve goes; one of another database
        // remembers that this one was told.
        enum class AfterTelling { Nothing, DropRecord, RememberDatabase };
        AfterTelling afterTelling = AfterTelling::Nothing;
        int recordUser = -1;
        int recordSlot = 0;
        QString localPath;
    };

    // Why a stopped run is compared afresh rather than finished.
    enum NotFinishedText {
        NotFinishedText = 26406,      // the message, with one of these:
        DeviceNotItsCopyText = 26407, // the device holds other rows
        LocalChangedText = 26408,     // the local database was written since
        CopyMissingText = 26409,      // the kept copy is gone
        CopyForeignText = 26410,      // the kept copy holds other rows
        CopyRefusedText = 26411,      // the kept copy cannot replace the local database
        // Messages of their own, each naming the record's file:
        RecordNoLongerServesText = 26412,    // it names no database, or one gone or no longer carrying its token
        RecordUnreadableText = 26413,        // it cannot be read, or its copy is there without it
        RecordOfAnotherDatabaseText = 26414, // it names another database, which still carries its token
    };
    // The message that tells why a stopped run was compared afresh; empty
    // when the result tells of none.
    static QString NotFinishedMessage(const Result &result);
    // Once the message was shown: the record it told of dropped, or told
    // to remember this database.
    static void Told(const Result &result);

    // `job` (may be null) gives the cancel flag.
    static Result Run(const Input &in, ProgressDlgShared *job);

    // The stamps a database holds, read on a read-only connection, with
    // `size` as the size; `version` (may be null) receives its schema
    // version, -1 when it cannot be opened. `withCounter`: its change
    // counter too, in the same read.
    static ConnexionState::Stamps ReadStamps(const QString &databasePath, qint64 size, int *version = nullptr,
                                             bool withCounter = false);

    // Whether a copy still is the one that had `counter` as its header's
    // change counter (nothing wrote it since).
    static bool CopyUnchanged(const QString &copyPath, quint32 counter);

private:
    // Finishes a stopped run when the local database is as the run left
    // it, and the device copy `copyPath` and the kept copy both hold the
    // run's rows: 0 once the local database was replaced from the kept
    // copy and the record dropped, else why not (`file` names the copy).
    // The local database's change counter is read first: nothing committed
    // after it is written over.
    static int FinishPending(const SyncPending::Record &pending, const QString &copyPath, const QString &localPath,
                             QString &file);
    static void WaitForTheRest(const Input &in, qint64 elapsedMs, ProgressDlgShared *job);
};
