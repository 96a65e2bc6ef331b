#pragma once
// What the synchronisation dialog's review offers for a time entry of the
// local database.
#include "CBdD.h"
#include "CConnexion.h"
#include "CViewSynchro.h"

// The decision the review suggests for the local entry `id`; -1 where
// there is no review or it lists no such entry.
inline int SuggestedAction(const CConnexion &dialog, qint64 id)
{
    if (!dialog.Review())
        return -1;
    const SyncReviewList &list = dialog.Review()->List();
    for (int row = 0; row < list.Count(); ++row) {
        const SyncItem *item = list.Item(row);
        if (item && item->kind == CBdD::TableTaches && item->localId == id)
            return item->action;
    }
    return -1;
}
