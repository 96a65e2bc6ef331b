#pragma once
#include <QString>

#include <optional>

// What the synchronisation dialog shows, as a plain function of its state:
// its title, which controls are shown and enabled, and its texts (by
// number). Also the warning a pending review gets after a refresh, and the
// check of a chosen USB database path. No window here.
class ConnexionState
{
public:
    // The stamps of one side as a refresh read them; size -1 unknown.
    struct Stamps
    {
        QString sync;
        QString change;
        qint64 size = -1;
        bool read = false; // the stamps could be read at all
        // The local database's change counter, which every commit moves on
        // (the stamps are whole seconds: two commits in one second leave
        // them as they were). Unset for the device's copy, which is made
        // again at each look.
        std::optional<quint32> counter;
        bool operator==(const Stamps &other) const = default;
    };

    struct Input
    {
        bool usbMode = false;   // the transport is a USB disk
        bool ready = false;     // connected, or the USB file exists
        bool baseKnown = false; // the device database was located
        int userId = -1;        // the associated user, -1 none
        QString userName;
        bool localShown = false;   // the local pane has a database to show
        bool localHasSize = false; // its third line is filled
        bool deviceShown = false;
        bool deviceCopyOk = false; // the device copy of this refresh is whole
        // No copy: the device file is of a version this program cannot
        // read, which was read from the file itself (deviceVersion).
        bool deviceVersionRead = false;
        int localVersion = -1;
        int deviceVersion = -1;
        Stamps local;
        Stamps device;
        bool reviewPending = false;
        int reviewCount = 0;
        bool busy = false; // an analysis or a copy is running
    };

    struct Controls
    {
        int titleId = 394;        // 394 "Synchronisation", 395 with the count
        int stateTextId = 441;    // 1019: 440 or 441
        int guidanceId = 0;       // 1026: 0 hidden
        bool guidanceUnknownUser = false; // 1026 is 442 + line break + 246
        bool showState = true;    // 1019 (device mode)
        bool showUsbPath = false; // 1433 to 1435 (USB mode)
        bool showConnected = false; // 1037
        bool showWaiting = false;   // 1038
        bool showUser = false;      // 1022 and 1150
        bool showUserChoice = false; // 1023, 1024, 1025
        bool showLocalPane = false;
        bool showDevicePane = false;
        bool showActions = false; // 1086 to 1088
        bool synchroniseEnabled = false;
        bool copyToLocalEnabled = false;
        bool copyToDeviceEnabled = false;
        bool identical = false;        // 1149 shows 245
        bool versionsDiffer = false;   // 1026 shows 599 and 1275 shows 470
        bool reviewShown = false;      // every control hidden, the review shown
        bool closeShown = true;
    };

    static Controls Compute(const Input &in);

    // Identical only when both sides' stamps were read, are not empty and
    // are equal.
    static bool Identical(const Stamps &device, const Stamps &local);

    // The state an analysis starts from, compared after each refresh.
    struct Snapshot
    {
        QString deviceUser;
        int userId = -1;
        Stamps device;
        Stamps local;
    };
    // 0 (no warning) or 248 to 251.
    static int WarningText(const Snapshot &at, bool ready, const Snapshot &now);

    // 0 when a chosen path may be the USB database, else the text to show:
    // 676 for a bare file name or a file that does not exist, 654 for a
    // path outside "...\Db\Zarvo.sdb".
    static int CheckUsbPath(const QString &path);
};
