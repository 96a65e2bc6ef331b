#pragma once
#include <QtGlobal>

// One decision of the review list of a device synchronisation: which row
// of which table, on the device and here, and what to do with it.
struct SyncItem
{
    enum Action { TakeDevice = 0, Delete = 1, KeepLocal = 2 };

    int kind = 0;               // table code of the row (CBdD::TableCode)
    // The row on each side: its Id, for a plan its row number (a handle of
    // that side's file, valid until it is written); -1 none. 64 bits, as
    // SQLite numbers rows, so that a large number from a device is never
    // cut into another row's.
    qint64 deviceId = -1;
    qint64 localId = -1;
    unsigned char deviceDeleted = 0;
    unsigned char localDeleted = 0;
    int action = KeepLocal;
};
