// The standby record and the decision at waking or at start.
#include "Settings.h"
#include "TrayStandby.h"

#include <gtest/gtest.h>

namespace {

tTacheFull last(int id, qint64 end = 5000)
{
    tTacheFull t;
    t.Id = id;
    t.Debut = 1000;
    t.Fin = end;
    return t;
}

} // namespace

TEST(TrayStandbyTest, TheDecision)
{
    using A = TrayStandby::Action;
    const TrayStandby::tRecord record{3, 101, 5000};
    const struct
    {
        const char *name;
        TrayStandby::tRecord record;
        int user;
        int lastId;
        qint64 lastEnd;
        qint64 now;
        int action;
        A expected;
    } cases[] = {
        {"4 minutes: run it again", record, 3, 101, 5000, 5240, 0, A::Reopen},
        {"exactly 300 s: the setting", record, 3, 101, 5000, 5300, 1, A::RestartCopy},
        {"6 minutes, restart", record, 3, 101, 5000, 5360, 1, A::RestartCopy},
        {"6 minutes, the Infos window", record, 3, 101, 5000, 5360, 2, A::ShowInfos},
        {"6 minutes, the window", record, 3, 101, 5000, 5360, 3, A::ShowWindow},
        {"6 minutes, nothing", record, 3, 101, 5000, 5360, 0, A::Nothing},
        {"another value", record, 3, 101, 5000, 5360, 7, A::Nothing},
        {"another user", record, 4, 101, 5000, 5010, 1, A::Nothing},
        {"another entry started meanwhile", record, 3, 102, 5000, 5010, 1, A::Nothing},
        {"no entry", record, 3, -1, 5000, 5010, 1, A::Nothing},
        {"an empty record", TrayStandby::tRecord{}, -1, -1, 5000, 5010, 1, A::Nothing},
        // The record is written before its entry ends.
        {"the entry still runs: the program ended before it", record, 3, 101, 0, 5240, 0, A::Nothing},
        {"the entry still runs, long after", record, 3, 101, 0, 9000, 1, A::Nothing},
        {"the entry ended at another moment since", record, 3, 101, 5600, 9000, 1, A::Nothing},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TrayStandby::Decide(c.record, c.user, last(c.lastId, c.lastEnd), c.now, c.action), c.expected) << c.name;
}

TEST(TrayStandbyTest, ARecordIsKeptUntilClearedAndABadTimeIsReset)
{
    Platform::Settings settings;
    TrayStandby::Write(settings, 3, 101, 0x0102030405060708LL);
    const TrayStandby::tRecord read = TrayStandby::Read(settings);
    EXPECT_EQ(read.user, 3);
    EXPECT_EQ(read.task, 101);
    EXPECT_EQ(read.time, 0x0102030405060708LL);
    EXPECT_EQ(settings.getBinary(u"Tray", u"Standby", u"Time").size(), 8);
    EXPECT_EQ(TrayStandby::Read(settings).task, 101) << "kept while not acted on";
    TrayStandby::Clear(settings, read);
    EXPECT_FALSE(TrayStandby::Read(settings).HoldsTask()) << "used once";
    EXPECT_EQ(settings.getBinary(u"Tray", u"Standby", u"Time"), QByteArray(8, '\0'));

    // Seven bytes: the record is cleared and the time written as 8 zeros.
    TrayStandby::Write(settings, 3, 101, 42);
    settings.setBinary(u"Tray", u"Standby", u"Time", QByteArray(7, '\x01'));
    EXPECT_FALSE(TrayStandby::Read(settings).HoldsTask());
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1);
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"User", 0), -1);
    EXPECT_EQ(settings.getBinary(u"Tray", u"Standby", u"Time"), QByteArray(8, '\0'));

    // No time at all: cleared, nothing written in its place.
    settings.remove(u"Tray", u"Standby", u"Time");
    settings.setInt(u"Tray", u"StandBy", u"Task", 101);
    EXPECT_FALSE(TrayStandby::Read(settings).HoldsTask());
    EXPECT_EQ(settings.getInt(u"Tray", u"StandBy", u"Task", 0), -1);
    EXPECT_FALSE(settings.contains(u"Tray", u"Standby", u"Time"));
}
