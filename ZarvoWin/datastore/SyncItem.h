#pragma once

// One decision of the review list of a device synchronisation: which row
// of which table, on the device and here, and what to do with it.
struct SyncItem
{
    enum Action { TakeDevice = 0, Delete = 1, KeepLocal = 2 };

    int kind = 0;               // table code of the row (CBdD::TableCode)
    int deviceId = -1;          // the row id on the device; -1 none
    int localId = -1;           // the row id in the local database; -1 none
    unsigned char deviceDeleted = 0;
    unsigned char localDeleted = 0;
    int action = KeepLocal;
};
