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
// its two writes (SyncPending): when the device still holds that run's
// copy and nothing wrote the local database since, the local database is
// replaced from the copy and nothing is compared. Otherwise both sides are
// compared afresh, and the rows the stopped run deleted stay deleted.
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
    };

    // `job` (may be null) gives the cancel flag.
    static Result Run(const Input &in, ProgressDlgShared *job);

    // The stamps a database holds, read on a read-only connection, with
    // `size` as the size; `version` (may be null) receives its schema
    // version, -1 when it cannot be opened.
    static ConnexionState::Stamps ReadStamps(const QString &databasePath, qint64 size, int *version = nullptr);

    // Whether a copy still is the one that had `counter` as its header's
    // change counter (nothing wrote it since).
    static bool CopyUnchanged(const QString &copyPath, quint32 counter);

private:
    // Finishes a stopped run when the device copy `copyPath` holds the
    // run's copy and the local database is as the run left it: true once
    // the local database was replaced and the record dropped.
    static bool FinishPending(const SyncPending::Record &pending, const QString &copyPath, const QString &localPath);
    static void WaitForTheRest(const Input &in, qint64 elapsedMs, ProgressDlgShared *job);
};
