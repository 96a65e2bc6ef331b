#pragma once

// Where the merge of a device synchronisation tells its steps and learns
// that the user cancelled. The synchronisation's progress dialog implements
// it (its worker calls it, so an implementation must not block on the
// interface thread); tests implement it to record steps and to cancel at a
// chosen point.
class SyncSteps
{
public:
    enum State { Running = 0, Done = 1, Failed = 2 };

    virtual ~SyncSteps() = default;
    // A new step, by the number of its text, in a state.
    virtual void AppendStep(int textId, int state) = 0;
    // The state of the last step (nothing when there is none).
    virtual void SetLastStepState(int state) = 0;
    // Asked before each row: true once the user has cancelled.
    virtual bool Cancelled() = 0;
};
