#pragma once
// A device synchronisation of a user's local database set up as its dialog
// sets it up: the analysis into the working folder, with no least time to
// show its progress, then the run of what it found, which keeps the record
// of a run stopped between its two writes under the user's id.
#include "DeviceExchange.h"
#include "SyncAnalysis.h"
#include "SyncFileStages.h"

#include <QString>

// The analysis of `localPath`, the database of user `userId`, against the
// device `exchange` reaches (connected, its database located).
inline SyncAnalysis::Input UserAnalysisInput(const DeviceExchange &exchange, const QString &localPath, int userId)
{
    SyncAnalysis::Input in;
    in.exchange = exchange;
    in.copyPath = DeviceExchange::WorkingFile(DeviceExchange::DeviceCopyFile);
    in.localPath = localPath;
    in.userId = userId;
    in.minimumMs = 0;
    return in;
}

// The run of what the analysis of `in` found, `analysis`, with the
// decisions its list holds (the run reads the list: `analysis` outlives it).
inline SyncFileStages::Setup UserRunSetup(const SyncAnalysis::Input &in, const SyncAnalysis::Result &analysis)
{
    SyncFileStages::Setup setup;
    setup.localPath = in.localPath;
    setup.copyPath = in.copyPath;
    setup.list = &analysis.list;
    setup.exchange = in.exchange;
    setup.localCounter = analysis.local.counter;
    setup.userId = in.userId;
    return setup;
}
