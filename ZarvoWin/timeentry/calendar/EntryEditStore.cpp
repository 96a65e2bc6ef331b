#include "EntryEditStore.h"

#include "CBdD.h"
#include "CTimeEntryHost.h"
#include "CWaitCursor.h"

#include <vector>

EntryEditResult StoreEntryEdit(tTacheFull &record, bool timesOnly, CTimeEntryHost &host, const QDate &shownDate)
{
    std::vector<tTacheFull> overlaps;
    bool free = false;
    {
        CBdD db;
        if (!db.IsOpen())
            return EntryEditResult::Failed;
        if (timesOnly) {
            tTacheFull stored;
            bool failed = false;
            if (!db.GetTimeEntry(record.Id, stored, &failed))
                return failed ? EntryEditResult::Failed : EntryEditResult::Gone;
        }
        free = db.FindOverlappingEntries(record, overlaps);
        // A read that failed gives no list: nothing can be said of overlaps.
        if (!free && overlaps.empty())
            return EntryEditResult::Failed;
    }
    int method = CTimeEntryHost::OthersGiveWay;
    if (!free) {
        method = host.ChooseOverlapResolution(overlaps);
        if (method == CTimeEntryHost::Cancelled)
            return EntryEditResult::Cancelled;
    }
    const CWaitCursor wait;
    host.SetCurrentDate(shownDate, true);
    CBdD db;
    bool ok = false;
    if (!free)
        ok = db.InsertTimeEntry(record, method == CTimeEntryHost::FitIntoFreeTime);
    else if (timesOnly)
        ok = db.SetTimeEntryTimes(record.Id, record.Debut, record.Fin);
    else
        ok = db.SaveTimeEntry(record);
    return ok ? EntryEditResult::Stored : EntryEditResult::Failed;
}
