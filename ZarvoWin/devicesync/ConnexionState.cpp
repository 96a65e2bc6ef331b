#include "ConnexionState.h"

#include "DeviceExchange.h"

#include <QFileInfo>

bool ConnexionState::Identical(const Stamps &device, const Stamps &local)
{
    // Stamps that could not be read or were never set say nothing: two
    // such databases may differ in every row.
    if (!device.read || !local.read)
        return false;
    if (device.sync.isEmpty() || device.change.isEmpty() || local.sync.isEmpty() || local.change.isEmpty())
        return false;
    return device.sync == local.sync && device.change == local.change;
}

ConnexionState::Controls ConnexionState::Compute(const Input &in)
{
    Controls c;
    if (in.reviewPending) {
        c.titleId = 395;
        c.reviewShown = true;
        c.closeShown = false;
        c.showState = false;
        return c;
    }
    c.showState = !in.usbMode;
    c.showUsbPath = in.usbMode;
    if (!in.ready) {
        c.stateTextId = 441;
        c.showWaiting = !in.usbMode;
        c.guidanceId = in.usbMode ? 653 : 368;
        return c;
    }
    c.stateTextId = 440;
    c.showConnected = !in.usbMode;
    if (!in.baseKnown) {
        c.guidanceId = 669;
        return c;
    }
    if (in.userId < 0) {
        c.guidanceUnknownUser = true;
        c.showUserChoice = true;
    } else {
        c.showUser = true;
        c.showLocalPane = in.localShown;
    }
    c.showDevicePane = in.deviceShown;
    c.showActions = true;
    const bool bothPanes = c.showLocalPane && c.showDevicePane;
    c.identical = bothPanes && Identical(in.device, in.local);
    const bool idle = !in.busy;
    c.synchroniseEnabled = idle && !c.identical && bothPanes && in.localHasSize && in.deviceCopyOk;
    c.copyToLocalEnabled = idle && !c.identical && bothPanes && in.deviceCopyOk;
    c.copyToDeviceEnabled = idle && !c.identical && c.showLocalPane && in.localHasSize;
    if (in.userId >= 0 && in.localShown && (in.deviceCopyOk || in.deviceVersionRead)
        && in.localVersion != in.deviceVersion) {
        c.versionsDiffer = true;
        c.guidanceId = 599;
        c.guidanceUnknownUser = false;
        c.showUser = c.showUserChoice = false;
        c.showLocalPane = c.showDevicePane = false;
        c.showActions = false;
        c.identical = false;
        c.synchroniseEnabled = c.copyToLocalEnabled = c.copyToDeviceEnabled = false;
    }
    return c;
}

int ConnexionState::WarningText(const Snapshot &at, bool ready, const Snapshot &now)
{
    if (!ready)
        return 248;
    if (at.deviceUser != now.deviceUser || at.userId != now.userId)
        return 249;
    if (at.device != now.device)
        return 250;
    if (at.local != now.local)
        return 251;
    return 0;
}

int ConnexionState::CheckUsbPath(const QString &path)
{
    const QString name = QStringLiteral("zarvo.sdb");
    if (path.isEmpty() || path.toLower() == name || !QFileInfo(path).isFile())
        return 676;
    return DeviceExchange::IsUsbDatabasePath(path) ? 0 : 654;
}
