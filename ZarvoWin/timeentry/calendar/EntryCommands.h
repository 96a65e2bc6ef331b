#pragma once

#include "tTacheFull.h"

class CTimeEntryHost;
class QWidget;

// The commands on the selected entry that the week and the month view
// share. Each reads the entry again first: one deleted meanwhile (by the
// other program) does nothing.
namespace EntryCommands {

// A new entry for the entry dialog, added at `start` from a slot of a
// view: running on today's slots, else finished, an hour long or up to the
// next entry's start (EntryDialogRules::NewEntryEnd).
tTacheFull NewEntryAt(qint64 start);

// The entry `id` as it is stored now, for a dialog opened on an entry a
// view shows: the view's copy may predate a change of the other program.
// False when the entry is gone; the views then read their days again, so
// that it disappears from them.
bool ReadStored(CTimeEntryHost &host, int id, tTacheFull &entry);

// The entry dialog on the selected entry; the views are refreshed after OK.
void Edit(CTimeEntryHost &host);
// The entry dialog in its delete mode; after OK nothing is selected.
void Delete(CTimeEntryHost &host);
// A copy of the selected entry starts running now (its project, activity,
// rate, title and notes), ending the one that runs.
void ResumeNow(CTimeEntryHost &host);
// The selected entry's project, activity, rate and title become a
// favourite; "Le favori existe déjà." when one has them already, the write
// failure message when it cannot be stored. `owner` owns the messages.
void SaveAsFavorite(CTimeEntryHost &host, QWidget *owner);

} // namespace EntryCommands
