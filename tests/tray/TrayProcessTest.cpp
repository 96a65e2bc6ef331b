// The tray program between real processes: one copy per user, the second
// waking the first, and a lock left by a killed copy.
#include "CSingleInstance.h"
#include "ChildProcess.h"
#include "TestFolders.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

TEST(TrayProcessTest, ASecondTrayWakesTheFirstAndEndsWithZero)
{
    ChildProcess first(QStringLiteral(TRAY_APP_PEER));
    ASSERT_EQ(first.Line("its start"), QStringLiteral("first"));
    // The program itself, started again: it finds the running copy, which
    // acts as on a left click ("LeftClick" 0: its window shows).
    QElapsedTimer clock;
    clock.start();
    ChildProcess second(QStringLiteral(TRAY_PROGRAM));
    ASSERT_TRUE(second.EndsWith(0, "its start beside the running copy"));
    const qint64 ms = clock.elapsed();
    EXPECT_EQ(first.Line("its window woken by the second copy"), QStringLiteral("shown"));
    RecordProperty("SecondCopyMs", QString::number(ms).toStdString());
}

TEST(TrayProcessTest, TheLockOfAKilledTrayNeverBlocksTheNext)
{
    {
        ChildProcess killed(QStringLiteral(TRAY_APP_PEER));
        ASSERT_EQ(killed.Line("its start"), QStringLiteral("first"));
        killed.End();
    }
    ASSERT_TRUE(QFile::exists(CSingleInstance::ForTray()->LockPath())) << "left behind";
    ChildProcess next(QStringLiteral(TRAY_APP_PEER));
    EXPECT_EQ(next.Line("its start"), QStringLiteral("first"));
    ChildProcess again(QStringLiteral(TRAY_APP_PEER));
    EXPECT_EQ(again.Line("its start"), QStringLiteral("second"));
    EXPECT_EQ(next.Line("its window woken by the next copy"), QStringLiteral("shown"));
}
