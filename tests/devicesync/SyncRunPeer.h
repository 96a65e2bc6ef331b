#pragma once
// A synchronisation run in another process (sync_run_peer, see
// SyncRunPeer.cpp), killed where it stops: SIGKILL, so that nothing of it
// runs any more. It works in the test's own folders (their environment is
// inherited).
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

inline void KillSyncRunPeer(const QString &local, const QString &deviceRoot, int userId, const char *stop)
{
    QProcess peer;
    peer.start(QStringLiteral(SYNC_RUN_PEER), {local, deviceRoot, QString::number(userId), QString::fromLatin1(stop)});
    ASSERT_TRUE(peer.waitForStarted());
    ASSERT_TRUE(peer.waitForReadyRead(60000)) << peer.readAllStandardError().toStdString();
    EXPECT_EQ(peer.readLine().trimmed(), QByteArray("stopped"));
    peer.kill();
    ASSERT_TRUE(peer.waitForFinished(30000));
    EXPECT_EQ(peer.exitStatus(), QProcess::CrashExit);
}
