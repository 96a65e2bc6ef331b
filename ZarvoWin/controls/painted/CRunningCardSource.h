#pragma once
#include "tRunningCard.h"

#include <vector>

// Where the running-entries list (CListeTache) takes its cards from: the
// data store reads the running entries and looks up their projects,
// activities and colours; tests hand cards of their own.
class CRunningCardSource
{
public:
    virtual ~CRunningCardSource() = default;
    // The running entries, in the order they are to be shown; empty when
    // none runs or they cannot be read.
    virtual std::vector<tRunningCard> RunningCards() = 0;
};
