#include "EntryDrop.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CProjectStore.h"
#include "DragTimes.h"
#include "tElement.h"

#include <algorithm>

bool RecordForDrop(const DragInfo &info, tTacheFull &record)
{
    record = tTacheFull();
    switch (info.kind) {
    case DragKind::Favorite: {
        CBdD db;
        return db.GetFavorite(info.id, record.IdProjet, record.IdActivite, record.IdTauxHoraire, record.Title);
    }
    case DragKind::Recent: {
        const CProjectStore *store = CAppData::ProjectStore();
        return store && store->GetHistoryEntry(info.id, record.IdProjet, record.IdActivite, record.IdTauxHoraire);
    }
    case DragKind::Project:
    case DragKind::ForecastProject:
    case DragKind::ProjectActivity: {
        tElement project;
        CBdD db;
        if (!db.GetElement(true, info.id, project, false))
            return false;
        record.IdProjet = info.id;
        record.IdActivite = info.kind == DragKind::ProjectActivity ? info.secondId : project.Activity;
        record.IdTauxHoraire = project.IdTauxHoraire;
        return true;
    }
    case DragKind::Activity: {
        tElement activity;
        CBdD db;
        if (!db.GetElement(false, info.id, activity, false))
            return false;
        record.IdActivite = info.id;
        record.IdTauxHoraire = activity.IdTauxHoraire;
        return true;
    }
    case DragKind::Unknown:
        break;
    }
    return false;
}

void SetDropTimes(tTacheFull &record, bool onTheGrid, qint64 start, qint64 now)
{
    if (!onTheGrid) {
        record.Debut = now;
        record.Fin = 0;
        return;
    }
    record.Debut = start;
    record.Fin = std::min(start + 3600, LastSecondOfDay(start));
}
