#pragma once
#include "CRunningCardSource.h"

class CConfiguration;
class CProjectStore;

// The cards of the running-entries list read from the current user's
// database: each running entry with its project and activity looked up in
// the project store (a deleted one is missing) and its start written by
// the settings object's FormatDate, long and with the time.
class CRunningEntryCards : public CRunningCardSource
{
public:
    // The application's store and settings (CAppData) unless given.
    explicit CRunningEntryCards(const CProjectStore *store = nullptr, const CConfiguration *config = nullptr);

    std::vector<tRunningCard> RunningCards() override;

private:
    const CProjectStore *m_store;
    const CConfiguration *m_config;
};
