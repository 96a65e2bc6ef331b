#pragma once
#include "DeviceExchange.h"
#include "SyncReviewList.h"
#include "SyncRun.h"
#include "tTacheFull.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The stages of a synchronisation run over the files: the local database
// of the associated user, the device copy the review compared ("Ppc.sdb")
// and the device. Each stage opens connections of its own, so the run may
// go on a worker thread; only the question about overlapping entries is
// the caller's to ask (on the interface thread). The copy is opened in the
// other-file mode: its writes record no undo and tell nobody. Once merged
// and purged it becomes the user's pending copy (SyncPending), from which
// both writes are made; the working copies of the working folder are
// removed at the end of the run.
class SyncFileStages
{
public:
    // The answer to one overlap: the method as CBdD::InsertTimeEntry takes
    // it (CBdD::FitIntoGap or OverwriteNeighbours), whether it holds for
    // the following overlaps, or a cancel.
    struct OverlapAnswer
    {
        bool cancelled = false;
        bool fit = false;
        bool applyToAll = false;
    };
    // Asks about an entry and the entries it overlaps (the entry first).
    using OverlapQuestion = std::function<OverlapAnswer(const std::vector<tTacheFull> &entries)>;

    struct Setup
    {
        QString localPath;
        QString copyPath;
        const SyncReviewList *list = nullptr; // null: a run without a list
        DeviceExchange exchange;              // connected, the device database located
        // The local database's change counter in the read the analysis
        // compared its rows in: the local database is written only over
        // that state (unset: it could not be read, and nothing is).
        std::optional<quint32> localCounter;
        // The associated user: the record of a run stopped between its two
        // writes is kept under this id (-1: none kept).
        int userId = -1;
        // The network folder (empty: none) and the user's folder name in it.
        QString sharedFolder;
        QString userName;
        std::function<void()> emptyUndo; // set when the user is the current one
        OverlapQuestion askOverlap;
        std::function<bool()> beginFinalisation;
    };

    static SyncRun::Stages Make(Setup setup);

    // Resolves, in the copy, the overlaps of every time entry the review
    // kept from the local side, asking `ask` unless an earlier answer was
    // to hold for all; a remembered fit that finds no free time asks
    // again. Afterwards the rewritten entries count as synchronised. Steps
    // 387; false when cancelled or failed.
    static bool ResolveOverlaps(const QString &copyPath, const SyncReviewList &list, SyncSteps &steps,
                                const OverlapQuestion &ask);

    // The copy's connection set for a scratch file: no wait for the disk,
    // the journal in memory, the file's lock held until the connection
    // closes.
    static void AsScratchFile(CBdD &copy);

    // Whether the local database is still as the analysis compared it: its
    // change counter read again now is `counter`. Its stamps in seconds
    // cannot tell: two commits in one second leave them as they were.
    static bool LocalUnchanged(const QString &localPath, const std::optional<quint32> &counter);
};
