#pragma once
#include "tTacheFull.h"

// The application's current entry: the single running time entry (Id -1
// when none runs) and how long it has been running, in seconds. The
// application object owns it; the data store reloads it after every write
// of time entries, undo and redo.
struct tCurrentEntry
{
    tTacheFull Entry;
    qint64 Elapsed = 0;
};
