#include "SyncRun.h"

#include <utility>

SyncRun::SyncRun(Stages stages)
    : m_stages(std::move(stages))
{
}

int SyncRun::TextId(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Succeeded:
        return 223;
    case Outcome::Cancelled:
        return 372;
    case Outcome::LocalChanged:
        return 251;
    case Outcome::Failed:
        break;
    }
    return 380;
}

SyncRun::Outcome SyncRun::Run(SyncSteps &steps)
{
    m_reason.clear();
    steps.AppendStep(InitialisationText, SyncSteps::Running);
    const Outcome outcome = RunStages(steps);
    if (m_stages.cleanUp)
        m_stages.cleanUp();
    if (outcome == Outcome::Succeeded) {
        steps.SetLastStepState(SyncSteps::Done);
        steps.AppendStep(TextId(outcome), SyncSteps::Done);
    } else {
        steps.SetLastStepState(SyncSteps::Failed);
        steps.AppendStep(TextId(outcome), SyncSteps::Failed);
    }
    return outcome;
}

SyncRun::Outcome SyncRun::RunStages(SyncSteps &steps)
{
    steps.SetLastStepState(SyncSteps::Done);
    // A stage that fails after a cancel was cancelled: the merge and the
    // favourite order stop at the flag and say so only by failing.
    const auto stopped = [&steps] { return steps.Cancelled() ? Outcome::Cancelled : Outcome::Failed; };

    if (m_stages.merge) {
        bool timeEntriesTouched = false;
        if (!m_stages.merge(steps, timeEntriesTouched))
            return stopped();
        if (timeEntriesTouched && m_stages.overlaps && !m_stages.overlaps(steps))
            return stopped();
    }
    if (steps.Cancelled())
        return Outcome::Cancelled;

    steps.AppendStep(FavoriteOrderText, SyncSteps::Running);
    const CBdD::MergeOutcome order =
        m_stages.favoriteOrder ? m_stages.favoriteOrder(steps) : CBdD::MergeOutcome::Done;
    if (order == CBdD::MergeOutcome::Cancelled)
        return Outcome::Cancelled;
    if (order == CBdD::MergeOutcome::Failed)
        return Outcome::Failed;
    steps.SetLastStepState(SyncSteps::Done);

    const bool open = m_stages.beginFinalisation ? m_stages.beginFinalisation() : !steps.Cancelled();
    if (!open)
        return Outcome::Cancelled;
    return Finalise(steps);
}

SyncRun::Outcome SyncRun::Finalise(SyncSteps &steps)
{
    steps.AppendStep(FinalisationText, SyncSteps::Running);
    if (m_stages.purge && !m_stages.purge())
        return Outcome::Failed;
    // The merged copy holds what the local database held at the analysis:
    // written over a later change, it would lose that change.
    if (m_stages.localUnchanged && !m_stages.localUnchanged())
        return Outcome::LocalChanged;
    // From here a stop leaves the device written and the local database
    // not: what the next analysis needs to finish the run is kept first.
    if (m_stages.keepPending) {
        switch (m_stages.keepPending(m_reason)) {
        case Kept::Yes:
            break;
        case Kept::LocalChanged:
            return Outcome::LocalChanged;
        case Kept::No:
            return Outcome::Failed;
        }
    }
    steps.SetLastStepState(SyncSteps::Done);

    steps.AppendStep(DeviceWriteText, SyncSteps::Running);
    if (!m_stages.writeDevice || !m_stages.writeDevice())
        return Outcome::Failed;
    steps.SetLastStepState(SyncSteps::Done);

    steps.AppendStep(LocalWriteText, SyncSteps::Running);
    const CDatabaseFile::ReplaceResult replaced =
        m_stages.replaceLocal ? m_stages.replaceLocal() : CDatabaseFile::ReplaceResult::Failed;
    if (replaced == CDatabaseFile::ReplaceResult::ChangedMeanwhile)
        return Outcome::LocalChanged;
    if (replaced != CDatabaseFile::ReplaceResult::Replaced)
        return Outcome::Failed;
    if (m_stages.dropPending)
        m_stages.dropPending();
    steps.SetLastStepState(SyncSteps::Done);
    if (m_stages.afterReplace)
        m_stages.afterReplace();
    return Outcome::Succeeded;
}
