#pragma once
#include <QtGlobal>

// A stored time entry's state as a window read it, kept to compare before
// the window writes the entry back: another program or window may have
// changed the row meanwhile (the tray pausing it, a network update).
struct tEntryStamp
{
    // False when the entry has no live row (deleted, or never stored).
    bool live = false;
    qint64 modified = 0; // Date_Modif
    qint64 start = 0;
    qint64 end = 0;
    int project = -1;
    int activity = -1;
    int rate = -1;

    // For a window that writes the whole entry back: the row was not
    // stamped again and its times are the same.
    bool SameRow(const tEntryStamp &other) const
    {
        return live == other.live && modified == other.modified && start == other.start && end == other.end;
    }
    // For a window that writes only the entry's records (project, activity,
    // rate): these are the same, and the entry still lives.
    bool SameRecords(const tEntryStamp &other) const
    {
        return live == other.live && project == other.project && activity == other.activity && rate == other.rate;
    }
};
