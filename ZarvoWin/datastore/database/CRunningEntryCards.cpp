#include "CRunningEntryCards.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProjectStore.h"

CRunningEntryCards::CRunningEntryCards(const CProjectStore *store, const CConfiguration *config)
    : m_store(store), m_config(config)
{
}

std::vector<tRunningCard> CRunningEntryCards::RunningCards()
{
    std::vector<tTacheParams> entries;
    {
        CBdD db;
        if (!db.IsOpen() || !db.GetRunningEntries(entries))
            return {};
    }
    const CProjectStore *store = m_store ? m_store : CAppData::ProjectStore();
    const CConfiguration *settings = m_config ? m_config : CAppData::Configuration();
    const CConfiguration fallback;
    const CConfiguration &config = settings ? *settings : fallback;

    std::vector<tRunningCard> cards;
    cards.reserve(entries.size());
    for (const tTacheParams &entry : entries) {
        tRunningCard card;
        card.id = entry.Id;
        tElement project;
        if (store && store->GetProject(entry.IdProjet, project)) {
            card.project = project.Nom;
            card.projectColour = project.Color;
        }
        if (const tElement *activity = store ? store->GetActivity(entry.IdActivite) : nullptr) {
            card.activity = activity->Nom;
            card.activityColour = activity->Color;
        }
        card.start = config.FormatDate(entry.Debut, true, true);
        cards.push_back(std::move(card));
    }
    return cards;
}
