#pragma once

class CTimeEntryHost;
class QWidget;

// The commands on the selected entry that the week and the month view
// share. Each reads the entry again first: one deleted meanwhile (by the
// other program) does nothing.
namespace EntryCommands {

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
