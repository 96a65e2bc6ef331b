#include "ConnexionState.h"

#include "QStringPrinter.h"
#include "TestFolders.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

using S = ConnexionState;

S::Stamps stamps(const char *sync, const char *change, qint64 size = 4096)
{
    return S::Stamps{QString::fromLatin1(sync), QString::fromLatin1(change), size, true, std::nullopt};
}

// Ready, a located device database, an associated user, both panes filled,
// the same schema, different stamps.
S::Input associated()
{
    S::Input in;
    in.ready = in.baseKnown = in.localShown = in.localHasSize = in.deviceShown = in.deviceCopyOk = true;
    in.userId = 3;
    in.localVersion = in.deviceVersion = 2;
    in.local = stamps("100", "300");
    in.device = stamps("100", "200");
    return in;
}

// What a state shows, in one line: guidance, shown groups, enabled actions.
QString shown(const S::Controls &c)
{
    QStringList parts{QString::number(c.titleId), QString::number(c.stateTextId), QString::number(c.guidanceId)};
    const std::pair<bool, const char *> flags[] = {
        {c.guidanceUnknownUser, "unknown"}, {c.showState, "state"},       {c.showUsbPath, "usb"},
        {c.showConnected, "connected"},     {c.showWaiting, "waiting"},    {c.showUser, "user"},
        {c.showUserChoice, "choice"},       {c.showLocalPane, "local"},    {c.showDevicePane, "device"},
        {c.showActions, "actions"},         {c.synchroniseEnabled, "sync"}, {c.copyToLocalEnabled, "toLocal"},
        {c.copyToDeviceEnabled, "toDevice"}, {c.identical, "identical"},  {c.versionsDiffer, "versions"},
        {c.reviewShown, "review"},          {c.closeShown, "close"},
    };
    for (const auto &[on, name] : flags)
        if (on)
            parts << QString::fromLatin1(name);
    return parts.join(u' ');
}

} // namespace

TEST(ConnexionStateTest, ControlsFollowTheState)
{
    struct Case
    {
        const char *name;
        std::function<void(S::Input &)> change;
        const char *expected;
    };
    const Case cases[] = {
        {"device not connected", [](S::Input &in) { in.ready = false; }, "394 441 368 state waiting close"},
        {"usb file not chosen", [](S::Input &in) { in.ready = false, in.usbMode = true; }, "394 441 653 usb close"},
        {"no device database", [](S::Input &in) { in.baseKnown = false; }, "394 440 669 state connected close"},
        {"no associated user",
         [](S::Input &in) { in.userId = -1, in.localShown = in.localHasSize = false; },
         "394 440 0 unknown state connected choice device actions close"},
        {"associated", [](S::Input &) {}, "394 440 0 state connected user local device actions sync toLocal toDevice close"},
        {"usb associated", [](S::Input &in) { in.usbMode = true; },
         "394 440 0 usb user local device actions sync toLocal toDevice close"},
        {"identical", [](S::Input &in) { in.device = in.local; },
         "394 440 0 state connected user local device actions identical close"},
        {"identical but empty stamps", [](S::Input &in) { in.device = in.local = stamps("", ""); },
         "394 440 0 state connected user local device actions sync toLocal toDevice close"},
        {"identical but unread stamps", [](S::Input &in) { in.device = in.local; in.device.read = in.local.read = false; },
         "394 440 0 state connected user local device actions sync toLocal toDevice close"},
        {"failed device copy", [](S::Input &in) { in.deviceCopyOk = false; },
         "394 440 0 state connected user local device actions toDevice close"},
        {"local database missing", [](S::Input &in) { in.localShown = in.localHasSize = false; },
         "394 440 0 state connected user device actions close"},
        {"versions differ", [](S::Input &in) { in.deviceVersion = 1; }, "394 440 599 state connected versions close"},
        {"device copy refused for its later version",
         [](S::Input &in) { in.deviceCopyOk = false, in.deviceVersionRead = true, in.deviceVersion = 3; },
         "394 440 599 state connected versions close"},
        {"busy", [](S::Input &in) { in.busy = true; }, "394 440 0 state connected user local device actions close"},
        {"review pending", [](S::Input &in) { in.reviewPending = true; }, "395 441 0 review"},
    };
    for (const Case &c : cases) {
        S::Input in = associated();
        c.change(in);
        EXPECT_EQ(shown(S::Compute(in)), QString::fromLatin1(c.expected)) << c.name;
    }
}

TEST(ConnexionStateTest, AReviewIsWarnedOfWhatChangedSinceItsAnalysis)
{
    S::Snapshot at{QStringLiteral("Léa"), 3, stamps("1", "2"), stamps("1", "3")};
    at.local.counter = 40;
    struct Case
    {
        const char *name;
        bool ready;
        std::function<void(S::Snapshot &)> change;
        int text;
    };
    const Case cases[] = {
        {"nothing", true, [](S::Snapshot &) {}, 0},
        {"disconnected", false, [](S::Snapshot &) {}, 248},
        {"another device", true, [](S::Snapshot &s) { s.deviceUser = QStringLiteral("Max"); }, 249},
        {"another user", true, [](S::Snapshot &s) { s.userId = 4; }, 249},
        {"device written", true, [](S::Snapshot &s) { s.device.change = QStringLiteral("9"); }, 250},
        {"device grown", true, [](S::Snapshot &s) { s.device.size = 8192; }, 250},
        {"local written", true, [](S::Snapshot &s) { s.local.change = QStringLiteral("9"); }, 251},
        // Written again within the second its stamp holds: only the
        // change counter tells.
        {"local written twice in one second", true, [](S::Snapshot &s) { s.local.counter = 41; }, 251},
        {"local counter unreadable", true, [](S::Snapshot &s) { s.local.counter.reset(); }, 251},
        {"local unreadable", true, [](S::Snapshot &s) { s.local.read = false; }, 251},
    };
    for (const Case &c : cases) {
        S::Snapshot now = at;
        c.change(now);
        EXPECT_EQ(S::WarningText(at, c.ready, now), c.text) << c.name;
    }
}

TEST(ConnexionStateTest, OnlyAnExistingDbZarvoSdbIsAUsbDatabase)
{
    TestFolders::writeFile(QStringLiteral("usb/Zarvo/Db/ZARVO.SDB"), "x");
    TestFolders::writeFile(QStringLiteral("usb/Zarvo/MyDb/Zarvo.sdb"), "x");
    TestFolders::writeFile(QStringLiteral("usb/Zarvo/Zarvo.sdb"), "x");
    EXPECT_EQ(S::CheckUsbPath(TestFolders::file(QStringLiteral("usb/Zarvo/Db/ZARVO.SDB"))), 0);
    EXPECT_EQ(S::CheckUsbPath(TestFolders::file(QStringLiteral("usb/Zarvo/MyDb/Zarvo.sdb"))), 654);
    EXPECT_EQ(S::CheckUsbPath(TestFolders::file(QStringLiteral("usb/Zarvo/Zarvo.sdb"))), 654);
    EXPECT_EQ(S::CheckUsbPath(TestFolders::file(QStringLiteral("usb/Other/Db/Zarvo.sdb"))), 676);
    EXPECT_EQ(S::CheckUsbPath(QStringLiteral("Zarvo.sdb")), 676);
    EXPECT_EQ(S::CheckUsbPath(QString()), 676);
}
