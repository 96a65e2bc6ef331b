// One running copy per user, between real processes.
#include "CSingleInstance.h"
#include "TestFolders.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Waits are for events, bounded far beyond what a loaded machine needs.
constexpr int Patience = 30000;

class Copy
{
public:
    explicit Copy(const QString &mode) { process.start(QStringLiteral(INSTANCE_PEER), {mode}); }
    ~Copy()
    {
        if (process.state() != QProcess::NotRunning) {
            process.closeWriteChannel();
            if (!process.waitForFinished(Patience)) {
                process.kill();
                process.waitForFinished(Patience);
            }
        }
    }
    // The next line printed, empty when the process ended without one.
    QString nextLine()
    {
        QDeadlineTimer deadline(Patience);
        while (!deadline.hasExpired()) {
            if (process.canReadLine())
                return QString::fromUtf8(process.readLine()).trimmed();
            if (process.state() == QProcess::NotRunning && !process.bytesAvailable())
                return QString();
            process.waitForReadyRead(100);
        }
        return QString();
    }
    // Ends the copy (it quits when stdin ends) and returns what it printed since.
    QStringList finish()
    {
        process.closeWriteChannel();
        process.waitForFinished(Patience);
        QStringList lines;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
            if (!line.trimmed().isEmpty())
                lines << QString::fromUtf8(line.trimmed());
        return lines;
    }
    int exitCode()
    {
        process.waitForFinished(Patience);
        return process.exitCode();
    }
    QProcess process;
};

} // namespace

TEST(SingleInstanceTest, ASecondCopyBringsTheFirstForwardAndEnds)
{
    Copy first(QStringLiteral("run"));
    ASSERT_EQ(first.nextLine(), QStringLiteral("first"));
    Copy second(QStringLiteral("run"));
    EXPECT_EQ(second.nextLine(), QStringLiteral("second"));
    EXPECT_EQ(second.exitCode(), 3);
    // The running copy was asked once and came forward (restored).
    EXPECT_EQ(first.nextLine(), QStringLiteral("forward"));
    EXPECT_TRUE(first.finish().isEmpty());
}

TEST(SingleInstanceTest, TheLockOfAKilledCopyDoesNotBlockAStart)
{
    {
        Copy killed(QStringLiteral("run"));
        ASSERT_EQ(killed.nextLine(), QStringLiteral("first"));
        killed.process.kill();
        killed.process.waitForFinished(Patience);
    }
    CSingleInstance probe;
    ASSERT_TRUE(QFile::exists(probe.LockPath())); // left behind by the killed copy
    Copy next(QStringLiteral("run"));
    EXPECT_EQ(next.nextLine(), QStringLiteral("first"));
}

TEST(SingleInstanceTest, ASilentRunningCopyStillEndsTheSecond)
{
    Copy deaf(QStringLiteral("deaf"));
    ASSERT_EQ(deaf.nextLine(), QStringLiteral("ready"));
    CSingleInstance second;
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.RunningCopyAnswered());
    Copy program(QStringLiteral("run"));
    EXPECT_EQ(program.nextLine(), QStringLiteral("second"));
    EXPECT_EQ(program.exitCode(), 3);
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
