// The tray program between real processes: one copy per user, the second
// waking the first, and a lock left by a killed copy.
#include "CSingleInstance.h"
#include "TestFolders.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Waits are for events, bounded far beyond what a loaded machine needs.
constexpr int Patience = 30000;

class Running
{
public:
    explicit Running(const QString &program) { process.start(program, {}); }
    ~Running()
    {
        if (process.state() != QProcess::NotRunning) {
            process.closeWriteChannel();
            if (!process.waitForFinished(Patience)) {
                process.kill();
                process.waitForFinished(Patience);
            }
        }
    }
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
    QProcess process;
};

} // namespace

TEST(TrayProcessTest, ASecondTrayWakesTheFirstAndEndsWithZero)
{
    Running first(QStringLiteral(TRAY_APP_PEER));
    ASSERT_EQ(first.nextLine(), QStringLiteral("first"));
    // The program itself, started again: it finds the running copy, which
    // acts as on a left click ("LeftClick" 0: its window shows).
    QProcess second;
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(TRAY_PROGRAM), {});
    ASSERT_TRUE(second.waitForFinished(Patience));
    const qint64 ms = clock.elapsed();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.nextLine(), QStringLiteral("shown"));
    RecordProperty("SecondCopyMs", QString::number(ms).toStdString());
}

TEST(TrayProcessTest, TheLockOfAKilledTrayNeverBlocksTheNext)
{
    {
        Running killed(QStringLiteral(TRAY_APP_PEER));
        ASSERT_EQ(killed.nextLine(), QStringLiteral("first"));
        killed.process.kill();
        killed.process.waitForFinished(Patience);
    }
    ASSERT_TRUE(QFile::exists(CSingleInstance::ForTray()->LockPath())) << "left behind";
    Running next(QStringLiteral(TRAY_APP_PEER));
    EXPECT_EQ(next.nextLine(), QStringLiteral("first"));
    Running again(QStringLiteral(TRAY_APP_PEER));
    EXPECT_EQ(again.nextLine(), QStringLiteral("second"));
    EXPECT_EQ(next.nextLine(), QStringLiteral("shown"));
}
