#include "EntryCommands.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CDayCache.h"
#include "CTimeEntryHost.h"
#include "Clock.h"
#include "EntryDialogRules.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"

namespace EntryCommands {

namespace {

bool readSelected(CTimeEntryHost &host, tTacheFull &entry)
{
    const int id = host.SelectedEntryId();
    if (id == -1)
        return false;
    CBdD db;
    return db.GetTimeEntry(id, entry);
}

} // namespace

tTacheFull NewEntryAt(qint64 start)
{
    tTacheFull entry;
    entry.Debut = start;
    const qint64 now = Platform::Clock::now();
    using Platform::LocalTime::localDate;
    // Only an entry of another day than today ends, before the next one.
    const bool today = localDate(start) == localDate(now);
    entry.Fin = EntryDialogRules::NewEntryEnd(start, now, today ? 0 : CBdD().FirstStartAfter(start));
    return entry;
}

bool ReadStored(CTimeEntryHost &host, int id, tTacheFull &entry)
{
    if (CBdD().GetTimeEntry(id, entry))
        return true;
    host.DayCache().MarkForReload();
    host.RefreshViews();
    return false;
}

void Edit(CTimeEntryHost &host)
{
    tTacheFull entry;
    if (readSelected(host, entry) && host.OpenEntryDialog(entry, CTimeEntryHost::EditEntry))
        host.RefreshViews();
}

void Delete(CTimeEntryHost &host)
{
    tTacheFull entry;
    if (readSelected(host, entry) && host.OpenEntryDialog(entry, CTimeEntryHost::DeleteEntry)) {
        host.SetSelectedEntryId(-1);
        host.RefreshViews();
    }
}

void ResumeNow(CTimeEntryHost &host)
{
    tTacheFull entry;
    if (!readSelected(host, entry))
        return;
    entry.Id = -1;
    entry.Debut = Platform::Clock::now();
    entry.Fin = 0;
    host.StartTask(entry, -1);
}

void SaveAsFavorite(CTimeEntryHost &host, QWidget *owner)
{
    using Platform::Texts;
    tTacheFull entry;
    int result = CBdD::FavoriteFailed;
    if (readSelected(host, entry)) {
        CBdD db;
        result = db.AddFavorite(-1, entry.IdProjet, entry.IdActivite, entry.IdTauxHoraire, entry.Title);
    }
    if (result == CBdD::FavoriteExists)
        RichMessageBox(MessageBoxType::IconAsterisk, owner, Texts::get(472), Texts::get(222));
    else if (result != CBdD::FavoriteDone)
        RichMessageBox(MessageBoxType::IconExclamation, owner, Texts::get(226), Texts::get(173));
    if (result == CBdD::FavoriteDone || result == CBdD::FavoriteExists)
        CAppData::RunTaskPaneRefresh();
}

} // namespace EntryCommands
