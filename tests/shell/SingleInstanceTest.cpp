// One running copy per user, between real processes.
#include "CSingleInstance.h"
#include "ChildProcess.h"
#include "TestFolders.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// A copy of the program (the instance peer in `mode`); it ends when its
// input ends.
ChildProcess copy(const QString &mode)
{
    return ChildProcess(QStringLiteral(INSTANCE_PEER), {mode});
}

// Ends the copy and gives what it printed since its last line read.
QStringList finish(ChildProcess &copy)
{
    copy.Process().closeWriteChannel();
    EXPECT_TRUE(copy.Ends("its input closed"));
    QStringList lines;
    for (const QByteArray &line : copy.Process().readAllStandardOutput().split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromUtf8(line.trimmed());
    return lines;
}

} // namespace

TEST(SingleInstanceTest, ASecondCopyBringsTheFirstForwardAndEnds)
{
    ChildProcess first = copy(QStringLiteral("run"));
    ASSERT_EQ(first.Line("its start"), QStringLiteral("first"));
    ChildProcess second = copy(QStringLiteral("run"));
    EXPECT_EQ(second.Line("its start"), QStringLiteral("second"));
    EXPECT_TRUE(second.EndsWith(3, "finding the running copy"));
    // The running copy was asked once and came forward (restored).
    EXPECT_EQ(first.Line("its coming forward"), QStringLiteral("forward"));
    EXPECT_TRUE(finish(first).isEmpty());
}

TEST(SingleInstanceTest, TheLockOfAKilledCopyDoesNotBlockAStart)
{
    {
        ChildProcess killed = copy(QStringLiteral("run"));
        ASSERT_EQ(killed.Line("its start"), QStringLiteral("first"));
        killed.End();
    }
    CSingleInstance probe;
    ASSERT_TRUE(QFile::exists(probe.LockPath())); // left behind by the killed copy
    ChildProcess next = copy(QStringLiteral("run"));
    EXPECT_EQ(next.Line("its start"), QStringLiteral("first"));
}

TEST(SingleInstanceTest, ASilentRunningCopyStillEndsTheSecond)
{
    ChildProcess deaf = copy(QStringLiteral("deaf"));
    ASSERT_EQ(deaf.Line("its start"), QStringLiteral("ready"));
    CSingleInstance second;
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.RunningCopyAnswered());
    ChildProcess program = copy(QStringLiteral("run"));
    EXPECT_EQ(program.Line("its start"), QStringLiteral("second"));
    EXPECT_TRUE(program.EndsWith(3, "finding the running copy"));
}

TEST(SingleInstanceTest, TheFirstCopyHoldsTheLockUntilItGoes)
{
    {
        CSingleInstance first;
        ASSERT_TRUE(first.Acquire());
        CSingleInstance second;
        EXPECT_FALSE(second.Acquire());
        // This process's own endpoints never pass for the running copy.
        EXPECT_FALSE(second.ProbeRunningCopy());
    }
    CSingleInstance again;
    EXPECT_TRUE(again.Acquire());
}
