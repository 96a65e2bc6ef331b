#pragma once
// A synchronisation run in another process (sync_run_peer, see
// SyncRunPeer.cpp), killed where it stops: SIGKILL, so that nothing of it
// runs any more. It works in the test's own folders (their environment is
// inherited), at the time the test's clock reads.
#include "Clock.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <gtest/gtest.h>

inline void KillSyncRunPeer(const QString &local, const QString &deviceRoot, int userId, const char *stop)
{
    QProcess peer;
    // The run reads the test's clock, not the machine's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZARVO_PEER_NOW"), QString::number(Platform::Clock::now()));
    peer.setProcessEnvironment(environment);
    peer.start(QStringLiteral(SYNC_RUN_PEER), {local, deviceRoot, QString::number(userId), QString::fromLatin1(stop)});
    ASSERT_TRUE(peer.waitForStarted());
    ASSERT_TRUE(peer.waitForReadyRead(60000)) << peer.readAllStandardError().toStdString();
    EXPECT_EQ(peer.readLine().trimmed(), QByteArray("stopped"));
    peer.kill();
    ASSERT_TRUE(peer.waitForFinished(30000));
    EXPECT_EQ(peer.exitStatus(), QProcess::CrashExit);
}
