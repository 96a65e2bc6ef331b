#pragma once
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "SyncSteps.h"

#include <QString>
#include <functional>

// The run of a device synchronisation after its review, window-free: the
// order of its stages, what each outcome ends, the steps it shows and the
// text it ends with. The stages themselves are given (SyncFileStages gives
// the program's, over the files), so that any stage can be replaced.
//
// The order: the merge of the review's decisions into the device copy (no
// merge without a list), the resolution of overlapping time entries when
// the merge touched any, the favourite order, then the finalisation: the
// purge of the copy, a look at the local database (changed since the
// analysis: stop before anything is written), the merged copy kept with a
// record of the run, the write to the device and the replacement of the
// local database, and the steps that follow a replacement (the record
// dropped, the undo history, the network copy). A run stopped between its
// two writes leaves the record, from which the next analysis finishes it.
// A cancel seen at any point before the finalisation ends the run with
// nothing written to the device or the local database; once the
// finalisation started it can no longer be cancelled. Whatever the
// outcome, the run's working copies are removed at its end.
class SyncRun
{
public:
    enum class Outcome {
        Succeeded,    // 223 "Synchronisation terminée avec succès."
        Cancelled,    // 372 "Synchronisation annulée."
        Failed,       // 380 "Synchronisation impossible."
        LocalChanged, // 251: the local database changed since the analysis
    };

    // What keeping the record of the run came to.
    enum class Kept {
        Yes,
        No,           // it cannot be kept: the cause is told
        LocalChanged, // the local database changed meanwhile
    };

    struct Stages
    {
        // The merge of the decisions into the copy; unset for a run
        // without a list (or an empty one). `timeEntriesTouched` tells
        // whether a time entry was among the decisions.
        std::function<bool(SyncSteps &, bool &timeEntriesTouched)> merge;
        // The overlapping time entries of the merged copy resolved: true
        // when done (also when there were none), false when failed or
        // cancelled. It appends its own step.
        std::function<bool(SyncSteps &)> overlaps;
        std::function<CBdD::MergeOutcome(SyncSteps &)> favoriteOrder;
        // The finalisation starts: false when the user cancelled first,
        // else the cancel is closed for the rest of the run. Unset: the
        // steps' cancel flag is looked at.
        std::function<bool()> beginFinalisation;
        std::function<bool()> purge;
        // Whether the local database is still as the analysis saw it.
        std::function<bool()> localUnchanged;
        // Before the device is written: the merged copy and the record of
        // the run kept. Anything but Yes stops the run with nothing written
        // to either database (No says why in its argument: the file and
        // the cause).
        std::function<Kept(QString &why)> keepPending;
        std::function<bool()> writeDevice;
        std::function<CDatabaseFile::ReplaceResult()> replaceLocal;
        // Once the local database was replaced: the record dropped.
        std::function<void()> dropPending;
        // After the local database was replaced.
        std::function<void()> afterReplace;
        // At the end of every run: the working copies removed.
        std::function<void()> cleanUp;
    };

    explicit SyncRun(Stages stages);

    // Runs every stage on the calling thread, showing them in `steps`,
    // and ends with the outcome's step.
    Outcome Run(SyncSteps &steps);

    // The closing text of an outcome.
    static int TextId(Outcome outcome);
    // What a stage that stopped the run said of the cause (empty: nothing
    // more than the closing text).
    QString Reason() const { return m_reason; }

    // Texts of the steps.
    enum StepText {
        InitialisationText = 285,
        ConflictsText = 387,
        FinalisationText = 391,
        DeviceWriteText = 390,
        LocalWriteText = 392,
        FavoriteOrderText = 393,
    };

private:
    Outcome RunStages(SyncSteps &steps);
    Outcome Finalise(SyncSteps &steps);

    Stages m_stages;
    QString m_reason;
};
