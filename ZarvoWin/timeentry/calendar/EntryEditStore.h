#pragma once
#include "tTacheFull.h"

#include <QDate>

class CTimeEntryHost;

// How an entry changed with the mouse (moved, resized, copied, dropped)
// reaches the database.
enum class EntryEditResult {
    Stored,    // written; `record` holds the times it was stored with
    Cancelled, // the overlap question was cancelled: nothing written
    Failed,    // the database refused or could not be read
    Gone,      // the entry was deleted meanwhile (by the other program)
};

// Stores `record`: with `timesOnly` the new times of the stored entry
// record.Id, else the whole record (a new entry when its Id is -1). When it
// overlaps other entries the host asks how to resolve that (the others give
// way, or the record moves into the longest free time of its span), and
// cancelling writes nothing; overlaps of a few seconds at its edges are
// trimmed off the record instead. Before writing, `shownDate` becomes the
// current date, the views reloaded.
EntryEditResult StoreEntryEdit(tTacheFull &record, bool timesOnly, CTimeEntryHost &host, const QDate &shownDate);
