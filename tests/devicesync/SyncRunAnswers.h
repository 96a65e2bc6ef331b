#pragma once
// The answer of a user who lets the next synchronisation run go to its end
// and closes its dialog: `outcome` then holds how the run ended.
#include "CDlgSynchro.h"
#include "DialogAnswers.h"

#include <QDialog>

inline void LetTheNextRunEnd(DialogAnswers<CDlgSynchro> &runs, SyncRun::Outcome &outcome)
{
    runs.Push([&outcome](CDlgSynchro &run) {
        run.Start();
        run.WaitForEnd();
        outcome = run.Outcome();
        return int(QDialog::Accepted);
    });
}
